#pragma once

#include "app/Language.h"

#include <optional>
#include <string>

// What the command line asks of the program. Help, version and refusals are answered before the
// toolkit starts, so they need no display.
enum class ECommandAction
{
    Run,         // start the main dialog, with strStartFile loaded if it is not empty
    ShowHelp,    // print CommandLineUsage() on standard output, exit 0
    ShowVersion, // print CommandLineVersion() on standard output, exit 0
    Refuse       // print strError and the usage on standard error, exit 2
};

struct SCommandLine
{
    ECommandAction eAction = ECommandAction::Run;
    std::string strStartFile; // the K-line file to load at start; empty = none
    std::string strError;     // why the line was refused, without the program name
    std::string strStartDate =
        {}; // --start: the practice starts at this YYYY-MM-DD; empty = first bar
    std::optional<ELanguage> language = {}; // --lang; nothing = as the locale says
};

// Options act in the order given: the first of --help, --version or an unknown option decides.
// "--" ends the options, so a FILE that begins with '-' can follow it.
SCommandLine ParseCommandLine(int argc, const char* const* argv);

// The text --help prints, ending in a newline.
const char* CommandLineUsage();

// "orvanta <version>", without a newline.
std::string CommandLineVersion();

// Status a refused command line ends the program with, as usual for usage errors.
constexpr int kCommandLineUsageError = 2;
