#pragma once

#include <algorithm>
#include <cstdint>
#include <limits>
#include <vector>

// Lowest low and highest high over any index range of a point array, without visiting every
// point: levels of block extremes, each block covering kFanOut entries of the level below.
// Blocks are brought up to date lazily, from the first point that changed, on the next query.
template <class TPoint, class TKeys> class CChartMinMaxSummary
{
public:
    static constexpr std::uint32_t kFanOut = 64;

    // Points from nIndex on were moved or added.
    void Invalidate(std::uint32_t nIndex) { m_nValid = std::min(m_nValid, nIndex); }

    // Extremes of the points nFirst to nLast inclusive (nFirst <= nLast < nCount). A range of
    // NaN values only leaves *pLow above *pHigh.
    void Query(const TPoint* pItems, std::uint32_t nCount, std::uint32_t nFirst,
               std::uint32_t nLast, double* pLow, double* pHigh) const
    {
        Update(pItems, nCount);
        SExtremes result;
        Collect(pItems, 0, nFirst, nLast, &result);
        *pLow = result.dLow;
        *pHigh = result.dHigh;
    }

private:
    struct SExtremes
    {
        double dLow = std::numeric_limits<double>::infinity();
        double dHigh = -std::numeric_limits<double>::infinity();

        void Widen(double dLowValue, double dHighValue)
        {
            if (dLowValue < dLow)
                dLow = dLowValue;
            if (dHighValue > dHigh)
                dHigh = dHighValue;
        }
    };

    // Entry i of a level: point i at level 0, block i of m_levels[nLevel - 1] above it.
    SExtremes Entry(const TPoint* pItems, std::size_t nLevel, std::uint32_t i) const
    {
        if (nLevel == 0)
            return {TKeys::YLow(pItems[i]), TKeys::YHigh(pItems[i])};
        return m_levels[nLevel - 1][i];
    }

    void Collect(const TPoint* pItems, std::size_t nLevel, std::uint32_t nFirst,
                 std::uint32_t nLast, SExtremes* pResult) const
    {
        // Whole blocks of the level above stand in for their entries; the ragged ends are
        // scanned here.
        const std::uint32_t nBlockFirst = nFirst / kFanOut + (nFirst % kFanOut != 0 ? 1 : 0);
        const std::uint32_t nBlockEnd = (nLast + 1) / kFanOut;
        if (nLevel >= m_levels.size() || nBlockFirst >= nBlockEnd)
        {
            for (std::uint32_t i = nFirst; i <= nLast; ++i)
            {
                const SExtremes e = Entry(pItems, nLevel, i);
                pResult->Widen(e.dLow, e.dHigh);
            }
            return;
        }
        for (std::uint32_t i = nFirst; i < nBlockFirst * kFanOut; ++i)
        {
            const SExtremes e = Entry(pItems, nLevel, i);
            pResult->Widen(e.dLow, e.dHigh);
        }
        Collect(pItems, nLevel + 1, nBlockFirst, nBlockEnd - 1, pResult);
        for (std::uint32_t i = nBlockEnd * kFanOut; i <= nLast; ++i)
        {
            const SExtremes e = Entry(pItems, nLevel, i);
            pResult->Widen(e.dLow, e.dHigh);
        }
    }

    void Update(const TPoint* pItems, std::uint32_t nCount) const
    {
        if (m_nValid >= nCount && m_nSummarised == nCount)
            return;
        std::uint32_t nFrom = std::min(m_nValid, m_nSummarised);
        std::uint32_t nEntries = nCount;
        for (std::size_t nLevel = 0; nEntries > kFanOut; ++nLevel)
        {
            const std::uint32_t nBlocks = (nEntries + kFanOut - 1) / kFanOut;
            if (m_levels.size() <= nLevel)
                m_levels.emplace_back();
            std::vector<SExtremes>& blocks = m_levels[nLevel];
            blocks.resize(nBlocks);
            for (std::uint32_t b = nFrom / kFanOut; b < nBlocks; ++b)
            {
                SExtremes block;
                const std::uint32_t nEnd = std::min(nEntries, (b + 1) * kFanOut);
                for (std::uint32_t i = b * kFanOut; i < nEnd; ++i)
                {
                    const SExtremes e = Entry(pItems, nLevel, i);
                    block.Widen(e.dLow, e.dHigh);
                }
                blocks[b] = block;
            }
            nFrom /= kFanOut;
            nEntries = nBlocks;
            if (nEntries <= kFanOut)
                m_levels.resize(nLevel + 1);
        }
        if (nCount <= kFanOut)
            m_levels.clear();
        m_nValid = nCount;
        m_nSummarised = nCount;
    }

    mutable std::vector<std::vector<SExtremes>> m_levels;
    // Points below m_nValid are reflected in the blocks, as far as m_nSummarised reaches.
    mutable std::uint32_t m_nValid = 0;
    mutable std::uint32_t m_nSummarised = 0;
};
