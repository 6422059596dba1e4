#include "support/GoldenDisplayList.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cmath>

namespace {

QString twips(double value)
{
    return QString::number(std::lround(value));
}

QString quoted(const QString &text)
{
    QString out = QStringLiteral("\"");
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '"': out += QStringLiteral("\\\""); break;
        case '\\': out += QStringLiteral("\\\\"); break;
        case '\n': out += QStringLiteral("\\n"); break;
        case '\r': out += QStringLiteral("\\r"); break;
        case '\t': out += QStringLiteral("\\t"); break;
        default: out += c;
        }
    }
    return out + QLatin1Char('"');
}

QString font(const PageItem &item)
{
    return quoted(item.fontName) + QLatin1Char(' ') + QString::number(item.fontSize)
         + (item.bold ? QStringLiteral(" bold") : QString());
}

QString penStyle(int style)
{
    static const char *const names[] = {"solid", "dash", "dot", "dash-dot", "dash-dot-dot"};
    return style >= 0 && style < 5 ? QString::fromLatin1(names[style]) : QString::number(style);
}

QString itemLine(const PageItem &item)
{
    switch (item.kind) {
    case PageItem::Kind::Text:
        return QStringLiteral("text %1,%2 w=%3 base=%4 %5%6 %7")
            .arg(twips(item.x), twips(item.y), twips(item.width), twips(item.baseline), font(item),
                 item.wrapped ? QStringLiteral(" wrapped") : QString(), quoted(item.text));
    case PageItem::Kind::Rule:
        return QStringLiteral("rule %1,%2 %3,%4 pen=%5 style=%6")
            .arg(twips(item.x), twips(item.y), twips(item.x2), twips(item.y2), twips(item.penWidth),
                 penStyle(item.penStyle));
    case PageItem::Kind::BoxedText: {
        static const char *const aligns[] = {"left", "centre", "right"};
        const QString align = item.hAlign >= 0 && item.hAlign < 3 ? QString::fromLatin1(aligns[item.hAlign])
                                                                  : QString::number(item.hAlign);
        return QStringLiteral("box %1,%2 %3x%4 %5 pad=%6 line=%7 %8 %9")
            .arg(twips(item.x), twips(item.y), twips(item.width), twips(item.height), align, twips(item.padding),
                 twips(item.lineHeight), font(item), quoted(item.text));
    }
    }
    return {};
}

bool writeFile(const QString &path, const QString &text)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(text.toUtf8()) >= 0;
}

} // namespace

namespace GoldenDisplayList {

QString text(const PageDocument &document)
{
    QString out;
    for (int page = 0; page < document.pageCount(); ++page) {
        const PageData &data = document.pages[page];
        out += QStringLiteral("page %1 %2x%3\n").arg(page + 1).arg(twips(data.width), twips(data.height));
        for (const PageItem &item : data.items)
            out += itemLine(item) + QLatin1Char('\n');
    }
    return out;
}

::testing::AssertionResult matches(const PageDocument &document, const QString &relativePath)
{
    const QString goldenPath = QStringLiteral(RFSTATION_SOURCE_DIR "/tests/") + relativePath;
    const QString actual = text(document);
    if (qEnvironmentVariable("RFSTATION_UPDATE_GOLDEN") == QLatin1String("1")) {
        if (!writeFile(goldenPath, actual))
            return ::testing::AssertionFailure() << "cannot write " << goldenPath.toStdString();
        return ::testing::AssertionSuccess() << "wrote " << goldenPath.toStdString();
    }

    QFile file(goldenPath);
    const QString expected = file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    if (expected == actual)
        return ::testing::AssertionSuccess();

    const QString actualPath = QStringLiteral(RFSTATION_BINARY_DIR "/golden-actual/") + relativePath;
    writeFile(actualPath, actual);
    auto failure = ::testing::AssertionFailure();
    if (!file.exists()) {
        failure << "no golden file tests/" << relativePath.toStdString();
    } else {
        const QStringList want = expected.split(QLatin1Char('\n'));
        const QStringList got = actual.split(QLatin1Char('\n'));
        int line = 0;
        while (line < want.size() && line < got.size() && want[line] == got[line])
            ++line;
        failure << "display list differs from tests/" << relativePath.toStdString() << " at line " << line + 1
                << "\n  expected: " << want.value(line).toStdString()
                << "\n  actual:   " << got.value(line).toStdString();
    }
    return failure << "\nwhole text: " << actualPath.toStdString()
                   << "\nrun with RFSTATION_UPDATE_GOLDEN=1 to accept the new layout";
}

} // namespace GoldenDisplayList
