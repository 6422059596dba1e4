#pragma once

#include <QHostAddress>
#include <QString>
#include <optional>

// Where the status page listens: "ADDR:PORT", ADDR an IPv4 address, an IPv6 address in brackets
// ("[::1]") or "localhost" (127.0.0.1), PORT 1 to 65535.
struct StatusListen
{
    QHostAddress address;
    quint16 port = 0;

    // As written in a URL: "127.0.0.1:8631", "[::1]:8631".
    QString text() const;

    // std::nullopt, with *error saying why, when `text` is not of that form.
    static std::optional<StatusListen> parse(const QString &text, QString *error);
};

// The status page's setting: the command line's --status-listen when given, else [Status]
// Listen= of the station's settings file (tolvaprt.ini). "" leaves the page off.
QString StatusListenSetting(const QString &commandLineValue, const QString &stationIni);
