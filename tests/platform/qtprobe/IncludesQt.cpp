// Must not build: code of core/ and chart/ sees no Qt headers.
#include <QWidget>

int QtProbeWidgetSize()
{
    return static_cast<int>(sizeof(QWidget));
}
