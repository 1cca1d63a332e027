#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>

// Takes typed values off the front of a fuzz input; an exhausted input yields zeros, so every
// byte string is a valid case.
class CFuzzInput
{
public:
    CFuzzInput(const std::uint8_t* pData, std::size_t nSize) : m_pData(pData), m_nSize(nSize) {}

    template <typename T> T Take()
    {
        T value{};
        const std::size_t nCount = std::min(sizeof(T), m_nSize);
        std::memcpy(&value, m_pData, nCount);
        m_pData += nCount;
        m_nSize -= nCount;
        return value;
    }

    bool TakeBool() { return (Take<std::uint8_t>() & 1) != 0; }

    // A value in [dLow, dHigh] from 32 bits of input.
    double TakeInRange(double dLow, double dHigh)
    {
        return dLow + (dHigh - dLow) * (Take<std::uint32_t>() / 4294967295.0);
    }

    // Any finite double.
    double TakeFinite()
    {
        const double d = Take<double>();
        return std::isfinite(d) ? d : 0.0;
    }

    // Up to nMax bytes, the length taken from the input.
    std::string TakeString(std::size_t nMax)
    {
        const std::size_t nLength = std::min<std::size_t>({Take<std::uint8_t>(), nMax, m_nSize});
        std::string str(reinterpret_cast<const char*>(m_pData), nLength);
        m_pData += nLength;
        m_nSize -= nLength;
        return str;
    }

private:
    const std::uint8_t* m_pData;
    std::size_t m_nSize;
};
