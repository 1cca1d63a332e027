// Must build without Qt: every public header of the platform layer, as code above it includes them.
// WidgetHost.h is the one app/ hands its widgets through; it names QWidget without including it.
#include "platform/AtomicWrite.h"
#include "platform/Bitmap.h"
#include "platform/Brush.h"
#include "platform/ClassicLocale.h"
#include "platform/ClientDC.h"
#include "platform/DC.h"
#include "platform/Font.h"
#include "platform/GdiObject.h"
#include "platform/OleDate.h"
#include "platform/PaintDC.h"
#include "platform/Pen.h"
#include "platform/PlatformApp.h"
#include "platform/PrintDialog.h"
#include "platform/PrintInfo.h"
#include "platform/ScrollBar.h"
#include "platform/StringFormat.h"
#include "platform/WidgetHost.h"
#include "platform/WinGdi.h"
#include "platform/WinTypes.h"
#include "platform/WinUser.h"
#include "platform/Wnd.h"

int PlatformProbeWindowHandleSize()
{
    return static_cast<int>(sizeof(CWnd) + sizeof(CDC) + sizeof(CPrintDialog));
}
