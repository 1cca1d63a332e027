#include "app/ImportDlg.h"

#include "app/DialogControls.h"
#include "app/DialogUnits.h"
#include "app/LoadNote.h"
#include "app/Resources.h"
#include "core/BarLabels.h"
#include "core/KLineFile.h"
#include "core/KLineMessages.h"

#include <QAbstractTableModel>
#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QStringDecoder>
#include <QTableView>

#include <algorithm>
#include <cmath>
#include <utility>

namespace
{

constexpr int kDialogWidth = 380;
constexpr int kDialogHeight = 302;
constexpr int kShownLines = 40;  // of the file's start, as text
constexpr int kPreviewBars = 20; // read with the layout chosen
constexpr int kMostColumns = kMaxKLineColumn + 1;
constexpr int kShownNameChars = 20;

// The controls' rows: three label and drop-down pairs each.
constexpr int kRowTop = 94;
constexpr int kRowPitch = 16;
constexpr int kPairX[] = {7, 131, 255};
constexpr int kLabelWidth = 36;
constexpr int kComboWidths[] = {80, 80, 81};

// Names of encodings are the same in every language.
constexpr const char* kEncodingNames[] = {"UTF-8", "GBK"};

constexpr char kSeparators[] = {',', ';', '\t', '|', ' '};
constexpr unsigned kSeparatorTextIds[] = {IDS_IMPORT_COMMA, IDS_IMPORT_SEMICOLON, IDS_IMPORT_TAB,
                                          IDS_IMPORT_BAR, IDS_IMPORT_SPACE};

// The date forms as one list: the three written forms, then Unix time in each unit.
constexpr int kUnixFormFirst = 3;

SDialogRect PairLabel(int nRow, int nPair)
{
    return {kPairX[nPair], kRowTop + nRow * kRowPitch + 2, kLabelWidth, 8};
}

SDialogRect PairCombo(int nRow, int nPair)
{
    return {kPairX[nPair] + kLabelWidth + 1, kRowTop + nRow * kRowPitch, kComboWidths[nPair], 12};
}

QComboBox* AddComboBox(QWidget* pParent, const CDialogUnits& units, SDialogRect rc,
                       const char* pszName)
{
    auto* pCombo = new QComboBox(pParent);
    pCombo->setObjectName(QString::fromLatin1(pszName));
    pCombo->setGeometry(units.Rect(rc.x, rc.y, rc.cx, rc.cy));
    return pCombo;
}

void SelectData(QComboBox* pCombo, int nData)
{
    const int nIndex = pCombo->findData(nData);
    pCombo->setCurrentIndex(nIndex >= 0 ? nIndex : 0);
}

int Data(const QComboBox* pCombo)
{
    return pCombo->currentData().toInt();
}

// The lines of a text, at LF, CRLF or a lone CR, a UTF-8 byte-order mark left out.
std::vector<std::string_view> SplitLines(std::string_view text)
{
    if (text.substr(0, 3) == "\xEF\xBB\xBF")
        text.remove_prefix(3);
    std::vector<std::string_view> vecLines;
    while (!text.empty())
    {
        const std::size_t nEnd = text.find_first_of("\r\n");
        vecLines.push_back(text.substr(0, nEnd));
        if (nEnd == std::string_view::npos)
            break;
        const bool bCrLf = text[nEnd] == '\r' && nEnd + 1 < text.size() && text[nEnd + 1] == '\n';
        text.remove_prefix(nEnd + (bCrLf ? 2 : 1));
    }
    return vecLines;
}

} // namespace

// The first bars of the file as the layout reads them: date, prices and, where the layout has
// one, volume.
class CImportPreviewModel : public QAbstractTableModel
{
public:
    explicit CImportPreviewModel(QObject* pParent) : QAbstractTableModel(pParent) {}

    void Show(SKLineLoad&& load)
    {
        beginResetModel();
        m_load = std::move(load);
        m_nDecimals = ShownPriceDecimals(m_load.m_stats.m_nPriceDecimals);
        endResetModel();
    }
    const SKLineLoad& Load() const { return m_load; }

    int rowCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() ? 0 : static_cast<int>(m_load.m_vecBars.size());
    }
    int columnCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() ? 0 : (m_load.m_vecVolumes.empty() ? 5 : 6);
    }
    QVariant data(const QModelIndex& index, int nRole) const override
    {
        if (!index.isValid() || index.row() >= rowCount())
            return {};
        if (nRole == Qt::TextAlignmentRole)
            return static_cast<int>(index.column() == 0 ? Qt::AlignLeft | Qt::AlignVCenter
                                                        : Qt::AlignRight | Qt::AlignVCenter);
        if (nRole != Qt::DisplayRole)
            return {};
        const std::size_t nRow = static_cast<std::size_t>(index.row());
        const SChartCandlestickPoint& bar = m_load.m_vecBars[nRow];
        switch (index.column())
        {
        case 0:
            return QString::fromStdString(KLineBarTimeText(bar.dDate, m_load.m_stats.m_bTimeOfDay));
        case 1:
            return Price(bar.dOpen);
        case 2:
            return Price(bar.dHigh);
        case 3:
            return Price(bar.dLow);
        case 4:
            return Price(bar.dClose);
        default:
            break;
        }
        const double dVolume = m_load.m_vecVolumes[nRow];
        return std::isnan(dVolume) ? QString() : QString::number(dVolume, 'g', 15);
    }
    QVariant headerData(int nSection, Qt::Orientation eOrientation, int nRole) const override
    {
        if (nRole != Qt::DisplayRole)
            return {};
        if (eOrientation == Qt::Vertical)
            return nSection + 1;
        static constexpr unsigned kHeaderIds[] = {IDS_IMPORT_BAR_DATE, IDS_IMPORT_OPEN,
                                                  IDS_IMPORT_HIGH,     IDS_IMPORT_LOW,
                                                  IDS_IMPORT_CLOSE,    IDS_IMPORT_VOLUME};
        return nSection >= 0 && nSection < 6 ? AppQText(kHeaderIds[nSection]) : QVariant();
    }

private:
    QString Price(double dPrice) const { return QString::number(dPrice, 'f', m_nDecimals); }

    SKLineLoad m_load;
    int m_nDecimals = 2;
};

CImportDlg::CImportDlg(const std::string& strPath, std::string strHead, const SKLineLayout& preset,
                       unsigned nPromptId, QWidget* pParent)
    : QDialog(pParent), m_strHead(std::move(strHead)), m_preset(preset), m_layout(preset)
{
    m_vecLines = SplitLines(m_strHead);
    const CDialogUnits units(8);
    units.ApplyTo(this);
    setWindowTitle(AppQText(IDS_IMPORT_CAPTION));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setFixedSize(units.Size(kDialogWidth, kDialogHeight));

    QLabel* pPrompt = AddLabel(this, units, {}, {7, 6, 366, 8});
    pPrompt->setText(QString::fromStdString(FormatAppText(nPromptId, strPath.c_str())));
    pPrompt->setObjectName(QStringLiteral("prompt"));
    CreateControls(units);
    ShowPreset();
    m_pSeparator->setFocus(Qt::TabFocusReason);
}

CImportDlg::~CImportDlg() = default;

void CImportDlg::CreateControls(const CDialogUnits& units)
{
    AddLabel(this, units, AppQText(IDS_IMPORT_FIRST_LINES), {7, 17, 100, 8});
    m_pFirstLines = new QPlainTextEdit(this);
    m_pFirstLines->setObjectName(QStringLiteral("firstLines"));
    m_pFirstLines->setReadOnly(true);
    m_pFirstLines->setLineWrapMode(QPlainTextEdit::NoWrap);
    QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    fixed.setPixelSize(units.Font().pixelSize());
    m_pFirstLines->setFont(fixed);
    m_pFirstLines->setTabStopDistance(4 * QFontMetricsF(fixed).horizontalAdvance(QLatin1Char(' ')));
    m_pFirstLines->setGeometry(units.Rect(7, 26, 366, 62));

    const auto pair = [&](int nRow, int nPair, unsigned nTextId, const char* pszName)
    {
        AddLabel(this, units, AppQText(nTextId), PairLabel(nRow, nPair));
        return AddComboBox(this, units, PairCombo(nRow, nPair), pszName);
    };
    m_pSeparator = pair(0, 0, IDS_IMPORT_SEPARATOR, "separator");
    AddLabel(this, units, AppQText(IDS_IMPORT_HEADER_LINES), PairLabel(0, 1));
    m_pHeaderLines = new QSpinBox(this);
    m_pHeaderLines->setObjectName(QStringLiteral("headerLines"));
    const SDialogRect rcSpin = PairCombo(0, 1);
    m_pHeaderLines->setGeometry(units.Rect(rcSpin.x, rcSpin.y, rcSpin.cx, rcSpin.cy));
    m_pEncoding = pair(0, 2, IDS_IMPORT_ENCODING, "encoding");
    m_pDateColumn = pair(1, 0, IDS_IMPORT_DATE, "dateColumn");
    m_pDateForm = pair(1, 1, IDS_IMPORT_DATE_FORM, "dateForm");
    m_pDateOrder = pair(1, 2, IDS_IMPORT_ORDER, "dateOrder");
    m_pTimeColumn = pair(2, 0, IDS_IMPORT_TIME, "timeColumn");
    m_pTimeForm = pair(2, 1, IDS_IMPORT_TIME_FORM, "timeForm");
    m_pDecimal = pair(2, 2, IDS_IMPORT_DECIMAL, "decimal");
    m_pOpen = pair(3, 0, IDS_IMPORT_OPEN, "open");
    m_pHigh = pair(3, 1, IDS_IMPORT_HIGH, "high");
    m_pLow = pair(3, 2, IDS_IMPORT_LOW, "low");
    m_pClose = pair(4, 0, IDS_IMPORT_CLOSE, "close");
    m_pVolume = pair(4, 1, IDS_IMPORT_VOLUME, "volume");
    m_pQuoted = new QCheckBox(AppQText(IDS_IMPORT_QUOTED), this);
    m_pQuoted->setObjectName(QStringLiteral("quoted"));
    m_pQuoted->setGeometry(units.Rect(kPairX[2], kRowTop + 4 * kRowPitch, 80, 12));

    AddLabel(this, units, AppQText(IDS_IMPORT_PREVIEW), {7, 176, 366, 8});
    m_pPreviewNote = AddLabel(this, units, {}, {7, 186, 366, 16});
    m_pPreviewNote->setObjectName(QStringLiteral("previewNote"));
    m_pPreviewNote->setWordWrap(true);
    m_pPreview = new QTableView(this);
    m_pPreview->setObjectName(QStringLiteral("preview"));
    m_pPreview->setGeometry(units.Rect(7, 204, 366, 72));
    m_pPreview->setModel(new CImportPreviewModel(m_pPreview));
    m_pPreview->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_pPreview->setSelectionMode(QAbstractItemView::NoSelection);
    m_pPreview->verticalHeader()->setDefaultSectionSize(units.Font().pixelSize() + 6);
    m_pPreview->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);

    m_pOk = AddButton(this, units, AppQText(IDS_OK), {267, 282, 50, 14}, true);
    QPushButton* pCancel = AddButton(this, units, AppQText(IDS_CANCEL), {323, 282, 50, 14});
    connect(m_pOk, &QPushButton::clicked, this, &CImportDlg::accept);
    connect(pCancel, &QPushButton::clicked, this, &CImportDlg::reject);

    for (std::size_t i = 0; i < std::size(kSeparators); ++i)
        m_pSeparator->addItem(AppQText(kSeparatorTextIds[i]), int(kSeparators[i]));
    for (int i = 0; i < 2; ++i)
        m_pEncoding->addItem(QString::fromLatin1(kEncodingNames[i]), i);
    for (unsigned nId :
         {IDS_IMPORT_FORM_NUMERIC, IDS_IMPORT_FORM_COMPACT, IDS_IMPORT_FORM_MONTH_NAME})
        m_pDateForm->addItem(AppQText(nId), m_pDateForm->count());
    for (unsigned nUnit = 0; nUnit < 4; ++nUnit)
        m_pDateForm->addItem(QString::fromStdString(
                                 FormatAppText(IDS_LAYOUT_UNIX, AppText(IDS_UNIX_SECONDS + nUnit))),
                             m_pDateForm->count());
    for (unsigned nId : {IDS_IMPORT_ORDER_YMD, IDS_IMPORT_ORDER_DMY, IDS_IMPORT_ORDER_MDY})
        m_pDateOrder->addItem(AppQText(nId), m_pDateOrder->count());
    m_pTimeForm->addItem(AppQText(IDS_IMPORT_TIME_COLONS), int(EKLineTimeForm::Colons));
    m_pTimeForm->addItem(AppQText(IDS_IMPORT_TIME_DIGITS), int(EKLineTimeForm::Digits));
    m_pDecimal->addItem(AppQText(IDS_IMPORT_POINT), 0);
    m_pDecimal->addItem(AppQText(IDS_IMPORT_COMMA), 1);

    // What the columns are called depends on how the lines split and decode.
    const auto columnsChanged = [this]
    {
        if (m_bShowing)
            return;
        ShowColumns();
        TakeControls();
    };
    const auto fieldChanged = [this]
    {
        if (!m_bShowing)
            TakeControls();
    };
    connect(m_pEncoding, &QComboBox::currentIndexChanged, this,
            [this, columnsChanged]
            {
                if (!m_bShowing)
                    ShowFirstLines();
                columnsChanged();
            });
    connect(m_pSeparator, &QComboBox::currentIndexChanged, this, columnsChanged);
    connect(m_pHeaderLines, &QSpinBox::valueChanged, this, columnsChanged);
    connect(m_pQuoted, &QCheckBox::toggled, this, columnsChanged);
    for (QComboBox* pCombo : {m_pDateColumn, m_pDateForm, m_pDateOrder, m_pTimeColumn, m_pTimeForm,
                              m_pDecimal, m_pOpen, m_pHigh, m_pLow, m_pClose, m_pVolume})
        connect(pCombo, &QComboBox::currentIndexChanged, this, fieldChanged);
}

void CImportDlg::ShowPreset()
{
    m_bShowing = true;
    const SKLineLayout& preset = m_preset;
    SelectData(m_pSeparator, int(preset.m_cSeparator));
    m_pQuoted->setChecked(preset.m_bQuoted);
    m_pHeaderLines->setRange(
        0, std::max<int>(static_cast<int>(m_vecLines.size()), preset.m_nHeaderLines));
    m_pHeaderLines->setValue(preset.m_nHeaderLines);
    SelectData(m_pEncoding, int(preset.m_eEncoding));
    SelectData(m_pDateForm, preset.m_eDateForm == EKLineDateForm::Unix
                                ? kUnixFormFirst + int(preset.m_eUnixUnit)
                                : int(preset.m_eDateForm));
    SelectData(m_pDateOrder, int(preset.m_eDateOrder));
    SelectData(m_pTimeForm, int(preset.m_eTimeForm));
    SelectData(m_pDecimal, preset.m_bDecimalComma ? 1 : 0);
    m_bShowing = false;
    ShowFirstLines();
    ShowColumns();
    TakeControls();
}

QString CImportDlg::Decoded(std::string_view text) const
{
    const QByteArray bytes(text.data(), static_cast<qsizetype>(text.size()));
    if (Data(m_pEncoding) == int(EKLineEncoding::Gbk))
    {
        QStringDecoder decoder("GBK");
        if (decoder.isValid())
            return decoder.decode(bytes);
    }
    return QString::fromUtf8(bytes);
}

void CImportDlg::ShowFirstLines()
{
    QString strText;
    const int nShown = std::min<int>(kShownLines, static_cast<int>(m_vecLines.size()));
    for (int i = 0; i < nShown; ++i)
    {
        // Numbered, so "first: line 3" and the header lines can be found.
        strText += QStringLiteral("%1  ").arg(i + 1, 3);
        strText += Decoded(m_vecLines[static_cast<std::size_t>(i)]);
        strText += QLatin1Char('\n');
    }
    m_pFirstLines->setPlainText(strText);
}

void CImportDlg::ShowColumns()
{
    const char cSeparator = static_cast<char>(Data(m_pSeparator));
    const std::size_t nHeader = static_cast<std::size_t>(m_pHeaderLines->value());
    // A column is named by the last header line, else by its field in the first bar's line.
    std::vector<std::string_view> vecNames;
    std::vector<std::string_view> vecFirst;
    if (nHeader > 0 && nHeader <= m_vecLines.size())
        vecNames = SplitKLineFields(m_vecLines[nHeader - 1], cSeparator);
    if (nHeader < m_vecLines.size())
        vecFirst = SplitKLineFields(m_vecLines[nHeader], cSeparator);
    // Each drop-down keeps its column; at first it shows the preset's, even one beyond the fields
    // of the first lines.
    const std::pair<QComboBox*, int> arrColumns[] = {
        {m_pDateColumn, m_preset.m_nDateColumn}, {m_pTimeColumn, m_preset.m_nTimeColumn},
        {m_pOpen, m_preset.m_nOpenColumn},       {m_pHigh, m_preset.m_nHighColumn},
        {m_pLow, m_preset.m_nLowColumn},         {m_pClose, m_preset.m_nCloseColumn},
        {m_pVolume, m_preset.m_nVolumeColumn}};
    int nColumns = 1;
    for (std::size_t i = 0; i < m_vecLines.size() && i < std::size_t(kShownLines); ++i)
        nColumns = std::max<int>(
            nColumns, static_cast<int>(SplitKLineFields(m_vecLines[i], cSeparator).size()));
    for (const auto& [pCombo, nPreset] : arrColumns)
        nColumns = std::max(nColumns, (pCombo->count() > 0 ? Data(pCombo) : nPreset) + 1);
    nColumns = std::min(nColumns, kMostColumns);

    m_bShowing = true;
    for (const auto& [pCombo, nPreset] : arrColumns)
    {
        const int nShown = pCombo->count() > 0 ? Data(pCombo) : nPreset;
        pCombo->clear();
        if (pCombo == m_pTimeColumn)
            pCombo->addItem(AppQText(IDS_IMPORT_TIME_IN_DATE), -1);
        else if (pCombo == m_pVolume)
            pCombo->addItem(AppQText(IDS_IMPORT_NO_COLUMN), -1);
        for (int c = 0; c < nColumns; ++c)
        {
            const std::size_t n = static_cast<std::size_t>(c);
            std::string_view name = n < vecNames.size() ? vecNames[n] : std::string_view();
            if (name.empty() && n < vecFirst.size())
                name = vecFirst[n];
            QString strName = Decoded(name);
            if (strName.size() > kShownNameChars)
                strName = strName.left(kShownNameChars - 1) + QChar(0x2026);
            pCombo->addItem(QString::fromStdString(
                                FormatAppText(IDS_IMPORT_COLUMN, c + 1, qPrintable(strName))),
                            c);
        }
        SelectData(pCombo, nShown);
    }
    m_bShowing = false;
}

void CImportDlg::TakeControls()
{
    // What no control shows (the kind, the grouping mark) stays as the preset has it.
    SKLineLayout layout = m_preset;
    layout.m_cSeparator = static_cast<char>(Data(m_pSeparator));
    layout.m_bQuoted = m_pQuoted->isChecked();
    layout.m_nHeaderLines = m_pHeaderLines->value();
    layout.m_eEncoding = EKLineEncoding(Data(m_pEncoding));
    layout.m_nDateColumn = Data(m_pDateColumn);
    const int nForm = Data(m_pDateForm);
    layout.m_eDateForm = nForm >= kUnixFormFirst ? EKLineDateForm::Unix : EKLineDateForm(nForm);
    if (nForm >= kUnixFormFirst)
        layout.m_eUnixUnit = EKLineUnixUnit(nForm - kUnixFormFirst);
    layout.m_eDateOrder = EKLineDateOrder(Data(m_pDateOrder));
    layout.m_nTimeColumn = Data(m_pTimeColumn);
    layout.m_eTimeForm = EKLineTimeForm(Data(m_pTimeForm));
    layout.m_bDecimalComma = Data(m_pDecimal) == 1;
    layout.m_nOpenColumn = Data(m_pOpen);
    layout.m_nHighColumn = Data(m_pHigh);
    layout.m_nLowColumn = Data(m_pLow);
    layout.m_nCloseColumn = Data(m_pClose);
    layout.m_nVolumeColumn = Data(m_pVolume);
    // A grouping mark is never the decimal mark, nor the separator of unquoted fields.
    if (layout.m_cThousands == (layout.m_bDecimalComma ? ',' : '.'))
        layout.m_cThousands = layout.m_bDecimalComma ? '.' : 0;
    if (layout.m_cThousands == layout.m_cSeparator && !layout.m_bQuoted)
        layout.m_cThousands = 0;

    SKLineLayout same = layout;
    same.m_eFamily = m_preset.m_eFamily;
    if (same == m_preset)
        m_layout = m_preset;
    else
    {
        layout.m_eFamily = EKLineFamily::Custom;
        layout.m_bOrderFromLocale =
            m_preset.m_bOrderFromLocale && layout.m_eDateOrder == m_preset.m_eDateOrder;
        m_layout = layout;
    }
    const bool bNumeric = layout.m_eDateForm == EKLineDateForm::Numeric;
    m_pDateOrder->setEnabled(bNumeric);
    m_pTimeForm->setEnabled(layout.m_nTimeColumn >= 0);
    ShowPreview();
}

std::string CImportDlg::SharedColumnText() const
{
    const std::pair<int, unsigned> arrUses[] = {
        {m_layout.m_nDateColumn, IDS_IMPORT_BAR_DATE}, {m_layout.m_nTimeColumn, IDS_IMPORT_TIME},
        {m_layout.m_nOpenColumn, IDS_IMPORT_OPEN},     {m_layout.m_nHighColumn, IDS_IMPORT_HIGH},
        {m_layout.m_nLowColumn, IDS_IMPORT_LOW},       {m_layout.m_nCloseColumn, IDS_IMPORT_CLOSE},
        {m_layout.m_nVolumeColumn, IDS_IMPORT_VOLUME}};
    for (std::size_t i = 0; i < std::size(arrUses); ++i)
        for (std::size_t k = 0; k < i; ++k)
            if (arrUses[i].first >= 0 && arrUses[i].first == arrUses[k].first)
                return FormatAppText(IDS_IMPORT_SHARED_COLUMN, AppText(arrUses[i].second),
                                     AppText(arrUses[k].second));
    return {};
}

void CImportDlg::ShowPreview()
{
    SKLineLoad load;
    ReadKLineText(m_strHead, m_layout, &load, kPreviewBars);
    const bool bBars = !load.m_vecBars.empty();
    // The reader gives each column one use: a second one is said, not silently read as none.
    const std::string strShared = SharedColumnText();
    m_pPreviewNote->setText(QString::fromStdString(
        bBars ? LoadNoteText(load.m_layout, load.m_stats, load.m_vecBars)
        : !strShared.empty()
            ? strShared
            : FormatAppText(IDS_IMPORT_NO_BARS, static_cast<int>(m_vecLines.size()))));
    static_cast<CImportPreviewModel*>(m_pPreview->model())->Show(std::move(load));
    m_pOk->setEnabled(bBars);
}
