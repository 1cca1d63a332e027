// Private to the platform layer: what GDI handles point at.
#pragma once

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QRegion>
#include <QTransform>
#include <memory>

#include "platform/WinTypes.h"

class CGdiObject;
class CDC;
class QWidget;

namespace platform_detail
{

enum class GdiKind
{
    Pen,
    Brush,
    Font,
    Bitmap
};

struct GdiObj
{
    GdiKind eKind = GdiKind::Pen;
    bool bStock = false;
    int nPenStyle = PS_SOLID;
    int nPenWidth = 0;
    UINT nBrushStyle = BS_SOLID;
    COLORREF crColor = 0; // pen or brush colour
    LOGFONTA lf = {};
    QFont font;
    QImage image;
    int nSelected = 0;         // number of DCs it is selected into
    HDC hSelectedDC = nullptr; // for a bitmap: the memory DC that holds it
    bool bDeletePending = false;
    CGdiObject* pPermanent = nullptr;
    std::unique_ptr<CGdiObject> pTemporary;
};

GdiObj* LiveGdi(HGDIOBJ h); // nullptr when h is not a live object
inline HGDIOBJ ToHandle(GdiObj* p)
{
    return static_cast<HGDIOBJ>(p);
}
GdiObj* NewGdi(GdiKind eKind);     // counted as a live GDI object
GdiObj* NewBitmap(int cx, int cy); // black; a null image when either side is 0
GdiObj* StockGdi(int nIndex);      // nullptr for an unknown index
GdiObj* DefaultBitmap();           // the 1x1 bitmap of a fresh memory DC
// Frees the object, or marks it to be freed when the last DC lets go of it; FALSE for a dead
// handle.
BOOL DeleteGdi(HGDIOBJ h);
void ReleaseSelection(GdiObj* p); // one DC let go of it; frees it when deletion was pending
QColor ToQColor(COLORREF cr);
COLORREF FromQRgb(QRgb rgb);
QFont MakeQFont(const LOGFONTA& lf);
int ScreenDpi();

enum class DcKind
{
    Memory,
    Paint,
    Measure,
    Printer
};

struct PrintJob;

} // namespace platform_detail

struct HDC__
{
    platform_detail::DcKind eKind = platform_detail::DcKind::Measure;
    platform_detail::GdiObj* pPen = nullptr;
    platform_detail::GdiObj* pBrush = nullptr;
    platform_detail::GdiObj* pFont = nullptr;
    platform_detail::GdiObj* pBitmap = nullptr; // memory DCs only
    std::unique_ptr<QPainter> pPainter; // memory: begun lazily on the bitmap; paint: on the widget
    QWidget* pWidget = nullptr;         // paint and measure DCs of a window
    int nBkMode = OPAQUE;
    COLORREF crBk = RGB(255, 255, 255);
    COLORREF crText = 0;
    POINT ptCurrent = {0, 0};
    bool bClip = false;
    // The painter that has the clip applied, so drawing calls do not set it again each time;
    // bClipStale asks for it to be applied anew.
    QPainter* pClipPainter = nullptr;
    bool bClipStale = true;
    QRegion clip; // device coordinates
    int nMapMode = MM_TEXT;
    SIZE szWindowExt = {1, 1};
    SIZE szViewportExt = {1, 1};
    POINT ptWindowOrg = {0, 0};
    POINT ptViewportOrg = {0, 0};
    int nDpiX = 96;
    int nDpiY = 96;
    int nHorzRes = 0;
    int nVertRes = 0;
    platform_detail::PrintJob* pJob = nullptr; // printer DCs: the document being printed
    CDC* pPermanent = nullptr;                 // the object attached to it
};

namespace platform_detail
{

HDC LiveDc(HDC h);                // nullptr when h is not a live DC
HDC NewDc(DcKind eKind);          // with the stock pen, brush and font selected
HDC NewMemoryDc(HDC hRef);        // like hRef (the screen when null), with a 1x1 bitmap selected
void FreeDc(HDC hdc);             // ends painting, deselects everything, frees
void ForgetLaidOutTexts(HDC hdc); // drops the text layouts kept for a DC that goes
void EndPainting(HDC hdc);        // memory DC: finish pending drawing so the image can be read
// Selects p into the DC; the previous object of its kind, nullptr when it cannot be selected.
GdiObj* SelectGdi(HDC hdc, GdiObj* p);
QPainter* PainterFor(HDC hdc); // nullptr when the DC cannot draw; state applied
QTransform LogicalToDevice(HDC hdc);
// A length along y in device units, in the DC's logical units.
int DeviceToLogicalHeight(HDC hdc, int nDeviceHeight);
QImage* BitmapImage(HGDIOBJ hBitmap); // finishes drawing into it first
QPainter* PrinterPainter(HDC hdc);    // the printer DC's painter while a page is open, else nullptr
void FreePrintJob(HDC hdc);           // aborts an unfinished document

inline bool IsTranslationOnly(const QTransform& t)
{
    return t.type() <= QTransform::TxTranslate;
}

// Screen and buffer DCs map by a whole-pixel offset at most: integer adds instead of a matrix.
inline QPoint MapPoint(const QTransform& t, int x, int y)
{
    if (IsTranslationOnly(t))
        return QPoint(x + static_cast<int>(t.dx()), y + static_cast<int>(t.dy()));
    return t.map(QPoint(x, y));
}

inline QPoint ToDevice(HDC hdc, int x, int y)
{
    return MapPoint(LogicalToDevice(hdc), x, y);
}

// Drawing with GDI's pixel rules; pPainter is the DC's painter (PainterFor) and coordinates are
// logical. Lines leave their end pixel unset; fills leave out the right and bottom edges.
QColor PenColor(HDC hdc);
void DrawMappedLine(HDC hdc, const QTransform& t, QPainter* pPainter, int x0, int y0, int x1,
                    int y1, int nStyle, int nWidth, const QColor& color); // t: the DC's mapping
void DrawLine(HDC hdc, QPainter* pPainter, int x0, int y0, int x1, int y1, int nStyle, int nWidth,
              const QColor& color);
void FillLogicalRect(HDC hdc, QPainter* pPainter, int l, int t, int r, int b, const QColor& color);

} // namespace platform_detail
