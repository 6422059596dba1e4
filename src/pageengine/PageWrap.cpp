#include "pageengine/internal/PageWrap.h"

#include <QRegularExpression>

namespace PageWrap {

bool fits(double textWidth, double room)
{
    return textWidth <= room + FitTolerance;
}

QStringList splitLineBreaks(const QString &text)
{
    static const QRegularExpression breaks(QStringLiteral("\r\n|\r|\n"));
    return text.split(breaks);
}

namespace {

// Words with the blanks in front of them; trailing blanks form a last token of their own.
QStringList tokens(const QString &line)
{
    QStringList result;
    int start = 0;
    int i = 0;
    const int n = line.size();
    while (i < n) {
        while (i < n && line.at(i).isSpace())
            ++i;
        while (i < n && !line.at(i).isSpace())
            ++i;
        result << line.mid(start, i - start);
        start = i;
    }
    return result;
}

int longestFittingPrefix(const QString &text, double room, const QFontMetricsF &metrics)
{
    int k = 1;
    while (k < text.size() && fits(metrics.horizontalAdvance(text.left(k + 1)), room))
        ++k;
    return k;
}

} // namespace

int firstWordLength(const QString &text)
{
    int i = 0;
    while (i < text.size() && text.at(i).isSpace())
        ++i;
    while (i < text.size() && !text.at(i).isSpace())
        ++i;
    return i;
}

QString withoutLeadingBlanks(const QString &text)
{
    int i = 0;
    while (i < text.size() && text.at(i).isSpace())
        ++i;
    return text.mid(i);
}

QStringList wrapLine(const QString &line, double room, const QFontMetricsF &metrics)
{
    if (room <= 0 || fits(metrics.horizontalAdvance(line), room))
        return {line};

    QStringList result;
    QString current;
    for (QString token : tokens(line)) {
        if (!current.isEmpty() && withoutLeadingBlanks(token).isEmpty()) {
            current += token; // trailing blanks stay on the last line
            continue;
        }
        const QString candidate = current + token;
        if (fits(metrics.horizontalAdvance(candidate), room)) {
            current = candidate;
            continue;
        }
        if (!current.isEmpty()) {
            result << current;
            current.clear();
            token = withoutLeadingBlanks(token);
        }
        // A word wider than the room is cut where it stops fitting.
        while (!fits(metrics.horizontalAdvance(token), room)) {
            const int k = longestFittingPrefix(token, room, metrics);
            result << token.left(k);
            token = token.mid(k);
        }
        current = token;
    }
    if (!current.isEmpty() || result.isEmpty())
        result << current;
    return result;
}

QStringList wrapText(const QString &text, double room, const QFontMetricsF &metrics)
{
    QStringList result;
    for (const QString &line : splitLineBreaks(text))
        result << wrapLine(line, room, metrics);
    return result;
}

} // namespace PageWrap
