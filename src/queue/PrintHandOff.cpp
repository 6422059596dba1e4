// The last step of a saved order: the automatic print list and the printed copies.

#include "queue/QueueService.h"

#include "module1/Module1.h"
#include "module1/PrintStation.h"
#include "runtime/PrivateProfile.h"
#include "runtime/VbFormat.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <limits>

namespace {

// Appends one entry to [AutoSoPrint] List of tolvaprt.ini, unless the list holds it already (the
// hand-off of an order saved before a restart may have listed it). The list only grows; it is
// read back whole (not through the 255-character settings buffer) so that no earlier entry is
// cut off.
bool appendToPrintList(const QString &file, const QString &entry, QString *error)
{
    if (QFile::exists(file)) {
        QFile probe(file);
        if (!probe.open(QIODevice::ReadOnly)) {
            *error = QStringLiteral("cannot read %1: %2").arg(QDir::toNativeSeparators(file), probe.errorString());
            return false;
        }
    }
    const QString section = QStringLiteral("AutoSoPrint");
    const QString key = QStringLiteral("List");
    const QString list =
        PrivateProfile::readString(section, key, QString(), file, std::numeric_limits<int>::max());
    // Entries end in "|" and hold "|" once inside: one starts the list or follows another's end.
    if (list.startsWith(entry) || list.contains('|' + entry))
        return true;
    return PrivateProfile::writeString(section, key, list + entry, file, error);
}

} // namespace

void QueueService::AutoPrintOrder(const QString &soNo, const QString &printText, int doneRow)
{
    try {
        if (vb::Val(printText) > 0) {
            QString error;
            const bool written = appendToPrintList(m_context.stationIni(), soNo + '|' + printText + '|', &error);
            QCoreApplication::processEvents();
            m_done.addPrintStatus(doneRow, written ? QStringLiteral("Processed")
                                                  : QStringLiteral("print list not written: ") + error);
        }
    } catch (const std::exception &e) {
        m_done.addPrintStatus(doneRow, QStringLiteral("print list not written: ") + QString::fromLocal8Bit(e.what()));
    }

    if (!m_printStation)
        return;
    try {
        m_printStation->setRange(soNo, soNo);
        const double copies = vb::roundHalfAway(vb::Val(m_defaultPrintQty), 0);
        for (int copy = 1; copy <= copies; ++copy) {
            QCoreApplication::processEvents();
            const QString failure = m_printStation->Print_So(0, soNo, soNo);
            if (!failure.isEmpty()) {
                // One failure is enough: the next copies would go to the same printer.
                m_done.addPrintStatus(doneRow, QStringLiteral("print failed: ") + failure);
                Q_EMIT printFailed(soNo, failure);
                break;
            }
        }
    } catch (const std::exception &e) {
        const QString failure = QString::fromLocal8Bit(e.what());
        m_done.addPrintStatus(doneRow, QStringLiteral("print failed: ") + failure);
        Q_EMIT printFailed(soNo, failure);
    }
}
