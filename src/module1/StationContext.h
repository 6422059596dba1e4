#pragma once

#include <QString>

// Where one station works, handed to what needs it instead of process-wide state: its program
// folder (inside the suite's admodule folder), the suite root above it and the settings files.
struct StationContext
{
    QString programDir; // absolute: the executable's folder, --program-dir or the service's setting
    QString suiteRoot;  // the program folder's path before its "admodule" folder; "" until known
    bool tradeShow = false; // [Access] DBNameShow names an existing file: orders go to the show database

    // The suite's account settings file: tolvaacc.ini at the suite root.
    QString suiteIni() const;
    // The station's own settings file: tolvaprt.ini in the program folder (print list, [Queue],
    // [Status]).
    QString stationIni() const;
    // A folder below the program folder, found without regard to letter case.
    QString folder(const QString &name) const;
};

// The name this station goes by on the network, as a second station is told who holds a queue:
// the machine's host name, or RFSTATION_HOST where that is set (tests run two "hosts" on one
// machine with it).
QString StationHostName();
