#include "queue/QueueWatch.h"

#include <QFile>
#include <QSocketNotifier>
#include <cerrno>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr uint32_t Mask = IN_CREATE | IN_MODIFY | IN_CLOSE_WRITE | IN_MOVED_TO | IN_MOVED_FROM | IN_DELETE
                          | IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR;

quint64 inodeOf(const QString &folder)
{
    struct stat st = {};
    return ::stat(QFile::encodeName(folder).constData(), &st) == 0 ? quint64(st.st_ino) : 0;
}

} // namespace

QueueWatch::QueueWatch(FileReadiness &readiness, QObject *parent) : QObject(parent), m_readiness(readiness)
{
    m_fd = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (m_fd < 0)
        return;
    m_notifier = new QSocketNotifier(m_fd, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &QueueWatch::drain);
}

QueueWatch::~QueueWatch()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

bool QueueWatch::watch(const QString &folder)
{
    if (m_fd < 0)
        return false;
    const quint64 inode = inodeOf(folder);
    if (m_watch >= 0 && folder == m_folder && inode == m_folderInode)
        return true;
    stop();
    if (inode == 0)
        return false;
    m_watch = ::inotify_add_watch(m_fd, QFile::encodeName(folder).constData(), Mask);
    if (m_watch < 0)
        return false;
    m_folder = folder;
    m_folderInode = inode;
    // What happened before the watch began is unknown: those files settle by time.
    m_readiness.forgetEvents();
    return true;
}

void QueueWatch::stop()
{
    if (m_watch >= 0)
        ::inotify_rm_watch(m_fd, m_watch);
    m_watch = -1;
    m_folderInode = 0;
}

void QueueWatch::drain()
{
    if (m_fd < 0)
        return;
    bool complete = false; // something may now be ready to read
    alignas(inotify_event) char buffer[16384];
    for (;;) {
        const ssize_t got = ::read(m_fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        for (ssize_t at = 0; at < got;) {
            const auto *event = reinterpret_cast<const inotify_event *>(buffer + at);
            at += ssize_t(sizeof(inotify_event) + event->len);
            if (event->mask & IN_Q_OVERFLOW) {
                m_readiness.forgetEvents();
                complete = true;
                continue;
            }
            if (event->mask & (IN_DELETE_SELF | IN_MOVE_SELF | IN_IGNORED)) {
                if (event->wd == m_watch)
                    m_watch = -1; // watched again once the folder is back (watch())
                continue;
            }
            if (event->wd != m_watch || event->len == 0)
                continue;
            const QString name = QFile::decodeName(event->name);
            if (event->mask & (IN_DELETE | IN_MOVED_FROM))
                m_readiness.removed(name);
            else if (event->mask & IN_MOVED_TO)
                m_readiness.renamedInto(name);
            else if (event->mask & IN_CLOSE_WRITE)
                m_readiness.closedAfterWrite(name);
            else if (event->mask & IN_MODIFY)
                m_readiness.written(name);
            // A name linked into the folder (a file made with O_TMPFILE, or a hard link) comes
            // with no close event under that name: a new name alone settles by time.
            else if (event->mask & IN_CREATE)
                m_readiness.removed(name);
            complete = complete || (event->mask & (IN_MOVED_TO | IN_CLOSE_WRITE)) != 0;
        }
    }
    if (complete)
        Q_EMIT changed();
}
