#include "app/Resources.h"

#include "app/ReportDlg.h"
#include "platform/Resource.h"
#include "platform/WinTypes.h"

#include <array>
#include <vector>

namespace
{

constexpr DWORD kChartStyle = WS_VISIBLE | WS_CLIPCHILDREN | WS_TABSTOP;
constexpr DWORD kPushButton = BS_PUSHBUTTON | WS_VISIBLE | WS_TABSTOP;
constexpr DWORD kGroupBox = BS_GROUPBOX | WS_VISIBLE;
constexpr DWORD kLabel = SS_LEFT | WS_VISIBLE | WS_GROUP;

SDialogItemTemplate Item(const char* pszClass, const char* pszText, int nId, int x, int y, int cx,
                         int cy, DWORD dwStyle)
{
    SDialogItemTemplate item;
    item.pszClass = pszClass;
    item.pszText = pszText;
    item.nId = nId;
    item.x = x;
    item.y = y;
    item.cx = cx;
    item.cy = cy;
    item.dwStyle = dwStyle;
    return item;
}

SDialogTemplate MainDialogTemplate()
{
    SDialogTemplate t;
    t.nId = IDD_ORVANTA_DIALOG;
    t.cx = 379;
    t.cy = 295;
    // Resizable, but without minimise or maximise boxes.
    t.dwStyle = WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | DS_SHELLFONT;
    t.dwExStyle = WS_EX_APPWINDOW;
    t.pszCaption = "K线交易练习";
    t.nPointSize = 9;
    t.nMenuId = IDR_MAIN_MENU;
    t.items = {
        Item("ChartCtrl", "Custom1", IDC_CHART, 7, 17, 365, 230, kChartStyle),
        Item("BUTTON", "K线操作", IDC_STATIC, 7, 248, 365, 40, kGroupBox),
        Item("BUTTON", "加载K线", IDC_BTN_LOAD, 279, 2, 45, 12, kPushButton),
        Item("STATIC", "K线信息:", IDC_STATIC, 7, 3, 28, 8, kLabel),
        Item("EDIT", "", IDC_EDIT_INFO, 36, 2, 240, 12,
             ES_AUTOHSCROLL | ES_READONLY | WS_BORDER | WS_VISIBLE | WS_TABSTOP),
        Item("BUTTON", "播放K线", IDC_BTN_PLAY, 327, 2, 45, 12, kPushButton),
        Item("STATIC", "Open:", IDC_STATIC_OPEN, 11, 259, 58, 8, kLabel),
        Item("STATIC", "High:", IDC_STATIC_HIGH, 79, 259, 58, 8, kLabel),
        Item("STATIC", "Low:", IDC_STATIC_LOW, 147, 259, 58, 8, kLabel),
        Item("STATIC", "Close:", IDC_STATIC_CLOSE, 215, 259, 58, 8, kLabel),
        Item("STATIC", "Account:", IDC_STATIC_ACCOUNT, 283, 259, 82, 8, kLabel),
        Item("STATIC", "Position:", IDC_STATIC_POSITION, 11, 275, 58, 8, kLabel),
        Item("STATIC", "Profit:", IDC_STATIC_PROFIT, 79, 275, 89, 8, kLabel),
        Item("BUTTON", "Buy", IDC_BTN_BUY, 215, 270, 54, 16, kPushButton),
        Item("BUTTON", "Sell", IDC_BTN_SELL, 283, 270, 54, 16, kPushButton),
    };
    return t;
}

SDialogTemplate SettingDialogTemplate()
{
    SDialogTemplate t;
    t.nId = IDD_DLG_SETTING;
    t.cx = 219;
    t.cy = 96;
    t.dwStyle = DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_SHELLFONT;
    t.pszCaption = "设置";
    t.nPointSize = 8;
    t.nWeight = FW_NORMAL;
    t.items = {
        Item("BUTTON", "确定", IDOK, 106, 75, 50, 14, BS_DEFPUSHBUTTON | WS_VISIBLE | WS_TABSTOP),
        Item("BUTTON", "取消", IDCANCEL, 162, 75, 50, 14, kPushButton),
        Item("BUTTON", "属性信息", IDC_STATIC, 7, 5, 205, 65, kGroupBox),
        Item("STATIC", "刷新间隔", IDC_STATIC, 13, 20, 33, 8, kLabel),
        Item("EDIT", "", IDC_EDIT_INTERVAL, 47, 19, 23, 9,
             ES_AUTOHSCROLL | WS_BORDER | WS_VISIBLE | WS_TABSTOP),
        Item("STATIC", "秒", IDC_STATIC, 72, 20, 9, 8, kLabel),
    };
    return t;
}

SDialogTemplate AboutDialogTemplate()
{
    SDialogTemplate t;
    t.nId = IDD_ABOUTBOX;
    t.cx = 167;
    t.cy = 74;
    t.dwStyle = DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_SHELLFONT;
    t.pszCaption = "关于 Orvanta";
    t.nPointSize = 9;
    t.items = {
        Item("STATIC", "#128", IDC_ABOUT_ICON, 14, 14, 21, 20, SS_ICON | WS_VISIBLE),
        Item("STATIC", "Orvanta，版本 1.0.0.1", IDC_STATIC, 42, 14, 114, 8, kLabel),
        Item("STATIC", "K线交易练习", IDC_STATIC, 42, 26, 114, 8, kLabel),
        Item("BUTTON", "确定", IDOK, 110, 53, 50, 14,
             BS_DEFPUSHBUTTON | WS_VISIBLE | WS_TABSTOP | WS_GROUP),
    };
    return t;
}

// One checkable item per speed step, then the keys that move between them.
std::vector<SMenuItemTemplate> SpeedMenu()
{
    static constexpr const char* kStepTexts[] = {"0.1秒", "0.2秒", "0.5秒", "1秒", "2秒", "5秒"};
    static_assert(std::size(kStepTexts) == ID_MENU_SPEED_LAST - ID_MENU_SPEED_FIRST + 1);
    std::vector<SMenuItemTemplate> vecItems;
    for (unsigned i = 0; i < std::size(kStepTexts); ++i)
        vecItems.push_back({kStepTexts[i], ID_MENU_SPEED_FIRST + i, {}});
    vecItems.push_back({nullptr, 0, {}, MF_SEPARATOR});
    vecItems.push_back({"加快\t+", ID_MENU_FASTER, {}});
    vecItems.push_back({"减慢\t-", ID_MENU_SLOWER, {}});
    return vecItems;
}

SDialogTemplate StartDateDialogTemplate()
{
    SDialogTemplate t;
    t.nId = IDD_START_DATE;
    t.cx = 180;
    t.cy = 62;
    t.dwStyle = DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_SHELLFONT;
    t.pszCaption = "选择起点";
    t.nPointSize = 9;
    t.items = {
        Item("STATIC", "起点日期(YYYY-MM-DD):", IDC_STATIC, 7, 10, 90, 8, kLabel),
        Item("EDIT", "", IDC_EDIT_START_DATE, 100, 8, 72, 12,
             ES_AUTOHSCROLL | WS_BORDER | WS_VISIBLE | WS_TABSTOP),
        Item("BUTTON", "确定", IDOK, 66, 40, 50, 14, BS_DEFPUSHBUTTON | WS_VISIBLE | WS_TABSTOP),
        Item("BUTTON", "取消", IDCANCEL, 122, 40, 50, 14, kPushButton),
    };
    return t;
}

std::vector<SMenuItemTemplate> MainMenu()
{
    SMenuItemTemplate file{"文件(&F)", 0, {}};
    file.children = {
        {"加载K线(&L)", ID_MENU_LOAD, {}},
        {"播放K线(&P)\tSpace", ID_MENU_PLAY, {}},
        {"停止播放(&S)\tSpace", ID_MENU_STOP, {}},
        {"前进一根\tRight", ID_MENU_STEP_BAR, {}},
        {nullptr, 0, {}, MF_SEPARATOR},
        {"选择起点...", ID_MENU_CHOOSE_START, {}},
        {"随机起点", ID_MENU_RANDOM_START, {}},
        {nullptr, 0, {}, MF_SEPARATOR},
        {"打印...", ID_MENU_PRINT, {}},
        {"保存图片...", ID_MENU_SAVE_IMAGE, {}},
        {nullptr, 0, {}, MF_SEPARATOR},
        {"退出(&Q)", ID_MENU_EXIT, {}},
    };
    SMenuItemTemplate settings{"属性", 0, {{"属性设置", ID_MENU_SETTINGS, {}}}};
    settings.children.push_back({"速度", 0, SpeedMenu()});
    SMenuItemTemplate about{"关于", 0, {{"关于", ID_MENU_ABOUT, {}}}};
    SMenuItemTemplate trade{"交易(&T)", 0, {}};
    trade.children = {
        {"买入\tB", ID_MENU_BUY, {}},
        {"卖出\tS", ID_MENU_SELL, {}},
        {nullptr, 0, {}, MF_SEPARATOR},
        {"交易统计(&R)...", ID_MENU_REPORT, {}},
        {"导出交易记录(&E)...", ID_MENU_EXPORT, {}},
    };
    SMenuItemTemplate indicators{"指标", 0, {}};
    indicators.children = {
        {"MA5", ID_MENU_MA_FIRST, {}},
        {"MA10", ID_MENU_MA_FIRST + 1, {}},
        {"MA20", ID_MENU_MA_FIRST + 2, {}},
        {"MA60", ID_MENU_MA_FIRST + 3, {}},
    };
    return {file, settings, trade, about, indicators};
}

// The program's icon: three candles on a dark rounded tile, drawn here so no image file ships.
std::vector<DWORD> IconPixels()
{
    constexpr int n = ORVANTA_ICON_SIZE;
    constexpr DWORD crTile = 0xFF1F2937;
    constexpr DWORD crEdge = 0xFF4B5563;
    constexpr DWORD crRise = 0xFFE5484D; // red rises, as on the exchanges the texts are written for
    constexpr DWORD crFall = 0xFF2EBD59;

    std::vector<DWORD> vecPixels(static_cast<std::size_t>(n) * n, 0x00000000);
    auto put = [&](int x, int y, DWORD cr)
    {
        if (x >= 0 && x < n && y >= 0 && y < n)
            vecPixels[static_cast<std::size_t>(y) * n + x] = cr;
    };

    // Tile with corners cut on a radius of 4 pixels.
    constexpr int r = 4;
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x)
        {
            const int dx = x < r ? r - x : (x >= n - r ? x - (n - r - 1) : 0);
            const int dy = y < r ? r - y : (y >= n - r ? y - (n - r - 1) : 0);
            const int d2 = dx * dx + dy * dy;
            if (d2 > r * r)
                continue;
            const bool bEdge =
                x == 0 || y == 0 || x == n - 1 || y == n - 1 || d2 > (r - 1) * (r - 1);
            put(x, y, bEdge ? crEdge : crTile);
        }

    struct SCandle
    {
        int nCenter, nWickTop, nWickBottom, nBodyTop, nBodyBottom;
        DWORD cr;
    };
    constexpr std::array<SCandle, 3> candles = {{
        {8, 13, 27, 16, 24, crFall},
        {16, 7, 23, 10, 19, crRise},
        {24, 3, 17, 6, 13, crRise},
    }};
    for (const SCandle& c : candles)
    {
        for (int y = c.nWickTop; y <= c.nWickBottom; ++y)
        {
            put(c.nCenter - 1, y, c.cr);
            put(c.nCenter, y, c.cr);
        }
        for (int y = c.nBodyTop; y <= c.nBodyBottom; ++y)
            for (int x = c.nCenter - 3; x <= c.nCenter + 2; ++x)
                put(x, y, c.cr);
    }
    return vecPixels;
}

struct SStringEntry
{
    unsigned nId;
    const char* pszText;
};

constexpr std::array<SStringEntry, 23> kStrings = {{
    {IDS_ABOUTBOX, "关于 Orvanta(&A)..."},
    {IDS_PLAY, "播放K线"},
    {IDS_STOP, "停止播放"},
    {IDS_INFO_LOADED, "加载:%s; 数据量:(%d);"},
    {IDS_INFO_PROGRESS, "加载:%s; 数据量:(%d); 播放进度:[%d of %d]"},
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
    {IDS_LOAD_FAILED, "无法读取K线文件 %s:\n%s"},
    {IDS_IMAGE_FILTER, "PNG 图片 (*.png)|*.png||"},
    {IDS_SAVE_IMAGE_FAILED, "无法保存图片 %s:\n%s"},
}};

constexpr std::array<SStringEntry, 6> kPracticeStrings = {{
    {IDS_CONFIRM_EXIT, "本次练习已有交易，确定要退出吗？"},
    {IDS_START_NOT_FOUND, "K线文件中没有 %s 或更早的K线。"},
    {IDS_START_TOO_SHORT, "K线文件只有 %d 根K线，少于窗口的 %d 根，无法选择起点。"},
    {IDS_EXPORT_FAILED, "无法导出交易记录到 %s:\n%s"},
    {IDS_CSV_FILTER, "CSV Files(*.csv)|*.csv|All Files(*.*)|*.*||"},
    {IDS_INFO_SPEED, "%s %s"},
}};

} // namespace

void RegisterOrvantaResources()
{
    // Registering the icon again would free the handle that open windows still show.
    static bool s_bRegistered = false;
    if (s_bRegistered)
        return;
    s_bRegistered = true;
    RegisterDialogTemplate(MainDialogTemplate());
    RegisterDialogTemplate(SettingDialogTemplate());
    RegisterDialogTemplate(AboutDialogTemplate());
    RegisterMenuTemplate(IDR_MAIN_MENU, MainMenu());
    for (const SStringEntry& entry : kStrings)
        RegisterStringResource(entry.nId, entry.pszText);
    RegisterDialogTemplate(StartDateDialogTemplate());
    RegisterReportDialogTemplate();
    for (const SStringEntry& entry : kPracticeStrings)
        RegisterStringResource(entry.nId, entry.pszText);
    const std::vector<DWORD> vecIcon = IconPixels();
    RegisterIconResource(IDR_MAINFRAME, ORVANTA_ICON_SIZE, ORVANTA_ICON_SIZE, vecIcon.data());
}

std::string LoadAppString(unsigned nId)
{
    std::string strText;
    AfxLoadString(nId, strText);
    return strText;
}
