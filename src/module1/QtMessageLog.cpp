#include "module1/QtMessageLog.h"

#include "module1/Module1.h"
#include "sqlaccess/ConnectionText.h"

#include <QString>
#include <QtGlobal>

namespace {

bool isNoise(QtMsgType type, const QString &message)
{
    return type == QtDebugMsg || message.startsWith(QLatin1String("This plugin does not support"))
        || message.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR not set"));
}

void logQtMessage(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (isNoise(type, message))
        return;
    const LogPriority priority = type == QtInfoMsg    ? LogPriority::Info
                               : type == QtWarningMsg ? LogPriority::Warning
                                                      : LogPriority::Error;
    // A driver quotes the server's words over several lines: one log line each message.
    LogLine(MaskConnectionSecrets(qFormatLogMessage(type, context, message)).simplified(), priority);
}

} // namespace

void InstallQtMessageLog()
{
    qInstallMessageHandler(logQtMessage);
}
