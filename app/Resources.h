// Resource ids of the program and the registration of its templates, menu, strings and icon.
#pragma once

#include <string>

constexpr unsigned IDM_ABOUTBOX = 0x0010; // system-menu item of the main window
constexpr unsigned IDD_ABOUTBOX = 100;
constexpr unsigned IDS_ABOUTBOX = 101; // text of the system-menu item
constexpr unsigned IDD_ORVANTA_DIALOG = 102;
constexpr unsigned IDR_MAINFRAME = 128; // the program's icon
constexpr unsigned IDR_MAIN_MENU = 129;
constexpr unsigned IDD_DLG_SETTING = 130;

// Texts of the main dialog. The *_START texts are the labels' own before any bar is shown.
constexpr unsigned IDS_PLAY = 201;
constexpr unsigned IDS_STOP = 202;
constexpr unsigned IDS_INFO_LOADED = 203;   // path, bar count
constexpr unsigned IDS_INFO_PROGRESS = 204; // path, bar count, cursor, bar count
constexpr unsigned IDS_OPEN = 205;
constexpr unsigned IDS_HIGH = 206;
constexpr unsigned IDS_LOW = 207;
constexpr unsigned IDS_CLOSE = 208;
constexpr unsigned IDS_ACCOUNT = 209;
constexpr unsigned IDS_POSITION = 210;
constexpr unsigned IDS_PROFIT = 211;
constexpr unsigned IDS_OPEN_START = 212;
constexpr unsigned IDS_HIGH_START = 213;
constexpr unsigned IDS_LOW_START = 214;
constexpr unsigned IDS_CLOSE_START = 215;
constexpr unsigned IDS_ACCOUNT_START = 216;
constexpr unsigned IDS_POSITION_START = 217;
constexpr unsigned IDS_PROFIT_START = 218;
constexpr unsigned IDS_FILE_FILTER = 219;
constexpr unsigned IDS_LOAD_FAILED = 220; // path, reason
constexpr unsigned IDS_IMAGE_FILTER = 450;
constexpr unsigned IDS_SAVE_IMAGE_FAILED = 451; // path, reason

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

// Practice: keys, speed, start point, journal. Strings and controls 400-449, commands 33000-33049.
constexpr unsigned IDD_START_DATE = 400;
constexpr int IDC_EDIT_START_DATE = 401;
constexpr unsigned IDS_CONFIRM_EXIT = 410;
constexpr unsigned IDS_START_NOT_FOUND = 411; // date
constexpr unsigned IDS_START_TOO_SHORT = 412; // bar count, window bars
constexpr unsigned IDS_EXPORT_FAILED = 413;   // path, reason
constexpr unsigned IDS_CSV_FILTER = 414;
constexpr unsigned IDS_INFO_SPEED = 415; // info line, speed text

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

constexpr const char* ORVANTA_VERSION = "1.0.0.1";
constexpr int ORVANTA_ICON_SIZE = 32;

// Registers every dialog template, the menu bar, the strings and the icon. Must run before the
// first dialog is constructed; later calls do nothing, so icon handles already handed out stay
// valid.
void RegisterOrvantaResources();

// A registered string; empty when there is none.
std::string LoadAppString(unsigned nId);
