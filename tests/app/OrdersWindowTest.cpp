// Sizes, orders that wait and costs, as the trader sets them in the window.
#include "AppTestSupport.h"

#include <QComboBox>
#include <QMessageBox>
#include <QSpinBox>
#include <QTableView>

namespace
{

const QString kCaption = QString::fromUtf8("K线交易练习");

class OrdersWindowTest : public CMainWindowTest
{
protected:
    QSpinBox* Quantity() { return Window().findChild<QSpinBox*>(QStringLiteral("quantity")); }

    // Opens the order dialog with O and runs fill in it; the dialog is then confirmed.
    void InOrderDialog(const std::function<void(QWidget*)>& fill)
    {
        WhenModal(TitleIs(QString::fromUtf8("挂单")),
                  [fill](QWidget* pDialog)
                  {
                      fill(pDialog);
                      ClickButtonIn(pDialog, QString::fromUtf8("确定"));
                  });
        Key(Qt::Key_O);
    }

    static void Set(QWidget* pDialog, int nEdit, const char* pszText)
    {
        pDialog->findChildren<QLineEdit*>(Qt::FindDirectChildrenOnly)
            .at(nEdit)
            ->setText(QString::fromUtf8(pszText));
    }
};

// The order dialog's edits in their order: price, stop loss, take profit, risk.
constexpr int kPrice = 0;
constexpr int kStopLoss = 1;
constexpr int kRisk = 3;

TEST_F(OrdersWindowTest, TheQuantityFieldTradesThatManyUnitsAndIsKept)
{
    LoadAtStart(WriteBars(60));
    Key(Qt::Key_Right);
    // Typed into the field: 8 also chooses a daily file's weekly timeframe, but not here.
    QLineEdit* pEdit = Quantity()->findChild<QLineEdit*>();
    pEdit->selectAll();
    Key(Qt::Key_8, pEdit);
    Key(Qt::Key_5, pEdit);
    EXPECT_EQ(Quantity()->value(), 85);
    EXPECT_NE(FileText(m_dir.SettingsFile()).find("\nTimeframe=-1\n"), std::string::npos);
    Key(Qt::Key_B);
    const std::vector<std::string> vecLog = m_dir.TradeLogLines();
    ASSERT_EQ(vecLog.size(), 2U);
    EXPECT_EQ(vecLog[0], "Buy 85 @ 35.50");
    EXPECT_EQ(vecLog[1].rfind("Buy 85 @ 35.50, current position:85, current average:35.50,", 0),
              0U);
    EXPECT_EQ(Label("position"), "Position:85");
    Reopen();
    EXPECT_EQ(Quantity()->value(), 85);
}

TEST_F(OrdersWindowTest, ATradeBeyondTheBuyingPowerIsRefusedWithTheLargestQuantity)
{
    LoadAtStart(WriteBars(60));
    Key(Qt::Key_Right);
    Quantity()->setValue(1000000);
    QString strSaid;
    WhenModal(TitleIs(kCaption),
              [&](QWidget* pBox)
              {
                  strSaid = ModalText(pBox);
                  ClickButtonIn(pBox, "OK");
              });
    Key(Qt::Key_B);
    // A million at 35.50 against 1,000,000: at most 28,169 units.
    EXPECT_TRUE(strSaid.contains(QStringLiteral("28169"))) << strSaid.toStdString();
    EXPECT_EQ(Window().Session().Account().m_nPosition, 0);
    EXPECT_TRUE(m_dir.TradeLogLines().empty());
}

TEST_F(OrdersWindowTest, TheOrderDialogRefusesAWrongSideSizesByRiskAndPlacesTheEntryWithItsStop)
{
    LoadAtStart(WriteBars(60));
    Key(Qt::Key_Right); // close 35.50
    QString strRefused;
    QString strSized;
    InOrderDialog(
        [&](QWidget* pDialog)
        {
            pDialog->findChild<QComboBox*>()->setCurrentIndex(2); // buy limit
            Set(pDialog, kPrice, "36");
            WhenModal([](QWidget* p) { return qobject_cast<QMessageBox*>(p) != nullptr; },
                      [&, pDialog](QWidget* pBox)
                      {
                          strRefused = ModalText(pBox);
                          ClickButtonIn(pBox, "OK");
                          // Still open: now a limit below the close, risking 1 % to 34.
                          Set(pDialog, kPrice, "35");
                          Set(pDialog, kStopLoss, "34");
                          Set(pDialog, kRisk, "1");
                          strSized = pDialog->findChild<QLabel*>(QStringLiteral("riskSize"))->text();
                          ClickButtonIn(pDialog, QString::fromUtf8("确定"));
                      });
        });
    EXPECT_TRUE(strRefused.contains(QStringLiteral("35.50"))) << strRefused.toStdString();
    // 1 % of 1,000,000 over a loss of 1.00 a unit: 10,000 units.
    EXPECT_TRUE(strSized.contains(QStringLiteral("10000"))) << strSized.toStdString();
    const std::vector<STradeOrder>& vecOrders = Window().Session().Desk().Orders();
    ASSERT_EQ(vecOrders.size(), 2U);
    EXPECT_EQ(vecOrders[0].eKind, ETradeOrderKind::BuyLimit);
    EXPECT_EQ(vecOrders[0].nQuantity, 10000);
    EXPECT_EQ(vecOrders[1].eKind, ETradeOrderKind::StopLoss);
    EXPECT_EQ(vecOrders[1].nAttachedTo, vecOrders[0].nId);
}

TEST_F(OrdersWindowTest, TheOrdersListShowsTheWorkingOrdersAndCancelsTheChosenOne)
{
    LoadAtStart(WriteBars(60));
    Key(Qt::Key_Right);
    for (const char* pszPrice : {"30", "31"})
        InOrderDialog(
            [pszPrice](QWidget* pDialog)
            {
                pDialog->findChild<QComboBox*>()->setCurrentIndex(2);
                Set(pDialog, kPrice, pszPrice);
            });
    int nRowsShown = 0;
    WhenModal(TitleIs(QString::fromUtf8("委托")),
              [&](QWidget* pDialog)
              {
                  auto* pTable = pDialog->findChild<QTableView*>();
                  nRowsShown = pTable->model()->rowCount();
                  EXPECT_EQ(pTable->model()->index(1, 3).data().toString(), QStringLiteral("31.00"));
                  pTable->selectRow(0);
                  ClickButtonIn(pDialog, QString::fromUtf8("撤单"));
                  EXPECT_EQ(pTable->model()->rowCount(), 1);
                  ClickButtonIn(pDialog, QString::fromUtf8("关闭"));
              });
    Trigger(QString::fromUtf8("委托..."));
    EXPECT_EQ(nRowsShown, 2);
    ASSERT_EQ(Window().Session().Desk().Orders().size(), 1U);
    EXPECT_EQ(Window().Session().Desk().Orders()[0].dPrice, 31.0);
}

TEST_F(OrdersWindowTest, CostsFromTheSettingsAreBookedLoggedAndKept)
{
    LoadAtStart(WriteBars(60));
    Key(Qt::Key_Right);
    WhenModal(TitleIs(QString::fromUtf8("设置")),
              [](QWidget* pDialog)
              {
                  // Interval, leverage, commission, slippage.
                  const QList<QLineEdit*> edits = pDialog->findChildren<QLineEdit*>();
                  edits.at(2)->setText(QStringLiteral("1.5"));
                  edits.at(3)->setText(QStringLiteral("0.1"));
                  ClickButtonIn(pDialog, QString::fromUtf8("确定"));
              });
    Trigger(QString::fromUtf8("属性设置"));
    Key(Qt::Key_B);
    const std::vector<std::string> vecLog = m_dir.TradeLogLines();
    ASSERT_EQ(vecLog.size(), 2U);
    EXPECT_EQ(vecLog[0], "Buy 1 @ 35.60") << "a buy fills the slippage higher";
    EXPECT_NE(vecLog[1].find(", commission:1.50, slippage:0.10"), std::string::npos) << vecLog[1];
    Reopen();
    EXPECT_DOUBLE_EQ(Window().Session().Desk().Settings().costs.dCommission, 1.5);
    EXPECT_DOUBLE_EQ(Window().Session().Desk().Settings().costs.dSlippage, 0.1);
}

} // namespace
