#pragma once

#include <QString>
#include <QVariant>
#include <optional>

// The suite's small shared routines that need nothing but the runtime: settings values, amounts,
// SQL quoting, numbers read from any value, and the suite's folders.

// One value of a private-profile file, read into a 255-character buffer: at most 254 characters,
// "" when the file, the section or the key is missing.
QString ReadIniValue(const QString &section, const QString &key, const QString &file);

// "###,###.00": 0 gives ".00", 1234.5 gives "1,234.50"; "" when the value cannot be formatted.
QString FormatAmount(double value);

// Doubles every single quote so the text can stand inside a quoted SQL literal.
void DoubleQuotes(QString &text);

// A number, or a text that reads as one (blanks, sign, point, thousands separators); else 0.
double ValueOrZero(const QVariant &value);

// The suite root: the program folder's path before its first folder named "admodule" (a whole
// path component, any letter case; "/" and "\" both separate), original case kept. None when no
// folder of the path is named so.
std::optional<QString> SuiteRootOf(const QString &programDir);

// `dir`/`name`, using the entry of `dir` whose name matches `name` without regard to case when
// there is one (the suite's folder names come in any case), else `name` as given.
QString ChildPath(const QString &dir, const QString &name);
