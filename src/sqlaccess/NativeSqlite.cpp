// Prepared statements of the embedded database through SQLite's own interface, on the handle
// Qt's driver opened: values are bound, and rows read, exactly as Qt's driver does it, without its
// cost per value.

#include "sqlaccess/internal/DatabaseInternals.h"

#include <QSqlDriver>
#include <QSqlError>
#include <QTime>
#include <cstring>
#include <sqlite3.h>

namespace {

DbError sqliteError(sqlite3 *db)
{
    return dbErrorFromSql(QSqlError(QStringLiteral("Unable to execute statement"),
                                    QString::fromUtf8(sqlite3_errmsg(db)), QSqlError::StatementError,
                                    QString::number(sqlite3_extended_errcode(db))));
}

// Qt's test of a value to bind as NULL.
bool isNullValue(const QVariant &value)
{
    if (value.isNull())
        return true;
    switch (value.metaType().id()) {
    case QMetaType::QString: return static_cast<const QString *>(value.constData())->isNull();
    case QMetaType::QByteArray: return static_cast<const QByteArray *>(value.constData())->isNull();
    default: return false;
    }
}

int bindText(sqlite3_stmt *statement, int at, const QString &text)
{
    return sqlite3_bind_text16(statement, at, text.constData(), int(text.size() * sizeof(QChar)), SQLITE_TRANSIENT);
}

int bind(sqlite3_stmt *statement, int at, const QVariant &value)
{
    if (isNullValue(value))
        return sqlite3_bind_null(statement, at);
    switch (value.metaType().id()) {
    case QMetaType::QByteArray: {
        const QByteArray bytes = value.toByteArray();
        return sqlite3_bind_blob(statement, at, bytes.constData(), int(bytes.size()), SQLITE_TRANSIENT);
    }
    case QMetaType::Int:
    case QMetaType::Bool: return sqlite3_bind_int(statement, at, value.toInt());
    case QMetaType::Double: return sqlite3_bind_double(statement, at, value.toDouble());
    case QMetaType::UInt:
    case QMetaType::LongLong: return sqlite3_bind_int64(statement, at, value.toLongLong());
    case QMetaType::QDateTime: return bindText(statement, at, value.toDateTime().toString(Qt::ISODateWithMs));
    case QMetaType::QTime: return bindText(statement, at, value.toTime().toString(QStringLiteral("hh:mm:ss.zzz")));
    case QMetaType::QString: return bindText(statement, at, *static_cast<const QString *>(value.constData()));
    default: return bindText(statement, at, value.toString());
    }
}

QVariant columnValue(sqlite3_stmt *statement, int column)
{
    switch (sqlite3_column_type(statement, column)) {
    case SQLITE_INTEGER: return qlonglong(sqlite3_column_int64(statement, column));
    case SQLITE_FLOAT: return sqlite3_column_double(statement, column);
    case SQLITE_NULL: return {};
    case SQLITE_BLOB:
        return QByteArray(static_cast<const char *>(sqlite3_column_blob(statement, column)),
                          sqlite3_column_bytes(statement, column));
    default:
        return QString(static_cast<const QChar *>(sqlite3_column_text16(statement, column)),
                       sqlite3_column_bytes16(statement, column) / int(sizeof(QChar)));
    }
}

FieldType fieldTypeOf(int sqliteType)
{
    switch (sqliteType) {
    case SQLITE_INTEGER: return FieldType::BigInt;
    case SQLITE_FLOAT: return FieldType::Double;
    case SQLITE_TEXT: return FieldType::Text;
    default: return FieldType::Variant;
    }
}

} // namespace

sqlite3 *sharedSqliteHandle(const QSqlDatabase &db)
{
    const QVariant handle = db.driver()->handle();
    if (!handle.isValid() || std::strcmp(handle.typeName(), "sqlite3*") != 0)
        return nullptr;
    sqlite3 *shared = *static_cast<sqlite3 *const *>(handle.constData());
    // A driver built with a copy of SQLite of its own keeps its handles to itself.
    QSqlQuery version(db);
    if (!shared || !version.exec(QStringLiteral("SELECT sqlite_source_id()")) || !version.next()
        || version.value(0).toString() != QString::fromLatin1(sqlite3_sourceid()))
        return nullptr;
    return shared;
}

std::shared_ptr<sqlite3_stmt> prepareNative(sqlite3 *db, const QString &translated)
{
    sqlite3_stmt *statement = nullptr;
    if (sqlite3_prepare16_v3(db, translated.constData(), int(translated.size() * sizeof(QChar)),
                             SQLITE_PREPARE_PERSISTENT, &statement, nullptr)
        != SQLITE_OK) {
        const DbError error = sqliteError(db);
        sqlite3_finalize(statement);
        throw error;
    }
    return std::shared_ptr<sqlite3_stmt>(statement, sqlite3_finalize);
}

int runNative(sqlite3 *db, sqlite3_stmt *statement, const QVariantList &bindings, RecordsetData *into)
{
    for (int i = 0; i < bindings.size(); ++i) {
        if (bind(statement, i + 1, bindings[i]) != SQLITE_OK) {
            const DbError error = sqliteError(db);
            sqlite3_reset(statement);
            throw error;
        }
    }
    int step = SQLITE_ROW;
    const int columns = sqlite3_column_count(statement);
    while ((step = sqlite3_step(statement)) == SQLITE_ROW) {
        if (!into)
            continue;
        if (into->fields.isEmpty())
            for (int c = 0; c < columns; ++c) {
                FieldInfo info;
                info.name = QString::fromUtf8(sqlite3_column_name(statement, c));
                info.type = fieldTypeOf(sqlite3_column_type(statement, c));
                into->addField(info);
            }
        QVector<QVariant> row(into->fields.size());
        for (int c = 0; c < columns && c < row.size(); ++c)
            row[c] = columnValue(statement, c);
        into->rows.append(std::move(row));
    }
    if (step != SQLITE_DONE) {
        const DbError error = sqliteError(db);
        sqlite3_reset(statement);
        throw error;
    }
    const int affected = sqlite3_changes(db);
    sqlite3_reset(statement);
    if (into) {
        if (into->fields.isEmpty())
            for (int c = 0; c < columns; ++c)
                into->addField({QString::fromUtf8(sqlite3_column_name(statement, c)), FieldType::Variant, 0});
        into->open = true;
        into->pos = into->rows.isEmpty() ? -1 : 0;
    }
    return affected;
}
