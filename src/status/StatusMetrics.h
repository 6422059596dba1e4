#pragma once

#include <QByteArray>
#include <QDateTime>

class QueueService;

// What /metrics answers: the station's counts in the Prometheus text format (version 0.0.4),
// every name prefixed rfstation_, units in the names (seconds). The README lists them.
namespace StatusMetrics {

inline constexpr const char *ContentType = "text/plain; version=0.0.4; charset=utf-8";

QByteArray text(QueueService &service, const QDateTime &now);

} // namespace StatusMetrics
