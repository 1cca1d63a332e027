// Text: drawing it at its top-left point, and measuring it with the selected font.
#include <QFontMetrics>
#include <QHash>
#include <QStaticText>
#include <algorithm>
#include <unordered_map>

#include "platform/WinGdi.h"
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

BOOL ExtTextOutA(HDC hdc, int x, int y, UINT options, const RECT* lprect, LPCSTR lpString, UINT c,
                 const INT*)
{
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

BOOL TextOutA(HDC hdc, int x, int y, LPCSTR lpString, int c)
{
    return c >= 0 && ExtTextOutA(hdc, x, y, 0, nullptr, lpString, static_cast<UINT>(c), nullptr);
}

BOOL GetTextExtentPoint32A(HDC hdc, LPCSTR lpString, int c, LPSIZE psizl)
{
    if (LiveDc(hdc) == nullptr || psizl == nullptr || c < 0 || (lpString == nullptr && c > 0))
        return FALSE;
    const QFontMetrics fm(FontOf(hdc));
    const QString text = QString::fromUtf8(lpString, c);
    *psizl = SIZE{fm.horizontalAdvance(text), fm.height()};
    return TRUE;
}

BOOL GetTextMetricsA(HDC hdc, TEXTMETRICA* lptm)
{
    if (LiveDc(hdc) == nullptr || lptm == nullptr)
        return FALSE;
    const QFont font = FontOf(hdc);
    const QFontMetrics fm(font);
    *lptm = TEXTMETRICA{};
    lptm->tmHeight = fm.height();
    lptm->tmAscent = fm.ascent();
    lptm->tmDescent = fm.descent();
    lptm->tmInternalLeading = std::max(0, fm.height() - font.pixelSize());
    lptm->tmExternalLeading = std::max(0, fm.leading());
    lptm->tmAveCharWidth = fm.averageCharWidth();
    lptm->tmMaxCharWidth = fm.maxWidth();
    lptm->tmWeight = hdc->pFont != nullptr ? hdc->pFont->lf.lfWeight : FW_NORMAL;
    lptm->tmItalic = static_cast<BYTE>(font.italic());
    lptm->tmUnderlined = static_cast<BYTE>(font.underline());
    lptm->tmStruckOut = static_cast<BYTE>(font.strikeOut());
    lptm->tmFirstChar = 0x20;
    lptm->tmLastChar = 0xFF;
    lptm->tmDefaultChar = '?';
    lptm->tmBreakChar = ' ';
    lptm->tmDigitizedAspectX = hdc->nDpiX;
    lptm->tmDigitizedAspectY = hdc->nDpiY;
    return TRUE;
}
