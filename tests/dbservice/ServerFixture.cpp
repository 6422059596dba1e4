#include "ServerFixture.h"

#include "Module1.h"

#include <QFile>
#include <sqlite3.h>

void ServerTest::SetUp()
{
    gProgramDir = suite.programDir();
    gTradeShow = false;
    startServer();
}

void ServerTest::TearDown()
{
    gServer = nullptr;
    m_server.reset();
    gTradeShow = false;
}

void ServerTest::startServer()
{
    gServer = nullptr;
    m_server.reset();
    m_server = std::make_unique<clsServer>();
    gServer = m_server.get();
}

QString ServerTest::contents(const QStringList &tables) const
{
    sqlite3 *db = nullptr;
    if (sqlite3_open_v2(QFile::encodeName(suite.databasePath()).constData(), &db, SQLITE_OPEN_READONLY,
                        nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        ADD_FAILURE() << "cannot open the suite database";
        return {};
    }
    QString text;
    for (const QString &table : tables) {
        text += "[" + table + "]\n";
        sqlite3_stmt *stmt = nullptr;
        const QByteArray sql = ("SELECT * FROM " + table + " ORDER BY 1, 2, 3").toUtf8();
        if (sqlite3_prepare_v2(db, sql.constData(), -1, &stmt, nullptr) != SQLITE_OK) {
            ADD_FAILURE() << "cannot read table " << table.toStdString();
            continue;
        }
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            for (int i = 0; i < sqlite3_column_count(stmt); ++i) {
                const auto *value = reinterpret_cast<const char *>(sqlite3_column_text(stmt, i));
                text += (value ? QString::fromUtf8(value) : QStringLiteral("<null>")) + "|";
            }
            text += "\n";
        }
        sqlite3_finalize(stmt);
    }
    sqlite3_close(db);
    return text;
}
