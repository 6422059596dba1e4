#include "pageengine/PageDocument.h"

QStringList PageData::texts() const
{
    QStringList result;
    for (const PageItem &item : items) {
        if (item.kind != PageItem::Kind::Rule)
            result << item.text;
    }
    return result;
}

QString PageData::joinedText() const
{
    return texts().join(QLatin1Char(' '));
}
