#include "core/PracticeSession.h"

#include "core/KLineMessages.h"
#include "core/ReplaySettings.h"
#include "core/ReplaySpeed.h"
#include "core/ReplayStart.h"
#include "platform/OleDate.h"
#include "platform/StringFormat.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>

namespace
{

std::string DateText(double dDate)
{
    SYSTEMTIME st;
    if (!VariantTimeToSystemTime(dDate, &st))
        return {};
    return StringFormat("%04d-%02d-%02d", st.wYear, st.wMonth, st.wDay);
}

// A date as the user typed it, without the blanks around it.
std::string Trimmed(const std::string& strText)
{
    const std::size_t nFirst = strText.find_first_not_of(" \t");
    if (nFirst == std::string::npos)
        return {};
    return strText.substr(nFirst, strText.find_last_not_of(" \t") - nFirst + 1);
}

} // namespace

bool CPracticeSession::ReadFile(const std::string& strPath, SReadFile* pFile, std::string* pReason)
{
    SKLineLoad refused;
    if (ReadFile(strPath, nullptr, pFile, &refused))
        return true;
    *pReason = KLineLoadFailureText(refused);
    return false;
}

bool CPracticeSession::ReadFile(const std::string& strPath, const SKLineLayout* pLayout,
                                SReadFile* pFile, SKLineLoad* pRefused)
{
    SReadFile file;
    file.strPath = strPath;
    if (!file.player.Load(strPath, pLayout, pRefused))
        return false;
    *pFile = std::move(file);
    return true;
}

void CPracticeSession::Open(SReadFile&& file)
{
    m_player = std::move(file.player);
    m_strFilePath = std::move(file.strPath);
    m_desk.SetInstrument(std::filesystem::path(m_strFilePath).filename().string(),
                         m_player.m_nPriceDecimals);
    // Trades made on the file before, under this name, show on it again.
    m_vecFileMarkers.clear();
    m_nRecordsSeen = 0;
    FollowJournal();
    m_bPlaying = false;
    m_bFinished = false;
    m_vecHistory.clear();
}

void CPracticeSession::Play()
{
    if (!CanPlay())
        return;
    m_bPlaying = true;
    Tick();
}

void CPracticeSession::Stop()
{
    m_bPlaying = false;
}

void CPracticeSession::Tick()
{
    RevealNext();
}

void CPracticeSession::RevealNext()
{
    // 1. Step; the step that shows the last bar ends the replay, and still marks. A step past the
    // first window can be taken back.
    const int nBefore = m_player.m_nCursor;
    if (nBefore >= WindowBars() && nBefore < m_player.m_nBarCount)
        m_vecHistory.push_back({m_desk.Snapshot(), nBefore, m_bFinished});
    if (m_player.Step() == m_player.m_nBarCount)
    {
        m_bPlaying = false;
        m_bFinished = true;
    }
    // 2. Orders meet the bar the step revealed; an empty file shows no bar to mark to.
    if (!m_player.HasCurrentBar())
        return;
    if (m_player.m_nCursor != nBefore &&
        m_desk.EvaluateBar(m_player.m_vecBars[static_cast<std::size_t>(m_player.m_nCursor - 1)]) > 0)
    {
        FollowJournal();
        if (m_bPauseOnFill)
            m_bPlaying = false;
    }
    // 3. Mark the account to the close on the screen.
    m_desk.Mark();
}

bool CPracticeSession::StepBar()
{
    if (m_bPlaying || m_bFinished || m_player.m_nBarCount == 0)
        return false;
    Tick();
    return true;
}

bool CPracticeSession::StepBack()
{
    if (!CanStepBack())
        return false;
    const SStepBack back = std::move(m_vecHistory.back());
    m_vecHistory.pop_back();
    // What the bar saw traded, named before it goes: the log keeps every line it had.
    std::string strUndone;
    const std::vector<STradeRecord>& vecRecords = Journal().Records();
    for (std::size_t i = back.desk.nRecords; i < vecRecords.size(); ++i)
    {
        const STradeRecord& record = vecRecords[i];
        strUndone += strUndone.empty() ? ": undid " : ", ";
        strUndone += StringFormat("%s %d @ %.*f", record.eSide == ETradeSide::Buy ? "Buy" : "Sell",
                                  record.nQuantity, std::max(record.nPriceDecimals, 2),
                                  record.dPrice);
    }
    m_desk.Restore(back.desk);
    SeekPlayer(back.nCursor);
    m_bFinished = back.bFinished;
    m_vecFileMarkers.clear();
    m_nRecordsSeen = 0;
    FollowJournal();
    m_desk.WriteLog(
        "Step back to " +
        KLineBarTimeText(m_player.m_vecWindow.back().dDate, m_player.m_bTimeOfDay) + strUndone);
    return true;
}

void CPracticeSession::SeekPlayer(int nCursor)
{
    // The window ending at bar nCursor - 1, as the step that revealed it left it.
    const auto itEnd = m_player.m_vecBars.begin() + nCursor;
    m_player.m_vecWindow.assign(itEnd - WindowBars(), itEnd);
    m_player.m_nCursor = nCursor;
    const SChartCandlestickPoint& bar = m_player.m_vecWindow.back();
    m_player.m_dOpen = bar.dOpen;
    m_player.m_dHigh = bar.dHigh;
    m_player.m_dLow = bar.dLow;
    m_player.m_dClose = bar.dClose;
}

int CPracticeSession::FastForward(EForwardUntil eUntil, int nBars, double dDate)
{
    if (m_bPlaying || m_bFinished || !m_player.HasCurrentBar())
        return 0;
    // Nothing is drawn on the way: the window shows the result once, at the end.
    const CTradeLogBatch batch;
    int nPassed = 0;
    while (!m_bFinished)
    {
        if (eUntil == EForwardUntil::Bars && nPassed >= nBars)
            break;
        if (eUntil == EForwardUntil::Date && m_player.m_vecWindow.back().dDate >= dDate)
            break;
        RevealNext();
        ++nPassed;
        if (eUntil == EForwardUntil::Fill && !m_desk.Fills().empty())
            break;
    }
    return nPassed;
}

int CPracticeSession::WindowBars() const
{
    return ReplaySettings().m_nWindowBars;
}

EStartResult CPracticeSession::CheckStart(const std::string& strDate) const
{
    if (m_player.m_nBarCount < WindowBars())
        return EStartResult::TooShort;
    int nCursor = 0;
    if (!ReplayStartForDate(m_player.m_vecBars, WindowBars(), Trimmed(strDate), &nCursor))
        return EStartResult::NotADate;
    int nOnOrBefore = 0;
    BarsOnOrBeforeDate(m_player.m_vecBars, Trimmed(strDate), &nOnOrBefore);
    return nOnOrBefore < nCursor ? EStartResult::MovedToFirst : EStartResult::Moved;
}

EStartResult CPracticeSession::StartAtDate(const std::string& strDate)
{
    const EStartResult eResult = CheckStart(strDate);
    if (eResult == EStartResult::TooShort || eResult == EStartResult::NotADate)
        return eResult;
    int nCursor = 0;
    ReplayStartForDate(m_player.m_vecBars, WindowBars(), Trimmed(strDate), &nCursor);
    return StartAt(nCursor, eResult);
}

EStartResult CPracticeSession::StartAtRandom()
{
    int nCursor = 0;
    if (!RandomReplayStart(m_player.m_vecBars, WindowBars(), m_randomStart, &nCursor))
        return EStartResult::TooShort;
    return StartAt(nCursor, EStartResult::Moved);
}

EStartResult CPracticeSession::StartAt(int nCursor, EStartResult eResult)
{
    // A finished replay can go on from its new start; orders placed at another time go, and
    // stepping back ends here.
    m_desk.CancelAllOrders();
    m_vecHistory.clear();
    SeekReplayStart(m_player, nCursor);
    m_bFinished = false;
    Tick();
    return eResult;
}

std::string CPracticeSession::ShownDate() const
{
    if (m_player.m_vecBars.empty())
        return {};
    const int nShown = m_player.HasCurrentBar() ? m_player.m_nCursor - 1 : 0;
    return DateText(m_player.m_vecBars[static_cast<std::size_t>(nShown)].dDate);
}

int CPracticeSession::ClampPeriodMs(long long nPeriodMs)
{
    return static_cast<int>(std::clamp<long long>(nPeriodMs, kMinPeriodMs, kMaxPeriodMs));
}

void CPracticeSession::SetPeriodMs(long long nPeriodMs)
{
    m_nPeriodMs = ClampPeriodMs(nPeriodMs);
}

void CPracticeSession::Faster()
{
    SetPeriodMs(FasterReplayPeriod(m_nPeriodMs));
}

void CPracticeSession::Slower()
{
    SetPeriodMs(SlowerReplayPeriod(m_nPeriodMs));
}

bool CPracticeSession::Buy(int nQuantity, STradeRefusal* pRefusal)
{
    return Trade(ETradeSide::Buy, nQuantity, pRefusal);
}

bool CPracticeSession::Sell(int nQuantity, STradeRefusal* pRefusal)
{
    return Trade(ETradeSide::Sell, nQuantity, pRefusal);
}

bool CPracticeSession::PlaceOrder(ETradeOrderKind eKind, int nQuantity, double dPrice,
                                  int nAttachedTo, int* pnId, STradeRefusal* pRefusal)
{
    if (!CanTrade())
        return Refuse(pRefusal, ETradeRefusal::NoBar, "no bar is shown yet");
    return m_desk.PlaceOrder(eKind, nQuantity, dPrice, nAttachedTo, pnId, pRefusal);
}

bool CPracticeSession::PlaceRequest(const SOrderRequest& request, STradeRefusal* pRefusal)
{
    int nEntry = 0;
    if (request.eKind == ETradeOrderKind::Market)
    {
        if (!Trade(request.eSide, request.nQuantity, pRefusal))
            return false;
    }
    else if (!PlaceOrder(request.eKind, request.nQuantity, request.dPrice, 0, &nEntry, pRefusal))
        return false;
    if (!IsEntryOrder(request.eKind) && request.eKind != ETradeOrderKind::Market)
        return true;
    for (auto [eKind, dPrice] : {std::pair{ETradeOrderKind::StopLoss, request.dStopLoss},
                                 {ETradeOrderKind::TakeProfit, request.dTakeProfit}})
        if (!std::isnan(dPrice) && !PlaceOrder(eKind, 0, dPrice, nEntry, nullptr, pRefusal))
        {
            // An entry without the stop the trader asked for is not what was asked.
            if (nEntry != 0)
                CancelOrder(nEntry);
            return false;
        }
    return true;
}

bool CPracticeSession::MoveOrder(int nId, double dPrice, STradeRefusal* pRefusal)
{
    return m_desk.MoveOrder(nId, dPrice, pRefusal);
}

bool CPracticeSession::CancelOrder(int nId)
{
    return m_desk.CancelOrder(nId);
}

bool CPracticeSession::SizeByRisk(ETradeSide eSide, double dEntry, double dStop,
                                  double dRiskPercent, int* pnQuantity,
                                  STradeRefusal* pRefusal) const
{
    if (!CanTrade())
        return Refuse(pRefusal, ETradeRefusal::NoBar, "no bar is shown yet");
    return m_desk.SizeByRisk(eSide, dEntry, dStop, dRiskPercent, pnQuantity, pRefusal);
}

bool CPracticeSession::SetTradeSettings(const STradeSettings& settings, STradeRefusal* pRefusal)
{
    return m_desk.SetSettings(settings, pRefusal);
}

bool CPracticeSession::Trade(ETradeSide eSide, int nQuantity, STradeRefusal* pRefusal)
{
    // Before a bar is shown there is no price on the screen to trade at.
    if (!CanTrade())
        return false;
    const bool bTraded = m_desk.Trade(eSide, nQuantity, pRefusal);
    FollowJournal();
    return bTraded;
}

void CPracticeSession::FollowJournal()
{
    const std::vector<STradeRecord>& vecRecords = Journal().Records();
    const std::vector<SChartTradeMarker>& vecMarkers = Journal().Markers();
    const auto byDate = [](const SChartTradeMarker& a, const SChartTradeMarker& b)
    { return a.dDate < b.dDate; };
    for (; m_nRecordsSeen < vecRecords.size(); ++m_nRecordsSeen)
    {
        if (vecRecords[m_nRecordsSeen].nFile != m_desk.FileIndex())
            continue;
        // Trades come in time, so a marker nearly always goes at the end.
        const SChartTradeMarker& marker = vecMarkers[m_nRecordsSeen];
        m_vecFileMarkers.insert(
            std::upper_bound(m_vecFileMarkers.begin(), m_vecFileMarkers.end(), marker, byDate),
            marker);
    }
}

bool CPracticeSession::ClosePosition(STradeRefusal* pRefusal)
{
    const int nPosition = Account().m_nPosition;
    return nPosition == 0 ||
           Trade(nPosition > 0 ? ETradeSide::Sell : ETradeSide::Buy, std::abs(nPosition), pRefusal);
}
