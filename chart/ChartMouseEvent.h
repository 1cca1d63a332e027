#pragma once

// Mouse events the control offers to its observer and to the series, by code.
enum ChartMouseEvent : int
{
    PointerMove = 0,
    LeftRelease = 1,
    LeftPress = 2,
    LeftDouble = 3,
    RightRelease = 4,
    RightPress = 5,
    RightDouble = 6,
};
