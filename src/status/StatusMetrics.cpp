#include "status/StatusMetrics.h"

#include "queue/QueueService.h"
#include "status/StatusHealth.h"

namespace {

QByteArray number(double value)
{
    return QByteArray::number(value, 'g', 15);
}

// Seconds since 1970 as a sample value; 0 for a time that has not come yet.
QByteArray unixSeconds(const QDateTime &at)
{
    return at.isValid() ? number(double(at.toMSecsSinceEpoch()) / 1000.0) : QByteArray("0");
}

class Writer
{
public:
    void metric(const char *name, const char *type, const char *help)
    {
        m_text += QByteArray("# HELP ") + name + ' ' + help + "\n# TYPE " + name + ' ' + type + '\n';
    }
    void sample(const QByteArray &name, const QByteArray &value) { m_text += name + ' ' + value + '\n'; }
    void single(const char *name, const char *type, const char *help, const QByteArray &value)
    {
        metric(name, type, help);
        sample(name, value);
    }
    void histogram(const char *name, const char *help, const Histogram &histogram)
    {
        metric(name, "histogram", help);
        const QByteArray base(name);
        for (qsizetype i = 0; i < histogram.bounds.size(); ++i)
            sample(base + "_bucket{le=\"" + number(histogram.bounds[i]) + "\"}",
                   QByteArray::number(histogram.counts.value(i)));
        sample(base + "_bucket{le=\"+Inf\"}", QByteArray::number(histogram.count));
        sample(base + "_sum", number(histogram.sum));
        sample(base + "_count", QByteArray::number(histogram.count));
    }
    QByteArray text() const { return m_text; }

private:
    QByteArray m_text;
};

QByteArray flag(bool on)
{
    return on ? QByteArray("1") : QByteArray("0");
}

} // namespace

namespace StatusMetrics {

QByteArray text(QueueService &service, const QDateTime &now)
{
    const QueueStats &stats = service.stats();
    Writer out;
    out.single("rfstation_orders_saved_total", "counter", "Orders saved as sales orders since the station started.",
               QByteArray::number(stats.saved));
    out.single("rfstation_orders_failed_total", "counter",
               "Attempts that left an order queued with a reason since the station started.",
               QByteArray::number(stats.failed));
    out.single("rfstation_queue_length", "gauge", "Order files waiting in the queue list.",
               QByteArray::number(service.queue()->rowCount()));
    out.single("rfstation_last_save_timestamp_seconds", "gauge",
               "When the last order was saved, in seconds since 1970; 0 before the first save.",
               unixSeconds(stats.lastSaveAt));
    out.single("rfstation_last_pass_timestamp_seconds", "gauge",
               "When the last pass over the queue began, in seconds since 1970; 0 before the first.",
               unixSeconds(stats.lastPassAt));
    out.histogram("rfstation_pickup_latency_seconds",
                  "Seconds from an order file's last change to its saved sales order.", stats.pickupLatency);
    out.histogram("rfstation_pass_duration_seconds", "Seconds one pass over the queue took.", stats.passDuration);
    out.single("rfstation_print_jobs_total", "counter",
               "Copies of new orders handed to the printer since the station started.",
               QByteArray::number(stats.printJobs));
    out.single("rfstation_print_failures_total", "counter", "Of those copies, the ones that did not reach the printer.",
               QByteArray::number(stats.printFailures));
    out.single("rfstation_running", "gauge", "1 while processing runs, 0 while it is stopped.",
               flag(service.running()));
    out.single("rfstation_database_up", "gauge", "1 while the database answers, 0 while it does not.",
               flag(service.databaseProblem().isEmpty()));
    out.single("rfstation_queue_folder_present", "gauge", "1 while the queue folder is there, 0 while it is missing.",
               flag(!service.queueFolderMissing()));
    out.single("rfstation_healthy", "gauge", "1 while /healthz answers 200.",
               flag(StatusHealthProblems(service, now).isEmpty()));
    out.single("rfstation_start_time_seconds", "gauge", "When the station started, in seconds since 1970.",
               unixSeconds(service.startedAt()));
    return out.text();
}

} // namespace StatusMetrics
