#include "sqlaccess/ConnectionText.h"

#include <dlfcn.h>

namespace {

bool endsPart(QChar c)
{
    return c == QLatin1Char(';') || c == QLatin1Char('\n');
}

// Where a value starting at `at` ends: after its closing brace, or at the next ";" or line end.
qsizetype endOfValue(const QString &text, qsizetype at)
{
    if (at < text.size() && text[at] == QLatin1Char('{')) {
        for (qsizetype i = at + 1; i < text.size(); ++i) {
            if (text[i] != QLatin1Char('}'))
                continue;
            if (i + 1 < text.size() && text[i + 1] == QLatin1Char('}'))
                ++i;
            else
                return i + 1;
        }
        return text.size();
    }
    qsizetype i = at;
    while (i < text.size() && !endsPart(text[i]))
        ++i;
    return i;
}

QString unbraced(const QString &value)
{
    if (!value.startsWith(QLatin1Char('{')))
        return value;
    QString inner = value.mid(1);
    if (inner.endsWith(QLatin1Char('}')))
        inner.chop(1);
    return inner.replace(QLatin1String("}}"), QLatin1String("}"));
}

bool isPasswordKey(QString key)
{
    key = key.remove(QLatin1Char('{')).remove(QLatin1Char('}')).trimmed().toLower();
    return key.endsWith(QLatin1String("pwd")) || key.endsWith(QLatin1String("password"));
}

qsizetype skipBlanks(const QString &text, qsizetype at)
{
    while (at < text.size() && text[at] == QLatin1Char(' '))
        ++at;
    return at;
}

} // namespace

QList<ConnectionAttribute> ParseConnectionText(const QString &text)
{
    QList<ConnectionAttribute> attributes;
    qsizetype at = 0;
    while (at < text.size()) {
        qsizetype i = at;
        while (i < text.size() && !endsPart(text[i]) && text[i] != QLatin1Char('='))
            ++i;
        if (i >= text.size() || endsPart(text[i])) {
            if (const QString part = text.mid(at, i - at).trimmed(); !part.isEmpty())
                attributes.append({QString(), part});
            at = i + 1;
            continue;
        }
        const qsizetype value = skipBlanks(text, i + 1);
        const qsizetype end = endOfValue(text, value);
        attributes.append({text.mid(at, i - at).trimmed(), unbraced(text.mid(value, end - value))});
        at = end;
        while (at < text.size() && !endsPart(text[at])) // anything after a closing brace
            ++at;
        ++at;
    }
    return attributes;
}

std::optional<QString> ConnectionAttributeValue(const QString &text, const QString &key)
{
    for (const ConnectionAttribute &attribute : ParseConnectionText(text))
        if (attribute.key.compare(key, Qt::CaseInsensitive) == 0)
            return attribute.value;
    return std::nullopt;
}

QString MaskConnectionSecrets(const QString &text)
{
    QString masked;
    masked.reserve(text.size());
    qsizetype keyStart = 0;
    qsizetype copied = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (endsPart(text[i])) {
            keyStart = i + 1;
            continue;
        }
        if (text[i] != QLatin1Char('='))
            continue;
        // Other values are read on: a braced one may hold a password attribute of its own
        // ("pqopt={password=...}").
        if (!isPasswordKey(text.mid(keyStart, i - keyStart)))
            continue;
        const qsizetype value = skipBlanks(text, i + 1);
        const qsizetype end = endOfValue(text, value);
        masked += QStringView(text).mid(copied, value - copied);
        if (end > value)
            masked += QLatin1String("****");
        copied = end;
        i = end - 1;
    }
    masked += QStringView(text).mid(copied);
    return masked;
}

QString OdbcDataSourceSetting(const QString &dataSource, const QString &key)
{
    using GetProfile = int (*)(const char *, const char *, const char *, char *, int, const char *);
    static const GetProfile get = [] {
        void *library = dlopen("libodbcinst.so.2", RTLD_LAZY);
        return library ? reinterpret_cast<GetProfile>(dlsym(library, "SQLGetPrivateProfileString")) : nullptr;
    }();
    if (!get || dataSource.isEmpty())
        return {};
    char value[1024] = {};
    const int length =
        get(dataSource.toUtf8().constData(), key.toUtf8().constData(), "", value, int(sizeof value), "odbc.ini");
    return length > 0 ? QString::fromUtf8(value, qMin(length, int(sizeof value) - 1)).trimmed() : QString();
}
