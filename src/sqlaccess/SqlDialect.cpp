#include "sqlaccess/SqlDialect.h"

#include "runtime/VbFormat.h"

#include <QRegularExpression>

#include <climits>
#include <optional>
#include <vector>

namespace {

bool isWordChar(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('_');
}

// The word at `at`, standing alone, matched without regard to case.
bool wordAt(const QString &text, qsizetype at, QLatin1String word)
{
    if (at > 0 && isWordChar(text[at - 1]))
        return false;
    const qsizetype end = at + word.size();
    if (end > text.size() || QStringView(text).mid(at, word.size()).compare(word, Qt::CaseInsensitive) != 0)
        return false;
    return end == text.size() || !isWordChar(text[end]);
}

qsizetype skipBlanks(const QString &text, qsizetype at)
{
    while (at < text.size() && text[at].isSpace())
        ++at;
    return at;
}

// End of the quoted text starting at `at` (its closing quote included); a doubled quote stays
// inside. An unclosed quote runs to the end.
qsizetype endOfQuoted(const QString &text, qsizetype at)
{
    const QChar quote = text[at];
    for (qsizetype i = at + 1; i < text.size(); ++i) {
        if (text[i] != quote)
            continue;
        if (i + 1 < text.size() && text[i + 1] == quote)
            ++i;
        else
            return i + 1;
    }
    return text.size();
}

// "#12/31/2003#" content as an SQL text literal; none when it is not a date.
// SQL Server reads 'yyyyMMdd' and 'yyyy-MM-ddThh:mm:ss' the same under every date setting;
// the other backends store and compare the 'yyyy-MM-dd[ hh:mm:ss]' texts.
std::optional<QString> dateLiteral(const QString &content, SqlBackend backend)
{
    if (!content.contains(QLatin1Char('/')) && !content.contains(QLatin1Char('-')))
        return std::nullopt; // a time alone or anything else stays as written
    const std::optional<QDateTime> when = vb::toDateTime(content);
    if (!when)
        return std::nullopt;
    const bool withTime = content.contains(QLatin1Char(':'));
    QString pattern;
    if (backend == SqlBackend::SqlServer)
        pattern = withTime ? QStringLiteral("yyyy-MM-ddThh:mm:ss") : QStringLiteral("yyyyMMdd");
    else
        pattern = withTime ? QStringLiteral("yyyy-MM-dd hh:mm:ss") : QStringLiteral("yyyy-MM-dd");
    return QLatin1Char('\'') + when->toString(pattern) + QLatin1Char('\'');
}

// "SELECT [DISTINCT|ALL] TOP n" at `at`: where TOP starts, where the text after "n " resumes, n.
struct TopClause
{
    qsizetype top = -1;
    qsizetype resume = -1;
    QString count;
};

std::optional<TopClause> topClause(const QString &text, qsizetype at)
{
    if (!wordAt(text, at, QLatin1String("SELECT")))
        return std::nullopt;
    qsizetype i = skipBlanks(text, at + 6);
    if (wordAt(text, i, QLatin1String("DISTINCT")))
        i = skipBlanks(text, i + 8);
    else if (wordAt(text, i, QLatin1String("ALL")))
        i = skipBlanks(text, i + 3);
    if (!wordAt(text, i, QLatin1String("TOP")))
        return std::nullopt;
    TopClause clause;
    clause.top = i;
    const qsizetype digits = skipBlanks(text, i + 3);
    qsizetype end = digits;
    while (end < text.size() && text[end] >= QLatin1Char('0') && text[end] <= QLatin1Char('9'))
        ++end;
    if (end == digits || (end < text.size() && isWordChar(text[end])))
        return std::nullopt;
    if (wordAt(text, skipBlanks(text, end), QLatin1String("PERCENT")))
        return std::nullopt; // no LIMIT equivalent: left for the backend to refuse
    clause.count = text.mid(digits, end - digits);
    clause.resume = skipBlanks(text, end);
    return clause;
}

// The run of letters, digits and underscores from `at`.
QString wordFrom(const QString &text, qsizetype at)
{
    qsizetype end = at;
    while (end < text.size() && isWordChar(text[end]))
        ++end;
    return text.mid(at, end - at);
}

// Where the text ends once trailing blanks are left off.
qsizetype trimmedEnd(const QString &text)
{
    qsizetype at = text.size();
    while (at > 0 && text[at - 1].isSpace())
        --at;
    return at;
}

// The last word of `text` before its trailing blanks, upper-cased.
QString lastWord(const QString &text, qsizetype end)
{
    qsizetype at = end;
    while (at > 0 && isWordChar(text[at - 1]))
        --at;
    return text.mid(at, end - at).toUpper();
}

} // namespace

QString translateSql(const QString &statement, SqlBackend backend)
{
    const bool limitStyle = backend != SqlBackend::SqlServer;
    const bool postgres = backend == SqlBackend::PostgreSql;
    const bool numericBooleans = backend == SqlBackend::Sqlite || backend == SqlBackend::SqlServer;
    QString out;
    out.reserve(statement.size() + 16);

    // Each "TOP n" becomes " LIMIT n" at the end of its own SELECT: the ")" that closes the
    // parenthesis it stands in, a ";" at its level, or the end of the text.
    struct PendingLimit
    {
        int depth;
        QString count;
    };
    std::vector<PendingLimit> pending;
    // ORDER BY lists open at each level (PostgreSQL only): their items get a NULLS clause.
    std::vector<int> orderLists;
    int depth = 0;

    auto endOrderItem = [&] {
        const qsizetype end = trimmedEnd(out);
        const QString word = lastWord(out, end);
        if (word == QLatin1String("FIRST") || word == QLatin1String("LAST"))
            return; // a NULLS clause of its own
        out.insert(end, word == QLatin1String("DESC") ? QStringLiteral(" NULLS LAST") : QStringLiteral(" NULLS FIRST"));
    };
    auto closeOrderLists = [&](int fromDepth) {
        while (!orderLists.empty() && orderLists.back() >= fromDepth) {
            endOrderItem();
            orderLists.pop_back();
        }
    };
    auto closeLimits = [&](int fromDepth) {
        closeOrderLists(fromDepth);
        while (!pending.empty() && pending.back().depth >= fromDepth) {
            out.insert(trimmedEnd(out), QStringLiteral(" LIMIT ") + pending.back().count);
            pending.pop_back();
        }
    };

    for (qsizetype i = 0; i < statement.size();) {
        const QChar c = statement[i];
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            const qsizetype end = endOfQuoted(statement, i);
            out += QStringView(statement).mid(i, end - i);
            i = end;
            continue;
        }
        if (c == QLatin1Char('[')) {
            const qsizetype close = statement.indexOf(QLatin1Char(']'), i + 1);
            if (close > i) {
                if (limitStyle) {
                    QString name = statement.mid(i + 1, close - i - 1);
                    if (postgres)
                        name = name.toLower();
                    out += QLatin1Char('"') + name.replace(QLatin1String("\""), QLatin1String("\"\"")) + QLatin1Char('"');
                } else {
                    out += QStringView(statement).mid(i, close - i + 1);
                }
                i = close + 1;
                continue;
            }
        }
        if (c == QLatin1Char('#')) {
            const qsizetype close = statement.indexOf(QLatin1Char('#'), i + 1);
            if (close > i && close - i <= 40) {
                if (const auto literal = dateLiteral(statement.mid(i + 1, close - i - 1), backend)) {
                    out += *literal;
                    i = close + 1;
                    continue;
                }
            }
        }
        if (isWordChar(c)) {
            const QString word = wordFrom(statement, i);
            const QString upper = word.toUpper();
            if (limitStyle && upper == QLatin1String("SELECT")) {
                if (const auto clause = topClause(statement, i)) {
                    out += QStringView(statement).mid(i, clause->top - i);
                    pending.push_back({depth, clause->count});
                    i = clause->resume;
                    continue;
                }
            }
            if (numericBooleans && (upper == QLatin1String("TRUE") || upper == QLatin1String("FALSE"))) {
                out += upper == QLatin1String("TRUE") ? QLatin1Char('1') : QLatin1Char('0');
                i += word.size();
                continue;
            }
            if (postgres && upper == QLatin1String("ORDER")) {
                const qsizetype by = skipBlanks(statement, i + word.size());
                if (wordAt(statement, by, QLatin1String("BY"))) {
                    closeOrderLists(depth); // a second ORDER BY at one level: the first has ended
                    out += QStringView(statement).mid(i, by + 2 - i);
                    orderLists.push_back(depth);
                    i = by + 2;
                    continue;
                }
            }
            if (postgres && !orderLists.empty() && orderLists.back() == depth
                && (upper == QLatin1String("LIMIT") || upper == QLatin1String("OFFSET")
                    || upper == QLatin1String("FOR") || upper == QLatin1String("FETCH")
                    || upper == QLatin1String("UNION"))) {
                endOrderItem();
                orderLists.pop_back();
            }
            out += word;
            i += word.size();
            continue;
        }
        if (c == QLatin1Char('('))
            ++depth;
        else if (c == QLatin1Char(')'))
            closeLimits(depth--);
        else if (c == QLatin1Char(';'))
            closeLimits(depth);
        else if (c == QLatin1Char(',') && !orderLists.empty() && orderLists.back() == depth)
            endOrderItem();
        out += c;
        ++i;
    }
    closeLimits(INT_MIN);
    return out;
}

QString withRowLock(const QString &select, SqlBackend backend)
{
    switch (backend) {
    case SqlBackend::Sqlite:
        return select;
    case SqlBackend::SqlServer: {
        static const QRegularExpression from(QStringLiteral(R"(\bfrom\s+(\[[^\]]+\]|[A-Za-z_][\w$]*))"),
                                             QRegularExpression::CaseInsensitiveOption);
        const QRegularExpressionMatch m = from.match(select);
        if (!m.hasMatch())
            return select;
        QString locked = select;
        locked.insert(m.capturedEnd(1), QStringLiteral(" WITH (UPDLOCK, ROWLOCK)"));
        return locked;
    }
    case SqlBackend::PostgreSql:
    case SqlBackend::Ansi:
        break;
    }
    qsizetype end = trimmedEnd(select);
    if (end > 0 && select[end - 1] == QLatin1Char(';'))
        end = trimmedEnd(select.left(end - 1));
    QString locked = select;
    locked.insert(end, QStringLiteral(" FOR UPDATE"));
    return locked;
}

QString deleteOneRow(const QString &table, const QString &where, SqlBackend backend)
{
    switch (backend) {
    case SqlBackend::Sqlite:
        return QStringLiteral("DELETE FROM [%1] WHERE rowid = (SELECT TOP 1 rowid FROM [%1] WHERE %2)").arg(table, where);
    case SqlBackend::SqlServer:
        return QStringLiteral("DELETE TOP (1) FROM [%1] WHERE %2").arg(table, where);
    case SqlBackend::PostgreSql:
        return QStringLiteral("DELETE FROM [%1] WHERE ctid = (SELECT TOP 1 ctid FROM [%1] WHERE %2)").arg(table, where);
    case SqlBackend::Ansi:
        break;
    }
    return QStringLiteral("DELETE FROM [%1] WHERE %2").arg(table, where);
}
