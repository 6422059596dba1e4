#include "runtime/PrivateProfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QSaveFile>
#include <optional>

namespace PrivateProfile {

namespace {

bool isBlank(QChar c)
{
    // Not QChar::isSpace: a Latin-1 no-break space (0xA0) belongs to the value.
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\r')
        || c == QLatin1Char('\v') || c == QLatin1Char('\f');
}

QStringView trimBlanks(QStringView text)
{
    while (!text.isEmpty() && isBlank(text.front()))
        text = text.mid(1);
    while (!text.isEmpty() && isBlank(text.back()))
        text.chop(1);
    return text;
}

struct Line
{
    QString text;
    QString ending; // "\r\n", "\n", "\r", or "" for a last line without one
};

QList<Line> splitLines(const QString &content)
{
    QList<Line> lines;
    qsizetype start = 0;
    while (start < content.size()) {
        qsizetype end = start;
        while (end < content.size() && content[end] != QLatin1Char('\n') && content[end] != QLatin1Char('\r'))
            ++end;
        qsizetype next = end;
        if (next < content.size() && content[next] == QLatin1Char('\r'))
            ++next;
        if (next < content.size() && content[next] == QLatin1Char('\n'))
            ++next;
        lines.append({content.mid(start, end - start), content.mid(end, next - end)});
        start = next;
    }
    return lines;
}

// The line end that added lines get: the file's first one, or CRLF in a file that has none yet.
QString lineEnding(const QList<Line> &lines)
{
    for (const Line &line : lines) {
        if (!line.ending.isEmpty())
            return line.ending;
    }
    return QStringLiteral("\r\n");
}

// "[name]", or "[name" without the bracket, which opens the section all the same; what follows
// the first "]" does not belong to the name.
std::optional<QStringView> sectionName(QStringView line)
{
    const QStringView text = trimBlanks(line);
    if (!text.startsWith(QLatin1Char('[')))
        return std::nullopt;
    const qsizetype close = text.indexOf(QLatin1Char(']'));
    return trimBlanks(close < 0 ? text.mid(1) : text.mid(1, close - 1));
}

struct KeyLine
{
    QStringView key;
    QStringView value;
};

// "key=value"; comments (";"), section headers and lines without "=" are not keys.
std::optional<KeyLine> keyLine(QStringView line)
{
    const QStringView text = trimBlanks(line);
    if (text.startsWith(QLatin1Char(';')) || sectionName(text))
        return std::nullopt;
    const qsizetype equals = text.indexOf(QLatin1Char('='));
    if (equals < 0)
        return std::nullopt;
    return KeyLine{trimBlanks(text.left(equals)), trimBlanks(text.mid(equals + 1))};
}

bool sameName(QStringView a, QStringView b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// Where a section and a key stand: the first matching section, and in it the first matching key.
struct Location
{
    qsizetype section = -1;
    qsizetype sectionEnd = -1; // the next section header, or the line count
    qsizetype key = -1;
};

Location locate(const QList<Line> &lines, QStringView section)
{
    Location at;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const auto name = sectionName(lines[i].text);
        if (!name)
            continue;
        if (at.section >= 0) {
            at.sectionEnd = i;
            return at;
        }
        if (sameName(*name, section))
            at.section = i;
    }
    if (at.section >= 0)
        at.sectionEnd = lines.size();
    return at;
}

qsizetype findKey(const QList<Line> &lines, const Location &at, QStringView key)
{
    for (qsizetype i = at.section + 1; i < at.sectionEnd; ++i) {
        const auto entry = keyLine(lines[i].text);
        if (entry && sameName(entry->key, key))
            return i;
    }
    return -1;
}

std::optional<QString> readLatin1(const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return QString::fromLatin1(file.readAll());
}

// A byte-order mark left by an editor would otherwise hide the first section header; it is
// skipped when reading and kept when writing.
QString byteOrderMark(const QString &content)
{
    static const QString mark = QString::fromLatin1("\xEF\xBB\xBF");
    return content.startsWith(mark) ? mark : QString();
}

QStringView unquoted(QStringView value)
{
    if (value.size() >= 2 && (value.front() == QLatin1Char('"') || value.front() == QLatin1Char('\''))
        && value.back() == value.front())
        return value.mid(1, value.size() - 2);
    return value;
}

bool hasLineBreak(const QString &text)
{
    return text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r'));
}

bool fail(QString *error, const QString &reason)
{
    if (error)
        *error = reason;
    return false;
}

} // namespace

QString readString(const QString &section, const QString &key, const QString &defaultValue,
                   const QString &fileName, int bufferSize)
{
    QFile file(fileName);
    return readStringFrom(section, key, defaultValue, file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray(),
                          bufferSize);
}

QString readStringFrom(const QString &section, const QString &key, const QString &defaultValue,
                       const QByteArray &fileContent, int bufferSize)
{
    if (bufferSize <= 0)
        return {};
    const qsizetype room = bufferSize - 1;
    // As the system call does, the default loses its trailing blanks.
    QStringView fallback(defaultValue);
    while (!fallback.isEmpty() && fallback.back() == QLatin1Char(' '))
        fallback.chop(1);

    const QString content = QString::fromLatin1(fileContent);
    const QList<Line> lines = splitLines(content.mid(byteOrderMark(content).size()));
    const QStringView wantedSection = trimBlanks(section);
    const QStringView wantedKey = trimBlanks(key);
    const Location at = locate(lines, wantedSection);
    if (at.section < 0)
        return fallback.left(room).toString();
    const qsizetype index = findKey(lines, at, wantedKey);
    if (index < 0)
        return fallback.left(room).toString();
    return unquoted(keyLine(lines[index].text)->value).left(room).toString();
}

bool writeString(const QString &section, const QString &key, const QString &value,
                 const QString &fileName, QString *error)
{
    // Names or values that would not read back as written are refused rather than written.
    const QString sectionText = trimBlanks(section).toString();
    const QString keyText = trimBlanks(key).toString();
    if (sectionText.isEmpty() || sectionText.contains(QLatin1Char(']')) || hasLineBreak(sectionText))
        return fail(error, QStringLiteral("Invalid section name \"%1\"").arg(section));
    if (keyText.isEmpty() || keyText.contains(QLatin1Char('=')) || keyText.startsWith(QLatin1Char(';'))
        || keyText.startsWith(QLatin1Char('[')) || hasLineBreak(keyText))
        return fail(error, QStringLiteral("Invalid key name \"%1\"").arg(key));
    if (hasLineBreak(value))
        return fail(error, QStringLiteral("A value may not hold a line break"));

    const QFileInfo info(fileName);
    if (!info.absoluteDir().exists())
        return fail(error, QStringLiteral("The folder %1 does not exist").arg(info.absolutePath()));
    QString content;
    if (info.exists()) {
        // The permission bits decide, so that a read-only file is refused even for a user who
        // could write it anyway (root).
        constexpr auto writeBits = QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;
        if (!info.isFile())
            return fail(error, QStringLiteral("%1 is not a file").arg(fileName));
        if (!(info.permissions() & writeBits) || !info.isWritable())
            return fail(error, QStringLiteral("The file %1 is read-only").arg(fileName));
        const std::optional<QString> read = readLatin1(fileName);
        if (!read)
            return fail(error, QStringLiteral("The file %1 cannot be read").arg(fileName));
        content = *read;
    }

    const QString mark = byteOrderMark(content);
    QList<Line> lines = splitLines(content.mid(mark.size()));
    const QString ending = lineEnding(lines);
    const QString entry = keyText + QLatin1Char('=') + value;
    auto insertLine = [&](qsizetype at, const QString &text) {
        if (at > 0 && lines[at - 1].ending.isEmpty())
            lines[at - 1].ending = ending;
        lines.insert(at, {text, ending});
    };

    const Location at = locate(lines, sectionText);
    if (at.section < 0) {
        insertLine(lines.size(), QLatin1Char('[') + sectionText + QLatin1Char(']'));
        insertLine(lines.size(), entry);
    } else if (const qsizetype index = findKey(lines, at, keyText); index >= 0) {
        // The key keeps the spelling it has in the file.
        lines[index].text = keyLine(lines[index].text)->key.toString() + QLatin1Char('=') + value;
    } else {
        qsizetype last = at.sectionEnd - 1;
        while (last > at.section && trimBlanks(lines[last].text).isEmpty())
            --last;
        insertLine(last + 1, entry);
    }
    // A written file always ends with a line end.
    if (lines.back().ending.isEmpty())
        lines.back().ending = ending;

    QByteArray bytes = mark.toLatin1();
    for (const Line &line : lines)
        bytes += (line.text + line.ending).toLatin1();
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        return fail(error, QStringLiteral("Cannot write %1: %2").arg(fileName, file.errorString()));
    if (file.write(bytes) != bytes.size() || !file.commit())
        return fail(error, QStringLiteral("Cannot write %1: %2").arg(fileName, file.errorString()));
    return true;
}

} // namespace PrivateProfile
