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
constexpr unsigned IDS_REPORT_LAST_ROW = 577;
constexpr unsigned IDS_REPORT_STOP_FIRST = 580; // the rule for a bar holding both exits
constexpr unsigned IDS_REPORT_CURVE_BARS = 581; // the equity curve's x axis
constexpr unsigned IDS_REPORT_CURVE_MONEY = 582; // its y axis

// Sizes and orders.
constexpr unsigned IDS_QUANTITY_TIP = 600;
constexpr unsigned IDS_MENU_PLACE_ORDER = 601;
constexpr unsigned IDS_MENU_ORDERS = 602;
// One per order kind, in the order of ETradeOrderKind but for Market, which is two: buy, sell.
constexpr unsigned IDS_ORDER_KIND_FIRST = 610;
constexpr unsigned IDS_ORDER_KIND_LAST = 617;
constexpr unsigned IDS_ORDER_CAPTION = 620;
constexpr unsigned IDS_ORDER_KIND = 621;
constexpr unsigned IDS_ORDER_PRICE = 622;
constexpr unsigned IDS_ORDER_QUANTITY = 623;
constexpr unsigned IDS_ORDER_STOP_LOSS = 624;
constexpr unsigned IDS_ORDER_TAKE_PROFIT = 625;
constexpr unsigned IDS_ORDER_RISK = 626;
constexpr unsigned IDS_ORDER_RISK_SIZE = 627; // risk percent, stop price, quantity
constexpr unsigned IDS_ORDER_BAD_NUMBER = 628; // the text typed
constexpr unsigned IDS_ORDERS_CAPTION = 630;
constexpr unsigned IDS_ORDERS_CANCEL = 631;
constexpr unsigned IDS_ORDERS_CLOSE = 632;
constexpr unsigned IDS_ORDERS_FIRST_COLUMN = 633; // number, kind, quantity, price, attached to
constexpr unsigned IDS_ORDERS_LAST_COLUMN = 637;
constexpr unsigned IDS_ORDERS_POSITION = 638;     // what a stop guards: the position
constexpr unsigned IDS_CHART_MENU_ORDER = 640;    // order kind, price
constexpr unsigned IDS_CHART_MENU_DIALOG = 641;   // price
// Why a trade or order was refused, one per ETradeRefusal after None; each takes the largest
// quantity allowed (%d) and the price compared with (%s), in that order, where it names them.
constexpr unsigned IDS_REFUSED_FIRST = 650;
constexpr unsigned IDS_REFUSED_LAST = 663;
constexpr unsigned IDS_SETTINGS_TRADE_GROUP = 670;
constexpr unsigned IDS_SETTINGS_LEVERAGE = 671;
constexpr unsigned IDS_SETTINGS_COMMISSION = 672;
constexpr unsigned IDS_SETTINGS_COMMISSION_FIRST = 673; // per trade, per unit, percent of value
constexpr unsigned IDS_SETTINGS_COMMISSION_LAST = 675;
constexpr unsigned IDS_SETTINGS_SLIPPAGE = 676;
constexpr unsigned IDS_SETTINGS_PAUSE_ON_FILL = 677;

// Moving through time.
constexpr unsigned IDS_MENU_STEP_BACK = 700;
constexpr unsigned IDS_MENU_FORWARD = 701;
constexpr unsigned IDS_FORWARD_CAPTION = 702;
constexpr unsigned IDS_FORWARD_DATE = 703;
constexpr unsigned IDS_FORWARD_BARS = 704;
constexpr unsigned IDS_FORWARD_FILL = 705;

// The report's list of trades: its columns, then the sides.
constexpr unsigned IDS_TRADES_FIRST_COLUMN = 710; // bar date, file, side, quantity, price, kind, net
constexpr unsigned IDS_TRADES_LAST_COLUMN = 716;
constexpr unsigned IDS_SIDE_BUY = 717;
constexpr unsigned IDS_SIDE_SELL = 718;

// Timeframes and the second chart.
constexpr unsigned IDS_MENU_TIMEFRAME = 720;
constexpr unsigned IDS_MENU_SECOND_CHART = 721;
constexpr unsigned IDS_MENU_SECOND_OFF = 722;
constexpr unsigned IDS_MENU_SECOND_SIDE = 723;
constexpr unsigned IDS_MENU_SECOND_STACKED = 724;
constexpr unsigned IDS_TIMEFRAME_FIRST = 730; // in the order of ETimeframe
constexpr unsigned IDS_TIMEFRAME_LAST = 738;

// The loader: the load note after the information line, layout names, the import dialog.
constexpr unsigned IDS_INFO_LOAD_NOTE = 900; // information line, the load note
constexpr unsigned IDS_LAYOUT_PLAIN = 901;
constexpr unsigned IDS_LAYOUT_NAMED_COLUMNS = 902;
constexpr unsigned IDS_LAYOUT_DATE_TIME_COLUMNS = 903;
constexpr unsigned IDS_LAYOUT_METATRADER_TIME = 904;
constexpr unsigned IDS_LAYOUT_METATRADER = 905;
constexpr unsigned IDS_LAYOUT_METATRADER5_TIME = 906;
constexpr unsigned IDS_LAYOUT_METATRADER5 = 907;
constexpr unsigned IDS_LAYOUT_TICKER = 908;
constexpr unsigned IDS_LAYOUT_UNIX = 909; // unit
constexpr unsigned IDS_LAYOUT_ARCHIVE = 910; // unit
constexpr unsigned IDS_UNIX_SECONDS = 911; // the units in the order of EKLineUnixUnit
constexpr unsigned IDS_UNIX_MILLISECONDS = 912;
constexpr unsigned IDS_UNIX_MICROSECONDS = 913;
constexpr unsigned IDS_UNIX_NANOSECONDS = 914;
constexpr unsigned IDS_LAYOUT_DAY_FIRST_DOTS = 915;
constexpr unsigned IDS_LAYOUT_MONTH_FIRST = 916;
constexpr unsigned IDS_LAYOUT_DAY_FIRST = 917;
constexpr unsigned IDS_LAYOUT_MONTH_NAMES = 918;
constexpr unsigned IDS_LAYOUT_SEMICOLONS_COMMA = 919;
constexpr unsigned IDS_LAYOUT_SEMICOLONS = 920;
constexpr unsigned IDS_LAYOUT_CHINESE_TIME = 921;
constexpr unsigned IDS_LAYOUT_CHINESE = 922;
constexpr unsigned IDS_LAYOUT_CHINESE_DAY = 923;
constexpr unsigned IDS_LAYOUT_HISTORY = 924;
constexpr unsigned IDS_LAYOUT_CUSTOM = 925;
constexpr unsigned IDS_LAYOUT_LOCALE_MONTH_FIRST = 926; // after a layout's name
constexpr unsigned IDS_LAYOUT_LOCALE_DAY_FIRST = 927; // after a layout's name
constexpr unsigned IDS_NOTE_ONE_BAR = 928; // layout name
constexpr unsigned IDS_NOTE_BARS = 929; // layout name, bars
constexpr unsigned IDS_NOTE_RANGE = 930; // first bar's date, last bar's date
constexpr unsigned IDS_NOTE_ONE_LINE_SKIPPED = 931;
constexpr unsigned IDS_NOTE_LINES_SKIPPED = 932; // lines
constexpr unsigned IDS_NOTE_ONE_RECORD_SKIPPED = 933;
constexpr unsigned IDS_NOTE_RECORDS_SKIPPED = 934; // records
constexpr unsigned IDS_NOTE_ONE_FAULT_LINE = 935; // line number
constexpr unsigned IDS_NOTE_FAULT_LINES = 936; // lines, line number
constexpr unsigned IDS_NOTE_ONE_FAULT_RECORD = 937; // record number
constexpr unsigned IDS_NOTE_FAULT_RECORDS = 938; // records, record number
constexpr unsigned IDS_NOTE_ROUTINE = 939;
constexpr unsigned IDS_NOTE_REORDERED = 940;
constexpr unsigned IDS_MENU_IMPORT = 941;
constexpr unsigned IDS_IMPORT_CAPTION = 942;
constexpr unsigned IDS_IMPORT_UNKNOWN = 943; // path
constexpr unsigned IDS_IMPORT_AMBIGUOUS = 944; // path
constexpr unsigned IDS_IMPORT_CURRENT = 945; // path
constexpr unsigned IDS_IMPORT_FIRST_LINES = 946;
constexpr unsigned IDS_IMPORT_SEPARATOR = 947;
constexpr unsigned IDS_IMPORT_QUOTED = 948;
constexpr unsigned IDS_IMPORT_HEADER_LINES = 949;
constexpr unsigned IDS_IMPORT_ENCODING = 950;
constexpr unsigned IDS_IMPORT_DATE = 951;
constexpr unsigned IDS_IMPORT_DATE_FORM = 952;
constexpr unsigned IDS_IMPORT_ORDER = 953;
constexpr unsigned IDS_IMPORT_TIME = 954;
constexpr unsigned IDS_IMPORT_TIME_FORM = 955;
constexpr unsigned IDS_IMPORT_DECIMAL = 956;
constexpr unsigned IDS_IMPORT_OPEN = 957; // the price columns, then volume
constexpr unsigned IDS_IMPORT_HIGH = 958;
constexpr unsigned IDS_IMPORT_LOW = 959;
constexpr unsigned IDS_IMPORT_CLOSE = 960;
constexpr unsigned IDS_IMPORT_VOLUME = 961;
constexpr unsigned IDS_IMPORT_PREVIEW = 962;
constexpr unsigned IDS_IMPORT_NO_BARS = 963; // lines
constexpr unsigned IDS_IMPORT_COMMA = 964; // separators and decimal marks
constexpr unsigned IDS_IMPORT_SEMICOLON = 965;
constexpr unsigned IDS_IMPORT_TAB = 966;
constexpr unsigned IDS_IMPORT_BAR = 967;
constexpr unsigned IDS_IMPORT_SPACE = 968;
constexpr unsigned IDS_IMPORT_POINT = 969;
constexpr unsigned IDS_IMPORT_COLUMN = 970; // column number, its name or first field
constexpr unsigned IDS_IMPORT_NO_COLUMN = 971;
constexpr unsigned IDS_IMPORT_TIME_IN_DATE = 972;
constexpr unsigned IDS_IMPORT_FORM_NUMERIC = 973;
constexpr unsigned IDS_IMPORT_FORM_COMPACT = 974;
constexpr unsigned IDS_IMPORT_FORM_MONTH_NAME = 975;
constexpr unsigned IDS_IMPORT_ORDER_YMD = 976; // the orders of EKLineDateOrder
constexpr unsigned IDS_IMPORT_ORDER_DMY = 977;
constexpr unsigned IDS_IMPORT_ORDER_MDY = 978;
constexpr unsigned IDS_IMPORT_TIME_COLONS = 979;
constexpr unsigned IDS_IMPORT_TIME_DIGITS = 980;
constexpr unsigned IDS_IMPORT_BAR_DATE = 981; // the preview's first column
constexpr unsigned IDS_IMPORT_SHARED_COLUMN = 982; // one use, the other
