#include "queue/QueueServiceFixture.h"

#include "module1/Module1.h"

#include <QDir>

void QueueServiceTest::SetUp()
{
    suite = std::make_unique<TempSuite>(TempSuite::Data::Demo);
    startService();
}

void QueueServiceTest::startService()
{
    service.reset();
    m_pages = {};
    service = std::make_unique<QueueService>(suite->programDir());
    ASSERT_EQ(service->start(), 0);
    service->setImmediatePickup(false);
    for (QTimer *timer : {service->scanTimer(), service->passTimer()}) {
        timer->stop();
        timer->setInterval(24 * 3600 * 1000);
    }
    QObject::connect(service.get(), &QueueService::conversionStarted,
                     [this](int terminal) { m_pages.at(terminal - 1).lines.clear(); });
    QObject::connect(service.get(), &QueueService::lineDrafted,
                     [this](int terminal, const DraftLine &line) { m_pages.at(terminal - 1).lines.append(line); });
    QObject::connect(service.get(), &QueueService::orderSaved, [this](const QueueService::SavedOrder &order) {
        m_pages.at(order.terminal - 1).invNo = order.soNo;
        m_pages.at(order.terminal - 1).billToName = order.billToName;
        m_pages.at(order.terminal - 1).total = order.total;
    });
    QObject::connect(service.get(), &QueueService::saveFailed, [this](int terminal, const QString &billToName) {
        m_pages.at(terminal - 1).invNo = QStringLiteral("**ERROR**");
        m_pages.at(terminal - 1).billToName = billToName;
    });
}

void QueueServiceTest::TearDown()
{
    service.reset();
}

void QueueServiceTest::dropOrder(const QString &name, const QStringList &lines, const QString &custNo)
{
    const QString queue = QStringLiteral("admodule/OrdQueue/");
    if (!custNo.isNull())
        suite->writeFile(queue + name.chopped(4) + "info.crd",
                         ("[Customer]\r\nNumber=" + custNo + "\r\nName=Customer " + custNo + "\r\n").toLatin1());
    suite->writeFile(queue + name, lines.isEmpty() ? QByteArray() : (lines.join("\r\n") + "\r\n").toLatin1());
}

QString QueueServiceTest::que(int col, int row) const
{
    QueueModel *model = service->queue();
    return model->data(model->index(row - 1, col - 1)).toString();
}

QString QueueServiceTest::done(int col, int row) const
{
    DoneModel *model = service->done();
    return model->data(model->index(row - 1, col - 1)).toString();
}

int QueueServiceTest::queRows() const
{
    return service->queue()->rowCount();
}

QStringList QueueServiceTest::files(const QString &folder) const
{
    return QDir(suite->programDir() + "/" + folder).entryList(QDir::Files, QDir::Name);
}

DuringConversion::DuringConversion(QueueService *service, int terminal, std::function<void()> action)
{
    QObject::connect(service, &QueueService::lineDrafted, &m_timer, [this, terminal](int drafted) {
        if (drafted == terminal && !m_done)
            m_armed = true;
    });
    m_timer.setInterval(0);
    QObject::connect(&m_timer, &QTimer::timeout, [this, service, action = std::move(action)] {
        if (m_done || !m_armed || !service->passRunning())
            return;
        m_done = true;
        action();
    });
    m_timer.start();
}
