#include "app/DialogUnits.h"

#include "platform/WinUser.h"

#include <QFontMetrics>
#include <QPalette>
#include <QWidget>

namespace
{

// Points at the fixed resolution the pictures are made at, so every screen shows the same.
constexpr int kDpi = 96;

int MulDivRounded(int a, int b, int c)
{
    return static_cast<int>((static_cast<long long>(a) * b + c / 2) / c);
}

} // namespace

CDialogUnits::CDialogUnits(int nPointSize, QFont::Weight eWeight)
    : m_font(QStringLiteral("Liberation Sans"))
{
    m_font.setStyleHint(QFont::SansSerif);
    m_font.setWeight(eWeight);
    m_font.setPixelSize(MulDivRounded(nPointSize, kDpi, 72));
    const QFontMetrics fm(m_font);
    const int nAlphabet =
        fm.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    m_nAverageWidth = (nAlphabet / 26 + 1) / 2;
    m_nHeight = fm.height();
}

QRect CDialogUnits::Rect(int x, int y, int cx, int cy) const
{
    const int nLeft = MulDivRounded(x, m_nAverageWidth, 4);
    const int nTop = MulDivRounded(y, m_nHeight, 8);
    const int nRight = MulDivRounded(x + cx, m_nAverageWidth, 4);
    const int nBottom = MulDivRounded(y + cy, m_nHeight, 8);
    return QRect(nLeft, nTop, nRight - nLeft, nBottom - nTop);
}

QSize CDialogUnits::Size(int cx, int cy) const
{
    return Rect(0, 0, cx, cy).size();
}

void CDialogUnits::ApplyTo(QWidget* pDialog) const
{
    pDialog->setFont(m_font);
    QPalette palette = pDialog->palette();
    const COLORREF crFace = GetSysColor(COLOR_BTNFACE);
    palette.setColor(QPalette::Window, QColor(GetRValue(crFace), GetGValue(crFace), GetBValue(crFace)));
    pDialog->setPalette(palette);
}
