#include "core/ReplaySettings.h"

SReplaySettings& ReplaySettings()
{
    static SReplaySettings settings;
    return settings;
}
