#pragma once

#include <QString>

// Private-profile (INI) files with the rules the suite's own programs follow, so that settings
// written by either side read the same:
//  - section and key names match without regard to case; blanks around names and values are
//    trimmed; one pair of surrounding quotes (" or ') is stripped from a value;
//  - only the first matching section and, within it, the first matching key count;
//  - a read into a buffer of N characters returns at most N - 1 characters;
//  - a missing file, section or key gives the default.
// Files are single-byte text (Latin-1 both ways, so no byte is ever changed on a round trip).
namespace PrivateProfile {

QString readString(const QString &section, const QString &key, const QString &defaultValue,
                   const QString &fileName, int bufferSize = 255);

// Replaces the key's value in place, or adds the key at the end of its section (and the section at
// the end of the file), keeping every other line, comment and the file's line endings. The file is
// written to a temporary file and renamed over the old one, so a crash never leaves half a file.
// Returns false, with the reason in *error, when the file cannot be written (read-only file,
// missing folder, full disk); the file is then unchanged.
bool writeString(const QString &section, const QString &key, const QString &value,
                 const QString &fileName, QString *error = nullptr);

} // namespace PrivateProfile
