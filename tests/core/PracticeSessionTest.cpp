#include "core/PracticeSession.h"
#include "core/KLineFile.h"
#include "core/TradeLog.h"

#include <random>

#include "CoreTestApp.h"
#include "KLineFixture.h"
#include "TempDir.h"
#include "platform/StringFormat.h"

#include <gtest/gtest.h>

namespace
{

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
        ASSERT_TRUE(CPracticeSession::ReadFile(m_dir.Write(strName, DailyBarsText(nBars)), &file,
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
    for (const std::string& strPath :
         {m_dir.Write("empty.csv", ""), m_dir.Write("words.csv", "no,bars,here\n"),
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

// Everything stepping back must put back, field by field.
void ExpectSameDesk(const CTradeDesk& desk, const STradeDeskSnapshot& before,
                    const CTradeJournal& journalBefore)
{
    const CTradeAccount& a = desk.Account();
    const CTradeAccount& b = before.account;
    EXPECT_EQ(a.m_nPosition, b.m_nPosition);
    EXPECT_EQ(a.m_dAverage, b.m_dAverage);
    EXPECT_EQ(a.m_dNoPositionAccount, b.m_dNoPositionAccount);
    EXPECT_EQ(a.m_dPositionAccount, b.m_dPositionAccount);
    EXPECT_EQ(a.m_dProfit, b.m_dProfit);
    EXPECT_EQ(a.m_dCurrentPrice, b.m_dCurrentPrice);
    EXPECT_EQ(a.m_dTripCash, b.m_dTripCash);
    EXPECT_EQ(a.m_dTripCosts, b.m_dTripCosts);
    EXPECT_EQ(a.m_dTripRisk, b.m_dTripRisk);
    ASSERT_EQ(desk.Orders().size(), before.vecOrders.size());
    for (std::size_t i = 0; i < before.vecOrders.size(); ++i)
    {
        EXPECT_EQ(desk.Orders()[i].nId, before.vecOrders[i].nId);
        EXPECT_EQ(desk.Orders()[i].dPrice, before.vecOrders[i].dPrice);
        EXPECT_EQ(desk.Orders()[i].nQuantity, before.vecOrders[i].nQuantity);
    }
    EXPECT_EQ(desk.Journal().Records().size(), journalBefore.Records().size());
    EXPECT_EQ(desk.Journal().Marks(), journalBefore.Marks());
    EXPECT_EQ(desk.Journal().Markers().size(), journalBefore.Markers().size());
}

TEST_F(PracticeSessionTest, StepsBackReturnToExactlyTheStateBeforeAndLogWhatTheyUndid)
{
    Open("a.csv", 80);
    m_session.SetPauseOnFill(false);
    m_session.StepBar();
    m_session.Buy(3);
    int nLimit = 0;
    STradeRefusal refusal;
    ASSERT_TRUE(m_session.PlaceOrder(ETradeOrderKind::SellLimit, 2, 38.0, 0, &nLimit, &refusal));
    const STradeDeskSnapshot before = m_session.Desk().Snapshot();
    const CTradeJournal journalBefore = m_session.Journal();
    const int nCursor = m_session.Player().m_nCursor;
    const std::size_t nMarkers = m_session.FileMarkers().size();

    std::mt19937 random(3);
    constexpr int kSteps = 30;
    for (int i = 0; i < kSteps; ++i)
    {
        m_session.StepBar(); // the limit fills on the second bar: high 38
        if (random() % 3 == 0)
            (random() % 2 ? m_session.Buy(1 + random() % 4) : m_session.Sell(1 + random() % 4));
    }
    ASSERT_GT(m_session.Journal().Records().size(), journalBefore.Records().size() + 2);
    const std::string strLastTrade =
        StringFormat("%s %d @ %.2f",
                     m_session.Journal().Records().back().eSide == ETradeSide::Buy ? "Buy" : "Sell",
                     m_session.Journal().Records().back().nQuantity,
                     m_session.Journal().Records().back().dPrice);
    const bool bLastBarTraded = m_session.Journal().Records().back().dBarDate ==
                                m_session.Player().m_vecWindow.back().dDate;
    for (int i = 0; i < kSteps; ++i)
        EXPECT_TRUE(m_session.StepBack());
    EXPECT_FALSE(m_session.StepBack()) << "no further than the session's start";
    EXPECT_EQ(m_session.Player().m_nCursor, nCursor);
    EXPECT_EQ(m_session.Player().m_dClose, 35.5);
    ExpectSameDesk(m_session.Desk(), before, journalBefore);
    EXPECT_EQ(m_session.FileMarkers().size(), nMarkers);

    // One line per step back, the first naming what the newest bar saw traded.
    const std::string strLog = m_dir.Read(TradeLogFileName(std::time(nullptr)));
    std::size_t nLines = 0;
    for (std::size_t n = strLog.find(": Step back to "); n != std::string::npos;
         n = strLog.find(": Step back to ", n + 1))
        ++nLines;
    EXPECT_EQ(nLines, static_cast<std::size_t>(kSteps));
    const std::size_t nFirst = strLog.find(": Step back to ");
    const std::string strFirst = strLog.substr(nFirst, strLog.find('\r', nFirst) - nFirst);
    EXPECT_EQ(strFirst.find("undid ") != std::string::npos, bLastBarTraded) << strFirst;
    if (bLastBarTraded)
    {
        EXPECT_NE(strFirst.find(strLastTrade), std::string::npos) << strFirst;
    }
    const std::size_t nLast = strLog.rfind(": Step back to ");
    // Back at the first window, undoing the limit's fill on the bar after it.
    EXPECT_EQ(strLog.rfind(": Step back to 2020-01-26: undid Sell 2 @ 38.00"), nLast);
}

TEST_F(PracticeSessionTest, FastForwardStopsAtTheBarsTheDateOrTheFillAndDrawsNothingOnTheWay)
{
    Open("a.csv", 200);
    m_session.StepBar();
    EXPECT_EQ(m_session.FastForward(CPracticeSession::EForwardUntil::Bars, 10), 10);
    EXPECT_EQ(m_session.Player().m_nCursor, 36);
    double dDate = 0.0;
    ASSERT_TRUE(ParseKLineDate("2020-03-05", &dDate));
    m_session.FastForward(CPracticeSession::EForwardUntil::Date, 0, dDate);
    EXPECT_EQ(m_session.ShownDate(), "2020-03-05");
    STradeRefusal refusal;
    ASSERT_TRUE(m_session.PlaceOrder(ETradeOrderKind::BuyStop, 1, 80.0, 0, nullptr, &refusal));
    m_session.FastForward(CPracticeSession::EForwardUntil::Fill);
    EXPECT_EQ(m_session.Player().m_dHigh, 80.0) << "it stops on the bar that fills the order";
    EXPECT_EQ(m_session.Account().m_nPosition, 1);
    EXPECT_EQ(m_session.FastForward(CPracticeSession::EForwardUntil::Fill), 200 - 69);
    EXPECT_TRUE(m_session.IsFinished());
    EXPECT_EQ(m_session.Journal().Marks().size(), 200U - 26 + 1);
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
    for (auto [nAsked, nKept] : {std::pair{0LL, 100},
                                 {-5LL, 100},
                                 {99LL, 100},
                                 {2500LL, 2500},
                                 {5001LL, 5000},
                                 {1LL << 40, 5000}})
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
