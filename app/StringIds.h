// Ids of the program's texts. Each language has one table of them (StringsZh.cpp, StringsEn.cpp).
#pragma once

constexpr unsigned IDS_ABOUTBOX = 101; // text of the system-menu item

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

// Practice.
constexpr unsigned IDS_CONFIRM_EXIT = 410;
constexpr unsigned IDS_START_NOT_A_DATE = 411; // the text typed
constexpr unsigned IDS_START_TOO_SHORT = 412; // bar count, window bars
constexpr unsigned IDS_EXPORT_FAILED = 413;   // path, reason
constexpr unsigned IDS_CSV_FILTER = 414;
constexpr unsigned IDS_INFO_SPEED = 415; // info line, speed text

constexpr unsigned IDS_LOAD_CLOSE_POSITION = 416;  // position, price
constexpr unsigned IDS_START_CLOSE_POSITION = 417; // position, price
constexpr unsigned IDS_START_BEFORE_FIRST = 418;   // date asked for, date the replay starts at
constexpr unsigned IDS_SETTINGS_OUT_OF_RANGE = 419;
constexpr unsigned IDS_SETTINGS_DAMAGED = 420;     // path, path the damaged file is kept at
constexpr unsigned IDS_SETTINGS_NOT_WRITTEN = 421; // path
constexpr unsigned IDS_LOG_NOT_WRITTEN = 422;      // log file, reason
constexpr unsigned IDS_LOG_NOT_WRITTEN_NOTE = 423; // after the information line
constexpr unsigned IDS_TRADE_REFUSED = 424;        // why, in words

// The window and its picture.
constexpr unsigned IDS_IMAGE_FILTER = 450;
constexpr unsigned IDS_SAVE_IMAGE_FAILED = 451; // path, reason

// Dialog captions and controls.
constexpr unsigned IDS_MAIN_CAPTION = 500;
constexpr unsigned IDS_TRADE_GROUP = 501;
constexpr unsigned IDS_LOAD_BUTTON = 502;
constexpr unsigned IDS_INFO_LABEL = 503;
constexpr unsigned IDS_BUY_BUTTON = 504;
constexpr unsigned IDS_SELL_BUTTON = 505;
constexpr unsigned IDS_OK = 506;
constexpr unsigned IDS_CANCEL = 507;
constexpr unsigned IDS_SETTINGS_CAPTION = 508;
constexpr unsigned IDS_SETTINGS_GROUP = 509;
constexpr unsigned IDS_SETTINGS_INTERVAL = 510;
constexpr unsigned IDS_SETTINGS_SECONDS = 511;
constexpr unsigned IDS_ABOUT_CAPTION = 512;
constexpr unsigned IDS_ABOUT_VERSION = 513; // version
constexpr unsigned IDS_START_CAPTION = 514;
constexpr unsigned IDS_START_PROMPT = 515;
constexpr unsigned IDS_SPEED_TEXT =
    516; // seconds per bar; one word, the information line ends in it
constexpr unsigned IDS_SPEED_STEP = 517; // seconds per bar, for the speed menu

// Menus.
constexpr unsigned IDS_MENU_FILE = 520;
constexpr unsigned IDS_MENU_LOAD = 521;
constexpr unsigned IDS_MENU_PLAY = 522;
constexpr unsigned IDS_MENU_STOP = 523;
constexpr unsigned IDS_MENU_STEP_BAR = 524;
constexpr unsigned IDS_MENU_CHOOSE_START = 525;
constexpr unsigned IDS_MENU_RANDOM_START = 526;
constexpr unsigned IDS_MENU_PRINT = 527;
constexpr unsigned IDS_MENU_SAVE_IMAGE = 528;
constexpr unsigned IDS_MENU_EXIT = 529;
constexpr unsigned IDS_MENU_OPTIONS = 530;
constexpr unsigned IDS_MENU_SETTINGS = 531;
constexpr unsigned IDS_MENU_SPEED = 532;
constexpr unsigned IDS_MENU_FASTER = 533;
constexpr unsigned IDS_MENU_SLOWER = 534;
constexpr unsigned IDS_MENU_TRADE = 535;
constexpr unsigned IDS_MENU_BUY = 536;
constexpr unsigned IDS_MENU_SELL = 537;
constexpr unsigned IDS_MENU_REPORT = 538;
constexpr unsigned IDS_MENU_EXPORT = 539;
constexpr unsigned IDS_MENU_HELP = 540;
constexpr unsigned IDS_MENU_ABOUT = 541;
constexpr unsigned IDS_MENU_INDICATORS = 542;

// The session report: caption, then one name per row in the order of EReportRow.
constexpr unsigned IDS_REPORT_CAPTION = 560;
constexpr unsigned IDS_REPORT_FIRST_ROW = 561;
constexpr unsigned IDS_REPORT_LAST_ROW = 572;

// The loader: the load note after the information line, layout names, the import dialog.
constexpr unsigned IDS_INFO_LOAD_NOTE = 600; // information line, the load note
constexpr unsigned IDS_LAYOUT_PLAIN = 601;
constexpr unsigned IDS_LAYOUT_NAMED_COLUMNS = 602;
constexpr unsigned IDS_LAYOUT_DATE_TIME_COLUMNS = 603;
constexpr unsigned IDS_LAYOUT_METATRADER_TIME = 604;
constexpr unsigned IDS_LAYOUT_METATRADER = 605;
constexpr unsigned IDS_LAYOUT_METATRADER5_TIME = 606;
constexpr unsigned IDS_LAYOUT_METATRADER5 = 607;
constexpr unsigned IDS_LAYOUT_TICKER = 608;
constexpr unsigned IDS_LAYOUT_UNIX = 609; // unit
constexpr unsigned IDS_LAYOUT_ARCHIVE = 610; // unit
constexpr unsigned IDS_UNIX_SECONDS = 611; // the units in the order of EKLineUnixUnit
constexpr unsigned IDS_UNIX_MILLISECONDS = 612;
constexpr unsigned IDS_UNIX_MICROSECONDS = 613;
constexpr unsigned IDS_UNIX_NANOSECONDS = 614;
constexpr unsigned IDS_LAYOUT_DAY_FIRST_DOTS = 615;
constexpr unsigned IDS_LAYOUT_MONTH_FIRST = 616;
constexpr unsigned IDS_LAYOUT_DAY_FIRST = 617;
constexpr unsigned IDS_LAYOUT_MONTH_NAMES = 618;
constexpr unsigned IDS_LAYOUT_SEMICOLONS_COMMA = 619;
constexpr unsigned IDS_LAYOUT_SEMICOLONS = 620;
constexpr unsigned IDS_LAYOUT_CHINESE_TIME = 621;
constexpr unsigned IDS_LAYOUT_CHINESE = 622;
constexpr unsigned IDS_LAYOUT_CHINESE_DAY = 623;
constexpr unsigned IDS_LAYOUT_HISTORY = 624;
constexpr unsigned IDS_LAYOUT_CUSTOM = 625;
constexpr unsigned IDS_LAYOUT_LOCALE_MONTH_FIRST = 626; // after a layout's name
constexpr unsigned IDS_LAYOUT_LOCALE_DAY_FIRST = 627; // after a layout's name
constexpr unsigned IDS_NOTE_ONE_BAR = 628; // layout name
constexpr unsigned IDS_NOTE_BARS = 629; // layout name, bars
constexpr unsigned IDS_NOTE_RANGE = 630; // first bar's date, last bar's date
constexpr unsigned IDS_NOTE_ONE_LINE_SKIPPED = 631;
constexpr unsigned IDS_NOTE_LINES_SKIPPED = 632; // lines
constexpr unsigned IDS_NOTE_ONE_RECORD_SKIPPED = 633;
constexpr unsigned IDS_NOTE_RECORDS_SKIPPED = 634; // records
constexpr unsigned IDS_NOTE_ONE_FAULT_LINE = 635; // line number
constexpr unsigned IDS_NOTE_FAULT_LINES = 636; // lines, line number
constexpr unsigned IDS_NOTE_ONE_FAULT_RECORD = 637; // record number
constexpr unsigned IDS_NOTE_FAULT_RECORDS = 638; // records, record number
constexpr unsigned IDS_NOTE_ROUTINE = 639;
constexpr unsigned IDS_NOTE_REORDERED = 640;
constexpr unsigned IDS_MENU_IMPORT = 641;
constexpr unsigned IDS_IMPORT_CAPTION = 642;
constexpr unsigned IDS_IMPORT_UNKNOWN = 643; // path
constexpr unsigned IDS_IMPORT_AMBIGUOUS = 644; // path
constexpr unsigned IDS_IMPORT_CURRENT = 645; // path
constexpr unsigned IDS_IMPORT_FIRST_LINES = 646;
constexpr unsigned IDS_IMPORT_SEPARATOR = 647;
constexpr unsigned IDS_IMPORT_QUOTED = 648;
constexpr unsigned IDS_IMPORT_HEADER_LINES = 649;
constexpr unsigned IDS_IMPORT_ENCODING = 650;
constexpr unsigned IDS_IMPORT_DATE = 651;
constexpr unsigned IDS_IMPORT_DATE_FORM = 652;
constexpr unsigned IDS_IMPORT_ORDER = 653;
constexpr unsigned IDS_IMPORT_TIME = 654;
constexpr unsigned IDS_IMPORT_TIME_FORM = 655;
constexpr unsigned IDS_IMPORT_DECIMAL = 656;
constexpr unsigned IDS_IMPORT_OPEN = 657; // the price columns, then volume
constexpr unsigned IDS_IMPORT_HIGH = 658;
constexpr unsigned IDS_IMPORT_LOW = 659;
constexpr unsigned IDS_IMPORT_CLOSE = 660;
constexpr unsigned IDS_IMPORT_VOLUME = 661;
constexpr unsigned IDS_IMPORT_PREVIEW = 662;
constexpr unsigned IDS_IMPORT_NO_BARS = 663; // lines
constexpr unsigned IDS_IMPORT_COMMA = 664; // separators and decimal marks
constexpr unsigned IDS_IMPORT_SEMICOLON = 665;
constexpr unsigned IDS_IMPORT_TAB = 666;
constexpr unsigned IDS_IMPORT_BAR = 667;
constexpr unsigned IDS_IMPORT_SPACE = 668;
constexpr unsigned IDS_IMPORT_POINT = 669;
constexpr unsigned IDS_IMPORT_COLUMN = 670; // column number, its name or first field
constexpr unsigned IDS_IMPORT_NO_COLUMN = 671;
constexpr unsigned IDS_IMPORT_TIME_IN_DATE = 672;
constexpr unsigned IDS_IMPORT_FORM_NUMERIC = 673;
constexpr unsigned IDS_IMPORT_FORM_COMPACT = 674;
constexpr unsigned IDS_IMPORT_FORM_MONTH_NAME = 675;
constexpr unsigned IDS_IMPORT_ORDER_YMD = 676; // the orders of EKLineDateOrder
constexpr unsigned IDS_IMPORT_ORDER_DMY = 677;
constexpr unsigned IDS_IMPORT_ORDER_MDY = 678;
constexpr unsigned IDS_IMPORT_TIME_COLONS = 679;
constexpr unsigned IDS_IMPORT_TIME_DIGITS = 680;
constexpr unsigned IDS_IMPORT_BAR_DATE = 681; // the preview's first column
constexpr unsigned IDS_IMPORT_SHARED_COLUMN = 682; // one use, the other
