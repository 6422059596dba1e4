#include "module1/StationContext.h"

#include "runtime/SharedRoutines.h"

#include <QDir>
#include <QSysInfo>

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

QString StationHostName()
{
    const QString override = qEnvironmentVariable("RFSTATION_HOST");
    return override.isEmpty() ? QSysInfo::machineHostName() : override;
}
