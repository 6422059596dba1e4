#pragma once

// The program's exit statuses (also in --help and the README).
namespace ExitStatus {
constexpr int Normal = 0;
constexpr int Database = 1;       // no usable database: no connection, or tables or columns missing
constexpr int Settings = 2;       // settings or folders wrong; no display without --headless
constexpr int StationRunning = 3; // another station holds the program folder
constexpr int NothingPrinted = 4; // rfstation print: no order found, or the print failed
constexpr int CommandLine = 64;
} // namespace ExitStatus
