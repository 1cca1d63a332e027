#pragma once

#include "platform/Font.h"
#include "platform/GdiObject.h"

#include <cstdint>
#include <string>

class CDC;

// A font description with its GDI font created on first use and again after any change.
// Whoever changes a description member must set m_bDirty.
struct ChartFont
{
    ChartFont() = default;
    // Copies the description only; the copy creates its own font when first used.
    ChartFont(const ChartFont& other);
    ChartFont& operator=(const ChartFont& other);
    ~ChartFont() = default;

    // Selects the font into pDC (creating it if dirty) and returns what was selected before,
    // also kept in m_pPrevFont. The caller selects m_pPrevFont back and clears it.
    CGdiObject* SelectFont(CDC* pDC);

    std::string m_strFace = "Microsoft Sans Serif";
    std::int32_t m_nPointSize = 100;
    bool m_bItalic = false;
    bool m_bBold = false;
    bool m_bUnderline = false;
    bool m_bVertical = false;
    CFont m_font;
    bool m_bDirty = true;
    CGdiObject* m_pPrevFont = nullptr;
};
