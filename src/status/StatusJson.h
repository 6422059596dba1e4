#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QJsonObject>

class QueueService;

// What /api/status answers: the station as its main window shows it (the README lists the
// fields). Lists hold the newest MaxDoneRows saves and the first MaxQueueRows queued orders;
// their full lengths are given beside them.
namespace StatusJson {

constexpr int MaxQueueRows = 500;
constexpr int MaxDoneRows = 100;

QJsonObject status(QueueService &service, const QString &tokenFile, const QDateTime &now);

// A time as JSON: ISO 8601 in UTC with milliseconds ("2026-03-01T09:30:00.125Z"), null when none.
QJsonValue time(const QDateTime &at);

// Compact JSON text in which "<", ">" and "&" are written as \u escapes: a value from an order
// file or the database (a customer named "<script>") reads as text wherever the answer ends up,
// even in a page that would take it for HTML. JSON has those characters only inside strings, so
// the escapes change no value.
QByteArray bytes(const QJsonObject &object);

} // namespace StatusJson
