#include "chart/ChartFont.h"

#include "platform/DC.h"

#include <algorithm>
#include <cstring>

ChartFont::ChartFont(const ChartFont& other)
    : m_strFace(other.m_strFace), m_nPointSize(other.m_nPointSize), m_bItalic(other.m_bItalic),
      m_bBold(other.m_bBold), m_bUnderline(other.m_bUnderline), m_bVertical(other.m_bVertical)
{
}

ChartFont& ChartFont::operator=(const ChartFont& other)
{
    if (this != &other)
    {
        m_strFace = other.m_strFace;
        m_nPointSize = other.m_nPointSize;
        m_bItalic = other.m_bItalic;
        m_bBold = other.m_bBold;
        m_bUnderline = other.m_bUnderline;
        m_bVertical = other.m_bVertical;
        m_bDirty = true;
    }
    return *this;
}

CGdiObject* ChartFont::SelectFont(CDC* pDC)
{
    if (!pDC)
        return nullptr;
    if (m_bDirty)
    {
        LOGFONT logFont = {};
        logFont.lfHeight = m_nPointSize;
        // The face record keeps 31 bytes, terminator included.
        const std::size_t nFaceLength = std::min<std::size_t>(m_strFace.size(), 30);
        std::memcpy(logFont.lfFaceName, m_strFace.data(), nFaceLength);
        logFont.lfItalic = m_bItalic ? 1 : 0;
        logFont.lfUnderline = m_bUnderline ? 1 : 0;
        logFont.lfWeight = m_bBold ? FW_BOLD : FW_NORMAL;
        if (m_bVertical)
        {
            logFont.lfEscapement = 900;
            logFont.lfOrientation = 900;
        }
        m_font.DeleteObject();
        m_font.CreatePointFontIndirect(&logFont, pDC);
        m_bDirty = false;
    }
    m_pPrevFont = pDC->SelectObject(&m_font);
    return m_pPrevFont;
}
