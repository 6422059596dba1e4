// The floor of the sales order save: the same write statements the station sends for a new order
// (numbering read and advanced in one statement, the header, the lines in one statement, the stock
// of distinct items in one statement, the import record, one transaction), run through the
// backend's own client library with nothing in between: SQLite's C interface, or libpq for
// PostgreSQL. What the station costs above it is what its own layers cost.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <memory>

// One new order's rows as the save writes them; the order number goes where invno and autonum
// stand once the numbering has given it.
struct OrderRows
{
    QStringList headerColumns; // so
    QVariantList header;
    QStringList lineColumns; // sodetail
    QList<QVariantList> lines;
    struct Stock
    {
        QString item, row, col;
        double change = 0;
    };
    QList<Stock> stock;  // distinct item variants
    QVariantList import; // rfimport: queuedir, ordfile, filehash, savedat, printdue, printqty
};

class PlainClientSave
{
public:
    virtual ~PlainClientSave() = default;
    // The SQLite file, as the station opens it (WAL, the library's default synchronous=FULL).
    static std::unique_ptr<PlainClientSave> openSqlite(const QString &file, QString *error);
    // A PostgreSQL server by libpq connection parameters ("host=... port=... dbname=...").
    static std::unique_ptr<PlainClientSave> openPostgres(const QString &parameters, QString *error);

    // Saves the order in one transaction; "" or why not.
    virtual QString save(const OrderRows &order) = 0;
};
