#include "pageengine/PageFont.h"

#include <QHash>
#include <memory>

namespace PageFont {

QString resolveFamily(const QString &name)
{
    const QString key = name.trimmed().toLower();
    if (key == QLatin1String("courier new") || key == QLatin1String("courier"))
        return QStringLiteral("Liberation Mono");
    if (key == QLatin1String("arial") || key == QLatin1String("helvetica"))
        return QStringLiteral("Liberation Sans");
    if (key == QLatin1String("times new roman") || key == QLatin1String("times"))
        return QStringLiteral("Liberation Serif");
    return name.trimmed();
}

QFont font(const QString &name, double pointSize, bool bold)
{
    QFont f(resolveFamily(name));
    f.setPixelSize(qMax(1, qRound(pointSize * 20.0)));
    f.setBold(bold);
    f.setHintingPreference(QFont::PreferNoHinting);
    f.setStyleStrategy(QFont::PreferOutline);
    f.setKerning(false);
    return f;
}

const QFontMetricsF &metrics(const QString &name, double pointSize, bool bold)
{
    // One thread lays out pages; the cache is per thread all the same, to stay safe if a
    // benchmark or test ever lays out on another one.
    thread_local QHash<QString, std::shared_ptr<QFontMetricsF>> cache;
    const QString key = name.toLower() + QLatin1Char('\x1f') + QString::number(qRound(pointSize * 20.0))
            + (bold ? QLatin1String("b") : QLatin1String("r"));
    auto it = cache.find(key);
    if (it == cache.end())
        it = cache.insert(key, std::make_shared<QFontMetricsF>(font(name, pointSize, bold)));
    return *it.value();
}

} // namespace PageFont
