#pragma once

enum class ETradeSide
{
    Buy,
    Sell,
};

// +1 for a buy, -1 for a sell: the sign a trade gives the position.
inline int SideSign(ETradeSide eSide)
{
    return eSide == ETradeSide::Buy ? 1 : -1;
}

inline ETradeSide OppositeSide(ETradeSide eSide)
{
    return eSide == ETradeSide::Buy ? ETradeSide::Sell : ETradeSide::Buy;
}

// "Buy" or "Sell", as the log writes it.
inline const char* SideName(ETradeSide eSide)
{
    return eSide == ETradeSide::Buy ? "Buy" : "Sell";
}
