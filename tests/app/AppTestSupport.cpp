#include "AppTestSupport.h"

#include "platform/PlatformApp.h"

#include <QDialog>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>

#include <ctime>
#include <list>
#include <memory>
#include <sstream>
#include <unistd.h>

namespace
{

struct SModalWait
{
    std::function<bool(QWidget*)> match;
    std::function<void(QWidget*)> act;
    QElapsedTimer elapsed;
    int nTimeoutMs = 0;
};

// Answers the modal windows tests wait for, and closes any other one with a failure: a test
// never hangs behind a box nobody expected.
class CModalWatch : public QObject
{
public:
    static CModalWatch& Instance()
    {
        static CModalWatch* s_pWatch = new CModalWatch;
        return *s_pWatch;
    }
    void Add(SModalWait wait)
    {
        wait.elapsed.start();
        m_waits.push_back(std::move(wait));
    }
    // A wait left at the end of a test belongs to it: it fails there, not in a later test.
    void ExpectNoneLeft()
    {
        if (!m_waits.empty())
            ADD_FAILURE() << m_waits.size() << " expected modal window(s) never came";
        m_waits.clear();
    }

protected:
    void timerEvent(QTimerEvent*) override
    {
        QWidget* pModal = QApplication::activeModalWidget();
        for (auto it = m_waits.begin(); it != m_waits.end();)
        {
            if (pModal != nullptr && pModal->isVisible() && it->match(pModal))
            {
                // Run from a fresh event: an act that opens a box of its own runs that box's loop,
                // and this timer does not fire again while its own event is being handled.
                QTimer::singleShot(0, pModal,
                                   [act = std::move(it->act), pWindow = QPointer<QWidget>(pModal)]
                                   {
                                       if (pWindow != nullptr)
                                           act(pWindow);
                                   });
                m_waits.erase(it);
                m_unexpected.invalidate();
                return;
            }
            if (it->elapsed.elapsed() > it->nTimeoutMs)
            {
                ADD_FAILURE() << "the expected modal window never came";
                it = m_waits.erase(it);
                continue;
            }
            ++it;
        }
        if (pModal == nullptr)
        {
            m_unexpected.invalidate();
            return;
        }
        if (!m_unexpected.isValid())
            m_unexpected.start();
        else if (m_unexpected.elapsed() > kUnexpectedMs)
        {
            ADD_FAILURE() << "an unexpected modal window: " << pModal->windowTitle().toStdString()
                          << ": " << ModalText(pModal).toStdString();
            m_unexpected.invalidate();
            pModal->close();
        }
    }

private:
    static constexpr int kUnexpectedMs = 3000;
    CModalWatch() { startTimer(10); }
    std::list<SModalWait> m_waits;
    QElapsedTimer m_unexpected;
};

// The toolkit for the whole test program, made before the first test and taken down after the
// last one, inside main(): a QApplication destroyed by exit handlers would outlive parts of the
// toolkit it still refers to.
class CAppTestEnvironment : public ::testing::Environment
{
public:
    void SetUp() override
    {
        static int s_nArgc = 1;
        static char s_szName[] = "orvanta_app_tests";
        static char* s_argv[] = {s_szName, nullptr};
        m_pApp = std::make_unique<CPlatformApp>(s_nArgc, s_argv);
        CModalWatch::Instance();
    }
    void TearDown() override { m_pApp.reset(); }

private:
    std::unique_ptr<CPlatformApp> m_pApp;
};

[[maybe_unused]] ::testing::Environment* const g_pEnvironment =
    ::testing::AddGlobalTestEnvironment(new CAppTestEnvironment);

} // namespace

CWorkDir::CWorkDir()
{
    char szPattern[] = "/tmp/orvanta-app-test-XXXXXX";
    m_path = ::mkdtemp(szPattern);
    m_previous = std::filesystem::current_path();
    std::filesystem::current_path(m_path);
    // The program reads and writes its settings file here, never the user's own.
    if (const char* pszConfig = std::getenv("XDG_CONFIG_HOME"))
    {
        m_bHadConfig = true;
        m_strPreviousConfig = pszConfig;
    }
    ::setenv("XDG_CONFIG_HOME", (m_path / "config").c_str(), 1);
}

CWorkDir::~CWorkDir()
{
    std::filesystem::current_path(m_previous);
    if (m_bHadConfig)
        ::setenv("XDG_CONFIG_HOME", m_strPreviousConfig.c_str(), 1);
    else
        ::unsetenv("XDG_CONFIG_HOME");
    std::error_code ignored;
    std::filesystem::permissions(m_path, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(m_path, ignored);
}

std::string CWorkDir::Write(const std::string& strName, const std::string& strContent) const
{
    const std::filesystem::path path = m_path / strName;
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << strContent;
    return path.string();
}

std::vector<std::string> CWorkDir::TradeLogLines() const
{
    std::vector<std::string> vecLines;
    for (const auto& entry : std::filesystem::directory_iterator(m_path))
    {
        if (entry.path().filename().string().find("TradeDetails.log") == std::string::npos)
            continue;
        std::ifstream in(entry.path(), std::ios::binary);
        for (std::string strLine; std::getline(in, strLine, '\n');)
        {
            if (!strLine.empty() && strLine.back() == '\r')
                strLine.pop_back();
            const std::size_t nStamp = strLine.find(": ");
            vecLines.push_back(nStamp == std::string::npos ? strLine : strLine.substr(nStamp + 2));
        }
    }
    return vecLines;
}

std::string FileText(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string KLineText(int nBars)
{
    std::ostringstream out;
    for (int i = 0; i < nBars; ++i)
    {
        // Day arithmetic through the C library keeps month lengths right.
        std::tm tmDay = {};
        tmDay.tm_year = 120;
        tmDay.tm_mday = 1 + i;
        tmDay.tm_hour = 12;
        std::mktime(&tmDay);
        out << StringFormat("%04d-%02d-%02d,%.2f,%.2f,%.2f,%.2f,1000\n", tmDay.tm_year + 1900,
                            tmDay.tm_mon + 1, tmDay.tm_mday, 10.0 + i, 12.0 + i, 9.0 + i,
                            FixtureClose(i));
    }
    return out.str();
}

QString Plain(QString strText)
{
    return strText.remove(QLatin1Char('&')).section(QLatin1Char('\t'), 0, 0);
}

void WhenModal(std::function<bool(QWidget*)> match, std::function<void(QWidget*)> act,
               int nTimeoutMs)
{
    CModalWatch::Instance().Add({std::move(match), std::move(act), {}, nTimeoutMs});
}

std::function<bool(QWidget*)> TitleIs(const QString& strTitle)
{
    return [strTitle](QWidget* pWindow) { return pWindow->windowTitle() == strTitle; };
}

QString ModalText(QWidget* pModal)
{
    if (auto* pBox = qobject_cast<QMessageBox*>(pModal))
        return pBox->text();
    return {};
}

void WhenFileDialog(const std::string& strPath)
{
    WhenModal([](QWidget* p) { return qobject_cast<QFileDialog*>(p) != nullptr; },
              [strPath](QWidget* pDialog)
              {
                  auto* pName = pDialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
                  ASSERT_NE(pName, nullptr);
                  pName->setText(QString::fromStdString(strPath));
                  QTest::keyClick(pName, Qt::Key_Return);
              });
}

bool ClickButtonIn(QWidget* pWindow, const QString& strText)
{
    for (QAbstractButton* pButton : pWindow->findChildren<QAbstractButton*>())
        if (Plain(pButton->text()) == strText && pButton->isVisible())
        {
            QTest::mouseClick(pButton, Qt::LeftButton);
            return true;
        }
    ADD_FAILURE() << "no button " << strText.toStdString() << " in "
                  << pWindow->windowTitle().toStdString();
    return false;
}

void CMainWindowTest::SetUp()
{
    SetAppLanguage(ELanguage::Chinese);
}

void ExpectNoModalWaitsLeft()
{
    CModalWatch::Instance().ExpectNoneLeft();
}

void CMainWindowTest::TearDown()
{
    ExpectNoModalWaitsLeft();
    if (m_pWindow != nullptr)
    {
        // Closing asks after trades: the window is simply taken down.
        m_pWindow->hide();
        m_pWindow.reset();
    }
    SetAppLanguage(ELanguage::Chinese);
}

COrvantaDlg& CMainWindowTest::Window()
{
    if (m_pWindow == nullptr)
    {
        m_pWindow = std::make_unique<COrvantaDlg>();
        m_pWindow->show();
        Pump();
    }
    return *m_pWindow;
}

void CMainWindowTest::Reopen()
{
    m_pWindow.reset();
    Window();
}

void CMainWindowTest::ReopenWithSettings(const std::string& strSettings)
{
    m_pWindow.reset();
    m_dir.Write("config/orvanta/orvanta.ini", strSettings);
    Window();
}

std::string CMainWindowTest::WriteBars(int nBars, const std::string& strName)
{
    return m_dir.Write(strName, KLineText(nBars));
}

void CMainWindowTest::LoadAtStart(const std::string& strPath, const std::string& strStartDate)
{
    Window().LoadAtStart(strPath, strStartDate);
    Pump();
}

QAction* CMainWindowTest::Action(const QString& strMenuItem)
{
    for (QAction* pAction : Window().findChildren<QAction*>())
        if (!pAction->isSeparator() && pAction->menu() == nullptr &&
            Plain(pAction->text()) == strMenuItem)
            return pAction;
    ADD_FAILURE() << "no menu item " << strMenuItem.toStdString();
    return nullptr;
}

void CMainWindowTest::Trigger(const QString& strMenuItem)
{
    if (QAction* pAction = Action(strMenuItem))
        pAction->trigger();
    Pump();
}

QAbstractButton* CMainWindowTest::Button(const QString& strText)
{
    for (QAbstractButton* pButton : Window().findChildren<QAbstractButton*>())
        if (Plain(pButton->text()) == strText)
            return pButton;
    ADD_FAILURE() << "no button " << strText.toStdString();
    return nullptr;
}

void CMainWindowTest::Click(const QString& strButton)
{
    if (QAbstractButton* pButton = Button(strButton))
        QTest::mouseClick(pButton, Qt::LeftButton);
    Pump();
}

void CMainWindowTest::Key(int nKey, QWidget* pFocus)
{
    QWidget* pTarget = pFocus != nullptr ? pFocus : &Window();
    // The window's keys work only in the active window; a box that was open took that away.
    Window().activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&Window(), 5000));
    pTarget->setFocus();
    QTest::keyClick(pTarget, static_cast<Qt::Key>(nKey));
    Pump();
}

std::string CMainWindowTest::Label(const char* pszName)
{
    auto* pLabel = Window().findChild<QLabel*>(QString::fromLatin1(pszName));
    return pLabel != nullptr ? pLabel->text().toStdString() : std::string("<no label>");
}

std::string CMainWindowTest::Info()
{
    auto* pInfo = Window().findChild<QLineEdit*>(QStringLiteral("info"));
    return pInfo != nullptr ? pInfo->text().toStdString() : std::string("<no info>");
}

QTimer* CMainWindowTest::ReplayTimer()
{
    return Window().findChild<QTimer*>(QStringLiteral("replayTimer"));
}

void CMainWindowTest::Pump(int nMilliseconds)
{
    QApplication::processEvents();
    if (nMilliseconds > 0)
        CPlatformApp::RunFor(nMilliseconds);
    QApplication::processEvents();
}
