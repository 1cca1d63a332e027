#pragma once

#include "chart/ChartCandlestickPoint.h"
#include "chart/ChartMinMaxSummary.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <limits>
#include <new>
#include <type_traits>

// How a series keeps and searches its points.
enum EPointOrdering : std::int32_t
{
    OrderNone = 0, // insertion order
    OrderByX = 1,  // ascending X value
    OrderByY = 2,  // ascending middle of the Y span
};

// The three values of a point that ranges, ordering and searching use. Other fields of a
// point (a candle's open and close) never take part.
template <class TPoint> struct SChartPointKeys;

template <> struct SChartPointKeys<SChartCandlestickPoint>
{
    static double X(const SChartCandlestickPoint& p) { return p.dDate; }
    static double YLow(const SChartCandlestickPoint& p) { return p.dLow; }
    static double YHigh(const SChartCandlestickPoint& p) { return p.dHigh; }
    static double YMiddle(const SChartCandlestickPoint& p) { return (p.dLow + p.dHigh) * 0.5; }
};

// A growable array of raw point records, optionally kept sorted, with running extremes that
// only ever widen. Points are never removed one by one: a series is discarded whole.
template <class TPoint> class CChartPointStore
{
    static_assert(std::is_trivially_copyable_v<TPoint>, "points are moved as raw bytes");
    using Keys = SChartPointKeys<TPoint>;

public:
    CChartPointStore() : m_pItems(Allocate(1000)) {}
    ~CChartPointStore() { ::operator delete(m_pItems); }

    CChartPointStore(const CChartPointStore&) = delete;
    CChartPointStore& operator=(const CChartPointStore&) = delete;

    // Grows by m_nGrowBy when full. On a failed allocation std::bad_alloc propagates and the
    // point is not added.
    void AddPoint(const TPoint& point)
    {
        if (m_nCount == m_nCapacity)
            Reallocate(std::uint64_t(m_nCapacity) + m_nGrowBy);
        WidenExtremes(point);
        if (m_nOrdering == OrderNone || m_nCount == 0)
        {
            m_pItems[m_nCount++] = point;
            return;
        }
        const double dKey = Key(point);
        std::uint32_t nSlot = m_nCount;
        // Bars usually arrive in order: one compare with the last point and an append.
        if (!(dKey >= Key(m_pItems[m_nCount - 1])))
        {
            // After all points with an equal key. A key that compares with nothing (NaN)
            // finds no greater point and is appended.
            for (std::uint32_t i = 0; i < m_nCount; ++i)
            {
                if (Key(m_pItems[i]) > dKey)
                {
                    nSlot = i;
                    break;
                }
            }
            std::memmove(m_pItems + nSlot + 1, m_pItems + nSlot,
                         std::size_t(m_nCount - nSlot) * sizeof(TPoint));
            m_summary.Invalidate(nSlot);
        }
        m_pItems[nSlot] = point;
        ++m_nCount;
    }

    // Reserves room for exactly the new points at once, then adds them one by one.
    void AddPoints(const TPoint* pPoints, std::uint32_t nCount)
    {
        if (nCount == 0)
            return;
        const std::uint64_t nNeeded = std::uint64_t(m_nCount) + nCount;
        if (nNeeded > m_nCapacity)
            Reallocate(nNeeded);
        for (std::uint32_t i = 0; i < nCount; ++i)
            AddPoint(pPoints[i]);
    }

    // Inclusive index range of the points between dMin and dMax: it starts at the last point
    // at or before dMin and reaches at most one point beyond dMax. False on an empty store
    // (first and last untouched).
    bool FindRange(std::uint32_t* pFirst, std::uint32_t* pLast, double dMin, double dMax) const
    {
        if (m_nCount == 0)
            return false;
        if (m_nOrdering == OrderNone)
        {
            *pFirst = 0;
            *pLast = m_nCount - 1;
            return true;
        }
        std::uint32_t nFirst = SearchIndex(dMin, 0, m_nCount - 1);
        // The search may land on the first point past the minimum; the point before it (on
        // the minimum, or close enough for half its candle to show) must be drawn too.
        if (nFirst > 0 && Key(m_pItems[nFirst]) > dMin)
            --nFirst;
        *pFirst = nFirst;
        *pLast = SearchIndex(dMax, nFirst, m_nCount - 1);
        return true;
    }

    // Binary search between lo and hi (both valid, lo <= hi). Returns one of the two points
    // that straddle dValue: the last with key <= dValue or the first with key > dValue.
    std::uint32_t SearchIndex(double dValue, std::uint32_t nLow, std::uint32_t nHigh) const
    {
        for (;;)
        {
            const std::uint32_t nMid = nLow + (nHigh - nLow) / 2;
            const double dKey = m_nOrdering == OrderNone ? 0.0 : Key(m_pItems[nMid]);
            if (dKey > dValue)
            {
                if (nLow >= nMid)
                    return nLow;
                nHigh = nMid - 1;
            }
            else
            {
                if (nMid >= nHigh)
                    return nHigh;
                nLow = nMid + 1;
            }
        }
    }

    // Sorts by the new ordering's key; equal keys end in no particular order.
    void SetOrdering(EPointOrdering eOrdering)
    {
        m_nOrdering = eOrdering;
        if (eOrdering != OrderByX && eOrdering != OrderByY)
            return;
        m_summary.Invalidate(0);
        // NaN keys sort last so the comparison stays a strict weak ordering.
        std::sort(m_pItems, m_pItems + m_nCount,
                  [this](const TPoint& a, const TPoint& b)
                  {
                      const double ka = Key(a);
                      const double kb = Key(b);
                      if (ka != ka)
                          return false;
                      return kb != kb || ka < kb;
                  });
    }

    // Lowest low and highest high of the points nFirst to nLast inclusive (both below the
    // count), from block summaries rather than a scan. NaN values leave *pLow above *pHigh.
    void FindExtremes(std::uint32_t nFirst, std::uint32_t nLast, double* pLow, double* pHigh) const
    {
        m_summary.Query(m_pItems, m_nCount, nFirst, nLast, pLow, pHigh);
    }

    std::uint32_t GetCount() const { return m_nCount; }
    const TPoint& GetAt(std::uint32_t nIndex) const { return m_pItems[nIndex]; }

private:
    double Key(const TPoint& point) const
    {
        return m_nOrdering == OrderByY ? Keys::YMiddle(point) : Keys::X(point);
    }

    void WidenExtremes(const TPoint& point)
    {
        const double dX = Keys::X(point);
        const double dLow = Keys::YLow(point);
        const double dHigh = Keys::YHigh(point);
        if (m_nCount == 0)
        {
            m_dMinX = m_dMaxX = dX;
            m_dMinY = dLow;
            m_dMaxY = dHigh;
            return;
        }
        if (dX > m_dMaxX)
            m_dMaxX = dX;
        if (m_dMinX > dX)
            m_dMinX = dX;
        if (dHigh > m_dMaxY)
            m_dMaxY = dHigh;
        if (m_dMinY > dLow)
            m_dMinY = dLow;
    }

    // A size that does not fit asks for the largest block, so the allocation fails instead
    // of wrapping around.
    static TPoint* Allocate(std::uint64_t nPoints)
    {
        std::size_t nBytes = std::numeric_limits<std::size_t>::max();
        if (nPoints <= std::numeric_limits<std::size_t>::max() / sizeof(TPoint))
            nBytes = std::size_t(nPoints) * sizeof(TPoint);
        return static_cast<TPoint*>(::operator new(nBytes));
    }

    void Reallocate(std::uint64_t nCapacity)
    {
        if (nCapacity > std::numeric_limits<std::uint32_t>::max())
            throw std::bad_alloc();
        TPoint* pItems = Allocate(nCapacity);
        if (m_nCount != 0)
            std::memcpy(pItems, m_pItems, std::size_t(m_nCount) * sizeof(TPoint));
        ::operator delete(m_pItems);
        m_pItems = pItems;
        m_nCapacity = std::uint32_t(nCapacity);
    }

public:
    // The extremes are meaningful only once a point has been added.
    double m_dMinX = 0.0;
    double m_dMaxX = 0.0;
    double m_dMinY = 0.0;
    double m_dMaxY = 0.0;
    TPoint* m_pItems = nullptr;
    std::uint32_t m_nCapacity = 1000;
    std::uint32_t m_nCount = 0;
    std::uint32_t m_nGrowBy = 1000;
    EPointOrdering m_nOrdering = OrderByX;

private:
    CChartMinMaxSummary<TPoint, Keys> m_summary;
};
