#pragma once

#include "queue/FileReadiness.h"

#include <QObject>
#include <QString>

class QSocketNotifier;

// Watches the queue folder through inotify: tells the readiness of its files what happened to
// them, and signals a change so a scan and a pass can start at once instead of at the next timer.
// On a folder whose changes are not reported (a network mount) nothing arrives and the timers
// carry on alone. Events are also read on demand (drain), so a decision about a file always
// knows every event queued before it.
class QueueWatch : public QObject
{
    Q_OBJECT
public:
    explicit QueueWatch(FileReadiness &readiness, QObject *parent = nullptr);
    ~QueueWatch() override;

    // Watches `folder` from now on (again when it was removed and made anew); does nothing while
    // it is watched already. False when the folder cannot be watched.
    bool watch(const QString &folder);
    bool watching() const { return m_watch >= 0; }
    // Reads the events queued so far; emits changed() when a file became complete.
    void drain();

Q_SIGNALS:
    void changed(); // a file was renamed into the folder or closed after writing

private:
    void stop();

    FileReadiness &m_readiness;
    int m_fd = -1;
    int m_watch = -1;
    QString m_folder;
    quint64 m_folderInode = 0;
    QSocketNotifier *m_notifier = nullptr;
};
