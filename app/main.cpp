#include "app/CommandLine.h"
#include "app/Language.h"
#include "app/OrvantaApp.h"

#include <QApplication>

#include <cstdio>

namespace
{

// Help or version text that could not be written, say to a full disk, is a failure.
int ExitAfterPrinting()
{
    if (std::fflush(stdout) != 0 || std::ferror(stdout) != 0)
    {
        std::perror("orvanta: standard output");
        return 1;
    }
    return 0;
}

} // namespace

// orvanta [FILE]: FILE is loaded at start as if it had been chosen in the file dialog.
int main(int argc, char** argv)
{
    // Answered before the toolkit starts, so they work without a display.
    const SCommandLine commandLine = ParseCommandLine(argc, argv);
    switch (commandLine.eAction)
    {
    case ECommandAction::ShowHelp:
        std::fputs(CommandLineUsage(), stdout);
        return ExitAfterPrinting();
    case ECommandAction::ShowVersion:
        std::printf("%s\n", CommandLineVersion().c_str());
        return ExitAfterPrinting();
    case ECommandAction::Refuse:
        std::fprintf(stderr, "orvanta: %s\n%s", commandLine.strError.c_str(), CommandLineUsage());
        return kCommandLineUsageError;
    case ECommandAction::Run:
        break;
    }

    SetAppLanguage(commandLine.language.value_or(LanguageFromEnvironment()));
    // Every argument is ours, so the toolkit sees only the program name: a file named like one
    // of its own options must not change the window.
    int nToolkitArgc = 1;
    QApplication application(nToolkitArgc, argv);
    COrvantaApp app;
    app.m_strStartFile = commandLine.strStartFile;
    app.m_strStartDate = commandLine.strStartDate;
    return app.InitInstance();
}
