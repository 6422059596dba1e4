#pragma once

// Shared state behind the Connection and Recordset handles; private to the platform layer.

#include "Recordset.h"
#include "SqlDialect.h"

#include <QHash>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStringList>
#include <QVector>
#include <memory>

struct ConnectionData
{
    QString name; // the QSqlDatabase connection name, unique per Connection
    SqlBackend backend = SqlBackend::Sqlite;
    bool open = false;
    bool inTransaction = false;

    // A save writes the same few statements for every order: keeping them prepared, and the
    // tables' keys looked up once, halves its cost.
    QHash<QString, QStringList> primaryKeys;
    QHash<QString, QSqlQuery> preparedStatements;

    ~ConnectionData();
    QSqlDatabase database() const { return QSqlDatabase::database(name, false); }
    QStringList primaryKey(const QString &table);
    // Runs a statement with positional values, prepared once per connection; rows affected.
    int runPrepared(const QString &statement, const QVariantList &bindings);
    // Converts a value for binding: the embedded backend keeps dates, times and money as texts
    // and numbers; ODBC drivers take Qt's own types.
    QVariant bindable(const QVariant &value) const;
};

struct RecordsetData
{
    enum class Kind { FreeStanding, Snapshot, Updatable, Table };
    enum class Edit { None, Adding, Changing };

    Kind kind = Kind::FreeStanding;
    bool open = false;

    QVector<FieldInfo> fields;
    QHash<QString, int> fieldByName; // lower-cased name -> index

    QVector<QVector<QVariant>> rows;
    QVector<QVector<QVariant>> originals; // as read, for the WHERE of updates and deletes
    int pos = -1;                         // -1 before the first row, rows.size() after the last
    bool onDeletedRow = false;

    Edit edit = Edit::None;
    QVector<QVariant> buffer;
    QVector<bool> changed;

    // Source of updatable and table sets.
    std::shared_ptr<ConnectionData> connection;
    QString table;
    QStringList keyColumns; // primary key; empty = match on every original value
    QStringList indexColumns;
    bool tableLoaded = true;
    bool noMatch = false;

    void addField(const FieldInfo &info);
    int indexOf(const QString &name) const;
    int requireField(const QString &name) const;
    bool hasCurrentRow() const;
    const QVector<QVariant> &currentValues() const;
    void loadTable();
    void flushEdit();
    void insertBuffer();
    void updateCurrentRow();
    void deleteRowFromSource(int row);
    QString whereForRow(const QVector<QVariant> &original, QVariantList &bindings) const;
};

// Fills a record set from an executed query: fields from its record, every row.
void fillFromQuery(RecordsetData &data, class QSqlQuery &query);
