#pragma once

#include <QByteArray>
#include <QList>
#include <QMarginsF>
#include <QPair>
#include <QSizeF>
#include <QString>
#include <QStringList>
#include <optional>

// Print jobs on CUPS queues through the CUPS API. QPrinter hands its spool file to CUPS without
// looking at the answer, so a queue that is stopped or refuses jobs would pass for printed; here
// every answer is checked. The scheduler is CUPS's default one (CUPS_SERVER names another).
namespace CupsQueue {

// CUPS job options, name and value ("media", "A4").
using Options = QList<QPair<QByteArray, QByteArray>>;

// The scheduler's printers ("queue" or "queue/instance"), in its order; empty without a scheduler.
QStringList printers();
// The scheduler's default printer; "" when there is none.
QString defaultPrinter();

// A paper size of a queue and its unprintable margins, in twips.
struct Media
{
    QSizeF size;
    QMarginsF margins;
};
// The queue's default paper; none when the scheduler does not tell.
std::optional<Media> defaultMedia(const QString &printer);
// The queue's paper of `size` (twips), or the nearest it has; none when the scheduler does not tell.
std::optional<Media> mediaFor(const QString &printer, QSizeF size);

// Where the queue prints: its device URI without user name or password ("ipp://server/printers/
// office", "file:///tmp/out.pdf"); "" when the scheduler does not tell.
QString port(const QString &printer);

// Sends a whole PDF document as one job titled `title` to `printer` ("queue" or "queue/instance").
// "" once the scheduler holds the whole job: from then on the job is the spooler's, which keeps it
// through printer faults. Otherwise the reason, for the operator: the queue is missing, stopped
// or not accepting jobs, or the scheduler refused or lost the job (a job it had begun is
// cancelled, so nothing of it prints).
QString submit(const QString &printer, const QString &title, const QByteArray &pdf, const Options &options);

} // namespace CupsQueue
