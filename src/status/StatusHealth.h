#pragma once

#include <QDateTime>
#include <QStringList>

class QueueService;

// Whether the station works: started, processing, connected to its database, its queue folder
// there, and cycling (a pass began within two cadences, or one is running now). Empty when it
// does; otherwise each reason it does not, in words for an operator.
QStringList StatusHealthProblems(const QueueService &service, const QDateTime &now);
