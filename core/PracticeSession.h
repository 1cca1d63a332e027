#pragma once

#include "core/KLinePlayer.h"
#include "core/TradeDesk.h"

#include <limits>
#include <random>
#include <string>


// A K-line file read and ready to replace the practice's file. Reading first lets the window ask
// about an open position before anything of the running practice changes.
struct SReadFile
{
    std::string strPath;
    CKLinePlayer player;
};

// How a request for a start point ended.
enum class EStartResult
{
    Moved,        // the replay starts at the date asked for
    MovedToFirst, // the date lies before the first window: the replay starts there
    NotADate,     // the text is not a YYYY-MM-DD date
    TooShort,     // the file has fewer bars than the window
};

// An order as the trader asks for it: an entry or a market trade with an optional stop loss and
// take profit, or a stop loss or take profit for the open position. NaN: not given.
struct SOrderRequest
{
    ETradeOrderKind eKind = ETradeOrderKind::Market;
    ETradeSide eSide = ETradeSide::Buy; // of a market trade; entries know their side
    int nQuantity = 1;
    double dPrice = 0.0; // of an entry, stop loss or take profit
    double dStopLoss = std::numeric_limits<double>::quiet_NaN();
    double dTakeProfit = std::numeric_limits<double>::quiet_NaN();
};

// What a practice is: the loaded file and its replay, the trade desk (account, orders, costs and
// the journal of trades and marks), and the replay period. The window shows it and forwards the
// user's commands to it.
class CPracticeSession
{
public:
    // The speed steps' range; a period from anywhere else is clamped into it.
    static constexpr int kMinPeriodMs = 100;
    static constexpr int kMaxPeriodMs = 5000;

    // Reads strPath into *pFile. False, with the reason, when it cannot be read or yields no bar.
    static bool ReadFile(const std::string& strPath, SReadFile* pFile, std::string* pReason);
    // The same with the trader's layout, or the file's own when pLayout is null; on false
    // *pRefused says why (KLineLoadFailureText) and what the loader proposes.
    static bool ReadFile(const std::string& strPath, const SKLineLayout* pLayout, SReadFile* pFile,
                         SKLineLoad* pRefused);
    // Replaces the practice's file: the replay starts again, stopped. The account and the journal
    // carry over; an open position must have been closed first.
    void Open(SReadFile&& file);
    const std::string& FilePath() const { return m_strFilePath; }

    // 1. Play runs the first tick at once; 2. each Tick reveals a bar, ends the replay on the last
    // one, marks the account to the newest close and journals the mark.
    bool CanPlay() const { return !m_bPlaying && !m_bFinished; }
    void Play();
    void Stop();
    void Tick();
    // One bar on while stopped; false when there is nothing to step to.
    bool StepBar();
    bool IsPlaying() const { return m_bPlaying; }
    bool IsFinished() const { return m_bFinished; }

    // Hides the newest bar again while stopped: the account, orders, journal and markers return
    // to exactly what they were before it was revealed, and the trade log gets one line naming
    // what was undone. Works back to the first window of the file or the last start point.
    bool CanStepBack() const { return !m_bPlaying && !m_vecHistory.empty(); }
    bool StepBack();

    // Reveals bars one after the other, every order evaluated and every mark logged on
    // every bar passed, until the replay stops: at the bar nBars on, at the first bar on or after
    // dDate, or when an order fills; the end of the file ends it too. Answers the bars passed.
    enum class EForwardUntil
    {
        Bars,
        Date,
        Fill,
    };
    int FastForward(EForwardUntil eUntil, int nBars = 0, double dDate = 0.0);

    // Start points restart the replay at an earlier or later bar; the play state stays.
    EStartResult StartAtDate(const std::string& strDate);
    // What StartAtDate would answer, without moving anything.
    EStartResult CheckStart(const std::string& strDate) const;
    EStartResult StartAtRandom();
    // The date of the newest bar on the screen (where a start point put the replay), or of the
    // first bar before any is shown.
    std::string ShownDate() const;

    int PeriodMs() const { return m_nPeriodMs; }
    // Clamped to the speed steps' range.
    void SetPeriodMs(long long nPeriodMs);
    void Faster();
    void Slower();
    static int ClampPeriodMs(long long nPeriodMs);

    // Trades nQuantity units at the newest close on the screen; false, with the reason, when no
    // bar is shown or the account refuses it.
    bool CanTrade() const { return m_player.HasCurrentBar(); }
    bool Buy(int nQuantity = 1, STradeRefusal* pRefusal = nullptr);
    bool Sell(int nQuantity = 1, STradeRefusal* pRefusal = nullptr);

    // Orders that wait: see CTradeDesk. They are placed against the newest close on the screen
    // and meet every bar revealed after it.
    bool PlaceOrder(ETradeOrderKind eKind, int nQuantity, double dPrice, int nAttachedTo,
                    int* pnId, STradeRefusal* pRefusal);
    // The whole request or, where an entry's stop or target is refused, nothing of it. A market
    // trade is made first; its stop and target then guard the position.
    bool PlaceRequest(const SOrderRequest& request, STradeRefusal* pRefusal);
    bool MoveOrder(int nId, double dPrice, STradeRefusal* pRefusal);
    bool CancelOrder(int nId);
    // The quantity risking dRiskPercent of the account from dEntry to dStop.
    bool SizeByRisk(ETradeSide eSide, double dEntry, double dStop, double dRiskPercent,
                    int* pnQuantity, STradeRefusal* pRefusal) const;
    bool SetTradeSettings(const STradeSettings& settings, STradeRefusal* pRefusal);
    // Whether a fill while playing stops the replay, so the trader sees what happened.
    void SetPauseOnFill(bool bPause) { m_bPauseOnFill = bPause; }
    bool PausesOnFill() const { return m_bPauseOnFill; }
    // The fills of the last bar revealed.
    const std::vector<SOrderFill>& LastFills() const { return m_desk.Fills(); }
    bool HasOpenPosition() const { return Account().m_nPosition != 0; }
    // Closes the open position at the newest close shown, booked and logged like a button trade.
    // False, with the reason, when the account refuses the trade: the position then stays.
    bool ClosePosition(STradeRefusal* pRefusal = nullptr);

    const CKLinePlayer& Player() const { return m_player; }
    const CTradeDesk& Desk() const { return m_desk; }
    const CTradeAccount& Account() const { return m_desk.Account(); }
    const CTradeJournal& Journal() const { return m_desk.Journal(); }
    // The trades made on the loaded file as chart markers, in date order.
    const std::vector<SChartTradeMarker>& FileMarkers() const { return m_vecFileMarkers; }
    int PriceDecimals() const { return m_player.m_nPriceDecimals; }
    int WindowBars() const;

private:
    bool Trade(ETradeSide eSide, int nQuantity, STradeRefusal* pRefusal);
    // Takes the loaded file's trades the journal got since the last call into the markers.
    void FollowJournal();
    EStartResult StartAt(int nCursor, EStartResult eResult);

    // Reveals the next bar: the step, its fills and the mark, keeping what undoes it.
    void RevealNext();
    void SeekPlayer(int nCursor);

    // What a step back returns to: the state before a bar was revealed.
    struct SStepBack
    {
        STradeDeskSnapshot desk;
        int nCursor = 0;
        bool bFinished = false;
    };

    CKLinePlayer m_player;
    CTradeDesk m_desk;
    std::vector<SStepBack> m_vecHistory;
    std::vector<SChartTradeMarker> m_vecFileMarkers;
    std::size_t m_nRecordsSeen = 0; // records FollowJournal has looked at
    std::string m_strFilePath;
    int m_nPeriodMs = 1000;
    bool m_bPlaying = false;
    bool m_bFinished = false; // the last bar has been shown; only a new file plays again
    bool m_bPauseOnFill = true;
    std::mt19937 m_randomStart{std::random_device{}()};
};
