// The last step of a saved order: the automatic print list and the printed copies.

#include "queue/frmTerminalMain.h"

#include "module1/Module1.h"
#include "module1/PrintStation.h"
#include "runtime/PrivateProfile.h"
#include "widgets/SpreadGrid.h"
#include "runtime/VbFormat.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <limits>

namespace {

constexpr int ColPrintStatus = 6;

// Adds a problem to the done row's "Print Status", after what it holds already.
void addPrintStatus(SpreadGrid *done, int row, const QString &text)
{
    const QString current = done->text(ColPrintStatus, row);
    done->setText(ColPrintStatus, row, current.isEmpty() ? text : current + QStringLiteral("; ") + text);
}

// Appends one entry to [AutoSoPrint] List of tolvaprt.ini, unless the list holds it already (the
// hand-off of an order saved before a restart may have listed it). The list only grows; it is
// read back whole (not through the 255-character settings buffer) so that no earlier entry is
// cut off.
bool appendToPrintList(const QString &entry, QString *error)
{
    const QString file = QDir(gProgramDir).filePath(QStringLiteral("tolvaprt.ini"));
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

void frmTerminalMain::AutoPrintOrder(const QString &soNo, const QString &printText, int doneRow)
{
    try {
        if (vb::Val(printText) > 0) {
            QString error;
            const bool written = appendToPrintList(soNo + '|' + printText + '|', &error);
            QCoreApplication::processEvents();
            if (written)
                addPrintStatus(fDone, doneRow, QStringLiteral("Processed"));
            else
                addPrintStatus(fDone, doneRow, QStringLiteral("print list not written: ") + error);
        }
    } catch (const std::exception &e) {
        addPrintStatus(fDone, doneRow, QStringLiteral("print list not written: ") + QString::fromStdString(e.what()));
    }

    if (!mPrintStation)
        return;
    try {
        mPrintStation->setRange(soNo, soNo);
        const double copies = vb::roundHalfAway(vb::Val(txtDefQty->text()), 0);
        for (int copy = 1; copy <= copies; ++copy) {
            QCoreApplication::processEvents();
            const QString failure = mPrintStation->Print_So(0, soNo, soNo);
            if (!failure.isEmpty()) {
                // One failure is enough: the next copies would go to the same printer.
                addPrintStatus(fDone, doneRow, QStringLiteral("print failed: ") + failure);
                if (gHeadless)
                    LogLine(QStringLiteral("Sales order %1 not printed: %2").arg(soNo, failure), LogPriority::Error);
                break;
            }
        }
    } catch (const std::exception &e) {
        addPrintStatus(fDone, doneRow, QStringLiteral("print failed: ") + QString::fromStdString(e.what()));
    }
}
