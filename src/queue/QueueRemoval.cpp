// "Delete Selected Order Queue": the operator takes an order out of the queue. Its two files are
// moved to <program folder>/ordremoved, never deleted, so a removal can be undone by hand.

#include "queue/frmTerminalMain.h"

#include "module1/Module1.h"
#include "queue/QueueFiles.h"
#include "widgets/SpreadGrid.h"

#include <QDir>
#include <QFileInfo>

void frmTerminalMain::btnRemove_Click()
{
    try {
        const int selected = fQue->selectedRow();
        if (selected == 0) {
            ShowErrorMessage(2);
            return;
        }
        const QString name = fQue->text(2, selected);
        const QString key = name.toUpper();
        const QString busy = QStringLiteral("The order %1 is being converted now and cannot be removed.").arg(name);
        if (key == mConvertingName) {
            ShowMessage(busy, QStringLiteral("KVR"), MessageIcon::Information, this);
            return;
        }
        if (!AskYesNo(QStringLiteral("Remove the order %1 from the queue?\nIts files are moved to the folder "
                                     "\"ordremoved\"; no sales order is made from it.")
                          .arg(name),
                      QStringLiteral("KVR"), this))
            return;
        // The question let window events run: a pass may have converted or taken up the row.
        if (key == mConvertingName) {
            ShowMessage(busy, QStringLiteral("KVR"), MessageIcon::Information, this);
            return;
        }
        const int row = QueueRowOf(key, selected);
        if (row == 0)
            return;

        QString error;
        const QString removed = RemovedFolder();
        if (!EnsureFolder(removed, &error)) {
            ShowMessage(QStringLiteral("The order %1 was not removed: %2").arg(name, error), QStringLiteral("KVR"),
                        MessageIcon::Exclamation, this);
            return;
        }
        const QDir queue(QueueFolder());
        const QDir target(removed);
        const QString infoName = QFileInfo(ChildPath(queue.path(), InfoFileName(name))).fileName();
        const QString base = OrderBaseName(name);
        const QString orderSuffix = name.mid(base.size());
        const QString infoSuffix = infoName.mid(base.size());
        const QString stem = FreeStem(removed, base, {orderSuffix, infoSuffix});

        const QString orderPath = queue.filePath(name);
        if (QFileInfo::exists(orderPath) && !MoveFileTo(orderPath, target.filePath(stem + orderSuffix), &error)) {
            ShowMessage(QStringLiteral("The order %1 was not removed: %2").arg(name, error), QStringLiteral("KVR"),
                        MessageIcon::Exclamation, this);
            return;
        }
        const QString infoPath = queue.filePath(infoName);
        QString infoError;
        if (QFileInfo::exists(infoPath))
            MoveFileTo(infoPath, target.filePath(stem + infoSuffix), &infoError);

        fQue->deleteRow(row);
        mInfoRead.remove(key);
        mLoggedFailure.remove(key);
        LogLine(QStringLiteral("Order %1 removed from the queue into %2").arg(name, QDir::toNativeSeparators(removed)));
        if (!infoError.isEmpty())
            ShowMessage(QStringLiteral("The order %1 was removed, but its info file stayed in the queue folder: %2")
                            .arg(name, infoError),
                        QStringLiteral("KVR"), MessageIcon::Exclamation, this);
    } catch (const std::exception &e) {
        ShowMessage(QStringLiteral("The order was not removed: %1").arg(QString::fromStdString(e.what())),
                    QStringLiteral("KVR"), MessageIcon::Exclamation, this);
    }
}
