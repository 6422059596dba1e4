#include "printui/ModalRunner.h"

#include "module1/Module1.h"

#include <QDialog>

namespace ModalRunner {

namespace {

Runner &customRunner()
{
    static Runner runner;
    return runner;
}

} // namespace

int exec(QDialog &dialog)
{
    if (customRunner())
        return customRunner()(dialog);
    if (!OperatorPresent()) {
        LogLine(QStringLiteral("%1: not shown, nobody is there to close it").arg(dialog.windowTitle().trimmed()));
        return QDialog::Rejected;
    }
    return dialog.exec();
}

void setRunner(Runner runner)
{
    customRunner() = std::move(runner);
}

} // namespace ModalRunner
