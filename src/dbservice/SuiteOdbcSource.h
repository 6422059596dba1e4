#pragma once

#include "sqlaccess/Connection.h"

// The suite's ODBC data source for database type 1: "tl2002sql", user "administrator", password
// "fern", the connection "DSN=tl2002sql;uid=administrator;pwd=fern". The environment variables
// RFSTATION_ODBC_DSN, RFSTATION_ODBC_UID and RFSTATION_ODBC_PWD each replace their part, for a site
// with other credentials and for tests; set but empty, the data source's own value in odbc.ini
// applies. RFSTATION_ODBC_DSN may also be a whole connection text ("DSN=site;UID=...;PWD=...",
// "DRIVER={...};SERVER=..."): a user or password it names wins over the other two variables.
OdbcSource SuiteOdbcSource();
