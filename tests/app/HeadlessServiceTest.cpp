// The real program as systemd runs it (Type=notify, WatchdogSec, standard error into the
// journal): ready once connected, watchdog pings from the polling cycle, stopping on SIGTERM,
// and log lines with the journal's priority prefixes instead of timestamps.

#include "support/TempSuite.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

// The service manager's end of the notify socket.
class NotifySocket
{
public:
    explicit NotifySocket(const QString &path) : m_path(path.toLocal8Bit())
    {
        m_fd = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        sockaddr_un address = {};
        address.sun_family = AF_UNIX;
        ::strncpy(address.sun_path, m_path.constData(), sizeof(address.sun_path) - 1);
        m_bound = m_fd >= 0 && ::bind(m_fd, reinterpret_cast<sockaddr *>(&address), sizeof(address)) == 0;
    }
    ~NotifySocket() { ::close(m_fd); }
    bool bound() const { return m_bound; }
    QByteArray path() const { return m_path; }
    // The messages that arrive within `ms` milliseconds, one per datagram.
    QList<QByteArray> receive(int ms)
    {
        QList<QByteArray> messages;
        pollfd ready = {m_fd, POLLIN, 0};
        while (::poll(&ready, 1, ms) > 0) {
            char buffer[4096];
            const ssize_t size = ::recv(m_fd, buffer, sizeof(buffer), 0);
            if (size > 0)
                messages << QByteArray(buffer, int(size));
            ms = 0;
        }
        return messages;
    }

private:
    QByteArray m_path;
    int m_fd = -1;
    bool m_bound = false;
};

} // namespace

TEST(HeadlessService, NotifiesTheServiceManagerAndLogsForTheJournal)
{
    TempSuite suite(TempSuite::Data::Demo);
    const QDir samples(QStringLiteral(RFSTATION_SOURCE_DIR "/schema/demo-orders"));
    for (const char *name : {"A1T6Ainfo.crd", "A1T6A.ord"}) // item ZZ-999 does not exist: a warning
        ASSERT_TRUE(QFile::copy(samples.filePath(name), suite.queueDir() + "/" + name));
    QTemporaryDir runtime;
    NotifySocket notify(runtime.filePath("notify"));
    ASSERT_TRUE(notify.bound());

    QProcess station;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("NOTIFY_SOCKET", QString::fromLocal8Bit(notify.path()));
    env.insert("WATCHDOG_USEC", "1000000");
    env.insert("RFSTATION_PROGRAM_DIR", suite.programDir());
    station.setProcessEnvironment(env);
    station.setProcessChannelMode(QProcess::MergedChannels);
    // systemd names the stream it connects to standard error; here that is QProcess's pipe.
    station.start("sh", {"-c", "JOURNAL_STREAM=$(stat -L -c %d:%i /proc/self/fd/2) exec \"$0\" --headless --print-qty 0",
                         RFSTATION_EXECUTABLE});
    ASSERT_TRUE(station.waitForStarted(30000));

    QList<QByteArray> messages;
    QByteArray log;
    const QDeadlineTimer deadline(90 * 1000);
    // Ready, then pings from the polling cycle, which by then has tried the order.
    while (messages.count("WATCHDOG=1") < 3 || !log.contains("A1T6A.ord")) {
        ASSERT_FALSE(deadline.hasExpired()) << log.toStdString();
        ASSERT_EQ(station.state(), QProcess::Running) << log.toStdString();
        station.waitForReadyRead(100);
        log += station.readAll();
        messages += notify.receive(100);
    }
    ASSERT_FALSE(messages.isEmpty());
    EXPECT_TRUE(messages.first().startsWith("READY=1\nSTATUS=Watching " + suite.programDir().toLocal8Bit()))
        << messages.first().toStdString();

    ::kill(pid_t(station.processId()), SIGTERM);
    ASSERT_TRUE(station.waitForFinished(60000));
    log += station.readAll();
    messages += notify.receive(0);
    EXPECT_EQ(station.exitCode(), 0) << log.toStdString();
    EXPECT_TRUE(messages.last().startsWith("STOPPING=1")) << messages.last().toStdString();

    const QStringList lines = QString::fromLocal8Bit(log).split('\n', Qt::SkipEmptyParts);
    ASSERT_FALSE(lines.isEmpty());
    for (const QString &line : lines) {
        EXPECT_TRUE(QRegularExpression("^<[346]>").match(line).hasMatch()) << line.toStdString();
        EXPECT_FALSE(QRegularExpression("\\d{4}-\\d\\d-\\d\\dT\\d\\d:").match(line).hasMatch()) << line.toStdString();
    }
    EXPECT_EQ(lines.filter(QRegularExpression("^<4>Order A1T6A.ord not saved")).size(), 1) << log.toStdString();
    EXPECT_EQ(lines.filter(QRegularExpression("^<6>.*connected to")).size(), 1) << log.toStdString();
}
