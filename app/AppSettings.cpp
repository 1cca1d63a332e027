#include "app/AppSettings.h"

#include "app/Resources.h"
#include "core/PracticeSession.h"
#include "core/ReplayChart.h"
#include "core/Timeframe.h"
#include "core/TradeAccount.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

#include <cstdio>

namespace
{

constexpr qint64 kMaxSettingsBytes = qint64(1) << 20;
constexpr int kMaxRecentFiles = 5;
// Far more files than a trader imports by hand; the oldest choices go first.
constexpr int kMaxFileLayouts = 50;

const QString kPeriodKey = QStringLiteral("Replay/PeriodMs");
const QString kRecentSection = QStringLiteral("RecentFiles");
const QString kIndicatorSection = QStringLiteral("Indicators");
const QString kQuantityKey = QStringLiteral("Trade/Quantity");
const QString kLeverageKey = QStringLiteral("Trade/Leverage");
const QString kCommissionKindKey = QStringLiteral("Trade/CommissionKind");
const QString kCommissionKey = QStringLiteral("Trade/Commission");
const QString kSlippageKey = QStringLiteral("Trade/Slippage");
const QString kPauseOnFillKey = QStringLiteral("Trade/PauseOnFill");
const QString kTimeframeKey = QStringLiteral("View/Timeframe");
const QString kSecondChartKey = QStringLiteral("View/SecondChart");
const QString kSecondTimeframeKey = QStringLiteral("View/SecondTimeframe");

QString AverageKey(std::size_t nIndex)
{
    return kIndicatorSection + QStringLiteral("/MA%1").arg(CReplayChart::kAveragePeriods[nIndex]);
}

QString RecentKey(int nIndex)
{
    return kRecentSection + QStringLiteral("/File%1").arg(nIndex + 1);
}

// Paths are values, not keys: a key could not hold every character a path may have.
const QString kLayoutSection = QStringLiteral("KLineLayouts");

QString LayoutFileKey(int nIndex)
{
    return kLayoutSection + QStringLiteral("/File%1").arg(nIndex + 1);
}

QString LayoutKey(int nIndex)
{
    return kLayoutSection + QStringLiteral("/Layout%1").arg(nIndex + 1);
}

// Why the file cannot be taken as settings; empty when it can.
QString DamageOf(const QString& strPath)
{
    QFile file(strPath);
    if (!file.exists())
        return {};
    if (file.size() > kMaxSettingsBytes)
        return QStringLiteral("larger than 1 MiB");
    if (!file.open(QIODevice::ReadOnly))
        return {};
    if (file.readAll().contains('\0'))
        return QStringLiteral("binary data");
    return {};
}

// The file's own INI dialect, as every version of the program wrote it: "[Section]" headers,
// "Key=value" lines whose value runs to the line's end exactly as written (commas, semicolons,
// quotes and all), ';' and '#' comment lines. Qt's INI reader would split a path at its commas
// and cut it at a semicolon.
bool ReadSettingsText(QIODevice& device, QSettings::SettingsMap& map)
{
    QString strSection;
    while (!device.atEnd())
    {
        QByteArray line = device.readLine();
        while (line.endsWith('\n') || line.endsWith('\r'))
            line.chop(1);
        for (char c : line)
            if (static_cast<unsigned char>(c) < 0x20 && c != '\t')
                return false;
        const QByteArray trimmed = line.trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith(';') || trimmed.startsWith('#'))
            continue;
        if (trimmed.startsWith('[') && trimmed.endsWith(']'))
        {
            strSection = QString::fromUtf8(trimmed.mid(1, trimmed.size() - 2).trimmed());
            continue;
        }
        const qsizetype nEqual = line.indexOf('=');
        const QString strKey = QString::fromUtf8(line.left(nEqual).trimmed());
        if (nEqual < 0 || strSection.isEmpty() || strKey.isEmpty())
            return false;
        map.insert(strSection + QLatin1Char('/') + strKey, QString::fromUtf8(line.mid(nEqual + 1)));
    }
    return true;
}

bool WriteSettingsText(QIODevice& device, const QSettings::SettingsMap& map)
{
    QByteArray text;
    QString strSection;
    for (auto it = map.cbegin(); it != map.cend(); ++it)
    {
        const QString strValue = it.value().toString();
        if (strValue.contains(QLatin1Char('\n')) || strValue.contains(QLatin1Char('\r')) ||
            strValue.contains(QChar(0)))
            continue; // a line can hold no line break: such a value is not kept
        const qsizetype nSlash = it.key().indexOf(QLatin1Char('/'));
        const QString strKeySection = it.key().left(nSlash);
        if (strKeySection != strSection)
        {
            if (!text.isEmpty())
                text += '\n';
            text += '[' + strKeySection.toUtf8() + "]\n";
            strSection = strKeySection;
        }
        text += it.key().mid(nSlash + 1).toUtf8() + '=' + strValue.toUtf8() + '\n';
    }
    return device.write(text) == text.size();
}

QSettings::Format SettingsFormat()
{
    static const QSettings::Format s_format =
        QSettings::registerFormat(QStringLiteral("ini"), ReadSettingsText, WriteSettingsText);
    return s_format;
}

} // namespace

CSettingsFile::CSettingsFile() : m_strPath(DefaultPath()) {}

CSettingsFile::~CSettingsFile() = default;

QString CSettingsFile::DefaultPath()
{
    // Only an absolute XDG_CONFIG_HOME counts; a relative one would follow the working folder.
    const QByteArray config = qgetenv("XDG_CONFIG_HOME");
    if (config.startsWith('/'))
        return QString::fromLocal8Bit(config) + QStringLiteral("/orvanta/orvanta.ini");
    const QByteArray home = qgetenv("HOME");
    if (!home.isEmpty())
        return QString::fromLocal8Bit(home) + QStringLiteral("/.config/orvanta/orvanta.ini");
    return {};
}

void CSettingsFile::Open()
{
    if (m_pSettings == nullptr && !m_strPath.isEmpty())
        m_pSettings = std::make_unique<QSettings>(m_strPath, SettingsFormat());
}

void CSettingsFile::KeepDamagedFile(const QString& strWhy)
{
    const QString strKept = m_strPath + QStringLiteral(".damaged");
    QFile::remove(strKept);
    const bool bKept = QFile::rename(m_strPath, strKept);
    std::fprintf(stderr, "Settings: %s is damaged (%s); %s\n", qPrintable(m_strPath),
                 qPrintable(strWhy),
                 bKept ? qPrintable(QStringLiteral("kept as ") + strKept)
                       : "it could not be moved aside and is left as it is");
    if (!m_bDamageTold)
    {
        m_bDamageTold = true;
        m_strNote = QString::fromStdString(
            FormatAppText(IDS_SETTINGS_DAMAGED, qPrintable(m_strPath), qPrintable(strKept)));
    }
    // Without the move the damaged file is never read, and never written over either.
    if (!bKept)
        m_strPath.clear();
}

void CSettingsFile::ReadTradeSettings(QSettings& file, SAppSettings* pSettings)
{
    // A value that is not a number, or trades the account refuses, keeps its default.
    bool bNumber = false;
    const int nQuantity = file.value(kQuantityKey).toInt(&bNumber);
    if (bNumber && nQuantity >= 1 && nQuantity <= kMaxPositionUnits)
        pSettings->nQuantity = nQuantity;
    STradeSettings trade;
    const int nKind = file.value(kCommissionKindKey, 0).toInt();
    if (nKind >= 0 && nKind <= static_cast<int>(ECommissionKind::PercentOfValue))
        trade.costs.eCommission = static_cast<ECommissionKind>(nKind);
    for (auto [pKey, pdValue] : {std::pair{&kLeverageKey, &trade.dLeverage},
                                 {&kCommissionKey, &trade.costs.dCommission},
                                 {&kSlippageKey, &trade.costs.dSlippage}})
        if (const double dValue = file.value(*pKey).toDouble(&bNumber); bNumber)
            *pdValue = dValue;
    if (CheckTradeSettings(trade, nullptr))
        pSettings->trade = trade;
    pSettings->bPauseOnFill = file.value(kPauseOnFillKey, 1).toInt() != 0;
}

SAppSettings CSettingsFile::readSettings()
{
    SAppSettings settings;
    if (m_strPath.isEmpty())
        return settings;
    if (const QString strWhy = DamageOf(m_strPath); !strWhy.isEmpty())
        KeepDamagedFile(strWhy);
    Open();
    if (m_pSettings == nullptr)
        return settings;
    if (m_pSettings->status() == QSettings::FormatError)
    {
        m_pSettings.reset();
        KeepDamagedFile(QStringLiteral("not a settings file"));
        Open();
        if (m_pSettings == nullptr)
            return settings;
    }
    QSettings& file = *m_pSettings;
    bool bNumber = false;
    const long long nPeriod = file.value(kPeriodKey).toLongLong(&bNumber);
    if (bNumber)
        settings.nPeriodMs = CPracticeSession::ClampPeriodMs(nPeriod);
    for (std::size_t i = 0; i < settings.arrAverages.size(); ++i)
        settings.arrAverages[i] = file.value(AverageKey(i)).toInt() != 0;
    for (int i = 0; i < kMaxRecentFiles; ++i)
        if (std::string strPath = file.value(RecentKey(i)).toString().toStdString();
            !strPath.empty())
            settings.vecRecentFiles.push_back(std::move(strPath));
    ReadTradeSettings(file, &settings);
    // Numbers outside their range keep the defaults.
    const auto readIndex = [&file](const QString& strKey, int nLow, int nHigh, int* pnValue)
    {
        bool bNumber = false;
        const int nValue = file.value(strKey).toInt(&bNumber);
        if (bNumber && nValue >= nLow && nValue <= nHigh)
            *pnValue = nValue;
    };
    readIndex(kTimeframeKey, -1, kTimeframeCount - 1, &settings.nTimeframe);
    readIndex(kSecondChartKey, 0, 2, &settings.nSecondChart);
    readIndex(kSecondTimeframeKey, 0, kTimeframeCount - 1, &settings.nSecondTimeframe);
    // A layout that no longer reads (damaged by hand, or from a later version) is dropped.
    for (int i = 0; i < kMaxFileLayouts; ++i)
    {
        SFileLayout chosen;
        chosen.strPath = file.value(LayoutFileKey(i)).toString().toStdString();
        if (!chosen.strPath.empty() &&
            ParseKLineLayoutText(file.value(LayoutKey(i)).toString().toStdString(),
                                 &chosen.layout) &&
            ChosenFileLayout(settings, chosen.strPath) == nullptr)
            settings.vecFileLayouts.push_back(std::move(chosen));
    }
    return settings;
}

bool CSettingsFile::writeSettings(const SAppSettings& settings)
{
    Open();
    if (m_pSettings == nullptr)
        return false;
    QSettings& file = *m_pSettings;
    file.setValue(kPeriodKey, settings.nPeriodMs);
    for (std::size_t i = 0; i < settings.arrAverages.size(); ++i)
        file.setValue(AverageKey(i), settings.arrAverages[i] ? 1 : 0);
    for (int i = 0; i < kMaxRecentFiles; ++i)
    {
        const std::size_t n = static_cast<std::size_t>(i);
        if (n < settings.vecRecentFiles.size())
            file.setValue(RecentKey(i), QString::fromStdString(settings.vecRecentFiles[n]));
        else
            file.remove(RecentKey(i));
    }
    file.setValue(kQuantityKey, settings.nQuantity);
    file.setValue(kLeverageKey, settings.trade.dLeverage);
    file.setValue(kCommissionKindKey, static_cast<int>(settings.trade.costs.eCommission));
    file.setValue(kCommissionKey, settings.trade.costs.dCommission);
    file.setValue(kSlippageKey, settings.trade.costs.dSlippage);
    file.setValue(kPauseOnFillKey, settings.bPauseOnFill ? 1 : 0);
    file.setValue(kTimeframeKey, settings.nTimeframe);
    file.setValue(kSecondChartKey, settings.nSecondChart);
    file.setValue(kSecondTimeframeKey, settings.nSecondTimeframe);
    for (int i = 0; i < kMaxFileLayouts; ++i)
    {
        const std::size_t n = static_cast<std::size_t>(i);
        if (n < settings.vecFileLayouts.size())
        {
            const SFileLayout& chosen = settings.vecFileLayouts[n];
            file.setValue(LayoutFileKey(i), QString::fromStdString(chosen.strPath));
            file.setValue(LayoutKey(i), QString::fromStdString(KLineLayoutText(chosen.layout)));
        }
        else
        {
            file.remove(LayoutFileKey(i));
            file.remove(LayoutKey(i));
        }
    }
    QDir().mkpath(QFileInfo(m_strPath).absolutePath());
    file.sync();
    if (file.status() == QSettings::NoError)
        return true;
    std::fprintf(stderr, "Settings: cannot write %s\n", qPrintable(m_strPath));
    if (!m_bWriteFailureTold)
    {
        m_bWriteFailureTold = true;
        m_strNote =
            QString::fromStdString(FormatAppText(IDS_SETTINGS_NOT_WRITTEN, qPrintable(m_strPath)));
    }
    return false;
}

QString CSettingsFile::TakeNote()
{
    return std::exchange(m_strNote, QString());
}

const SKLineLayout* ChosenFileLayout(const SAppSettings& settings, const std::string& strPath)
{
    for (const SFileLayout& chosen : settings.vecFileLayouts)
        if (chosen.strPath == strPath)
            return &chosen.layout;
    return nullptr;
}

void KeepFileLayout(SAppSettings* pSettings, const std::string& strPath, const SKLineLayout& layout)
{
    std::vector<SFileLayout>& vecLayouts = pSettings->vecFileLayouts;
    std::erase_if(vecLayouts, [&](const SFileLayout& chosen) { return chosen.strPath == strPath; });
    vecLayouts.insert(vecLayouts.begin(), SFileLayout{strPath, layout});
    if (vecLayouts.size() > static_cast<std::size_t>(kMaxFileLayouts))
        vecLayouts.resize(static_cast<std::size_t>(kMaxFileLayouts));
}
