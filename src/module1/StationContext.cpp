#include "module1/StationContext.h"

#include "runtime/SharedRoutines.h"

#include <QDir>

QString StationContext::suiteIni() const
{
    return ChildPath(suiteRoot, QStringLiteral("tolvaacc.ini"));
}

QString StationContext::stationIni() const
{
    return QDir(programDir).filePath(QStringLiteral("tolvaprt.ini"));
}

QString StationContext::folder(const QString &name) const
{
    return ChildPath(programDir, name);
}
