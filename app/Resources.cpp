#include "app/Resources.h"

#include "app/ReportDlg.h"
#include "app/StringTable.h"
#include "core/ReplaySpeed.h"
#include "platform/Resource.h"
#include "platform/StringFormat.h"
#include "platform/WinTypes.h"

#include <array>
#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace
{

constexpr DWORD kChartStyle = WS_VISIBLE | WS_CLIPCHILDREN | WS_TABSTOP;
constexpr DWORD kPushButton = BS_PUSHBUTTON | WS_VISIBLE | WS_TABSTOP;
constexpr DWORD kGroupBox = BS_GROUPBOX | WS_VISIBLE;
constexpr DWORD kLabel = SS_LEFT | WS_VISIBLE | WS_GROUP;

// Templates hold pointers; texts made by formatting live here for the program's life.
const char* Kept(std::string strText)
{
    static std::deque<std::string> s_texts;
    return s_texts.emplace_back(std::move(strText)).c_str();
}

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
    t.pszCaption = AppText(IDS_MAIN_CAPTION);
    t.nPointSize = 9;
    t.nMenuId = IDR_MAIN_MENU;
    t.items = {
        Item("ChartCtrl", "Custom1", IDC_CHART, 7, 17, 365, 230, kChartStyle),
        Item("BUTTON", AppText(IDS_TRADE_GROUP), IDC_STATIC, 7, 248, 365, 40, kGroupBox),
        Item("BUTTON", AppText(IDS_LOAD_BUTTON), IDC_BTN_LOAD, 279, 2, 45, 12, kPushButton),
        Item("STATIC", AppText(IDS_INFO_LABEL), IDC_STATIC, 7, 3, 28, 8, kLabel),
        Item("EDIT", "", IDC_EDIT_INFO, 36, 2, 240, 12,
             ES_AUTOHSCROLL | ES_READONLY | WS_BORDER | WS_VISIBLE | WS_TABSTOP),
        Item("BUTTON", AppText(IDS_PLAY), IDC_BTN_PLAY, 327, 2, 45, 12, kPushButton),
        Item("STATIC", "Open:", IDC_STATIC_OPEN, 11, 259, 58, 8, kLabel),
        Item("STATIC", "High:", IDC_STATIC_HIGH, 79, 259, 58, 8, kLabel),
        Item("STATIC", "Low:", IDC_STATIC_LOW, 147, 259, 58, 8, kLabel),
        Item("STATIC", "Close:", IDC_STATIC_CLOSE, 215, 259, 58, 8, kLabel),
        Item("STATIC", "Account:", IDC_STATIC_ACCOUNT, 283, 259, 82, 8, kLabel),
        Item("STATIC", "Position:", IDC_STATIC_POSITION, 11, 275, 58, 8, kLabel),
        Item("STATIC", "Profit:", IDC_STATIC_PROFIT, 79, 275, 89, 8, kLabel),
        Item("BUTTON", AppText(IDS_BUY_BUTTON), IDC_BTN_BUY, 215, 270, 54, 16, kPushButton),
        Item("BUTTON", AppText(IDS_SELL_BUTTON), IDC_BTN_SELL, 283, 270, 54, 16, kPushButton),
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
    t.pszCaption = AppText(IDS_SETTINGS_CAPTION);
    t.nPointSize = 8;
    t.nWeight = FW_NORMAL;
    t.items = {
        Item("BUTTON", AppText(IDS_OK), IDOK, 106, 75, 50, 14,
             BS_DEFPUSHBUTTON | WS_VISIBLE | WS_TABSTOP),
        Item("BUTTON", AppText(IDS_CANCEL), IDCANCEL, 162, 75, 50, 14, kPushButton),
        Item("BUTTON", AppText(IDS_SETTINGS_GROUP), IDC_STATIC, 7, 5, 205, 65, kGroupBox),
        Item("STATIC", AppText(IDS_SETTINGS_INTERVAL), IDC_STATIC, 13, 20, 33, 8, kLabel),
        Item("EDIT", "", IDC_EDIT_INTERVAL, 47, 19, 23, 9,
             ES_AUTOHSCROLL | WS_BORDER | WS_VISIBLE | WS_TABSTOP),
        Item("STATIC", AppText(IDS_SETTINGS_SECONDS), IDC_STATIC, 72, 20, 9, 8, kLabel),
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
    t.pszCaption = AppText(IDS_ABOUT_CAPTION);
    t.nPointSize = 9;
    t.items = {
        Item("STATIC", "#128", IDC_ABOUT_ICON, 14, 14, 21, 20, SS_ICON | WS_VISIBLE),
        Item("STATIC", Kept(StringFormat(AppText(IDS_ABOUT_VERSION), ORVANTA_VERSION)), IDC_STATIC,
             42, 14, 114, 8, kLabel),
        Item("STATIC", AppText(IDS_MAIN_CAPTION), IDC_STATIC, 42, 26, 114, 8, kLabel),
        Item("BUTTON", AppText(IDS_OK), IDOK, 110, 53, 50, 14,
             BS_DEFPUSHBUTTON | WS_VISIBLE | WS_TABSTOP | WS_GROUP),
    };
    return t;
}

// One checkable item per speed step, then the keys that move between them.
std::vector<SMenuItemTemplate> SpeedMenu()
{
    static_assert(kReplaySpeedStepCount == ID_MENU_SPEED_LAST - ID_MENU_SPEED_FIRST + 1);
    std::vector<SMenuItemTemplate> vecItems;
    for (int i = 0; i < kReplaySpeedStepCount; ++i)
        vecItems.push_back({Kept(StringFormat(AppText(IDS_SPEED_STEP),
                                              ReplaySpeedSeconds(kReplaySpeedSteps[i]).c_str())),
                            ID_MENU_SPEED_FIRST + static_cast<unsigned>(i),
                            {}});
    vecItems.push_back({nullptr, 0, {}, MF_SEPARATOR});
    vecItems.push_back({AppText(IDS_MENU_FASTER), ID_MENU_FASTER, {}});
    vecItems.push_back({AppText(IDS_MENU_SLOWER), ID_MENU_SLOWER, {}});
    return vecItems;
}

SDialogTemplate StartDateDialogTemplate()
{
    SDialogTemplate t;
    t.nId = IDD_START_DATE;
    t.cx = 180;
    t.cy = 62;
    t.dwStyle = DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_SHELLFONT;
    t.pszCaption = AppText(IDS_START_CAPTION);
    t.nPointSize = 9;
    t.items = {
        Item("STATIC", AppText(IDS_START_PROMPT), IDC_STATIC, 7, 10, 90, 8, kLabel),
        Item("EDIT", "", IDC_EDIT_START_DATE, 100, 8, 72, 12,
             ES_AUTOHSCROLL | WS_BORDER | WS_VISIBLE | WS_TABSTOP),
        Item("BUTTON", AppText(IDS_OK), IDOK, 66, 40, 50, 14,
             BS_DEFPUSHBUTTON | WS_VISIBLE | WS_TABSTOP),
        Item("BUTTON", AppText(IDS_CANCEL), IDCANCEL, 122, 40, 50, 14, kPushButton),
    };
    return t;
}

std::vector<SMenuItemTemplate> MainMenu()
{
    SMenuItemTemplate file{AppText(IDS_MENU_FILE), 0, {}};
    file.children = {
        {AppText(IDS_MENU_LOAD), ID_MENU_LOAD, {}},
        {AppText(IDS_MENU_PLAY), ID_MENU_PLAY, {}},
        {AppText(IDS_MENU_STOP), ID_MENU_STOP, {}},
        {AppText(IDS_MENU_STEP_BAR), ID_MENU_STEP_BAR, {}},
        {nullptr, 0, {}, MF_SEPARATOR},
        {AppText(IDS_MENU_CHOOSE_START), ID_MENU_CHOOSE_START, {}},
        {AppText(IDS_MENU_RANDOM_START), ID_MENU_RANDOM_START, {}},
        {nullptr, 0, {}, MF_SEPARATOR},
        {AppText(IDS_MENU_PRINT), ID_MENU_PRINT, {}},
        {AppText(IDS_MENU_SAVE_IMAGE), ID_MENU_SAVE_IMAGE, {}},
        {nullptr, 0, {}, MF_SEPARATOR},
        {AppText(IDS_MENU_EXIT), ID_MENU_EXIT, {}},
    };
    SMenuItemTemplate settings{
        AppText(IDS_MENU_OPTIONS), 0, {{AppText(IDS_MENU_SETTINGS), ID_MENU_SETTINGS, {}}}};
    settings.children.push_back({AppText(IDS_MENU_SPEED), 0, SpeedMenu()});
    SMenuItemTemplate about{
        AppText(IDS_MENU_HELP), 0, {{AppText(IDS_MENU_ABOUT), ID_MENU_ABOUT, {}}}};
    SMenuItemTemplate trade{AppText(IDS_MENU_TRADE), 0, {}};
    trade.children = {
        {AppText(IDS_MENU_BUY), ID_MENU_BUY, {}},
        {AppText(IDS_MENU_SELL), ID_MENU_SELL, {}},
        {nullptr, 0, {}, MF_SEPARATOR},
        {AppText(IDS_MENU_REPORT), ID_MENU_REPORT, {}},
        {AppText(IDS_MENU_EXPORT), ID_MENU_EXPORT, {}},
    };
    SMenuItemTemplate indicators{AppText(IDS_MENU_INDICATORS), 0, {}};
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

} // namespace

void RegisterOrvantaResources()
{
    // Registering the icon again would free the handle that open windows still show.
    static bool s_bIconRegistered = false;
    static std::optional<ELanguage> s_registeredLanguage;
    if (s_registeredLanguage != AppLanguage())
    {
        s_registeredLanguage = AppLanguage();
        RegisterDialogTemplate(MainDialogTemplate());
        RegisterDialogTemplate(SettingDialogTemplate());
        RegisterDialogTemplate(AboutDialogTemplate());
        RegisterDialogTemplate(StartDateDialogTemplate());
        RegisterReportDialogTemplate();
        RegisterMenuTemplate(IDR_MAIN_MENU, MainMenu());
        for (const SAppString& entry : AppStrings(AppLanguage()))
            RegisterStringResource(entry.nId, entry.pszText);
    }
    if (!s_bIconRegistered)
    {
        s_bIconRegistered = true;
        const std::vector<DWORD> vecIcon = IconPixels();
        RegisterIconResource(IDR_MAINFRAME, ORVANTA_ICON_SIZE, ORVANTA_ICON_SIZE, vecIcon.data());
    }
}

std::string LoadAppString(unsigned nId)
{
    return AppText(nId);
}

std::string SpeedText(int nPeriodMs)
{
    return StringFormat(AppText(IDS_SPEED_TEXT), ReplaySpeedSeconds(nPeriodMs).c_str());
}
