// The main window as the user drives it: its labels, buttons, menus and keys.
#include "AppTestSupport.h"

#include "chart/ChartCandlestickSerie.h"
#include "chart/ChartCrosshair.h"
#include "chart/ChartLineSerie.h"
#include "chart/ChartTradeMarkerSerie.h"

#include <QFileDialog>
#include <QGroupBox>
#include <QImageReader>
#include <QMessageBox>
#include <QSpinBox>

namespace
{

const QString kCaption = QString::fromUtf8("K线交易练习");
const QString kPlay = QString::fromUtf8("播放K线");
const QString kStop = QString::fromUtf8("停止播放");
const QString kStepBar = QString::fromUtf8("前进一根");

class MainWindowTest : public CMainWindowTest
{
protected:
    // The newest bar on the chart, told by its close.
    int ShownBar() { return static_cast<int>(Window().Session().Player().m_dClose - 10.5 + 0.5); }

    template <class Serie> std::vector<Serie*> Series()
    {
        std::vector<Serie*> vecFound;
        CChartCtrl& chart = Window().Chart();
        chart.RewindSeries();
        while (CChartSerie* pSerie = chart.NextSerie())
            if (auto* p = dynamic_cast<Serie*>(pSerie))
                vecFound.push_back(p);
        return vecFound;
    }

    std::string Speed() { return " 速度:1秒/根"; }
};

TEST_F(MainWindowTest, StartsWithTheStartLabelsAndOnlyPlayOffered)
{
    Window();
    EXPECT_EQ(Label("open"), "Open:0");
    EXPECT_EQ(Label("high"), "High:0");
    EXPECT_EQ(Label("low"), "Low:0");
    EXPECT_EQ(Label("close"), "Close:0");
    EXPECT_EQ(Label("account"), "Account:1000000");
    EXPECT_EQ(Label("position"), "Position:0");
    EXPECT_EQ(Label("profit"), "Profit:0");
    EXPECT_EQ(Info(), "");
    EXPECT_EQ(Window().windowTitle(), kCaption);
    EXPECT_TRUE(Button(kPlay)->isEnabled());
    EXPECT_FALSE(Button("Buy")->isEnabled());
    EXPECT_FALSE(Button("Sell")->isEnabled());
}

TEST_F(MainWindowTest, PlayRevealsOneBarATickAndTheLastBarEndsTheReplayUntilTheNextLoad)
{
    const std::string strPath = WriteBars(28);
    LoadAtStart(strPath);
    EXPECT_TRUE(Info().starts_with("加载:" + strPath + "; 数据量:(28);" + Speed() + " "))
        << Info(); // the load note follows
    Click(kPlay);
    EXPECT_EQ(Button(kStop)->text(), kStop);
    EXPECT_EQ(ShownBar(), 25);
    EXPECT_TRUE(Info().starts_with("加载:" + strPath + "; 数据量:(28); 播放进度:[26 of 28]" +
                                   Speed() + " "))
        << Info();
    EXPECT_EQ(Label("close"), "Close:35.50");
    EXPECT_EQ(Label("open"), "Open:35.00");
    EXPECT_FALSE(Action(QString::fromUtf8("播放K线(P)"))->isEnabled());
    EXPECT_TRUE(Action(QString::fromUtf8("停止播放(S)"))->isEnabled());
    ASSERT_NE(ReplayTimer(), nullptr);
    EXPECT_TRUE(ReplayTimer()->isActive());
    EXPECT_EQ(ReplayTimer()->interval(), 1000);
    // Right only steps while stopped.
    Key(Qt::Key_Right);
    EXPECT_EQ(ShownBar(), 25);

    Click(kStop);
    EXPECT_FALSE(ReplayTimer()->isActive());
    Trigger(kStepBar);
    Key(Qt::Key_Right);
    EXPECT_EQ(ShownBar(), 27);
    EXPECT_TRUE(Info().starts_with("加载:" + strPath + "; 数据量:(28); 播放进度:[28 of 28]" +
                                   Speed() + " "))
        << Info();
    EXPECT_FALSE(Button(kPlay)->isEnabled());
    EXPECT_FALSE(Action(QString::fromUtf8("播放K线(P)"))->isEnabled());
    Key(Qt::Key_Space);
    EXPECT_FALSE(Window().Session().IsPlaying());

    LoadAtStart(strPath);
    EXPECT_TRUE(Button(kPlay)->isEnabled());
    EXPECT_EQ(Label("close"), "Close:0");
    EXPECT_TRUE(Series<CChartCandlestickSerie>().empty()) << "the old file's bars are gone";
}

TEST_F(MainWindowTest, TradesAtTheShownCloseLogBothLinesAndShowTheAccountAtOnce)
{
    LoadAtStart(WriteBars(60));
    Click("Buy"); // before a bar is shown there is no price to trade at
    EXPECT_TRUE(m_dir.TradeLogLines().empty());
    Key(Qt::Key_Right);
    Click("Buy");
    EXPECT_EQ(Label("position"), "Position:1");
    Key(Qt::Key_Right);
    Key(Qt::Key_Right);
    Click("Sell");
    EXPECT_EQ(Label("position"), "Position:0");
    EXPECT_EQ(Label("account"), "Account:1000002.00");
    const std::vector<std::string> vecExpected = {
        "Buy 1 @ 35.50",
        "Buy 1 @ 35.50, current position:1, current average:35.50, profit:0.00, "
        "PositionAccount:1000000.00, NoPositionAccount:1000000.00",
        "CTradeAccount::SetCurrentPrice(36.50), Profit:1.00, PositionAccount:1000001.00, "
        "NoPositionAccount:1000000.00",
        "CTradeAccount::SetCurrentPrice(37.50), Profit:2.00, PositionAccount:1000002.00, "
        "NoPositionAccount:1000000.00",
        "Sell 1 @ 37.50",
        "Sell 1 @ 37.50, current position:0, current average:0.00, profit:2.00, "
        "PositionAccount:1000002.00, NoPositionAccount:1000002.00",
    };
    EXPECT_EQ(m_dir.TradeLogLines(), vecExpected);
    // The markers follow the trades; the average shows only while a position is open.
    ASSERT_EQ(Series<CChartTradeMarkerSerie>().size(), 1U);
    EXPECT_EQ(Series<CChartTradeMarkerSerie>()[0]->m_vecMarkers.size(), 2U);
    EXPECT_FALSE(Series<CChartTradeMarkerSerie>()[0]->m_bShowAverage);
}

TEST_F(MainWindowTest, KeysActWhereverTheFocusIsInTheWindow)
{
    LoadAtStart(WriteBars(60));
    QWidget* pInfo = Window().findChild<QLineEdit*>(QStringLiteral("info"));
    for (QWidget* pFocus :
         {static_cast<QWidget*>(Button(kPlay)), pInfo, static_cast<QWidget*>(Button("Buy"))})
    {
        SCOPED_TRACE(pFocus->metaObject()->className());
        const int nBar = Window().Session().Player().m_nCursor;
        Key(Qt::Key_Space, pFocus);
        EXPECT_TRUE(Window().Session().IsPlaying()) << "Space plays, it does not click";
        Key(Qt::Key_Space, pFocus);
        EXPECT_FALSE(Window().Session().IsPlaying());
        Key(Qt::Key_Right, pFocus);
        EXPECT_GT(Window().Session().Player().m_nCursor, nBar);
        const std::size_t nTrades = Window().Session().Journal().Records().size();
        Key(Qt::Key_B, pFocus);
        Key(Qt::Key_S, pFocus);
        EXPECT_EQ(Window().Session().Journal().Records().size(), nTrades + 2);
    }
}

TEST_F(MainWindowTest, OneReplayPeriodFromKeysMenuAndSettingsIsSavedAndClampedWhenRead)
{
    Window();
    Key(Qt::Key_Minus);
    EXPECT_EQ(Window().Session().PeriodMs(), 2000);
    Key(Qt::Key_Plus);
    Key(Qt::Key_Plus);
    EXPECT_EQ(Window().Session().PeriodMs(), 500);
    Trigger(QString::fromUtf8("5秒"));
    EXPECT_EQ(Window().Session().PeriodMs(), 5000);
    EXPECT_TRUE(Action(QString::fromUtf8("5秒"))->isChecked());

    // The settings dialog opens on the period in use and takes decimals.
    QString strShown;
    WhenModal(TitleIs(QString::fromUtf8("设置")),
              [&](QWidget* pDialog)
              {
                  auto* pEdit = pDialog->findChild<QLineEdit*>();
                  strShown = pEdit->text();
                  pEdit->setText(QStringLiteral("2.5"));
                  ClickButtonIn(pDialog, QString::fromUtf8("确定"));
              });
    Trigger(QString::fromUtf8("属性设置"));
    EXPECT_EQ(strShown, QStringLiteral("5"));
    EXPECT_EQ(Window().Session().PeriodMs(), 2500);
    Reopen();
    EXPECT_EQ(Window().Session().PeriodMs(), 2500) << "the settings dialog's period is kept too";

    for (auto [pszStored, nRead] :
         {std::pair{"1", 100}, {"99999", 5000}, {"-3", 100}, {"750", 750}})
    {
        ReopenWithSettings(std::string("[Replay]\nPeriodMs=") + pszStored + "\n");
        EXPECT_EQ(Window().Session().PeriodMs(), nRead) << pszStored;
    }
}

TEST_F(MainWindowTest, TheSettingsDialogRefusesWhatNoSpeedStepReachesAndStaysOpen)
{
    Window();
    for (const char* pszTyped : {"0", "-5", "abc", "", "5.1", "0.05"})
    {
        bool bRefused = false;
        bool bStillOpen = false;
        WhenModal(TitleIs(QString::fromUtf8("设置")),
                  [&](QWidget* pDialog)
                  {
                      pDialog->findChild<QLineEdit*>()->setText(QString::fromUtf8(pszTyped));
                      WhenModal([](QWidget* p) { return qobject_cast<QMessageBox*>(p); },
                                [&](QWidget* pBox)
                                {
                                    bRefused = ModalText(pBox).contains(QStringLiteral("0.1"));
                                    qobject_cast<QMessageBox*>(pBox)->accept();
                                    QTimer::singleShot(0, pDialog,
                                                       [&bStillOpen, pDialog]
                                                       {
                                                           bStillOpen = pDialog->isVisible();
                                                           ClickButtonIn(pDialog,
                                                                         QString::fromUtf8("取消"));
                                                       });
                                });
                      ClickButtonIn(pDialog, QString::fromUtf8("确定"));
                  });
        Trigger(QString::fromUtf8("属性设置"));
        EXPECT_TRUE(bRefused) << pszTyped;
        EXPECT_TRUE(bStillOpen) << pszTyped;
        EXPECT_EQ(Window().Session().PeriodMs(), 1000) << pszTyped;
    }
}

TEST_F(MainWindowTest, LeftStepsBackWhileStoppedAndGoForwardRevealsWithoutTicks)
{
    LoadAtStart(WriteBars(200));
    Key(Qt::Key_Right);
    Key(Qt::Key_Left);
    EXPECT_EQ(ShownBar(), 25) << "not before the first window";
    Key(Qt::Key_Right);
    Key(Qt::Key_B);
    Key(Qt::Key_Right);
    EXPECT_EQ(Label("position"), "Position:1");
    Key(Qt::Key_Left);
    Key(Qt::Key_Left);
    EXPECT_EQ(ShownBar(), 25);
    EXPECT_EQ(Label("position"), "Position:0");
    EXPECT_EQ(Label("account"), "Account:1000000.00");
    EXPECT_TRUE(Series<CChartTradeMarkerSerie>().empty() ||
                Series<CChartTradeMarkerSerie>()[0]->m_vecMarkers.empty());
    EXPECT_EQ(m_dir.TradeLogLines().back(), "Step back to 2020-01-26: undid Buy 1 @ 36.50");

    WhenModal(TitleIs(QString::fromUtf8("前进到")),
              [](QWidget* pDialog)
              {
                  pDialog->findChild<QSpinBox*>()->setValue(40);
                  ClickButtonIn(pDialog, QString::fromUtf8("确定"));
              });
    Trigger(QString::fromUtf8("前进到..."));
    EXPECT_EQ(ShownBar(), 65);
    EXPECT_EQ(Info().find("[66 of 200]") != std::string::npos, true) << Info();
}

TEST_F(MainWindowTest, ClosingAsksOnlyAfterTradesAndEscapeKeepsTheWindow)
{
    LoadAtStart(WriteBars(60));
    Key(Qt::Key_Escape);
    EXPECT_TRUE(Window().isVisible());
    EXPECT_TRUE(Window().close()) << "no trades: no question";
    Reopen();
    LoadAtStart(WriteBars(60));
    Key(Qt::Key_Right);
    Key(Qt::Key_B);
    for (const auto& answer : {std::pair{"No", false}, {"Yes", true}})
    {
        const char* pszAnswer = answer.first;
        const bool bCloses = answer.second;
        QString strAsked;
        WhenModal(TitleIs(kCaption),
                  [&](QWidget* pBox)
                  {
                      strAsked = ModalText(pBox);
                      ClickButtonIn(pBox, QString::fromLatin1(pszAnswer));
                  });
        EXPECT_EQ(Window().close(), bCloses) << pszAnswer;
        EXPECT_EQ(strAsked, QString::fromUtf8("本次练习已有交易，确定要退出吗？"));
    }
}

TEST_F(MainWindowTest, AveragesFollowTheMenuAtOnceAndAreRemembered)
{
    LoadAtStart(WriteBars(60));
    Key(Qt::Key_Right);
    EXPECT_TRUE(Series<CChartLineSerie>().empty());
    Trigger("MA5");
    Trigger("MA20");
    EXPECT_EQ(Series<CChartLineSerie>().size(), 2U) << "shown on the window already there";
    EXPECT_TRUE(Action("MA5")->isChecked());
    Key(Qt::Key_Right);
    EXPECT_EQ(Series<CChartLineSerie>().size(), 2U) << "and on every step";
    Reopen();
    EXPECT_TRUE(Action("MA5")->isChecked());
    EXPECT_FALSE(Action("MA10")->isChecked());
    EXPECT_TRUE(Action("MA20")->isChecked());
}

TEST_F(MainWindowTest, TheChartGrowsWithTheWindowAndTheControlsKeepToTheirEdges)
{
    Window();
    QWidget* pBuy = Button("Buy");
    const QSize start = Window().size();
    const QRect rcBuy = pBuy->geometry();
    RECT rcBefore;
    Window().Chart().GetClientRect(&rcBefore);
    Window().resize(start + QSize(200, 100));
    Pump();
    RECT rcAfter;
    Window().Chart().GetClientRect(&rcAfter);
    EXPECT_EQ(rcAfter.right - rcBefore.right, 200);
    EXPECT_EQ(rcAfter.bottom - rcBefore.bottom, 100);
    EXPECT_EQ(pBuy->geometry(), rcBuy.translated(200, 100));
    Window().resize(start - QSize(100, 100));
    Pump();
    EXPECT_EQ(Window().size(), start) << "never smaller than at the start";
}

TEST_F(MainWindowTest, PicturesTakeTheFormatTheirNameSaysAndAFailureIsShown)
{
    LoadAtStart(WriteBars(60));
    Key(Qt::Key_Right);
    for (auto [pszName, pszWritten, pszFormat] : {std::tuple{"pic.png", "pic.png", "png"},
                                                  {"pic.jpg", "pic.jpg", "jpeg"},
                                                  {"pic.JPEG", "pic.JPEG", "jpeg"},
                                                  {"pic.bmp", "pic.bmp", "bmp"},
                                                  {"pic", "pic.png", "png"},
                                                  {"pic.gif", "pic.gif.png", "png"}})
    {
        EXPECT_TRUE(Window().SaveChartImage((m_dir.Path() / pszName).string())) << pszName;
        QImageReader reader(QString::fromStdString((m_dir.Path() / pszWritten).string()));
        EXPECT_EQ(reader.format().toStdString(), pszFormat) << pszName;
    }
    QString strShown;
    WhenModal(TitleIs(kCaption),
              [&](QWidget* pBox)
              {
                  strShown = ModalText(pBox);
                  qobject_cast<QMessageBox*>(pBox)->accept();
              });
    EXPECT_FALSE(Window().SaveChartImage((m_dir.Path() / "missing/pic.png").string()));
    EXPECT_TRUE(strShown.startsWith(QString::fromUtf8("无法保存图片 "))) << strShown.toStdString();
    EXPECT_FALSE(std::filesystem::exists(m_dir.Path() / "missing"));
}

TEST_F(MainWindowTest, ExportWritesTheTradesThroughTheSaveDialog)
{
    LoadAtStart(WriteBars(60));
    Key(Qt::Key_Right);
    Key(Qt::Key_B);
    const std::string strCsv = (m_dir.Path() / "out.csv").string();
    WhenFileDialog(strCsv);
    Trigger(QString::fromUtf8("导出交易记录(E)..."));
    std::ifstream in(strCsv);
    std::string strHeader, strRow;
    std::getline(in, strHeader);
    std::getline(in, strRow);
    EXPECT_EQ(strHeader, "time,side,price,position,average,realized,account,date,file,quantity,"
                         "order,costs,gross,net");
    EXPECT_NE(strRow.find(",Buy,35.50,1,35.50,0.00,1000000.00,2020-01-26,bars.csv,1,Market,0.00,,"),
              std::string::npos)
        << strRow;
}

TEST_F(MainWindowTest, TheCrosshairAndTheLabelsTakeTheFilesDecimals)
{
    const std::string strPath =
        m_dir.Write("eurusd.csv", "2017-04-25 13:00,1.07219,1.07250,1.07201,1.07230\n"
                                  "2017-04-25 14:00,1.07230,1.07301,1.07222,1.07290\n");
    LoadAtStart(strPath);
    Click(kPlay);
    EXPECT_EQ(Label("close"), "Close:1.07290");
    EXPECT_EQ(Label("high"), "High:1.07301");
    Click("Buy");
    EXPECT_EQ(m_dir.TradeLogLines().at(0), "Buy 1 @ 1.07290");
}

TEST_F(MainWindowTest, AnOpenLossUnderACentShowsAsZeroWithoutASign)
{
    // Closes fall by a hundredth of a cent per bar: the open loss is -0.0001 after one step.
    std::string strBars;
    for (int i = 0; i < 30; ++i)
        strBars +=
            StringFormat("2017-04-%02d,1.07200,1.07300,1.06000,%.5f\n", i + 1, 1.0725 - i * 0.0001);
    LoadAtStart(m_dir.Write("fx.csv", strBars));
    Key(Qt::Key_Right);
    Click("Buy");
    Key(Qt::Key_Right);
    EXPECT_LT(Window().Session().Account().GetShownProfit(), 0.0);
    EXPECT_EQ(Label("profit"), "Profit:0.00");
}

} // namespace
