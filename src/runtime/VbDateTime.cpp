#include "runtime/VbFormat.h"

#include "runtime/DbError.h"

#include <QRegularExpression>
#include <QVector>
#include <cmath>

namespace vb {

namespace {

const QDate dayZero(1899, 12, 30);

int fullYear(int year, qsizetype digits)
{
    if (digits > 2)
        return year;
    return year < 30 ? 2000 + year : 1900 + year;
}

std::optional<QTime> parseTime(const QString &text)
{
    static const QRegularExpression re(
        QStringLiteral(R"(^(\d{1,2}):(\d{1,2})(?::(\d{1,2})(?:\.(\d+))?)?\s*([AaPp][Mm])?$)"));
    const auto m = re.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    int hour = m.capturedView(1).toInt();
    const QStringView meridiem = m.capturedView(5);
    if (!meridiem.isEmpty()) {
        if (hour < 1 || hour > 12)
            return std::nullopt;
        const bool pm = meridiem.startsWith(QLatin1Char('p'), Qt::CaseInsensitive);
        hour = hour % 12 + (pm ? 12 : 0);
    }
    const QString fraction = m.captured(4).left(3).leftJustified(3, QLatin1Char('0'));
    const QTime time(hour, m.capturedView(2).toInt(), m.capturedView(3).toInt(), fraction.toInt());
    return time.isValid() ? std::optional<QTime>(time) : std::nullopt;
}

std::optional<QDateTime> parseDateText(const QString &input)
{
    static const QRegularExpression iso(QStringLiteral(R"(^(\d{4})-(\d{1,2})-(\d{1,2})(?:[ T](.+))?$)"));
    static const QRegularExpression us(QStringLiteral(R"(^(\d{1,2})/(\d{1,2})/(\d{4}|\d{2})(?:\s+(.+))?$)"));
    const QString text = input.trimmed();
    QDate date;
    QStringView timeText;
    QRegularExpressionMatch m = iso.match(text);
    if (m.hasMatch()) {
        date = QDate(m.capturedView(1).toInt(), m.capturedView(2).toInt(), m.capturedView(3).toInt());
        timeText = m.capturedView(4);
    } else if ((m = us.match(text)).hasMatch()) {
        date = QDate(fullYear(m.capturedView(3).toInt(), m.capturedLength(3)), m.capturedView(1).toInt(),
                     m.capturedView(2).toInt());
        timeText = m.capturedView(4);
    } else {
        const auto time = parseTime(text);
        if (!time)
            return std::nullopt;
        return QDateTime(dayZero, *time);
    }
    if (!date.isValid())
        return std::nullopt;
    if (timeText.isEmpty())
        return QDateTime(date, QTime(0, 0));
    const auto time = parseTime(timeText.trimmed().toString());
    if (!time)
        return std::nullopt;
    return QDateTime(date, *time);
}

struct DateToken
{
    char kind = 0; // d m y h n s, 'a' for AM/PM, 0 for a literal
    int length = 0;
    QString text;  // the pattern's own text (literal, or the AM/PM spelling)
};

QVector<DateToken> tokenize(const QString &pattern)
{
    static const QString ampm = QStringLiteral("AM/PM");
    QVector<DateToken> tokens;
    for (qsizetype i = 0; i < pattern.size();) {
        if (QStringView(pattern).mid(i, 5).compare(ampm, Qt::CaseInsensitive) == 0) {
            tokens.append({'a', 5, pattern.mid(i, 5)});
            i += 5;
            continue;
        }
        if (pattern[i] == QLatin1Char('\\')) { // the next character is literal; a last "\" is dropped
            if (i + 1 < pattern.size())
                tokens.append({0, 1, pattern.mid(i + 1, 1)});
            i += 2;
            continue;
        }
        if (pattern[i] == QLatin1Char('"')) { // literal up to the closing quote or the end
            const qsizetype close = pattern.indexOf(QLatin1Char('"'), i + 1);
            const qsizetype end = close < 0 ? pattern.size() : close;
            tokens.append({0, 1, pattern.mid(i + 1, end - i - 1)});
            i = end + 1;
            continue;
        }
        const QChar c = pattern[i].toLower();
        if (!QStringLiteral("dmyhns").contains(c)) {
            tokens.append({0, 1, pattern.mid(i, 1)});
            ++i;
            continue;
        }
        qsizetype run = 1;
        while (i + run < pattern.size() && pattern[i + run].toLower() == c)
            ++run;
        const int longest = (c == QLatin1Char('d') || c == QLatin1Char('m') || c == QLatin1Char('y')) ? 4 : 2;
        int length = int(std::min<qsizetype>(run, longest));
        if (c == QLatin1Char('y') && length == 3)
            length = 2;
        tokens.append({char(c.toLatin1()), length, {}});
        i += length;
    }
    return tokens;
}

QString twoDigits(int n)
{
    return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
}

} // namespace

QString formatDateTime(const QDateTime &value, const QString &pattern)
{
    static const char *const dayNames[] = {"Monday", "Tuesday", "Wednesday", "Thursday",
                                           "Friday", "Saturday", "Sunday"};
    static const char *const monthNames[] = {"January", "February", "March",     "April",
                                             "May",     "June",     "July",      "August",
                                             "September", "October", "November", "December"};
    if (!value.isValid())
        return {};
    const QDate date = value.date();
    const QTime time = value.time();
    const QVector<DateToken> tokens = tokenize(pattern);
    bool twelveHour = false;
    for (const DateToken &t : tokens)
        twelveHour = twelveHour || t.kind == 'a';

    // The nearest field before a token, literals skipped.
    auto previousField = [&](qsizetype from) -> char {
        for (qsizetype i = from - 1; i >= 0; --i) {
            if (tokens[i].kind != 0)
                return tokens[i].kind;
        }
        return 0;
    };

    QString text;
    for (qsizetype i = 0; i < tokens.size(); ++i) {
        const DateToken &t = tokens[i];
        const auto number = [&](int n) { return t.length == 1 ? QString::number(n) : twoDigits(n); };
        switch (t.kind) {
        case 0:
            text += t.text;
            break;
        case 'd':
            if (t.length <= 2)
                text += number(date.day());
            else
                text += QString::fromLatin1(dayNames[date.dayOfWeek() - 1]).left(t.length == 3 ? 3 : -1);
            break;
        case 'm':
            if (t.length <= 2 && previousField(i) == 'h')
                text += number(time.minute());
            else if (t.length <= 2)
                text += number(date.month());
            else
                text += QString::fromLatin1(monthNames[date.month() - 1]).left(t.length == 3 ? 3 : -1);
            break;
        case 'y':
            if (t.length == 1)
                text += QString::number(date.dayOfYear());
            else if (t.length == 2)
                text += twoDigits(date.year() % 100);
            else
                text += QString::number(date.year());
            break;
        case 'h':
            text += number(twelveHour ? (time.hour() + 11) % 12 + 1 : time.hour());
            break;
        case 'n':
            text += number(time.minute());
            break;
        case 's':
            text += number(time.second());
            break;
        case 'a': {
            const bool lower = t.text.at(0).isLower();
            const QString mark = time.hour() < 12 ? QStringLiteral("AM") : QStringLiteral("PM");
            text += lower ? mark.toLower() : mark;
            break;
        }
        }
    }
    return text;
}

QDateTime dateFromSerial(double serial)
{
    // The suite's dates run from 1 January 100 to 31 December 9999.
    if (!(serial > -657435.0 && serial < 2958466.0))
        throw DbError(6, QStringLiteral("Overflow"));
    const double days = std::trunc(serial);
    // To the nearest second, so that 45000.1 is 02:24:00 and not a hair before it.
    qint64 seconds = std::llround(std::fabs(serial - days) * 86400.0);
    QDate date = dayZero.addDays(qint64(days));
    if (seconds == 86400) {
        date = date.addDays(1);
        seconds = 0;
    }
    // UTC: a wall-clock time that a daylight-saving change skips locally must print as it is.
    return QDateTime(date, QTime(0, 0).addSecs(int(seconds)), Qt::UTC);
}

std::optional<QDateTime> toDateTime(const QVariant &value)
{
    if (!value.isValid() || value.isNull())
        return std::nullopt;
    switch (value.metaType().id()) {
    case QMetaType::QDate: {
        const QDate date = value.toDate();
        return date.isValid() ? std::optional<QDateTime>(QDateTime(date, QTime(0, 0))) : std::nullopt;
    }
    case QMetaType::QDateTime: {
        const QDateTime when = value.toDateTime();
        return when.isValid() ? std::optional<QDateTime>(when) : std::nullopt;
    }
    case QMetaType::QTime: {
        const QTime time = value.toTime();
        return time.isValid() ? std::optional<QDateTime>(QDateTime(dayZero, time)) : std::nullopt;
    }
    case QMetaType::QString:
    case QMetaType::QByteArray:
        return parseDateText(value.toString());
    default:
        return std::nullopt;
    }
}

} // namespace vb
