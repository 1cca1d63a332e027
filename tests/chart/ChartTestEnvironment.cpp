// The toolkit for the whole chart test program, made before the first test and taken down after
// the last one inside main(): a QApplication destroyed by exit handlers would outlive parts of
// the toolkit it still refers to (input devices registered by the first shown window).
#include "platform/PlatformApp.h"

#include <gtest/gtest.h>

#include <memory>

namespace
{

class CChartTestEnvironment : public ::testing::Environment
{
public:
    void SetUp() override
    {
        static int s_nArgc = 1;
        static char s_szName[] = "orvanta_chart_tests";
        static char* s_argv[] = {s_szName, nullptr};
        m_pApp = std::make_unique<CPlatformApp>(s_nArgc, s_argv);
    }
    void TearDown() override { m_pApp.reset(); }

private:
    std::unique_ptr<CPlatformApp> m_pApp;
};

[[maybe_unused]] ::testing::Environment* const g_pEnvironment =
    ::testing::AddGlobalTestEnvironment(new CChartTestEnvironment);

} // namespace
