#include "core/PracticeSession.h"
#include "core/TradeLog.h"

#include "CoreTestApp.h"
#include "TempDir.h"
#include "platform/StringFormat.h"

#include <gtest/gtest.h>

namespace
{

// Daily bars from 2020-01-01 whose closes tell which bar they are: 10.5 + i.
std::string Bars(int nCount)
{
    std::string strText;
    for (int i = 0; i < nCount; ++i)
        strText += StringFormat("2020-%02d-%02d,%d,%d,%d,%.1f\n", 1 + i / 28, 1 + i % 28, 10 + i,
                                12 + i, 9 + i, 10.5 + i);
    return strText;
}

class PracticeSessionTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        EnsureCoreTestApp();
        m_dir.Enter();
    }

    void Open(const std::string& strName, int nBars)
    {
        SReadFile file;
        std::string strReason;
        ASSERT_TRUE(CPracticeSession::ReadFile(m_dir.Write(strName, Bars(nBars)), &file,
                                               &strReason))
            << strReason;
        m_session.Open(std::move(file));
    }

    CTempDir m_dir;
    CPracticeSession m_session;
};

TEST_F(PracticeSessionTest, AFileThatCannotGiveABarLeavesThePracticeAsItWas)
{
    Open("a.csv", 40);
    m_session.StepBar();
    m_session.Buy();
    for (const std::string& strPath : {m_dir.Write("empty.csv", ""),
                                       m_dir.Write("words.csv", "no,bars,here\n"),
                                       std::string("/no/such/file.csv")})
    {
        SReadFile file;
        std::string strReason;
        EXPECT_FALSE(CPracticeSession::ReadFile(strPath, &file, &strReason)) << strPath;
        EXPECT_FALSE(strReason.empty()) << strPath;
    }
    EXPECT_EQ(m_session.Player().m_nBarCount, 40);
    EXPECT_EQ(m_session.Player().m_nCursor, 26);
    EXPECT_TRUE(m_session.HasOpenPosition());
}

TEST_F(PracticeSessionTest, TicksRevealBarsMarkTheAccountAndTheLastOneEndsTheReplay)
{
    Open("a.csv", 28);
    EXPECT_FALSE(m_session.CanTrade());
    m_session.Play();
    EXPECT_TRUE(m_session.IsPlaying());
    EXPECT_EQ(m_session.Player().m_dClose, 35.5);
    m_session.Buy();
    m_session.Tick();
    EXPECT_DOUBLE_EQ(m_session.Account().m_dProfit, 1.0);
    m_session.Tick();
    EXPECT_FALSE(m_session.IsPlaying());
    EXPECT_TRUE(m_session.IsFinished());
    EXPECT_FALSE(m_session.CanPlay());
    EXPECT_FALSE(m_session.StepBar());
    EXPECT_EQ(m_session.Journal().Marks().size(), 3U);
    // A new file plays again; the account and its journal carry over.
    Open("b.csv", 30);
    EXPECT_TRUE(m_session.CanPlay());
    EXPECT_EQ(m_session.Journal().Records().size(), 1U);
}

TEST_F(PracticeSessionTest, ClosingThePositionBooksItAtTheShownCloseAndLogsIt)
{
    Open("a.csv", 60);
    m_session.StepBar();
    for (int i = 0; i < 3; ++i)
        m_session.Sell();
    m_session.StepBar();
    m_session.ClosePosition();
    EXPECT_FALSE(m_session.HasOpenPosition());
    // Three units short from 35.50, closed at 36.50.
    EXPECT_DOUBLE_EQ(m_session.Account().m_dNoPositionAccount, 1000000.0 - 3.0);
    const std::string strLog = m_dir.Read(TradeLogFileName(std::time(nullptr)));
    const std::string strLast = strLog.substr(strLog.rfind(": Buy ") + 2);
    EXPECT_EQ(strLast.rfind("Buy ", 0), 0U) << strLast;
    EXPECT_NE(strLast.find(" @ 36.50, current position:0,"), std::string::npos) << strLast;
}

TEST_F(PracticeSessionTest, TheMarkersAreTheLoadedFilesTradesInDateOrder)
{
    Open("a.csv", 60);
    m_session.StepBar();
    m_session.StepBar();
    m_session.Buy();
    m_session.StartAtDate("2020-01-26"); // back in time: the next trade's bar is earlier
    m_session.Sell();
    ASSERT_EQ(m_session.FileMarkers().size(), 2U);
    EXPECT_LT(m_session.FileMarkers()[0].dDate, m_session.FileMarkers()[1].dDate);
    EXPECT_FALSE(m_session.FileMarkers()[0].bBuy);
    Open("b.csv", 60);
    EXPECT_TRUE(m_session.FileMarkers().empty()) << "another file's trades are not its";
    Open("a.csv", 60);
    EXPECT_EQ(m_session.FileMarkers().size(), 2U) << "the file's own trades come back with it";
}

TEST_F(PracticeSessionTest, ARequestIsPlacedWholeAndAFillWhilePlayingPausesTheReplay)
{
    Open("a.csv", 60);
    m_session.Play(); // bar 25: close 35.5, bars rise by 1 a day with lows at 9 + i
    STradeRefusal refusal;
    SOrderRequest request;
    request.eKind = ETradeOrderKind::BuyStop;
    request.nQuantity = 10;
    request.dPrice = 37.0;
    request.dStopLoss = 38.0; // above a buy: refused, and the entry with it
    EXPECT_FALSE(m_session.PlaceRequest(request, &refusal));
    EXPECT_EQ(refusal.eReason, ETradeRefusal::WrongSide);
    EXPECT_TRUE(m_session.Desk().Orders().empty());

    request.dStopLoss = 30.0;
    ASSERT_TRUE(m_session.PlaceRequest(request, &refusal)) << refusal.strText;
    EXPECT_EQ(m_session.Desk().Orders().size(), 2U);
    m_session.Tick(); // bar 26: high 38 trades through 37
    EXPECT_FALSE(m_session.IsPlaying()) << "a fill while playing stops the replay";
    EXPECT_EQ(m_session.Account().m_nPosition, 10);
    ASSERT_EQ(m_session.LastFills().size(), 1U);
    EXPECT_EQ(m_session.FileMarkers().size(), 1U);

    m_session.SetPauseOnFill(false);
    request = {};
    request.eKind = ETradeOrderKind::TakeProfit;
    request.dPrice = 40.0;
    ASSERT_TRUE(m_session.PlaceRequest(request, &refusal)) << refusal.strText;
    m_session.Play();
    m_session.Tick();
    m_session.Tick(); // bar 28: high 40
    EXPECT_TRUE(m_session.IsPlaying());
    EXPECT_EQ(m_session.Account().m_nPosition, 0);
    EXPECT_TRUE(m_session.Desk().Orders().empty()) << "the stop went with the position";
}

TEST_F(PracticeSessionTest, StartDatesAreCheckedBeforeTheReplayMoves)
{
    Open("a.csv", 60);
    m_session.StepBar();
    struct SCase
    {
        const char* pszDate;
        EStartResult eResult;
        const char* pszShown; // the newest bar afterwards
    };
    for (const SCase& c : {SCase{"abc", EStartResult::NotADate, "2020-01-26"},
                           SCase{"2020-02-10x", EStartResult::NotADate, "2020-01-26"},
                           SCase{"2020-02-10", EStartResult::Moved, "2020-02-10"},
                           SCase{" 2020-02-12 ", EStartResult::Moved, "2020-02-12"},
                           SCase{"2019-12-31", EStartResult::MovedToFirst, "2020-01-26"},
                           SCase{"2020-01-20", EStartResult::MovedToFirst, "2020-01-26"},
                           SCase{"2030-01-01", EStartResult::Moved, "2020-03-04"}})
    {
        EXPECT_EQ(m_session.CheckStart(c.pszDate), c.eResult) << c.pszDate;
        EXPECT_EQ(m_session.StartAtDate(c.pszDate), c.eResult) << c.pszDate;
        EXPECT_EQ(m_session.ShownDate(), c.pszShown) << c.pszDate;
    }
    Open("short.csv", 10);
    EXPECT_EQ(m_session.StartAtDate("2020-01-05"), EStartResult::TooShort);
    EXPECT_EQ(m_session.StartAtRandom(), EStartResult::TooShort);
}

TEST_F(PracticeSessionTest, ThePeriodStaysWithinTheSpeedSteps)
{
    for (auto [nAsked, nKept] : {std::pair{0LL, 100}, {-5LL, 100}, {99LL, 100}, {2500LL, 2500},
                                 {5001LL, 5000}, {1LL << 40, 5000}})
    {
        m_session.SetPeriodMs(nAsked);
        EXPECT_EQ(m_session.PeriodMs(), nKept) << nAsked;
    }
    m_session.SetPeriodMs(2500);
    m_session.Faster();
    EXPECT_EQ(m_session.PeriodMs(), 2000);
    m_session.SetPeriodMs(5000);
    m_session.Slower();
    EXPECT_EQ(m_session.PeriodMs(), 5000);
}

} // namespace
