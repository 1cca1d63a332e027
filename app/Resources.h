// The program's texts, version and icon.
#pragma once

#include "app/StringIds.h"
#include "app/StringTable.h"
#include "platform/StringFormat.h"

#include <QIcon>
#include <QString>

#include <string>

constexpr const char* ORVANTA_VERSION = "1.0.0.1";
constexpr int ORVANTA_ICON_SIZE = 32;

// A text of the program's language; empty when there is none.
std::string LoadAppString(unsigned nId);
QString AppQText(unsigned nId);

// A text of the string table filled in like printf; the table's formats match these callers.
template <class... Args> std::string FormatAppText(unsigned nId, Args... args)
{
    return StringFormat(AppText(nId), args...);
}

// The speed a replay period shows in the information line, e.g. "速度:0.5秒/根".
std::string SpeedText(int nPeriodMs);

// The program's icon: three candles on a dark rounded tile, drawn here so no image file ships.
QIcon AppIcon();
