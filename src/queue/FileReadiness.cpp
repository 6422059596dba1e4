#include "queue/FileReadiness.h"

#include <QDateTime>
#include <algorithm>

FileReadiness::FileReadiness(Clock clock) : m_clock(std::move(clock))
{
    if (!m_clock)
        m_clock = [] { return QDateTime::currentMSecsSinceEpoch(); };
}

void FileReadiness::written(const QString &name)
{
    m_seen[name.toUpper()].event = Event::Writing;
}

void FileReadiness::closedAfterWrite(const QString &name)
{
    m_seen[name.toUpper()].event = Event::Complete;
}

void FileReadiness::renamedInto(const QString &name)
{
    // A new file under this name: what was seen of the old one does not count.
    m_seen.insert(name.toUpper(), Seen{Event::Complete, {}, -1, 0});
}

void FileReadiness::removed(const QString &name)
{
    m_seen.remove(name.toUpper());
}

void FileReadiness::forgetEvents()
{
    for (Seen &seen : m_seen)
        seen.event = Event::None;
}

void FileReadiness::retain(const QSet<QString> &names)
{
    for (auto it = m_seen.begin(); it != m_seen.end();)
        it = names.contains(it.key()) ? std::next(it) : m_seen.erase(it);
}

FileReadiness::Verdict FileReadiness::check(const QString &name, const FileStamp &stamp)
{
    const qint64 now = m_clock();
    Seen &seen = m_seen[name.toUpper()];
    if (seen.lookedAtMs >= 0 && seen.stamp != stamp)
        seen.changedAfterMs = seen.lookedAtMs;
    seen.stamp = stamp;
    seen.lookedAtMs = now;

    switch (seen.event) {
    case Event::Complete:
        return {true, 0, {}};
    case Event::Writing:
        return {false, 0, QStringLiteral("still open for writing")};
    case Event::None:
        break;
    }
    const qint64 lastChange = std::max(std::min(stamp.modifiedMs, now), seen.changedAfterMs);
    const qint64 settledAt = lastChange + m_settleMs;
    if (now >= settledAt)
        return {true, 0, {}, true};
    return {false, settledAt, QStringLiteral("changed less than %1 s ago").arg(double(m_settleMs) / 1000)};
}
