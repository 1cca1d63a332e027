// The toolkit for the whole test program. It is made before the first test and taken down after
// the last one, inside main(): a QApplication destroyed by exit handlers would outlive parts of
// the toolkit it still refers to.
#include "AppTestSupport.h"

namespace
{

class CAppTestEnvironment : public ::testing::Environment
{
public:
    void SetUp() override
    {
        static int s_nArgc = 1;
        static char s_szName[] = "orvanta_app_tests";
        static char* s_argv[] = {s_szName, nullptr};
        // The program reads and writes its settings file; never the user's own.
        char szPattern[] = "/tmp/orvanta-app-config-XXXXXX";
        if (const char* pszDir = ::mkdtemp(szPattern))
            ::setenv("XDG_CONFIG_HOME", pszDir, 1);
        m_pApp = std::make_unique<CPlatformApp>(s_nArgc, s_argv);
        RegisterOrvantaResources();
    }
    void TearDown() override { m_pApp.reset(); }

private:
    std::unique_ptr<CPlatformApp> m_pApp;
};

[[maybe_unused]] ::testing::Environment* const g_pEnvironment =
    ::testing::AddGlobalTestEnvironment(new CAppTestEnvironment);

} // namespace
