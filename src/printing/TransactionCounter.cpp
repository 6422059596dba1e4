#include "printing/TransactionCounter.h"

#include "sqlaccess/Recordset.h"
#include "runtime/VbFormat.h"

namespace TransactionCounter {

namespace {

const QString Statement = QStringLiteral("SELECT * FROM config");
const QString Date = QStringLiteral("trdate");
const QString Number = QStringLiteral("trno");

// A row changed by another station between our read and our write is counted again; more
// attempts than this mean something else keeps changing it.
constexpr int Attempts = 10;

} // namespace

void ensureRow(const Connection &db, const QDate &today)
{
    Recordset config = db.openUpdatable(Statement);
    if (!config.eof())
        return;
    config.addNew();
    config.setValue(Date, today);
    config.setValue(Number, 0);
    config.update();
}

QString next(Connection db, const QDate &today)
{
    for (int attempt = 1;; ++attempt) {
        // On SQLite the transaction takes the write lock at once: the count is never read by two
        // stations at the same time. Elsewhere the update is keyed on the values read, so a row
        // counted meanwhile fails it (RowChanged) and is read again.
        db.beginTrans();
        try {
            Recordset config = db.openUpdatable(Statement);
            int number = 1;
            if (config.eof()) {
                config.addNew();
                config.setValue(Date, today);
            } else {
                config.moveFirst();
                const auto last = vb::toDateTime(config.value(Date));
                if (last && last->date() == today)
                    number = int(config.number(Number)) + 1;
                else
                    config.setValue(Date, today);
            }
            config.setValue(Number, number);
            config.update();
            db.commitTrans();
            return vb::formatDateTime(QDateTime(today, QTime()), QStringLiteral("mmddyyyy")) + "-"
                 + vb::formatNumber(number, QStringLiteral("0000"));
        } catch (const DbError &e) {
            db.rollbackTrans();
            if (e.number() != DbError::RowChanged || attempt == Attempts)
                throw;
        }
    }
}

} // namespace TransactionCounter
