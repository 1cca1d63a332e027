// Text: drawing it at its top-left point, and measuring it with the selected font.
#include <QFontMetrics>
#include <QHash>
#include <QStaticText>
#include <unordered_map>

#include "platform/DC.h"
#include "platform/detail/GdiInternal.h"

using namespace platform_detail;

namespace
{

QFont FontOf(HDC hdc)
{
    GdiObj* p = hdc->pFont != nullptr ? hdc->pFont : StockGdi(SYSTEM_FONT);
    return p->font;
}

// A text laid out once for a font and drawn again on later frames; the shift puts its
// baseline where drawing at the rounded ascent would.
struct SLaidOutText
{
    QFont font;
    QStaticText text;
    double dBaselineShift = 0.0;
};

// Labels of memory DCs come back frame after frame: their layouts are kept per DC and text
// until the DC goes. Never destroyed, so no layout outlives the toolkit's font engines.
std::unordered_map<HDC, QHash<QString, SLaidOutText>>& LaidOutTexts()
{
    static auto* pTexts = new std::unordered_map<HDC, QHash<QString, SLaidOutText>>;
    return *pTexts;
}

// The same glyphs at the same places as drawText at the rounded ascent, without shaping the
// text again.
const SLaidOutText& LaidOutText(HDC hdc, const QFont& font, const QString& text)
{
    QHash<QString, SLaidOutText>& texts = LaidOutTexts()[hdc];
    auto it = texts.find(text);
    if (it != texts.end() && it->font == font)
        return *it;
    // A zoom or a scroll brings new labels; a few hundred cover any number of frames.
    if (texts.size() >= 1024)
        texts.clear();
    SLaidOutText laidOut;
    laidOut.font = font;
    laidOut.text.setText(text);
    laidOut.text.setTextFormat(Qt::PlainText);
    laidOut.text.prepare(QTransform(), font);
    laidOut.dBaselineShift = QFontMetrics(font).ascent() - QFontMetricsF(font).ascent();
    return *texts.insert(text, laidOut);
}

} // namespace

namespace platform_detail
{
void ForgetLaidOutTexts(HDC hdc)
{
    LaidOutTexts().erase(hdc);
}
} // namespace platform_detail

BOOL CDC::ExtTextOut(int x, int y, UINT options, LPCRECT lprect, LPCTSTR lpString, UINT c, LPINT)
{
    HDC hdc = m_hDC;
    QPainter* pPainter = PainterFor(hdc);
    if (pPainter == nullptr)
        return FALSE;
    pPainter->setWorldTransform(LogicalToDevice(hdc));
    if (lprect != nullptr)
    {
        const QRect rc(lprect->left, lprect->top, lprect->right - lprect->left,
                       lprect->bottom - lprect->top);
        if ((options & ETO_OPAQUE) != 0 && rc.isValid())
            pPainter->fillRect(rc, ToQColor(hdc->crBk));
        if ((options & ETO_CLIPPED) != 0)
        {
            pPainter->setClipRect(rc, hdc->bClip ? Qt::IntersectClip : Qt::ReplaceClip);
            hdc->bClipStale = true; // for this text only
        }
    }
    if (lpString == nullptr || c == 0)
        return TRUE;
    const QString text = QString::fromUtf8(lpString, static_cast<qsizetype>(c));
    const QFont font = FontOf(hdc);
    pPainter->translate(x, y);
    const int nEscapement = (hdc->pFont != nullptr ? hdc->pFont->lf.lfEscapement : 0);
    if (nEscapement == 0 && hdc->nBkMode != OPAQUE && hdc->eKind == DcKind::Memory &&
        IsTranslationOnly(pPainter->worldTransform()))
    {
        const SLaidOutText& laidOut = LaidOutText(hdc, font, text);
        pPainter->setFont(font);
        pPainter->setPen(ToQColor(hdc->crText));
        pPainter->drawStaticText(QPointF(0.0, laidOut.dBaselineShift), laidOut.text);
        return TRUE;
    }
    const QFontMetrics fm(font);
    if (nEscapement != 0)
        pPainter->rotate(-nEscapement / 10.0);
    if (hdc->nBkMode == OPAQUE)
        pPainter->fillRect(QRect(0, 0, fm.horizontalAdvance(text), fm.height()),
                           ToQColor(hdc->crBk));
    pPainter->setFont(font);
    pPainter->setPen(ToQColor(hdc->crText));
    pPainter->drawText(QPoint(0, fm.ascent()), text);
    return TRUE;
}

BOOL CDC::ExtTextOut(int x, int y, UINT nOptions, LPCRECT lpRect, const std::string& str,
                     LPINT lpDxWidths)
{
    return ExtTextOut(x, y, nOptions, lpRect, str.c_str(), static_cast<UINT>(str.size()),
                      lpDxWidths);
}

BOOL CDC::TextOut(int x, int y, LPCTSTR lpszString, int nCount)
{
    return nCount >= 0 &&
           CDC::ExtTextOut(x, y, 0, nullptr, lpszString, static_cast<UINT>(nCount), nullptr);
}

BOOL CDC::TextOut(int x, int y, const std::string& str)
{
    return TextOut(x, y, str.c_str(), static_cast<int>(str.size()));
}

CSize CDC::GetTextExtent(LPCTSTR lpszString, int nCount) const
{
    if (LiveDc(m_hDC) == nullptr || nCount < 0 || (lpszString == nullptr && nCount > 0))
        return CSize();
    const QFontMetrics fm(FontOf(m_hDC));
    return CSize(fm.horizontalAdvance(QString::fromUtf8(lpszString, nCount)), fm.height());
}

CSize CDC::GetTextExtent(const std::string& str) const
{
    return GetTextExtent(str.c_str(), static_cast<int>(str.size()));
}
