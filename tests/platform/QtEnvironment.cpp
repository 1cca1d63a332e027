// One application object for the whole test run; windows and fonts need it.
#include <QApplication>
#include <gtest/gtest.h>

namespace
{

class QtEnvironment : public ::testing::Environment
{
public:
    void SetUp() override
    {
        static int s_argc = 1;
        static char s_name[] = "orvanta_platform_tests";
        static char* s_argv[] = {s_name, nullptr};
        m_pApp = new QApplication(s_argc, s_argv);
    }
    void TearDown() override
    {
        delete m_pApp;
        m_pApp = nullptr;
    }

private:
    QApplication* m_pApp = nullptr;
};

[[maybe_unused]] ::testing::Environment* const g_pEnvironment =
    ::testing::AddGlobalTestEnvironment(new QtEnvironment);

} // namespace
