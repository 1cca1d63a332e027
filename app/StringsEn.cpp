#include "app/StringIds.h"
#include "app/StringTable.h"

#include <array>

namespace
{

constexpr auto kStrings = std::to_array<SAppString>({
    {IDS_ABOUTBOX, "&About Orvanta..."},
    {IDS_PLAY, "Play"},
    {IDS_STOP, "Stop"},
    {IDS_INFO_LOADED, "Loaded: %s; bars: (%d);"},
    {IDS_INFO_PROGRESS, "Loaded: %s; bars: (%d); progress: [%d of %d]"},
    {IDS_OPEN, "Open:%.2f"},
    {IDS_HIGH, "High:%.2f"},
    {IDS_LOW, "Low:%.2f"},
    {IDS_CLOSE, "Close:%.2f"},
    {IDS_ACCOUNT, "Account:%.2f"},
    {IDS_POSITION, "Position:%d"},
    {IDS_PROFIT, "Profit:%.2f"},
    {IDS_OPEN_START, "Open:0"},
    {IDS_HIGH_START, "High:0"},
    {IDS_LOW_START, "Low:0"},
    {IDS_CLOSE_START, "Close:0"},
    {IDS_ACCOUNT_START, "Account:1000000"},
    {IDS_POSITION_START, "Position:0"},
    {IDS_PROFIT_START, "Profit:0"},
    {IDS_FILE_FILTER, "All Files(*.*)|*.*||"},
    {IDS_LOAD_FAILED, "Cannot read the K-line file %s:\n%s"},
    {IDS_CONFIRM_EXIT, "This session has trades. Exit anyway?"},
    {IDS_START_NOT_FOUND, "The K-line file has no bar on or before %s."},
    {IDS_START_TOO_SHORT,
     "The K-line file has only %d bars, fewer than the window's %d; no start can be chosen."},
    {IDS_EXPORT_FAILED, "Cannot export the trades to %s:\n%s"},
    {IDS_CSV_FILTER, "CSV Files(*.csv)|*.csv|All Files(*.*)|*.*||"},
    {IDS_INFO_SPEED, "%s %s"},
    {IDS_IMAGE_FILTER, "PNG Pictures (*.png)|*.png||"},
    {IDS_SAVE_IMAGE_FAILED, "Cannot save the picture %s:\n%s"},

    {IDS_MAIN_CAPTION, "K-line Trading Practice"},
    {IDS_TRADE_GROUP, "Replay"},
    {IDS_LOAD_BUTTON, "Load"},
    {IDS_INFO_LABEL, "File:"},
    {IDS_BUY_BUTTON, "Buy"},
    {IDS_SELL_BUTTON, "Sell"},
    {IDS_OK, "OK"},
    {IDS_CANCEL, "Cancel"},
    {IDS_SETTINGS_CAPTION, "Settings"},
    {IDS_SETTINGS_GROUP, "Replay"},
    {IDS_SETTINGS_INTERVAL, "Interval"},
    {IDS_SETTINGS_SECONDS, "s"},
    {IDS_ABOUT_CAPTION, "About Orvanta"},
    {IDS_ABOUT_VERSION, "Orvanta, version %s"},
    {IDS_START_CAPTION, "Choose Start"},
    {IDS_START_PROMPT, "Start date (YYYY-MM-DD):"},
    {IDS_SPEED_TEXT, "Speed:%ss/bar"},
    {IDS_SPEED_STEP, "%s s"},

    {IDS_MENU_FILE, "&File"},
    {IDS_MENU_LOAD, "&Load K-lines..."},
    {IDS_MENU_PLAY, "&Play\tSpace"},
    {IDS_MENU_STOP, "&Stop\tSpace"},
    {IDS_MENU_STEP_BAR, "Next Bar\tRight"},
    {IDS_MENU_CHOOSE_START, "Choose Start..."},
    {IDS_MENU_RANDOM_START, "Random Start"},
    {IDS_MENU_PRINT, "Print..."},
    {IDS_MENU_SAVE_IMAGE, "Save Picture..."},
    {IDS_MENU_EXIT, "&Quit"},
    {IDS_MENU_OPTIONS, "Options"},
    {IDS_MENU_SETTINGS, "Settings..."},
    {IDS_MENU_SPEED, "Speed"},
    {IDS_MENU_FASTER, "Faster\t+"},
    {IDS_MENU_SLOWER, "Slower\t-"},
    {IDS_MENU_TRADE, "&Trade"},
    {IDS_MENU_BUY, "Buy\tB"},
    {IDS_MENU_SELL, "Sell\tS"},
    {IDS_MENU_REPORT, "Session &Report..."},
    {IDS_MENU_EXPORT, "&Export Trades..."},
    {IDS_MENU_HELP, "Help"},
    {IDS_MENU_ABOUT, "About Orvanta"},
    {IDS_MENU_INDICATORS, "Indicators"},

    {IDS_REPORT_CAPTION, "Session Report"},
    {IDS_REPORT_FIRST_ROW, "Trades"},
    {IDS_REPORT_FIRST_ROW + 1, "Round trips"},
    {IDS_REPORT_FIRST_ROW + 2, "Wins"},
    {IDS_REPORT_FIRST_ROW + 3, "Losses"},
    {IDS_REPORT_FIRST_ROW + 4, "Win rate"},
    {IDS_REPORT_FIRST_ROW + 5, "Average win"},
    {IDS_REPORT_FIRST_ROW + 6, "Average loss"},
    {IDS_REPORT_FIRST_ROW + 7, "Profit factor"},
    {IDS_REPORT_FIRST_ROW + 8, "Largest win"},
    {IDS_REPORT_FIRST_ROW + 9, "Largest loss"},
    {IDS_REPORT_FIRST_ROW + 10, "Max drawdown"},
    {IDS_REPORT_LAST_ROW, "Final account"},
});

} // namespace

std::span<const SAppString> EnglishStrings()
{
    return kStrings;
}
