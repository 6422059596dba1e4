#pragma once

#include <QObject>

class QueueService;

// What the main window shows of the queue service, as log lines for a station without windows:
// the start, every saved order, every order that stays queued (again only when its reason
// changes), archive and print failures, and the stop.
class QueueLog : public QObject
{
    Q_OBJECT
public:
    explicit QueueLog(QueueService &service, QObject *parent = nullptr);
    // The line that says the station runs: its mode, its database and its queue folder.
    void started();

private:
    QueueService &m_service;
};
