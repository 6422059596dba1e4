#pragma once

#include "runtime/Currency.h"
#include "runtime/DbError.h"

#include <QDateTime>
#include <QString>
#include <QVariant>
#include <QVector>
#include <memory>

class Connection;
struct RecordsetData;

enum class FieldType { Text, Date, Time, Currency, Double, Integer, BigInt, Boolean, Variant };

struct FieldInfo
{
    QString name;
    FieldType type = FieldType::Variant;
    int size = 0; // maximum characters of a text field; 0 = no limit
};

// A client-side record set: named fields (matched without regard to case), rows, a current row.
// Kinds:
//  - free-standing: fields appended before open(), rows in memory only;
//  - snapshot: the rows of a query, read-only;
//  - updatable: the rows of a single-table SELECT; addNew/update/deleteCurrent become INSERT,
//    UPDATE and DELETE on that table, keyed on its primary key, or for a table without one on all
//    the row's original values. An UPDATE or DELETE that finds no row (changed or removed
//    meanwhile) throws DbError::RowChanged: optimistic locking;
//  - table: a whole table, optionally with a named index for seek().
// Recordset is a handle: copies share the same rows and position, as object references do.
// Every failure throws DbError.
class Recordset
{
public:
    Recordset(); // a closed free-standing set

    // --- free-standing sets
    void appendField(const QString &name, FieldType type, int size = 0); // only while closed
    void open();                                                         // no source, no connection

    bool isOpen() const;
    void close();

    // --- fields
    int fieldCount() const;
    const FieldInfo &field(int index) const;
    int fieldIndex(const QString &name) const; // -1 when there is no such field

    // --- position
    int recordCount() const;
    bool bof() const; // before the first row (or no rows)
    bool eof() const; // after the last row (or no rows)
    bool isEmpty() const { return bof() && eof(); }
    void moveFirst();
    void moveLast();
    void moveNext();
    void movePrevious();

    // --- values of the current row (DbError::NoCurrentRow at BOF/EOF, ::UnknownField for a bad name)
    QVariant value(const QString &field) const;
    QVariant value(int index) const;
    bool isNull(const QString &field) const;
    QString text(const QString &field) const;     // "" for null
    double number(const QString &field) const;    // 0 for null; DbError::TypeMismatch for a non-number
    Currency money(const QString &field) const;   // 0 for null; DbError::TypeMismatch for a non-number

    // Sets a field of the current row, or of the row being added. The value is converted to the
    // field's type in free-standing sets (text longer than the field's size is refused with
    // DbError::ValueTooLong); a null QVariant stores null.
    void setValue(const QString &field, const QVariant &value);

    // --- editing
    void addNew();          // a new row of nulls becomes current, pending until update()
    void update();          // writes the pending new or changed row
    void cancelUpdate();    // drops the pending row or changes
    void deleteCurrent();   // deletes the current row; the position stays on the gap
    bool editPending() const;

    // --- table sets with an index: comparison "=", ">=", ">", "<=" or "<" on the index's
    // leading columns (text compared without regard to case). The found row becomes current;
    // without a match noMatch() is true and there is no current row.
    bool seek(const QString &comparison, const QVariantList &key);
    bool noMatch() const;

    // A stored value converted for a field type (dates from their stored texts, money, booleans).
    static QVariant coerce(const QVariant &value, FieldType type);
    static bool isNullValue(const QVariant &value) { return !value.isValid() || value.isNull(); }

private:
    friend class Connection;
    std::shared_ptr<RecordsetData> d;
};

// "" for null, otherwise the value as text.
QString NullToEmpty(const QVariant &value);
