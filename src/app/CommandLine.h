#pragma once

#include <QString>

// rfstation [--program-dir DIR] [--headless] [--print-qty N] [--help] [--version]
struct CommandLine
{
    QString programDir; // empty: RFSTATION_PROGRAM_DIR, else the executable's folder
    bool headless = false;
    QString printQty;   // null: the window's own default
    bool help = false;
    bool version = false;
    bool qtPlatformGiven = false; // Qt's own -platform option
    QString error;      // not empty: the command line is wrong

    static CommandLine parse(int argc, char *argv[]);
    static QString usage();
};
