// What the window must never do to a practice: carry a position into another file or back in
// time, throw a replay away for a file it cannot read, or let bars pass behind its dialogs.
#include "AppTestSupport.h"

#include "chart/ChartCandlestickSerie.h"
#include "core/TradeLog.h"

#include <QDropEvent>
#include <QFileDialog>
#include <QMessageBox>
#include <QMimeData>
#include <QUrl>

#include <sys/stat.h>


namespace
{

const QString kCaption = QString::fromUtf8("K线交易练习");

class PracticeRulesTest : public CMainWindowTest
{
protected:
    // A long of one unit on the first file, bought at bar 26's close (36.50).
    std::string OpenALong()
    {
        const std::string strPath = WriteBars(60, "first.csv");
        LoadAtStart(strPath);
        Key(Qt::Key_Right);
        Key(Qt::Key_Right);
        Key(Qt::Key_B);
        return strPath;
    }

    // Answers the next box with the window's caption; what it said.
    std::shared_ptr<QString> Answer(const char* pszButton)
    {
        auto pText = std::make_shared<QString>();
        WhenModal(TitleIs(kCaption),
                  [pText, pszButton](QWidget* pBox)
                  {
                      *pText = ModalText(pBox);
                      ClickButtonIn(pBox, QString::fromLatin1(pszButton));
                  });
        return pText;
    }

    void Drop(const std::string& strPath)
    {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(QString::fromStdString(strPath))});
        QDragEnterEvent enter(QPoint(20, 20), Qt::CopyAction, &data, Qt::LeftButton,
                              Qt::NoModifier);
        QApplication::sendEvent(&Window(), &enter);
        EXPECT_TRUE(enter.isAccepted());
        QDropEvent drop(QPointF(20, 20), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&Window(), &drop);
        Pump();
    }

    void ChooseInFileDialog(const std::string& strPath)
    {
        WhenFileDialog(strPath);
        Click(QString::fromUtf8("加载K线"));
    }

    int CandlesShown()
    {
        int nCandles = 0;
        Window().Chart().RewindSeries();
        while (CChartSerie* pSerie = Window().Chart().NextSerie())
            if (auto* p = dynamic_cast<CChartCandlestickSerie*>(pSerie))
                nCandles += static_cast<int>(p->PointCount());
        return nCandles;
    }
};

TEST_F(PracticeRulesTest, LoadingWithAPositionOpenClosesItAtTheLastShownCloseOrKeepsTheFile)
{
    const std::string strSecondPath = (m_dir.Path() / "second.csv").string();
    const std::vector<std::pair<const char*, std::function<void(const std::string&)>>> vecWays = {
        {"load button", [this](const std::string& p) { ChooseInFileDialog(p); }},
        {"drop", [this](const std::string& p) { Drop(p); }},
        {"recent list", [this, strSecondPath](const std::string&)
         { Trigger(QStringLiteral("2 ") + QString::fromStdString(strSecondPath)); }},
        {"command line", [this](const std::string& p) { LoadAtStart(p); }},
    };
    for (const auto& [pszWay, load] : vecWays)
    {
        SCOPED_TRACE(pszWay);
        const std::string strSecond = WriteBars(40, "second.csv");
        // Listed second in the recent files, so the recent-list way finds it under "2".
        LoadAtStart(strSecond);
        const std::string strFirst = OpenALong();

        const auto pAsked = Answer("No");
        load(strSecond);
        EXPECT_TRUE(pAsked->contains(QStringLiteral("36.50"))) << pAsked->toStdString();
        EXPECT_EQ(Window().Session().FilePath(), strFirst) << "No keeps the current file";
        EXPECT_EQ(Window().Session().Account().m_nPosition, 1);

        Answer("Yes");
        load(strSecond);
        EXPECT_EQ(Window().Session().FilePath(), strSecond);
        EXPECT_EQ(Window().Session().Account().m_nPosition, 0);
        EXPECT_EQ(Label("account"), "Account:1000000.00");
        const std::vector<std::string> vecLog = m_dir.TradeLogLines();
        ASSERT_GE(vecLog.size(), 2U);
        EXPECT_EQ(vecLog[vecLog.size() - 2], "Sell 1 @ 36.50") << "closed at the first file's close";
        Reopen();
    }
}

TEST_F(PracticeRulesTest, MovingTheStartWithAPositionOpenAsksToCloseItFirst)
{
    OpenALong();
    const std::string strShown = Window().Session().ShownDate();
    Answer("No");
    Trigger(QString::fromUtf8("随机起点"));
    EXPECT_EQ(Window().Session().ShownDate(), strShown);
    EXPECT_EQ(Window().Session().Account().m_nPosition, 1);

    WhenModal(TitleIs(QString::fromUtf8("选择起点")),
              [](QWidget* pDialog)
              {
                  pDialog->findChild<QLineEdit*>()->setText(QStringLiteral("2020-02-10"));
                  ClickButtonIn(pDialog, QString::fromUtf8("确定"));
              });
    Answer("Yes");
    Trigger(QString::fromUtf8("选择起点..."));
    EXPECT_EQ(Window().Session().ShownDate(), "2020-02-10");
    EXPECT_EQ(Window().Session().Account().m_nPosition, 0);
    EXPECT_EQ(m_dir.TradeLogLines().back().rfind("Sell 1 @ 36.50, current position:0", 0), 0U);
}

TEST_F(PracticeRulesTest, StartDatesSayWhatIsWrongAndWhereTheReplayStarts)
{
    LoadAtStart(WriteBars(60));
    Key(Qt::Key_Right);
    for (const auto& typed :
         {std::pair{"abc", "“abc”不是日期"}, {"2020-02-10 junk", "不是日期"},
          {"2019-06-01", "回放从 2020-01-26 开始"}, {" 2020-02-10 ", nullptr}})
    {
        const char* pszTyped = typed.first;
        const char* pszSaid = typed.second;
        WhenModal(TitleIs(QString::fromUtf8("选择起点")),
                  [pszTyped](QWidget* pDialog)
                  {
                      pDialog->findChild<QLineEdit*>()->setText(QString::fromUtf8(pszTyped));
                      ClickButtonIn(pDialog, QString::fromUtf8("确定"));
                  });
        std::shared_ptr<QString> pSaid;
        if (pszSaid != nullptr)
            pSaid = Answer("OK");
        Trigger(QString::fromUtf8("选择起点..."));
        if (pSaid)
        {
            EXPECT_TRUE(pSaid->contains(QString::fromUtf8(pszSaid))) << pSaid->toStdString();
        }
    }
    EXPECT_EQ(Window().Session().ShownDate(), "2020-02-10");
}

TEST_F(PracticeRulesTest, AFileThatYieldsNoBarsIsReportedAndChangesNothing)
{
    const std::string strFirst = OpenALong();
    const std::string strGone = WriteBars(30, "gone.csv");
    Answer("Yes");
    LoadAtStart(strGone);
    // gone.csv is second in the recent list; it is deleted before it is chosen there again.
    LoadAtStart(strFirst);
    Key(Qt::Key_Right);
    Key(Qt::Key_B);
    std::filesystem::remove(strGone);
    std::filesystem::create_directory(m_dir.Path() / "folder");
    const std::string strEmpty = m_dir.Write("empty.csv", "");
    const std::string strBinary = m_dir.Write("binary.csv", std::string("\x7f" "ELF\x02\x01\0\0\xff\xfe", 10));

    // A named pipe nobody writes to would block a reading program for good.
    const std::string strPipe = (m_dir.Path() / "pipe.csv").string();
    ASSERT_EQ(::mkfifo(strPipe.c_str(), 0600), 0);
    const std::string strInfo = Info();
    const int nCandles = CandlesShown();
    for (const std::string& strPath : {strEmpty, strBinary, (m_dir.Path() / "folder").string(),
                                       std::string("/dev/zero"), strPipe, strGone})
    {
        SCOPED_TRACE(strPath);
        const auto pSaid = Answer("OK");
        if (strPath == strGone)
            Trigger(QStringLiteral("2 ") + QString::fromStdString(strGone));
        else
            Drop(strPath);
        EXPECT_TRUE(pSaid->startsWith(QString::fromUtf8("无法读取K线文件 "))) << pSaid->toStdString();
        EXPECT_GT(pSaid->size(), QString::fromStdString(strPath).size() + 10) << "it says why";
        EXPECT_EQ(Info(), strInfo);
        EXPECT_EQ(CandlesShown(), nCandles);
        EXPECT_TRUE(Button("Sell")->isEnabled());
    }
    Key(Qt::Key_S);
    EXPECT_EQ(Window().Session().Account().m_nPosition, 0) << "the position can still be closed";
}

TEST_F(PracticeRulesTest, TheReplayWaitsWhileADialogOfOursIsOpen)
{
    LoadAtStart(WriteBars(200));
    Trigger(QString::fromUtf8("0.1秒"));
    Click(QString::fromUtf8("播放K线"));
    Key(Qt::Key_B);
    for (const char* pszItem : {"属性设置", "关于", "交易统计(R)...", "导出交易记录(E)..."})
    {
        SCOPED_TRACE(pszItem);
        int nCursorWhileOpen = -1;
        bool bTimerWhileOpen = true;
        WhenModal([](QWidget*) { return true; },
                  [&](QWidget* pDialog)
                  {
                      const int nAtOpen = Window().Session().Player().m_nCursor;
                      QTimer::singleShot(400, pDialog,
                                         [&, nAtOpen, pDialog]
                                         {
                                             nCursorWhileOpen =
                                                 Window().Session().Player().m_nCursor - nAtOpen;
                                             bTimerWhileOpen = ReplayTimer()->isActive();
                                             pDialog->close();
                                         });
                  });
        Trigger(QString::fromUtf8(pszItem));
        EXPECT_EQ(nCursorWhileOpen, 0) << "no bar passed unseen";
        EXPECT_FALSE(bTimerWhileOpen);
        EXPECT_TRUE(ReplayTimer()->isActive()) << "and the replay goes on after";
    }
    // The question on closing pauses it too.
    int nPassed = -1;
    WhenModal(TitleIs(kCaption),
              [&](QWidget* pBox)
              {
                  const int nAtOpen = Window().Session().Player().m_nCursor;
                  QTimer::singleShot(400, pBox,
                                     [&, nAtOpen, pBox]
                                     {
                                         nPassed = Window().Session().Player().m_nCursor - nAtOpen;
                                         ClickButtonIn(pBox, QStringLiteral("No"));
                                     });
              });
    Window().close();
    EXPECT_EQ(nPassed, 0);
}

TEST_F(PracticeRulesTest, ALogThatCannotBeWrittenIsToldOnceAndNotedWhileItLasts)
{
    LoadAtStart(WriteBars(60));
    Key(Qt::Key_Right);
    // A folder where the day's log should be: no user, root included, can append to it.
    const std::filesystem::path log = m_dir.Path() / TradeLogFileName(std::time(nullptr));
    std::filesystem::create_directory(log);
    const auto pSaid = Answer("OK");
    Key(Qt::Key_B);
    EXPECT_TRUE(pSaid->contains(QString::fromStdString(log.filename().string())))
        << pSaid->toStdString();
    EXPECT_NE(Info().find("[日志未写入]"), std::string::npos) << Info();
    Key(Qt::Key_Right); // the mark is lost too, and said no more
    Key(Qt::Key_S);
    std::filesystem::remove(log);
    Key(Qt::Key_B);
    EXPECT_EQ(Info().find("[日志未写入]"), std::string::npos) << Info();
    EXPECT_EQ(m_dir.TradeLogLines().at(0), "Buy 1 @ 36.50");
}

TEST_F(PracticeRulesTest, ADamagedSettingsFileIsKeptBesideTheNewOneAndToldOnce)
{
    const std::string strDamaged = std::string("[RecentFiles]\nFile1=/a.csv\n\0\0\0", 30);
    for (const std::string& strContent : {strDamaged, std::string(2 << 20, 'x')})
    {
        const auto pSaid = Answer("OK");
        ReopenWithSettings(strContent);
        EXPECT_TRUE(pSaid->contains(QStringLiteral("orvanta.ini.damaged"))) << pSaid->toStdString();
        Trigger("MA5"); // a settings change writes the new file
        std::ifstream kept(m_dir.SettingsFile().string() + ".damaged", std::ios::binary);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), strContent);
        std::ifstream fresh(m_dir.SettingsFile(), std::ios::binary);
        EXPECT_NE(std::string(std::istreambuf_iterator<char>(fresh), {}).find("MA5=1"),
                  std::string::npos);
    }
}

TEST_F(PracticeRulesTest, ASettingsFolderThatCannotBeMadeIsToldOnce)
{
    // A file where the folder should be: no user, root included, can write the settings there.
    m_dir.Write("config/orvanta", "not a folder");
    Window();
    const auto pSaid = Answer("OK");
    Trigger("MA5");
    EXPECT_TRUE(pSaid->contains(QStringLiteral("orvanta.ini"))) << pSaid->toStdString();
    Trigger("MA10"); // said once: no second box
}

} // namespace
