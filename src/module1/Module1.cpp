#include "module1/Module1.h"

#include <QDateTime>
#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>


QString LoadResMessage(long code, const QString &argument)
{
    QString message;
    switch (code) {
    case 3000:
        message = QStringLiteral("No sales order to print for order number %. Check the order numbers "
                                 "(or that new orders exist) and try again.");
        break;
    case 5000:
        message = QStringLiteral("At most 100 sales orders print in one run. The run stops before order "
                                 "%; print the remaining orders in another run.");
        break;
    default:
        return {};
    }
    const int at = message.indexOf('%');
    if (!argument.isEmpty() && at >= 0)
        message = message.left(at) + argument + message.mid(at + 1);
    return message;
}

namespace {

MessagePresenter *presenter = nullptr;

} // namespace

void SetMessagePresenter(MessagePresenter *messagePresenter)
{
    presenter = messagePresenter;
}

bool OperatorPresent()
{
    return presenter != nullptr;
}

void ShowErrorMessage(int kind, const QString &errorDescription)
{
    if (presenter)
        presenter->beep();
    const QString title = QStringLiteral("KVR");
    switch (kind) {
    case 1:
        ShowMessage("Error ! " + errorDescription + " Press OK to Continue ...", title, MessageIcon::Exclamation);
        break;
    case 2:
        ShowMessage(QStringLiteral("No record selected !"), title, MessageIcon::Information);
        break;
    case 3:
        ShowMessage("Error occured! Error Msg: " + errorDescription
                        + ". Cancel this transaction then try again!",
                    title, MessageIcon::Critical);
        break;
    case 4:
        ShowMessage("Error Msg: " + errorDescription + " Please try again after few seconds..", title,
                    MessageIcon::Critical);
        break;
    case 5:
        ShowMessage(QStringLiteral("Cannot display detail information! Source Form is in use!"), title,
                    MessageIcon::None);
        break;
    default:
        break;
    }
}

void ShowMessage(const QString &text, const QString &title, MessageIcon icon, QObject *parent)
{
    if (presenter) {
        presenter->show(text, title, icon, parent);
        return;
    }
    LogLine(title + ": " + text, icon == MessageIcon::Critical      ? LogPriority::Error
                                 : icon == MessageIcon::Exclamation ? LogPriority::Warning
                                                                    : LogPriority::Info);
}

namespace {

// systemd names the journal stream it connects to standard error in JOURNAL_STREAM ("dev:inode");
// standard error redirected elsewhere keeps the variable but not the file.
bool stderrIsJournal()
{
    static const bool journal = [] {
        const QList<QByteArray> parts = qgetenv("JOURNAL_STREAM").split(':');
        struct stat info = {};
        if (parts.size() != 2 || ::fstat(STDERR_FILENO, &info) != 0)
            return false;
        bool devOk = false, inodeOk = false;
        const qulonglong dev = parts[0].toULongLong(&devOk);
        const qulonglong inode = parts[1].toULongLong(&inodeOk);
        return devOk && inodeOk && dev == qulonglong(info.st_dev) && inode == qulonglong(info.st_ino);
    }();
    return journal;
}

} // namespace

void LogLine(const QString &text, LogPriority priority)
{
    QString line;
    if (stderrIsJournal()) {
        // The journal takes each line as an entry of its own: each gets the prefix.
        const QString prefix = QStringLiteral("<%1>").arg(int(priority));
        line = prefix + QString(text).replace(QLatin1Char('\n'), QLatin1Char('\n') + prefix) + '\n';
    } else {
        line = QDateTime::currentDateTime().toString(Qt::ISODate) + ' ' + text + '\n';
    }
    std::fputs(line.toLocal8Bit().constData(), stderr);
    std::fflush(stderr);
}

bool AskYesNo(const QString &text, const QString &title, QObject *parent)
{
    return presenter && presenter->ask(text, title, parent);
}
