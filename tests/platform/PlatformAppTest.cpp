// Tools end cleanly with their toolkit in a static: the test runs the probe program to its exit
// and reads its exit code and error output.
#include <QProcess>
#include <gtest/gtest.h>

namespace
{

struct SExit
{
    bool bNormal = false;
    int nCode = -1;
    QString strErrors;
};

SExit RunProbe(const char* pszMode)
{
    QProcess probe;
    probe.start(QStringLiteral(ORVANTA_EXIT_PROBE), {QString::fromLatin1(pszMode)});
    SExit result;
    if (!probe.waitForFinished(60000))
        return result;
    result.bNormal = probe.exitStatus() == QProcess::NormalExit;
    result.nCode = probe.exitCode();
    result.strErrors = QString::fromUtf8(probe.readAllStandardError());
    return result;
}

TEST(PlatformAppTest, AStaticToolkitEndsCleanlyAtExit)
{
    const SExit exit = RunProbe("static");
    EXPECT_TRUE(exit.bNormal);
    EXPECT_EQ(exit.nCode, 0) << exit.strErrors.toStdString();
    EXPECT_FALSE(exit.strErrors.contains(QStringLiteral("Sanitizer")))
        << exit.strErrors.toStdString();
}

} // namespace
