#include "app/OrderDlg.h"

#include "app/DialogControls.h"
#include "app/DialogUnits.h"
#include "app/Resources.h"
#include "app/TradeTexts.h"
#include "core/TradeAccount.h"
#include "core/TradeRefusal.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

#include <array>
#include <cmath>

namespace
{

constexpr int kNumberMaxChars = 24;

// The drop-down's kinds: market buy and sell, the four entries, then the position's exits.
constexpr std::array<std::pair<ETradeOrderKind, ETradeSide>, 8> kKinds = {{
    {ETradeOrderKind::Market, ETradeSide::Buy},
    {ETradeOrderKind::Market, ETradeSide::Sell},
    {ETradeOrderKind::BuyLimit, ETradeSide::Buy},
    {ETradeOrderKind::BuyStop, ETradeSide::Buy},
    {ETradeOrderKind::SellLimit, ETradeSide::Sell},
    {ETradeOrderKind::SellStop, ETradeSide::Sell},
    {ETradeOrderKind::StopLoss, ETradeSide::Buy},
    {ETradeOrderKind::TakeProfit, ETradeSide::Buy},
}};

QString PriceText(double dPrice, int nDecimals)
{
    return std::isnan(dPrice) ? QString()
                              : QString::fromStdString(StringFormat("%.*f", nDecimals, dPrice));
}

// An optional price: an empty field is none.
bool ReadOptionalPrice(const QLineEdit* pEdit, double* pdPrice)
{
    if (pEdit->text().trimmed().isEmpty())
    {
        *pdPrice = std::numeric_limits<double>::quiet_NaN();
        return true;
    }
    return ParseNumber(pEdit->text(), pdPrice);
}

} // namespace

COrderDlg::COrderDlg(const CPracticeSession& session, const SOrderRequest& initial, FPlace place,
                     QWidget* pParent)
    : QDialog(pParent), m_session(session), m_place(std::move(place))
{
    const CDialogUnits units(9);
    units.ApplyTo(this);
    setWindowTitle(AppQText(IDS_ORDER_CAPTION));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setFixedSize(units.Size(200, 150));
    const int nDecimals = session.PriceDecimals();

    AddLabel(this, units, AppQText(IDS_ORDER_KIND), {7, 11, 45, 8});
    m_pKind = new QComboBox(this);
    for (const auto& [eKind, eSide] : kKinds)
        m_pKind->addItem(OrderKindText(eKind, eSide));
    m_pKind->setGeometry(units.Rect(55, 9, 90, 14));
    AddLabel(this, units, AppQText(IDS_ORDER_PRICE), {7, 29, 45, 8});
    m_pPrice = AddEdit(this, units, {55, 27, 70, 12}, false, kNumberMaxChars);
    AddLabel(this, units, AppQText(IDS_ORDER_QUANTITY), {7, 45, 45, 8});
    m_pQuantity = new QSpinBox(this);
    m_pQuantity->setRange(1, kMaxPositionUnits);
    m_pQuantity->setValue(initial.nQuantity);
    m_pQuantity->setGeometry(units.Rect(55, 43, 70, 12));
    AddLabel(this, units, AppQText(IDS_ORDER_STOP_LOSS), {7, 61, 45, 8});
    m_pStopLoss = AddEdit(this, units, {55, 59, 70, 12}, false, kNumberMaxChars);
    AddLabel(this, units, AppQText(IDS_ORDER_TAKE_PROFIT), {7, 77, 45, 8});
    m_pTakeProfit = AddEdit(this, units, {55, 75, 70, 12}, false, kNumberMaxChars);
    AddLabel(this, units, AppQText(IDS_ORDER_RISK), {7, 93, 45, 8});
    m_pRisk = AddEdit(this, units, {55, 91, 30, 12}, false, kNumberMaxChars);
    m_pRiskSize = AddLabel(this, units, {}, {7, 109, 186, 8});
    m_pRiskSize->setObjectName(QStringLiteral("riskSize"));
    QPushButton* pOk = AddButton(this, units, AppQText(IDS_OK), {86, 128, 50, 14}, true);
    QPushButton* pCancel = AddButton(this, units, AppQText(IDS_CANCEL), {142, 128, 50, 14});

    m_pKind->setCurrentIndex(IndexOf(initial));
    m_pPrice->setText(PriceText(initial.dPrice, nDecimals));
    m_pStopLoss->setText(PriceText(initial.dStopLoss, nDecimals));
    m_pTakeProfit->setText(PriceText(initial.dTakeProfit, nDecimals));
    ShowKind();

    connect(m_pKind, &QComboBox::currentIndexChanged, this, [this] { ShowKind(); });
    for (QLineEdit* pEdit : {m_pPrice, m_pStopLoss, m_pRisk})
        connect(pEdit, &QLineEdit::textChanged, this, [this] { ShowRiskSize(); });
    connect(pOk, &QPushButton::clicked, this, &COrderDlg::accept);
    connect(pCancel, &QPushButton::clicked, this, &COrderDlg::reject);
    m_pPrice->setFocus(Qt::TabFocusReason);
}

SOrderRequest COrderDlg::KindAt(int nIndex)
{
    SOrderRequest request;
    const auto [eKind, eSide] = kKinds[static_cast<std::size_t>(std::clamp(nIndex, 0, 7))];
    request.eKind = eKind;
    request.eSide = IsEntryOrder(eKind) ? EntrySide(eKind) : eSide;
    return request;
}

int COrderDlg::IndexOf(const SOrderRequest& request)
{
    for (std::size_t i = 0; i < kKinds.size(); ++i)
        if (kKinds[i].first == request.eKind &&
            (request.eKind != ETradeOrderKind::Market || kKinds[i].second == request.eSide))
            return static_cast<int>(i);
    return 0;
}

void COrderDlg::ShowKind()
{
    const SOrderRequest kind = KindAt(m_pKind->currentIndex());
    const bool bMarket = kind.eKind == ETradeOrderKind::Market;
    const bool bExit = !bMarket && !IsEntryOrder(kind.eKind);
    // A market trade is made at the close; an exit takes the position's size.
    if (bMarket)
        m_pPrice->setText(PriceText(m_session.Player().m_dClose, m_session.PriceDecimals()));
    m_pPrice->setEnabled(!bMarket);
    m_pQuantity->setEnabled(!bExit);
    for (QLineEdit* pEdit : {m_pStopLoss, m_pTakeProfit, m_pRisk})
        pEdit->setEnabled(!bExit);
    ShowRiskSize();
}

void COrderDlg::ShowRiskSize()
{
    m_pRiskSize->clear();
    SOrderRequest request;
    QString strBad;
    double dRisk = 0.0;
    if (!m_pRisk->isEnabled() || !ParseNumber(m_pRisk->text(), &dRisk) ||
        !ReadRequest(&request, &strBad) || std::isnan(request.dStopLoss))
        return;
    int nQuantity = 0;
    STradeRefusal refusal;
    if (!m_session.SizeByRisk(request.eSide, request.dPrice, request.dStopLoss, dRisk, &nQuantity,
                              &refusal))
    {
        m_pRiskSize->setText(
            QString::fromStdString(RefusalText(refusal, m_session.PriceDecimals())));
        return;
    }
    m_pQuantity->setValue(nQuantity);
    m_pRiskSize->setText(QString::fromStdString(
        FormatAppText(IDS_ORDER_RISK_SIZE, m_pRisk->text().trimmed().toStdString().c_str(),
                      m_pStopLoss->text().trimmed().toStdString().c_str(), nQuantity)));
}

bool COrderDlg::ReadRequest(SOrderRequest* pRequest, QString* pstrBad) const
{
    SOrderRequest request = KindAt(m_pKind->currentIndex());
    request.nQuantity = m_pQuantity->value();
    const std::pair<QLineEdit*, double*> fields[] = {{m_pStopLoss, &request.dStopLoss},
                                                     {m_pTakeProfit, &request.dTakeProfit}};
    if (!ParseNumber(m_pPrice->text(), &request.dPrice))
    {
        *pstrBad = m_pPrice->text();
        return false;
    }
    for (const auto& [pEdit, pdPrice] : fields)
        if (pEdit->isEnabled() && !ReadOptionalPrice(pEdit, pdPrice))
        {
            *pstrBad = pEdit->text();
            return false;
        }
    *pRequest = request;
    return true;
}

void COrderDlg::accept()
{
    SOrderRequest request;
    QString strBad;
    if (!ReadRequest(&request, &strBad))
    {
        ShowMessageBox(this, QString::fromStdString(
                                 FormatAppText(IDS_ORDER_BAD_NUMBER, strBad.toStdString().c_str())));
        return;
    }
    std::string strWhy;
    if (!m_place(request, &strWhy))
    {
        ShowMessageBox(this, QString::fromStdString(strWhy));
        return;
    }
    QDialog::accept();
}
