#include "app/StringIds.h"
#include "app/StringTable.h"

#include <array>

namespace
{

constexpr auto kStrings = std::to_array<SAppString>({
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
    {IDS_CONFIRM_EXIT, "本次练习已有交易，确定要退出吗？"},
    {IDS_START_NOT_FOUND, "K线文件中没有 %s 或更早的K线。"},
    {IDS_START_TOO_SHORT, "K线文件只有 %d 根K线，少于窗口的 %d 根，无法选择起点。"},
    {IDS_EXPORT_FAILED, "无法导出交易记录到 %s:\n%s"},
    {IDS_CSV_FILTER, "CSV Files(*.csv)|*.csv|All Files(*.*)|*.*||"},
    {IDS_INFO_SPEED, "%s %s"},
    {IDS_IMAGE_FILTER, "PNG 图片 (*.png)|*.png||"},
    {IDS_SAVE_IMAGE_FAILED, "无法保存图片 %s:\n%s"},

    {IDS_MAIN_CAPTION, "K线交易练习"},
    {IDS_TRADE_GROUP, "K线操作"},
    {IDS_LOAD_BUTTON, "加载K线"},
    {IDS_INFO_LABEL, "K线信息:"},
    {IDS_BUY_BUTTON, "Buy"},
    {IDS_SELL_BUTTON, "Sell"},
    {IDS_OK, "确定"},
    {IDS_CANCEL, "取消"},
    {IDS_SETTINGS_CAPTION, "设置"},
    {IDS_SETTINGS_GROUP, "属性信息"},
    {IDS_SETTINGS_INTERVAL, "刷新间隔"},
    {IDS_SETTINGS_SECONDS, "秒"},
    {IDS_ABOUT_CAPTION, "关于 Orvanta"},
    {IDS_ABOUT_VERSION, "Orvanta，版本 %s"},
    {IDS_START_CAPTION, "选择起点"},
    {IDS_START_PROMPT, "起点日期(YYYY-MM-DD):"},
    {IDS_SPEED_TEXT, "速度:%s秒/根"},
    {IDS_SPEED_STEP, "%s秒"},

    {IDS_MENU_FILE, "文件(&F)"},
    {IDS_MENU_LOAD, "加载K线(&L)"},
    {IDS_MENU_PLAY, "播放K线(&P)\tSpace"},
    {IDS_MENU_STOP, "停止播放(&S)\tSpace"},
    {IDS_MENU_STEP_BAR, "前进一根\tRight"},
    {IDS_MENU_CHOOSE_START, "选择起点..."},
    {IDS_MENU_RANDOM_START, "随机起点"},
    {IDS_MENU_PRINT, "打印..."},
    {IDS_MENU_SAVE_IMAGE, "保存图片..."},
    {IDS_MENU_EXIT, "退出(&Q)"},
    {IDS_MENU_OPTIONS, "属性"},
    {IDS_MENU_SETTINGS, "属性设置"},
    {IDS_MENU_SPEED, "速度"},
    {IDS_MENU_FASTER, "加快\t+"},
    {IDS_MENU_SLOWER, "减慢\t-"},
    {IDS_MENU_TRADE, "交易(&T)"},
    {IDS_MENU_BUY, "买入\tB"},
    {IDS_MENU_SELL, "卖出\tS"},
    {IDS_MENU_REPORT, "交易统计(&R)..."},
    {IDS_MENU_EXPORT, "导出交易记录(&E)..."},
    {IDS_MENU_HELP, "关于"},
    {IDS_MENU_ABOUT, "关于"},
    {IDS_MENU_INDICATORS, "指标"},

    {IDS_REPORT_CAPTION, "交易统计"},
    {IDS_REPORT_FIRST_ROW, "交易次数"},
    {IDS_REPORT_FIRST_ROW + 1, "回合数"},
    {IDS_REPORT_FIRST_ROW + 2, "盈利次数"},
    {IDS_REPORT_FIRST_ROW + 3, "亏损次数"},
    {IDS_REPORT_FIRST_ROW + 4, "胜率"},
    {IDS_REPORT_FIRST_ROW + 5, "平均盈利"},
    {IDS_REPORT_FIRST_ROW + 6, "平均亏损"},
    {IDS_REPORT_FIRST_ROW + 7, "盈亏比"},
    {IDS_REPORT_FIRST_ROW + 8, "最大盈利"},
    {IDS_REPORT_FIRST_ROW + 9, "最大亏损"},
    {IDS_REPORT_FIRST_ROW + 10, "最大回撤"},
    {IDS_REPORT_LAST_ROW, "期末账户"},
});

} // namespace

std::span<const SAppString> ChineseStrings()
{
    return kStrings;
}
