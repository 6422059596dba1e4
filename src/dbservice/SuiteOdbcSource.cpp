#include "dbservice/SuiteOdbcSource.h"

OdbcSource SuiteOdbcSource()
{
    const auto part = [](const char *variable, const char *suiteValue) {
        return qEnvironmentVariableIsSet(variable) ? qEnvironmentVariable(variable) : QString::fromLatin1(suiteValue);
    };
    return {part("RFSTATION_ODBC_DSN", "tl2002sql"), part("RFSTATION_ODBC_UID", "administrator"),
            part("RFSTATION_ODBC_PWD", "fern")};
}
