#pragma once

#include "platform/Bitmap.h"
#include "platform/DC.h"
#include "platform/Font.h"

#include <string>
#include <vector>

// A memory DC of a fixed size that remembers where text was written, so layout can be checked
// without depending on how installed fonts render.
class CTextRecordingDC : public CDC
{
public:
    struct SText
    {
        int x;
        int y;
        UINT nOptions;
        std::string str;
    };

    bool Open(int nWidth, int nHeight, COLORREF crBackground)
    {
        if (!CreateCompatibleDC(nullptr) || !m_bitmap.CreateCompatibleBitmap(this, nWidth, nHeight))
            return false;
        m_pOldBitmap = SelectObject(&m_bitmap);
        FillSolidRect(0, 0, nWidth, nHeight, crBackground);
        return true;
    }

    ~CTextRecordingDC() override
    {
        if (m_pOldBitmap != nullptr)
            SelectObject(m_pOldBitmap);
    }

    BOOL ExtTextOut(int x, int y, UINT nOptions, LPCRECT lpRect, LPCTSTR lpszString, UINT nCount,
                    LPINT lpDxWidths) override
    {
        m_texts.push_back({x, y, nOptions, std::string(lpszString, nCount)});
        return CDC::ExtTextOut(x, y, nOptions, lpRect, lpszString, nCount, lpDxWidths);
    }

    // Extent of a text in a point font, measured the way the chart measures.
    CSize Measure(const char* pszFace, int nSizeTenths, const std::string& str)
    {
        CFont font;
        font.CreatePointFont(nSizeTenths, pszFace, this);
        CFont* pOld = SelectObject(&font);
        const CSize size = GetTextExtent(str.c_str(), int(str.size()));
        SelectObject(pOld);
        return size;
    }

    std::vector<SText> m_texts;

private:
    CBitmap m_bitmap;
    CBitmap* m_pOldBitmap = nullptr;
};
