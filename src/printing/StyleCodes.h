#pragma once

#include <QString>
#include <QStringList>

// The layout style codes the style setup window offers, in its order, and their descriptions.
namespace StyleCodes {

QStringList offered();

// Four lines, each pair separated by two carriage returns; "" for a code without one.
QString description(const QString &code);

} // namespace StyleCodes
