#pragma once

#include "app/Language.h"
#include "app/OrvantaDlg.h"
#include "platform/StringFormat.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

// A fresh working directory and settings folder for one test: K-line files are written there,
// the trade log and the settings file land there. What was there before comes back at the end.
class CWorkDir
{
public:
    CWorkDir();
    ~CWorkDir();
    CWorkDir(const CWorkDir&) = delete;
    CWorkDir& operator=(const CWorkDir&) = delete;

    const std::filesystem::path& Path() const { return m_path; }
    std::filesystem::path SettingsFile() const { return m_path / "config/orvanta/orvanta.ini"; }
    std::string Write(const std::string& strName, const std::string& strContent) const;
    // Every line of every trade log in the directory, without its time stamp.
    std::vector<std::string> TradeLogLines() const;

private:
    std::filesystem::path m_path;
    std::filesystem::path m_previous;
    std::string m_strPreviousConfig;
    bool m_bHadConfig = false;
};

// Bar i of the fixture files: a day after bar i - 1 (from 2020-01-01), open 10 + i, high 12 + i,
// low 9 + i, close 10.5 + i, so every bar's prices tell which bar it is.
inline double FixtureClose(int i)
{
    return 10.5 + i;
}
std::string KLineText(int nBars);
// The whole file, or empty when it cannot be read.
std::string FileText(const std::filesystem::path& path);

// The text as the user reads it: without mnemonic marks, and without a menu item's key after its
// tab.
QString Plain(QString strText);

// Runs act on the first modal window that satisfies match, from inside its modal loop. A window
// that never comes within nTimeoutMs fails the test; a modal window nobody asked for fails it
// too and is closed (see CModalWatch), so no test hangs.
void WhenModal(std::function<bool(QWidget*)> match, std::function<void(QWidget*)> act,
               int nTimeoutMs = 5000);
std::function<bool(QWidget*)> TitleIs(const QString& strTitle);
// Fails the test for every wait of WhenModal whose window has not come.
void ExpectNoModalWaitsLeft();
// The modal window's text (a message box's message), for checking what it said.
QString ModalText(QWidget* pModal);
// Answers the next file dialog with this path, typed as a user types it.
void WhenFileDialog(const std::string& strPath);
// Presses the button with this text in the window.
bool ClickButtonIn(QWidget* pWindow, const QString& strText);

// The main window as a test drives it: shown, with a fresh working directory, Chinese texts and
// no timer tick unless the test plays.
class CMainWindowTest : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    // The window is made on first use, so a test can prepare the settings file first.
    COrvantaDlg& Window();
    void Reopen(); // a new window, as at the next start
    // The window closed first, so what it saves on closing cannot overwrite the new text.
    void ReopenWithSettings(const std::string& strSettings);

    std::string WriteBars(int nBars, const std::string& strName = "bars.csv");
    // Loads the file as the command line does, and lets the window get there.
    void LoadAtStart(const std::string& strPath, const std::string& strStartDate = {});
    void Trigger(const QString& strMenuItem);
    void Click(const QString& strButton);
    void Key(int nKey, QWidget* pFocus = nullptr);
    std::string Label(const char* pszName);
    std::string Info();
    QAbstractButton* Button(const QString& strText);
    QAction* Action(const QString& strMenuItem);
    QTimer* ReplayTimer();
    void Pump(int nMilliseconds = 0);

    CWorkDir m_dir;

private:
    std::unique_ptr<COrvantaDlg> m_pWindow;
};
