#pragma once

#include <QDateTime>
#include <QList>
#include <QString>

// Counts of a running station for its status page and its metrics: seconds in buckets, as a
// monitoring system reads them (each bucket counts the observations up to its bound).
struct Histogram
{
    QList<double> bounds; // upper bounds in seconds, ascending; +Inf is implied
    QList<quint64> counts; // per bound, cumulative
    quint64 count = 0;
    double sum = 0;

    explicit Histogram(QList<double> upperBounds = {});
    void observe(double seconds);
};

// What the queue service has done since it started.
struct QueueStats
{
    quint64 saved = 0;         // orders saved
    quint64 failed = 0;        // attempts that left an order queued with a reason
    quint64 printJobs = 0;     // copies handed to the printer by the automatic hand-off
    quint64 printFailures = 0; // of those, the ones that did not reach it
    QDateTime lastPassAt;      // when the last pass over the queue began (a pass runs every cadence)
    QDateTime lastSaveAt;
    QString lastSaveFile, lastSaveOrder;
    QDateTime lastFailureAt;
    QString lastFailureFile, lastFailureReason;
    // Seconds from an order file's last change (its writer done) to its committed sales order.
    Histogram pickupLatency{{0.01, 0.025, 0.05, 0.1, 0.25, 0.5, 1, 2.5, 5, 10, 30, 60}};
    // Seconds one pass took.
    Histogram passDuration{{0.005, 0.01, 0.025, 0.05, 0.1, 0.25, 0.5, 1, 2.5, 5, 10, 30}};
};
