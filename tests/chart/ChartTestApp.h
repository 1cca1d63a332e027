#pragma once

#include "platform/PlatformApp.h"

// Starts the toolkit once for the whole test program; call before creating windows, device
// contexts or fonts.
inline void EnsureChartTestApp()
{
    static int s_nArgc = 1;
    static char s_szName[] = "orvanta_chart_tests";
    static char* s_argv[] = {s_szName, nullptr};
    static CPlatformApp s_app(s_nArgc, s_argv);
}
