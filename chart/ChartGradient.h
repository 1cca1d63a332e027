#pragma once

#include "platform/WinTypes.h"

class CDC;

// Direction of the background's two-colour fill.
enum GradientStyle : int
{
    GradientAcross = 0,
    GradientDown = 1,
    GradientAcrossMirrored = 2,
    GradientDownMirrored = 3,
};

// Fills rc from crFrom to crTo (and back again for the mirrored styles, whose odd last pixel
// row or column stays unfilled). Returns the result of the last gradient fill.
bool FillGradient(CDC* pDC, const RECT& rc, COLORREF crFrom, COLORREF crTo, int nStyle);
