#pragma once

#include "core/KLineLayout.h"
#include "core/TradeCosts.h"

#include <QString>

#include <array>
#include <memory>
#include <string>
#include <vector>

class QSettings;

// A layout the trader chose for a file in the import dialog.
struct SFileLayout
{
    std::string strPath;
    SKLineLayout layout;
};

// What the program keeps between runs.
struct SAppSettings
{
    int nPeriodMs = 1000;                     // the replay period, clamped to the speed steps
    std::array<bool, 4> arrAverages = {};     // the moving averages shown, in the menu's order
    std::vector<std::string> vecRecentFiles;  // newest first
    int nQuantity = 1;                        // units Buy and Sell trade
    STradeSettings trade;                     // leverage and costs
    bool bPauseOnFill = true;                 // a fill while playing stops the replay
    int nTimeframe = -1;                      // the main chart's, an ETimeframe index; -1 own bars
    int nSecondChart = 0;                     // 0 none, 1 side by side, 2 one above the other
    int nSecondTimeframe = 6;                 // the second chart's: a day
    std::vector<SFileLayout> vecFileLayouts; // newest first, one per path
};

// The layout chosen for the file at strPath; null when none was.
const SKLineLayout* ChosenFileLayout(const SAppSettings& settings, const std::string& strPath);
// Keeps the layout for the file, first in the list; the oldest beyond the kept number go.
void KeepFileLayout(SAppSettings* pSettings, const std::string& strPath,
                    const SKLineLayout& layout);

// The settings file, $XDG_CONFIG_HOME/orvanta/orvanta.ini (else ~/.config/orvanta/orvanta.ini):
// INI text of [section] headers and key=value lines, values exactly as written, as every
// version of the program kept it. No other code touches the file.
class CSettingsFile
{
public:
    CSettingsFile();
    ~CSettingsFile();

    // A damaged file (a NUL byte, over 1 MiB, not such text) is kept beside the new one as
    // orvanta.ini.damaged and the defaults are used; Note() then says so.
    SAppSettings readSettings();
    // False when the file cannot be written; Note() then says where and why.
    bool writeSettings(const SAppSettings& settings);

    // What the user should be told about the file, once: empty when nothing happened since the
    // last call, or when it was said already.
    QString TakeNote();
    const QString& Path() const { return m_strPath; }

    static QString DefaultPath();

private:
    void KeepDamagedFile(const QString& strWhy);
    static void ReadTradeSettings(QSettings& file, SAppSettings* pSettings);
    void Open();

    QString m_strPath;
    std::unique_ptr<QSettings> m_pSettings;
    QString m_strNote;
    bool m_bDamageTold = false;
    bool m_bWriteFailureTold = false;
};
