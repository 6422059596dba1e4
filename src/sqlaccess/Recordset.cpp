#include "sqlaccess/Recordset.h"

#include "sqlaccess/Connection.h"
#include "sqlaccess/internal/DatabaseInternals.h"
#include "runtime/VbFormat.h"

#include <QSqlError>
#include <QSqlField>
#include <QSqlQuery>
#include <QSqlRecord>
#include <cmath>

namespace {

FieldType fieldTypeOf(QMetaType type)
{
    switch (type.id()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Short:
    case QMetaType::UShort:
        return FieldType::Integer;
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        return FieldType::BigInt;
    case QMetaType::Double:
    case QMetaType::Float:
        return FieldType::Double;
    case QMetaType::Bool:
        return FieldType::Boolean;
    case QMetaType::QDate:
    case QMetaType::QDateTime:
        return FieldType::Date;
    case QMetaType::QTime:
        return FieldType::Time;
    case QMetaType::QString:
        return FieldType::Text;
    default:
        return FieldType::Variant;
    }
}

[[noreturn]] void typeMismatch(const QString &field, const QVariant &value)
{
    throw DbError(DbError::TypeMismatch,
                  QStringLiteral("Type mismatch: \"%1\" is not a valid value for field \"%2\"")
                      .arg(value.toString(), field));
}

// Whole numbers the way the suite's integer fields take them: halves to the even neighbour.
std::optional<qint64> wholeNumberOf(const QVariant &value)
{
    const auto n = vb::toNumber(value);
    if (!n || !std::isfinite(*n) || std::fabs(*n) > 9.2e18)
        return std::nullopt;
    return qint64(std::nearbyint(*n));
}

} // namespace

// ---------------------------------------------------------------- RecordsetData

void RecordsetData::addField(const FieldInfo &info)
{
    const QString lower = info.name.toLower();
    // A second field of the same name in another case is the one every spelling finds from now on.
    if (const auto earlier = fieldByName.constFind(lower); earlier != fieldByName.constEnd()) {
        const int previous = *earlier;
        fieldBySpelling.removeIf(
            [previous](const QHash<QString, int>::iterator &it) { return it.value() == previous; });
    }
    fieldByName.insert(lower, fields.size());
    fieldBySpelling.insert(info.name, fields.size());
    fields.append(info);
}

int RecordsetData::indexOf(const QString &name) const
{
    // Most callers spell a field as it was made: found without lower-casing the name.
    const auto spelled = fieldBySpelling.constFind(name);
    return spelled != fieldBySpelling.constEnd() ? *spelled : fieldByName.value(name.toLower(), -1);
}

int RecordsetData::requireField(const QString &name) const
{
    const int index = indexOf(name);
    if (index < 0)
        throw DbError(DbError::UnknownField,
                      QStringLiteral("Item cannot be found in the collection: no field \"%1\"").arg(name));
    return index;
}

bool RecordsetData::hasCurrentRow() const
{
    return edit == Edit::Adding || (!onDeletedRow && pos >= 0 && pos < rows.size());
}

const QVector<QVariant> &RecordsetData::currentValues() const
{
    if (edit != Edit::None)
        return buffer;
    if (!hasCurrentRow())
        throw DbError(DbError::NoCurrentRow, QStringLiteral("No current record"));
    return rows[pos];
}

void fillFromQuery(RecordsetData &data, QSqlQuery &query)
{
    const QSqlRecord record = query.record();
    if (data.fields.isEmpty()) {
        for (int i = 0; i < record.count(); ++i) {
            FieldInfo info;
            info.name = record.fieldName(i);
            info.type = fieldTypeOf(record.field(i).metaType());
            data.addField(info);
        }
    }
    // The query's own columns may be a subset or another order than the set's fields.
    QVector<int> target(record.count());
    for (int i = 0; i < record.count(); ++i)
        target[i] = data.indexOf(record.fieldName(i));
    data.rows.clear();
    while (query.next()) {
        QVector<QVariant> row(data.fields.size());
        for (int i = 0; i < record.count(); ++i) {
            if (target[i] >= 0) {
                const QVariant v = query.value(i);
                row[target[i]] = v.isNull() ? QVariant() : v;
            }
        }
        data.rows.append(std::move(row));
    }
    if (query.lastError().isValid())
        throw dbErrorFromSql(query.lastError());
    query.finish();
    data.open = true;
    data.pos = data.rows.isEmpty() ? -1 : 0;
}

void RecordsetData::loadTable()
{
    if (tableLoaded)
        return;
    QString statement = QStringLiteral("SELECT * FROM [%1]").arg(table);
    if (!indexColumns.isEmpty()) {
        QStringList order;
        for (const QString &c : indexColumns)
            order << QStringLiteral("[%1]").arg(c);
        statement += QStringLiteral(" ORDER BY ") + order.join(", ");
    }
    const QString translated = translateSql(statement, connection->backend);
    connection->withReconnect([&] {
        QSqlQuery q = connection->exec(translated);
        fillFromQuery(*this, q);
    });
    originals = rows;
    tableLoaded = true;
    noMatch = false;
}

QString RecordsetData::whereForRow(const QVector<QVariant> &original, QVariantList &bindings) const
{
    QStringList parts;
    const auto addCondition = [&](int index) {
        const QVariant &v = original[index];
        if (Recordset::isNullValue(v)) {
            parts << QStringLiteral("[%1] IS NULL").arg(fields[index].name);
        } else {
            parts << QStringLiteral("[%1] = ?").arg(fields[index].name);
            bindings << connection->bindable(v);
        }
    };
    if (!keyColumns.isEmpty()) {
        for (const QString &column : keyColumns)
            addCondition(requireField(column));
    } else {
        for (int i = 0; i < fields.size(); ++i)
            addCondition(i);
    }
    return parts.join(QStringLiteral(" AND "));
}


void RecordsetData::insertBuffer()
{
    if (kind != Kind::FreeStanding) {
        QStringList columns, marks;
        QVariantList bindings;
        for (int i = 0; i < fields.size(); ++i) {
            if (!changed[i])
                continue;
            columns << QStringLiteral("[%1]").arg(fields[i].name);
            marks << QStringLiteral("?");
            bindings << connection->bindable(buffer[i]);
        }
        const QString statement =
            columns.isEmpty() ? QStringLiteral("INSERT INTO [%1] DEFAULT VALUES").arg(table)
                              : QStringLiteral("INSERT INTO [%1] (%2) VALUES (%3)")
                                    .arg(table, columns.join(", "), marks.join(", "));
        connection->runPrepared(statement, bindings);
    }
    rows.append(buffer);
    originals.append(buffer);
    pos = rows.size() - 1;
}

void RecordsetData::updateCurrentRow()
{
    if (kind != Kind::FreeStanding) {
        QStringList assignments;
        QVariantList bindings;
        for (int i = 0; i < fields.size(); ++i) {
            if (!changed[i])
                continue;
            assignments << QStringLiteral("[%1] = ?").arg(fields[i].name);
            bindings << connection->bindable(buffer[i]);
        }
        if (!assignments.isEmpty()) {
            const QString where = whereForRow(originals[pos], bindings);
            const int affected = connection->runPrepared(
                QStringLiteral("UPDATE [%1] SET %2 WHERE %3").arg(table, assignments.join(", "), where),
                bindings);
            if (affected == 0)
                throw DbError(DbError::RowChanged,
                              QStringLiteral("The row of table \"%1\" was changed or deleted by another "
                                             "user since it was read; nothing was updated")
                                  .arg(table));
        }
        originals[pos] = buffer;
    }
    rows[pos] = buffer;
}

void RecordsetData::deleteRowFromSource(int row)
{
    if (kind == Kind::FreeStanding)
        return;
    QVariantList bindings;
    const QString where = whereForRow(originals[row], bindings);
    // Without a key several identical rows may match; exactly one of them goes.
    const QString statement = keyColumns.isEmpty() ? deleteOneRow(table, where, connection->backend)
                                                   : QStringLiteral("DELETE FROM [%1] WHERE %2").arg(table, where);
    if (connection->runPrepared(statement, bindings) == 0)
        throw DbError(DbError::RowChanged,
                      QStringLiteral("The row of table \"%1\" was changed or deleted by another user "
                                     "since it was read; nothing was deleted")
                          .arg(table));
}

void RecordsetData::flushEdit()
{
    if (edit == Edit::None)
        return;
    if (kind == Kind::Snapshot)
        throw DbError(DbError::NotUpdatable, QStringLiteral("The record set cannot be updated"));
    if (edit == Edit::Adding)
        insertBuffer();
    else
        updateCurrentRow();
    edit = Edit::None;
    buffer.clear();
    changed.clear();
}

// ---------------------------------------------------------------- Recordset

Recordset::Recordset() : d(std::make_shared<RecordsetData>()) {}

void Recordset::appendField(const QString &name, FieldType type, int size)
{
    if (d->open)
        throw DbError(DbError::InvalidOperation,
                      QStringLiteral("Fields cannot be appended to an open record set"));
    if (name.trimmed().isEmpty() || d->indexOf(name) >= 0)
        throw DbError(DbError::InvalidOperation,
                      QStringLiteral("Cannot append field \"%1\": empty or duplicate name").arg(name));
    d->addField(FieldInfo{name, type, size});
}

void Recordset::open()
{
    if (d->open)
        throw DbError(DbError::InvalidOperation, QStringLiteral("The record set is already open"));
    if (d->fields.isEmpty())
        throw DbError(DbError::InvalidOperation, QStringLiteral("A record set needs fields to open"));
    d->open = true;
    d->rows.clear();
    d->pos = -1;
}

bool Recordset::isOpen() const
{
    return d->open;
}

void Recordset::close()
{
    d->edit = RecordsetData::Edit::None;
    d->buffer.clear();
    d->changed.clear();
    d->rows.clear();
    d->originals.clear();
    d->pos = -1;
    d->open = false;
    d->connection.reset();
}

int Recordset::fieldCount() const
{
    return d->fields.size();
}

const FieldInfo &Recordset::field(int index) const
{
    if (index < 0 || index >= d->fields.size())
        throw DbError(DbError::UnknownField, QStringLiteral("No field number %1").arg(index));
    return d->fields[index];
}

int Recordset::fieldIndex(const QString &name) const
{
    return d->indexOf(name);
}

int Recordset::recordCount() const
{
    d->loadTable();
    return d->rows.size();
}

bool Recordset::bof() const
{
    if (d->edit == RecordsetData::Edit::Adding)
        return false;
    d->loadTable();
    return d->rows.isEmpty() || d->pos < 0;
}

bool Recordset::eof() const
{
    if (d->edit == RecordsetData::Edit::Adding)
        return false;
    d->loadTable();
    return d->rows.isEmpty() || d->pos >= d->rows.size();
}

void Recordset::moveFirst()
{
    d->flushEdit();
    d->loadTable();
    d->onDeletedRow = false;
    d->pos = d->rows.isEmpty() ? -1 : 0;
}

void Recordset::moveLast()
{
    d->flushEdit();
    d->loadTable();
    d->onDeletedRow = false;
    d->pos = d->rows.size() - 1;
}

void Recordset::moveNext()
{
    d->flushEdit();
    d->loadTable();
    if (d->onDeletedRow) {
        d->onDeletedRow = false; // the gap already points at the next row
        return;
    }
    if (d->pos >= d->rows.size())
        throw DbError(DbError::NoCurrentRow, QStringLiteral("Cannot move past the end of the record set"));
    ++d->pos;
}

void Recordset::movePrevious()
{
    d->flushEdit();
    d->loadTable();
    d->onDeletedRow = false;
    if (d->pos < 0)
        throw DbError(DbError::NoCurrentRow, QStringLiteral("Cannot move before the start of the record set"));
    --d->pos;
}

QVariant Recordset::value(const QString &field) const
{
    return value(d->requireField(field));
}

QVariant Recordset::value(int index) const
{
    d->loadTable();
    const QVector<QVariant> &row = d->currentValues();
    if (index < 0 || index >= row.size())
        throw DbError(DbError::UnknownField, QStringLiteral("No field number %1").arg(index));
    return row[index];
}

bool Recordset::isNull(const QString &field) const
{
    return isNullValue(value(field));
}

QString Recordset::text(const QString &field) const
{
    const QVariant v = value(field);
    if (isNullValue(v))
        return {};
    switch (v.metaType().id()) {
    case QMetaType::Double:
    case QMetaType::Float:
        return QString::number(v.toDouble(), 'g', 15);
    case QMetaType::Bool:
        return v.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    case QMetaType::QDate:
        return v.toDate().toString(QStringLiteral("M/d/yyyy"));
    case QMetaType::QDateTime:
        return v.toDateTime().toString(QStringLiteral("M/d/yyyy h:mm:ss"));
    case QMetaType::QTime:
        return v.toTime().toString(QStringLiteral("h:mm:ss"));
    default:
        if (v.metaType().id() == qMetaTypeId<Currency>())
            return v.value<Currency>().toString();
        return v.toString();
    }
}

double Recordset::number(const QString &field) const
{
    const QVariant v = value(field);
    if (isNullValue(v))
        return 0.0;
    const auto n = vb::toNumber(v);
    if (!n)
        typeMismatch(field, v);
    return *n;
}

Currency Recordset::money(const QString &field) const
{
    const QVariant v = value(field);
    if (v.metaType().id() == qMetaTypeId<Currency>())
        return v.value<Currency>();
    return Currency::fromDouble(number(field));
}

QVariant Recordset::coerce(const QVariant &value, FieldType type)
{
    if (isNullValue(value))
        return QVariant();
    switch (type) {
    case FieldType::Variant:
        return value;
    case FieldType::Text:
        if (value.metaType().id() == QMetaType::Double)
            return QString::number(value.toDouble(), 'g', 15);
        if (value.metaType().id() == qMetaTypeId<Currency>())
            return value.value<Currency>().toString();
        if (value.metaType().id() == QMetaType::Bool)
            return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
        return value.toString();
    case FieldType::Currency: {
        if (value.metaType().id() == qMetaTypeId<Currency>())
            return value;
        const auto n = vb::toNumber(value);
        return n ? QVariant::fromValue(Currency::fromDouble(*n)) : QVariant();
    }
    case FieldType::Double: {
        const auto n = vb::toNumber(value);
        return n ? QVariant(*n) : QVariant();
    }
    case FieldType::Integer: {
        const auto n = wholeNumberOf(value);
        return n && *n >= INT_MIN && *n <= INT_MAX ? QVariant(int(*n)) : QVariant();
    }
    case FieldType::BigInt: {
        const auto n = wholeNumberOf(value);
        return n ? QVariant(qlonglong(*n)) : QVariant();
    }
    case FieldType::Boolean: {
        if (value.metaType().id() == QMetaType::Bool)
            return value;
        const QString t = value.toString().trimmed();
        if (t.compare(QStringLiteral("true"), Qt::CaseInsensitive) == 0)
            return true;
        if (t.compare(QStringLiteral("false"), Qt::CaseInsensitive) == 0)
            return false;
        const auto n = vb::toNumber(value);
        return n ? QVariant(*n != 0.0) : QVariant();
    }
    case FieldType::Date: {
        if (value.metaType().id() == QMetaType::QDate)
            return value;
        const auto when = vb::toDateTime(value);
        if (!when)
            return QVariant();
        if (when->time() == QTime(0, 0))
            return when->date();
        return *when;
    }
    case FieldType::Time: {
        if (value.metaType().id() == QMetaType::QTime)
            return value;
        if (value.metaType().id() == QMetaType::QDateTime)
            return value.toDateTime().time();
        const QString t = value.toString().trimmed();
        for (const char *pattern : {"h:m:s", "h:m", "hh:mm:ss", "h:m:s AP", "h:m AP"}) {
            const QTime time = QTime::fromString(t, QString::fromLatin1(pattern));
            if (time.isValid())
                return time;
        }
        const auto when = vb::toDateTime(value);
        return when ? QVariant(when->time()) : QVariant();
    }
    }
    return value;
}

void Recordset::setValue(const QString &field, const QVariant &value)
{
    const int index = d->requireField(field);
    if (d->kind == RecordsetData::Kind::Snapshot)
        throw DbError(DbError::NotUpdatable, QStringLiteral("The record set cannot be updated"));
    d->loadTable();
    if (d->edit == RecordsetData::Edit::None) {
        if (!d->hasCurrentRow())
            throw DbError(DbError::NoCurrentRow, QStringLiteral("No current record"));
        d->edit = RecordsetData::Edit::Changing;
        d->buffer = d->rows[d->pos];
        d->changed = QVector<bool>(d->fields.size(), false);
    }
    const FieldInfo &info = d->fields[index];
    QVariant stored = value;
    if (d->kind == RecordsetData::Kind::FreeStanding) {
        stored = coerce(value, info.type);
        if (isNullValue(stored) && !isNullValue(value))
            typeMismatch(info.name, value);
        if (info.type == FieldType::Text && info.size > 0 && stored.toString().size() > info.size)
            throw DbError(DbError::ValueTooLong,
                          QStringLiteral("The value \"%1\" is too long for field \"%2\" (at most %3 "
                                         "characters)")
                              .arg(stored.toString(), info.name)
                              .arg(info.size));
    }
    d->buffer[index] = stored;
    d->changed[index] = true;
}

void Recordset::addNew()
{
    if (!d->open)
        throw DbError(DbError::InvalidOperation, QStringLiteral("The record set is not open"));
    if (d->kind == RecordsetData::Kind::Snapshot)
        throw DbError(DbError::NotUpdatable, QStringLiteral("The record set cannot be updated"));
    d->flushEdit();
    d->loadTable();
    d->edit = RecordsetData::Edit::Adding;
    d->buffer = QVector<QVariant>(d->fields.size());
    d->changed = QVector<bool>(d->fields.size(), false);
    d->onDeletedRow = false;
}

void Recordset::update()
{
    // A refused row stays pending, so the caller may correct or cancel it.
    d->flushEdit();
}

void Recordset::cancelUpdate()
{
    d->edit = RecordsetData::Edit::None;
    d->buffer.clear();
    d->changed.clear();
}

void Recordset::deleteCurrent()
{
    if (d->kind == RecordsetData::Kind::Snapshot)
        throw DbError(DbError::NotUpdatable, QStringLiteral("The record set cannot be updated"));
    if (d->edit == RecordsetData::Edit::Adding) {
        cancelUpdate();
        return;
    }
    cancelUpdate();
    d->loadTable();
    if (!d->hasCurrentRow())
        throw DbError(DbError::NoCurrentRow, QStringLiteral("No current record"));
    d->deleteRowFromSource(d->pos);
    d->rows.removeAt(d->pos);
    d->originals.removeAt(d->pos);
    d->onDeletedRow = true;
}

bool Recordset::editPending() const
{
    return d->edit != RecordsetData::Edit::None;
}

bool Recordset::seek(const QString &comparison, const QVariantList &key)
{
    if (d->kind != RecordsetData::Kind::Table || d->indexColumns.isEmpty())
        throw DbError(DbError::InvalidOperation,
                      QStringLiteral("Seek needs a table record set opened with an index"));
    static const QStringList operators{"=", ">=", ">", "<=", "<"};
    const QString op = comparison.trimmed();
    if (!operators.contains(op) || key.isEmpty() || key.size() > d->indexColumns.size())
        throw DbError(DbError::InvalidOperation, QStringLiteral("Invalid seek \"%1\"").arg(comparison));
    cancelUpdate();

    // Equality on the leading key parts, the comparison on the last given part.
    QStringList conditions, order;
    QVariantList bindings;
    for (int i = 0; i < key.size(); ++i) {
        const QString column = d->indexColumns[i];
        const QString use = i + 1 < key.size() ? QStringLiteral("=") : op;
        conditions << QStringLiteral("[%1] %2 ?").arg(column, use);
        bindings << d->connection->bindable(key[i]);
    }
    const bool descending = op.startsWith('<');
    for (const QString &column : d->indexColumns)
        order << QStringLiteral("[%1]%2").arg(column, descending ? QStringLiteral(" DESC") : QString());
    const QString statement = QStringLiteral("SELECT TOP 1 * FROM [%1] WHERE %2 ORDER BY %3")
                                  .arg(d->table, conditions.join(QStringLiteral(" AND ")), order.join(", "));
    const QString translated = translateSql(statement, d->connection->backend);
    ConnectionData &connection = *d->connection;
    connection.withReconnect([&] {
        QSqlQuery q(connection.database());
        q.setForwardOnly(true);
        if (!q.prepare(translated))
            throw dbErrorFromSql(q.lastError());
        for (int i = 0; i < bindings.size(); ++i)
            q.bindValue(i, bindings[i]);
        ++connection.statements;
        if (!q.exec())
            throw dbErrorFromSql(q.lastError());
        // The set now holds the found row only; moving on from it reaches the end.
        fillFromQuery(*d, q);
    });
    d->originals = d->rows;
    d->tableLoaded = true;
    d->onDeletedRow = false;
    d->noMatch = d->rows.isEmpty();
    return !d->noMatch;
}

bool Recordset::noMatch() const
{
    return d->noMatch;
}

QString NullToEmpty(const QVariant &value)
{
    return Recordset::coerce(value, FieldType::Text).toString();
}
