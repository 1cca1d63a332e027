// CPlatformApp: starts the toolkit for tools, benchmarks and tests, which have no application of
// their own, so windows, device contexts and fonts can be used. Nothing is shown unless a window
// is shown; with QT_QPA_PLATFORM=offscreen no display is needed. One instance at a time, on the
// main thread. It may be a static: the toolkit it started is then taken down when exit() begins,
// before any static object is destroyed.
#pragma once

class CPlatformApp
{
public:
    CPlatformApp(int& argc, char** argv);
    ~CPlatformApp();
    CPlatformApp(const CPlatformApp&) = delete;
    CPlatformApp& operator=(const CPlatformApp&) = delete;

    // Handles pending events (paints, timers) until none is left.
    static void ProcessEvents();
    // Runs the event loop for nMilliseconds (timers tick meanwhile).
    static void RunFor(int nMilliseconds);

private:
    bool m_bOwnsApplication = false;
};
