#pragma once

#include "status/PrintSelection.h"

#include <QString>

// rfstation [--program-dir DIR] [--headless] [--print-qty N] [--status-listen ADDR:PORT]
//           [--help] [--version]
// rfstation print --program-dir DIR (--all-new | --from SO --to SO)
//           [--picking-sheets [--sheet full|changed|both]] [--printer NAME] [--copies N]
struct CommandLine
{
    QString programDir; // empty: RFSTATION_PROGRAM_DIR, else the executable's folder
    bool headless = false;
    QString printQty;   // null: the window's own default
    QString statusListen; // "": [Status] Listen= of tolvaprt.ini, else no status page
    bool help = false;
    bool version = false;
    bool qtPlatformGiven = false; // Qt's own -platform option
    QString error;      // not empty: the command line is wrong

    // The print subcommand: orders printed without a station (PrintCommand).
    bool print = false;
    PrintSelection printSelection;

    static CommandLine parse(int argc, char *argv[]);
    static QString usage();
};
