#pragma once

#include <QByteArray>
#include <QDeadlineTimer>
#include <QProcess>
#include <QProcessEnvironment>
#include <functional>
#include <signal.h>

// The real program, started headless on a program folder (or with the arguments given); what it
// writes to standard output and standard error is gathered in `log`.
struct Station
{
    Station(const QString &programDir, int printQty,
            const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment(),
            const QStringList &moreArguments = {})
        : Station(QStringList{"--headless", "--program-dir", programDir, "--print-qty", QString::number(printQty)}
                      + moreArguments,
                  environment)
    {
    }
    Station(const QStringList &arguments, const QProcessEnvironment &environment)
    {
        process.setProcessEnvironment(environment);
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(QStringLiteral(RFSTATION_EXECUTABLE), arguments);
        process.waitForStarted(30000);
    }

    // Reads what the program writes for at most `ms` milliseconds.
    void read(int ms)
    {
        process.waitForReadyRead(ms);
        log += process.readAll();
    }
    // Waits until `condition` holds, looking again whenever the program writes and at least every
    // quarter second; false at the deadline or once the program has ended.
    bool waitFor(const std::function<bool()> &condition, int seconds = 90)
    {
        const QDeadlineTimer deadline(seconds * 1000);
        while (!condition()) {
            if (deadline.hasExpired() || process.state() != QProcess::Running)
                return false;
            read(250);
        }
        return true;
    }
    // Ends the program with SIGTERM, as the service manager does; its exit code, -1 when it did
    // not end normally within a minute.
    int stop()
    {
        if (process.processId() > 0)
            ::kill(pid_t(process.processId()), SIGTERM);
        const bool ended = process.waitForFinished(60000);
        log += process.readAll();
        return ended && process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    }

    QProcess process;
    QByteArray log;
};
