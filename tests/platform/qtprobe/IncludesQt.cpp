// Must not build: code above the platform layer sees no Qt headers.
#include <QWidget>

int QtProbeWidgetSize()
{
    return static_cast<int>(sizeof(QWidget));
}
