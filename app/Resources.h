// Resource ids of the program and the registration of its templates, menu, strings and icon.
#pragma once

#include "app/StringIds.h"

#include <string>

constexpr unsigned IDM_ABOUTBOX = 0x0010; // system-menu item of the main window
constexpr unsigned IDD_ABOUTBOX = 100;
constexpr unsigned IDD_ORVANTA_DIALOG = 102;
constexpr unsigned IDR_MAINFRAME = 128; // the program's icon
constexpr unsigned IDR_MAIN_MENU = 129;
constexpr unsigned IDD_DLG_SETTING = 130;

constexpr int IDC_CHART = 1000;
constexpr int IDC_BTN_LOAD = 1001;
constexpr int IDC_EDIT_INFO = 1003;
constexpr int IDC_EDIT_INTERVAL = 1004;
constexpr int IDC_BTN_PLAY = 1005;
constexpr int IDC_STATIC_OPEN = 1006;
constexpr int IDC_STATIC_HIGH = 1007;
constexpr int IDC_STATIC_LOW = 1008;
constexpr int IDC_STATIC_CLOSE = 1009;
constexpr int IDC_STATIC_ACCOUNT = 1010;
constexpr int IDC_STATIC_POSITION = 1011;
constexpr int IDC_STATIC_PROFIT = 1012;
constexpr int IDC_BTN_BUY = 1013;
constexpr int IDC_BTN_SELL = 1014;
constexpr int IDC_ABOUT_ICON = 1020;

constexpr unsigned ID_MENU_LOAD = 32773;
constexpr unsigned ID_MENU_SETTINGS = 32774;
constexpr unsigned ID_MENU_PLAY = 32778;
constexpr unsigned ID_MENU_EXIT = 32779;
constexpr unsigned ID_MENU_STOP = 32781;
constexpr unsigned ID_MENU_ABOUT = 32783;
constexpr unsigned ID_MENU_PRINT = 32784;
constexpr unsigned ID_MENU_SAVE_IMAGE = 33050;
// One item per moving average, in the order of kAveragePeriods.
constexpr unsigned ID_MENU_MA_FIRST = 33051;
constexpr unsigned ID_MENU_MA_LAST = 33054;

// Practice: keys, speed, start point, journal. Controls 400-449, commands 33000-33049.
constexpr unsigned IDD_START_DATE = 400;
constexpr int IDC_EDIT_START_DATE = 401;

constexpr unsigned ID_MENU_CHOOSE_START = 33000;
constexpr unsigned ID_MENU_RANDOM_START = 33001;
constexpr unsigned ID_MENU_STEP_BAR = 33002;
constexpr unsigned ID_MENU_BUY = 33003;
constexpr unsigned ID_MENU_SELL = 33004;
constexpr unsigned ID_MENU_REPORT = 33005;
constexpr unsigned ID_MENU_EXPORT = 33006;
constexpr unsigned ID_MENU_FASTER = 33007;
constexpr unsigned ID_MENU_SLOWER = 33008;
constexpr unsigned ID_KEY_PLAY_STOP = 33009;
constexpr unsigned ID_MENU_SPEED_FIRST = 33010; // one per speed step, fastest first
constexpr unsigned ID_MENU_SPEED_LAST = 33015;

// The files loaded last, newest first, in the file menu before its last item.
constexpr unsigned ID_MENU_RECENT_FIRST = 33100;
constexpr unsigned ID_MENU_RECENT_LAST = 33104;

constexpr const char* ORVANTA_VERSION = "1.0.0.1";
constexpr int ORVANTA_ICON_SIZE = 32;

// Registers every dialog template, the menu bar and the strings in the program's language
// (AppLanguage()), and the icon. Must run before the first dialog is constructed. A later call
// registers the texts again when the language changed since; the icon is registered once, so
// icon handles already handed out stay valid.
void RegisterOrvantaResources();

// A text of the program's language; empty when there is none.
std::string LoadAppString(unsigned nId);

// The speed a replay period shows in the information line, e.g. "速度:0.5秒/根".
std::string SpeedText(int nPeriodMs);
