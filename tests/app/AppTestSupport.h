#pragma once

#include "app/Resources.h"
#include "core/ReplaySettings.h"
#include "platform/Dialog.h"
#include "platform/PlatformApp.h"
#include "platform/StringFormat.h"
#include "platform/testsupport/TestSupport.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

// The toolkit and the program's resources are set up by the test environment before the first
// test; this only checks that they are there.
inline void EnsureAppTestToolkit()
{
    ASSERT_NE(QApplication::instance(), nullptr) << "the app test environment starts the toolkit";
}

// A fresh working directory for one test: K-line files are written there and the trade log
// lands there. The previous directory comes back at the end.
class CWorkDir
{
public:
    CWorkDir()
    {
        char szPattern[] = "/tmp/orvanta-app-test-XXXXXX";
        m_path = ::mkdtemp(szPattern);
        m_previous = std::filesystem::current_path();
        std::filesystem::current_path(m_path);
    }
    ~CWorkDir()
    {
        std::filesystem::current_path(m_previous);
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    CWorkDir(const CWorkDir&) = delete;
    CWorkDir& operator=(const CWorkDir&) = delete;

    const std::filesystem::path& Path() const { return m_path; }

    std::string Write(const std::string& strName, const std::string& strContent) const
    {
        const std::filesystem::path path = m_path / strName;
        std::ofstream(path, std::ios::binary) << strContent;
        return path.string();
    }

    // Every line of every trade log in the directory.
    std::vector<std::string> TradeLogLines() const
    {
        std::vector<std::string> vecLines;
        for (const auto& entry : std::filesystem::directory_iterator(m_path))
        {
            if (entry.path().filename().string().find("TradeDetails.log") == std::string::npos)
                continue;
            std::ifstream in(entry.path(), std::ios::binary);
            for (std::string strLine; std::getline(in, strLine);)
                vecLines.push_back(strLine);
        }
        return vecLines;
    }

private:
    std::filesystem::path m_path;
    std::filesystem::path m_previous;
};

// Bar i of the fixture files: a day after bar i - 1 (from 2020-01-01), open 10 + i, high 12 + i,
// low 9 + i, close 10.5 + i, so every bar's prices tell which bar it is.
inline double FixtureOpen(int i)
{
    return 10.0 + i;
}
inline double FixtureHigh(int i)
{
    return 12.0 + i;
}
inline double FixtureLow(int i)
{
    return 9.0 + i;
}
inline double FixtureClose(int i)
{
    return 10.5 + i;
}
// OLE date of bar i: 2020-01-01 is day 43831.
inline double FixtureDate(int i)
{
    return 43831.0 + i;
}

inline std::string KLineText(int nBars)
{
    std::ostringstream out;
    for (int i = 0; i < nBars; ++i)
    {
        const int nDay = static_cast<int>(FixtureDate(i)) - 43831;
        // Day arithmetic through the C library keeps month lengths right.
        std::tm tmDay = {};
        tmDay.tm_year = 120;
        tmDay.tm_mon = 0;
        tmDay.tm_mday = 1 + nDay;
        tmDay.tm_hour = 12;
        std::mktime(&tmDay);
        out << StringFormat("%04d-%02d-%02d,%.2f,%.2f,%.2f,%.2f,1000\n", tmDay.tm_year + 1900,
                            tmDay.tm_mon + 1, tmDay.tm_mday, FixtureOpen(i), FixtureHigh(i),
                            FixtureLow(i), FixtureClose(i));
    }
    return out.str();
}

// The speed the information field ends with, for the period of the settings.
inline std::string SpeedShown()
{
    return " " + SpeedText(ReplaySettings().m_nRefreshSeconds * 1000);
}

// The information field once a file is loaded.
inline std::string LoadedInfo(const std::string& strPath, int nBars)
{
    return StringFormat("加载:%s; 数据量:(%d);", strPath.c_str(), nBars) + SpeedShown();
}

// The innermost modal window that is running (the main dialog itself when nothing is above it).
inline QWidget* ActiveModal()
{
    return QApplication::activeModalWidget();
}

// A text as the user reads it: without mnemonic marks, and without a menu item's key after its tab.
inline QString Plain(QString strText)
{
    return strText.remove(QLatin1Char('&')).section(QLatin1Char('\t'), 0, 0);
}

// The button of the innermost modal window that shows this text, as the user sees it.
inline QAbstractButton* FindButton(const QString& strText)
{
    QWidget* pModal = ActiveModal();
    if (pModal == nullptr)
        return nullptr;
    for (QAbstractButton* pButton : pModal->findChildren<QAbstractButton*>())
        if (Plain(pButton->text()) == strText && pButton->isVisible())
            return pButton;
    return nullptr;
}

// Presses the button with this text in the innermost modal window, with the mouse.
inline bool ClickButton(const QString& strText)
{
    QAbstractButton* pButton = FindButton(strText);
    if (pButton == nullptr)
        return false;
    QTest::mouseClick(pButton, Qt::LeftButton);
    return true;
}

// Chooses the menu item with this text (mnemonic marks ignored) from the innermost modal window.
inline bool ChooseMenuItem(const QString& strText)
{
    QWidget* pModal = ActiveModal();
    if (pModal == nullptr)
        return false;
    for (QAction* pAction : pModal->findChildren<QAction*>())
        if (!pAction->menu() && Plain(pAction->text()) == strText)
        {
            pAction->trigger();
            return true;
        }
    return false;
}

inline QLineEdit* FindEdit()
{
    QWidget* pModal = ActiveModal();
    return pModal ? pModal->findChild<QLineEdit*>() : nullptr;
}

struct SModalWait
{
    std::function<bool(QWidget*)> match;
    std::function<void(QWidget*)> act;
    QElapsedTimer elapsed;
    int nTimeoutMs = 0;
};

inline void PollModal(const std::shared_ptr<SModalWait>& pWait)
{
    QWidget* pModal = ActiveModal();
    if (pModal != nullptr && pWait->match(pModal))
    {
        pWait->act(pModal);
        return;
    }
    if (pWait->elapsed.elapsed() > pWait->nTimeoutMs)
    {
        ADD_FAILURE() << "the expected modal window never ran";
        if (pModal != nullptr)
            pModal->close();
        return;
    }
    QTimer::singleShot(10, qApp, [pWait]() { PollModal(pWait); });
}

// Runs act on the innermost modal window as soon as one that satisfies match is running, from the
// event loop of that window's DoModal. A window that never comes is a test failure; act is then
// skipped and whatever modal window runs is closed, so no test hangs.
inline void WhenModal(std::function<bool(QWidget*)> match, std::function<void(QWidget*)> act,
                      int nTimeoutMs = 10000)
{
    auto pWait = std::make_shared<SModalWait>();
    pWait->match = std::move(match);
    pWait->act = std::move(act);
    pWait->nTimeoutMs = nTimeoutMs;
    pWait->elapsed.start();
    QTimer::singleShot(0, qApp, [pWait]() { PollModal(pWait); });
}

// Shows the dialog, runs body from its modal loop, then closes it unless body did; answers the
// dialog's result.
inline INT_PTR RunModalDialog(CDialog& dlg, const std::function<void()>& body,
                              bool bBodyEndsDialog = false)
{
    WhenModal([&dlg](QWidget* pWindow) { return pWindow == WidgetFromHwnd(dlg.GetSafeHwnd()); },
              [&](QWidget*)
              {
                  body();
                  if (!bBodyEndsDialog)
                      dlg.EndDialog(IDCANCEL);
              });
    return dlg.DoModal();
}

inline std::function<bool(QWidget*)> TitleIs(const QString& strTitle)
{
    return [strTitle](QWidget* pWindow) { return pWindow->windowTitle() == strTitle; };
}

// Lets the event loop run for a while (real timer ticks arrive meanwhile).
inline void Pump(int nMilliseconds)
{
    CPlatformApp::RunFor(nMilliseconds);
}
