#pragma once

struct CommandLine;

// rfstation print: the print window's dispatch without a window, for scripts and cron. Prints
// the command line's selection in the suite's layout style on a QGuiApplication of Qt's minimal
// platform (no window, no display), takes no lock (a station may be running on the same folder)
// and logs one line per print job on standard error. Returns the exit status: 0 printed, 1 no
// database, 2 settings wrong or the printer not offered, 4 nothing (or not every copy) printed;
// the reason is on standard error.
int RunPrintCommand(const CommandLine &options, int &argc, char *argv[]);
