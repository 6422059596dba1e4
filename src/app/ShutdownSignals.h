#pragma once

#include <QObject>

class QSocketNotifier;

// Turns SIGTERM and SIGINT into a Qt signal on the event loop: a signal handler may do almost
// nothing, so it only writes a byte into a pipe that the loop watches.
//
// In the windowed program a signal first closes (rejects) every modal dialog that is open: a
// start-up message, the folder chooser, a question. Whatever waits for one goes on as if it had
// been cancelled, so nothing waits for a person while the program is being stopped.
class ShutdownSignals : public QObject
{
    Q_OBJECT
public:
    explicit ShutdownSignals(QObject *parent = nullptr);
    ~ShutdownSignals() override;

    // A signal has come: the program is being stopped.
    bool arrived() const { return m_arrived; }

Q_SIGNALS:
    void received();

private:
    QSocketNotifier *m_notifier = nullptr;
    bool m_arrived = false;
};
