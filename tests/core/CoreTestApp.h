#pragma once

#include "platform/PlatformApp.h"

// The toolkit that chart windows need, made once for the whole test program.
inline void EnsureCoreTestApp()
{
    static int s_nArgc = 1;
    static char s_szName[] = "orvanta_core_tests";
    static char* s_argv[] = {s_szName, nullptr};
    static CPlatformApp s_app(s_nArgc, s_argv);
}
