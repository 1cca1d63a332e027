#pragma once

#include "platform/PlatformApp.h"

#include <QCoreApplication>

#include <cassert>

// Tests that create windows, device contexts or fonts call this first. The toolkit itself is
// started before the first test and taken down after the last one (ChartTestEnvironment.cpp).
inline void EnsureChartTestApp()
{
    assert(QCoreApplication::instance() && "the chart test environment starts the toolkit");
}
