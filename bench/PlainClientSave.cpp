#include "PlainClientSave.h"

#include "runtime/Currency.h"

#include <QDate>
#include <QDateTime>
#include <QFile>
#include <QTime>
#include <libpq-fe.h>
#include <map>
#include <sqlite3.h>
#include <string>
#include <vector>

namespace {

// The statements of the save, with the backend's placeholders: "?" or "$1", "$2", ...
class Statements
{
public:
    explicit Statements(bool numbered)
        : m_numbered(numbered)
    {
    }

    std::string numbering(const char *guard) const
    {
        return "UPDATE no_setup SET nnextno = nnextno + 1 WHERE sourcename = " + mark(1) + " AND " + guard
             + " RETURNING nprefix, ndigit, nnextno";
    }
    std::string insert(const char *table, const QStringList &columns, qsizetype rows) const
    {
        std::string sql = std::string("INSERT INTO ") + table + " (" + columns.join(", ").toStdString() + ") VALUES ";
        int n = 0;
        for (qsizetype row = 0; row < rows; ++row) {
            sql += row ? ", (" : "(";
            for (qsizetype c = 0; c < columns.size(); ++c)
                sql += (c ? ", " : "") + mark(++n);
            sql += ")";
        }
        return sql;
    }
    std::string stock(qsizetype count) const
    {
        std::string cases, where;
        int n = 0;
        for (qsizetype i = 0; i < count; ++i) {
            cases += " WHEN uid = " + mark(n + 1) + " AND itemrow = " + mark(n + 2) + " AND itemcol = " + mark(n + 3)
                   + " THEN COALESCE(onso, 0) + " + mark(n + 4);
            n += 4;
        }
        for (qsizetype i = 0; i < count; ++i) {
            where += std::string(i ? " OR " : "") + "(uid = " + mark(n + 1) + " AND itemrow = " + mark(n + 2)
                   + " AND itemcol = " + mark(n + 3) + ")";
            n += 3;
        }
        return "UPDATE item SET onso = CASE" + cases + " ELSE onso END WHERE " + where;
    }

private:
    std::string mark(int n) const { return m_numbered ? "$" + std::to_string(n) : "?"; }
    bool m_numbered;
};

// The values of one save in statement order, the order number put in.
struct Bound
{
    QVariantList numbering, header, lines, stock, import; // lines: every line's values, one after the other
};

Bound boundValues(const OrderRows &order, const QString &orderNo)
{
    Bound b;
    b.numbering << QStringLiteral("no_salesorder");
    b.header = order.header;
    b.header[order.headerColumns.indexOf(QStringLiteral("invno"))] = orderNo;
    const qsizetype invno = order.lineColumns.indexOf(QStringLiteral("invno"));
    const qsizetype autonum = order.lineColumns.indexOf(QStringLiteral("autonum"));
    for (qsizetype i = 0; i < order.lines.size(); ++i) {
        QVariantList line = order.lines[i];
        line[invno] = orderNo;
        line[autonum] = orderNo + QStringLiteral("%1").arg(i, 4, 10, QLatin1Char('0'));
        b.lines << line;
    }
    for (const OrderRows::Stock &s : order.stock)
        b.stock << s.item << s.row << s.col << s.change;
    for (const OrderRows::Stock &s : order.stock)
        b.stock << s.item << s.row << s.col;
    b.import << orderNo << order.import;
    return b;
}

QString orderNumber(const QString &prefix, long long digits, long long next)
{
    return prefix + QStringLiteral("%1").arg(next, int(digits), 10, QLatin1Char('0'));
}

// --------------------------------------------------------------------- SQLite

// What one order writes once it has its number, as the station writes it: the header, all lines,
// the stock of each item variant, the import record.
QList<std::pair<std::string, QVariantList>> writesOf(const Statements &sql, const OrderRows &order, const Bound &b)
{
    return {{sql.insert("so", order.headerColumns, 1), b.header},
            {sql.insert("sodetail", order.lineColumns, order.lines.size()), b.lines},
            {sql.stock(order.stock.size()), b.stock},
            {sql.insert("rfimport", {"invno", "queuedir", "ordfile", "filehash", "savedat", "printdue", "printqty"}, 1),
             b.import}};
}

class SqliteSave : public PlainClientSave
{
public:
    ~SqliteSave() override
    {
        for (auto &[text, statement] : m_statements)
            sqlite3_finalize(statement);
        sqlite3_close(m_db);
    }

    bool open(const QString &file, QString *error)
    {
        if (sqlite3_open_v2(QFile::encodeName(file).constData(), &m_db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK
            || sqlite3_exec(m_db, "PRAGMA journal_mode=WAL", nullptr, nullptr, nullptr) != SQLITE_OK) {
            *error = QString::fromUtf8(sqlite3_errmsg(m_db));
            return false;
        }
        sqlite3_busy_timeout(m_db, 5000);
        return true;
    }

    QString save(const OrderRows &order) override
    {
        const Statements sql(false);
        QString result = run("BEGIN IMMEDIATE", {});
        QString orderNo;
        if (result.isEmpty()) {
            sqlite3_stmt *numbering = nullptr;
            result = bindAndStep(sql.numbering("typeof(nnextno) = 'integer' AND nnextno BETWEEN -9007199254740991 AND "
                                               "9007199254740990 AND typeof(ndigit) IN ('integer', 'real') AND "
                                               "ndigit BETWEEN -32768 AND 32767"),
                                 {QStringLiteral("no_salesorder")}, &numbering);
            if (result.isEmpty())
                orderNo =
                    orderNumber(QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(numbering, 0))),
                                sqlite3_column_int64(numbering, 1), sqlite3_column_int64(numbering, 2) - 1);
            if (numbering)
                sqlite3_reset(numbering);
        }
        const Bound b = boundValues(order, orderNo);
        for (const auto &[statement, values] : writesOf(sql, order, b)) {
            if (result.isEmpty())
                result = run(statement, values);
        }
        if (result.isEmpty())
            result = run("COMMIT", {});
        if (!result.isEmpty())
            sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
        return result;
    }

private:
    sqlite3_stmt *prepared(const std::string &text)
    {
        sqlite3_stmt *&statement = m_statements[text];
        if (!statement)
            sqlite3_prepare_v3(m_db, text.c_str(), int(text.size()), SQLITE_PREPARE_PERSISTENT, &statement, nullptr);
        return statement;
    }

    // Binds and takes the first step; a statement that returns a row is left on it in *rows.
    QString bindAndStep(const std::string &text, const QVariantList &values, sqlite3_stmt **rows = nullptr)
    {
        sqlite3_stmt *statement = prepared(text);
        if (!statement)
            return QString::fromUtf8(sqlite3_errmsg(m_db));
        for (int i = 0; i < values.size(); ++i) {
            const QVariant &v = values[i];
            const int at = i + 1;
            if (!v.isValid() || v.isNull()) {
                sqlite3_bind_null(statement, at);
                continue;
            }
            switch (v.metaType().id()) {
            case QMetaType::Double: sqlite3_bind_double(statement, at, v.toDouble()); break;
            case QMetaType::Int:
            case QMetaType::LongLong: sqlite3_bind_int64(statement, at, v.toLongLong()); break;
            case QMetaType::Bool: sqlite3_bind_int(statement, at, v.toBool() ? 1 : 0); break;
            case QMetaType::QDate: bindText(statement, at, v.toDate().toString(QStringLiteral("yyyy-MM-dd"))); break;
            case QMetaType::QTime: bindText(statement, at, v.toTime().toString(QStringLiteral("hh:mm:ss"))); break;
            default:
                if (v.metaType().id() == qMetaTypeId<Currency>())
                    sqlite3_bind_double(statement, at, v.value<Currency>().toDouble());
                else
                    bindText(statement, at, v.toString());
            }
        }
        const int step = sqlite3_step(statement);
        if (step == SQLITE_ROW && rows) {
            *rows = statement;
            return {};
        }
        const QString error = step == SQLITE_DONE ? QString() : QString::fromUtf8(sqlite3_errmsg(m_db));
        sqlite3_reset(statement);
        return step == SQLITE_DONE || step == SQLITE_ROW ? QString() : error;
    }

    QString run(const std::string &text, const QVariantList &values) { return bindAndStep(text, values); }

    static void bindText(sqlite3_stmt *statement, int at, const QString &text)
    {
        const QByteArray utf8 = text.toUtf8();
        sqlite3_bind_text(statement, at, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
    }

    sqlite3 *m_db = nullptr;
    std::map<std::string, sqlite3_stmt *> m_statements;
};

// --------------------------------------------------------------------- PostgreSQL

class PostgresSave : public PlainClientSave
{
public:
    ~PostgresSave() override { PQfinish(m_db); }

    bool open(const QString &parameters, QString *error)
    {
        m_db = PQconnectdb(parameters.toUtf8().constData());
        if (PQstatus(m_db) != CONNECTION_OK) {
            *error = QString::fromUtf8(PQerrorMessage(m_db)).trimmed();
            return false;
        }
        return true;
    }

    QString save(const OrderRows &order) override
    {
        const Statements sql(true);
        QString result = simple("BEGIN");
        QString orderNo;
        if (result.isEmpty()) {
            PGresult *numbering = execute(sql.numbering("nnextno BETWEEN -9007199254740991 AND 9007199254740990 AND "
                                                        "ndigit BETWEEN -32768 AND 32767"),
                                          {QStringLiteral("no_salesorder")}, &result);
            if (result.isEmpty())
                orderNo =
                    orderNumber(QString::fromUtf8(PQgetvalue(numbering, 0, 0)), std::atoll(PQgetvalue(numbering, 0, 1)),
                                std::atoll(PQgetvalue(numbering, 0, 2)) - 1);
            PQclear(numbering);
        }
        const Bound b = boundValues(order, orderNo);
        for (const auto &[statement, values] : writesOf(sql, order, b)) {
            if (result.isEmpty())
                PQclear(execute(statement, values, &result));
        }
        if (result.isEmpty())
            result = simple("COMMIT");
        if (!result.isEmpty())
            simple("ROLLBACK");
        return result;
    }

private:
    QString simple(const char *statement)
    {
        PGresult *r = PQexec(m_db, statement);
        const QString error =
            PQresultStatus(r) == PGRES_COMMAND_OK ? QString() : QString::fromUtf8(PQerrorMessage(m_db));
        PQclear(r);
        return error;
    }

    // Prepared once per text; the values as text, their types left to the server as the
    // station's driver leaves them.
    PGresult *execute(const std::string &text, const QVariantList &values, QString *error)
    {
        std::string &name = m_statements[text];
        if (name.empty()) {
            name = "s" + std::to_string(m_statements.size());
            PGresult *prepared = PQprepare(m_db, name.c_str(), text.c_str(), 0, nullptr);
            const bool ok = PQresultStatus(prepared) == PGRES_COMMAND_OK;
            PQclear(prepared);
            if (!ok) {
                *error = QString::fromUtf8(PQerrorMessage(m_db));
                m_statements.erase(text);
                return nullptr;
            }
        }
        std::vector<QByteArray> texts;
        std::vector<const char *> pointers;
        texts.reserve(values.size());
        for (const QVariant &v : values) {
            if (!v.isValid() || v.isNull()) {
                texts.emplace_back();
                pointers.push_back(nullptr);
                continue;
            }
            QString t;
            switch (v.metaType().id()) {
            case QMetaType::Double: t = QString::number(v.toDouble(), 'g', 15); break;
            case QMetaType::QDate: t = v.toDate().toString(QStringLiteral("yyyy-MM-dd")); break;
            case QMetaType::QTime: t = v.toTime().toString(QStringLiteral("hh:mm:ss")); break;
            case QMetaType::Bool: t = v.toBool() ? QStringLiteral("true") : QStringLiteral("false"); break;
            default:
                t = v.metaType().id() == qMetaTypeId<Currency>()
                      ? QString::number(v.value<Currency>().toDouble(), 'g', 15)
                      : v.toString();
            }
            texts.push_back(t.toUtf8());
            pointers.push_back(texts.back().constData());
        }
        PGresult *r = PQexecPrepared(m_db, name.c_str(), int(pointers.size()), pointers.data(), nullptr, nullptr, 0);
        const ExecStatusType status = PQresultStatus(r);
        if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK)
            *error = QString::fromUtf8(PQerrorMessage(m_db));
        else if (status == PGRES_TUPLES_OK && PQntuples(r) == 0)
            *error = QStringLiteral("no numbering row");
        return r;
    }

    PGconn *m_db = nullptr;
    std::map<std::string, std::string> m_statements; // text -> prepared statement's name
};

} // namespace

std::unique_ptr<PlainClientSave> PlainClientSave::openSqlite(const QString &file, QString *error)
{
    auto save = std::make_unique<SqliteSave>();
    if (!save->open(file, error))
        return nullptr;
    return save;
}

std::unique_ptr<PlainClientSave> PlainClientSave::openPostgres(const QString &parameters, QString *error)
{
    auto save = std::make_unique<PostgresSave>();
    if (!save->open(parameters, error))
        return nullptr;
    return save;
}
