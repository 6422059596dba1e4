#pragma once

#include <QByteArray>
#include <QString>
#include <exception>

// The one error type of the database layer: a number and a description, as the operator sees them.
// A unique-key violation on any backend has a description containing "duplicate values in the index".
class DbError : public std::exception
{
public:
    DbError(long number, QString description);

    long number() const { return m_number; }
    const QString &description() const { return m_description; }
    const char *what() const noexcept override { return m_what.constData(); }

    // Numbers used where the backend gives none of its own.
    static constexpr long GeneralError = -2147467259;
    static constexpr long CannotOpen = 14;       // database file missing or unreadable
    static constexpr long Busy = 5;              // another program holds the write lock
    static constexpr long NoCurrentRow = 3021;
    static constexpr long UnknownField = 3265;
    static constexpr long RowChanged = 3197;     // optimistic update found the row changed or gone
    static constexpr long ValueTooLong = 3163;
    static constexpr long TypeMismatch = 13;
    static constexpr long NotUpdatable = 3027;
    static constexpr long InvalidOperation = 3219;

private:
    long m_number;
    QString m_description;
    QByteArray m_what;
};
