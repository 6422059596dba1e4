#pragma once

#include <QString>

// Private-profile (INI) files with the rules the suite's own programs follow, so that settings
// written by either side read the same:
//  - section and key names match without regard to case; blanks around names and values are
//    trimmed; one pair of surrounding quotes (" or ') is stripped from a value;
//  - a line starting with "[" opens a section named by what stands up to the first "]", or up to
//    the end of the line when the "]" is missing ("[Name   " opens "Name");
//  - only the first matching section and, within it, the first matching key count;
//  - a read into a buffer of N characters returns at most N - 1 characters (of a quoted value, the
//    first N - 1 inside the quotes);
//  - a missing file, section or key gives the default.
// Files are single-byte text (Latin-1 both ways, so no byte is ever changed on a round trip); a
// leading UTF-8 byte-order mark is skipped on reading and kept on writing. Lines end in CRLF, LF
// or CR; a ";" line is a comment. Before the default is returned its trailing blanks are dropped,
// as the system call does.
namespace PrivateProfile {

QString readString(const QString &section, const QString &key, const QString &defaultValue,
                   const QString &fileName, int bufferSize = 255);
// The same from a file's bytes already read (an empty content reads as a missing file).
QString readStringFrom(const QString &section, const QString &key, const QString &defaultValue,
                       const QByteArray &fileContent, int bufferSize = 255);

// Replaces the key's line in place ("Key=value", the key spelled as in the file), or adds
// "key=value" after the last non-blank line of the first matching section, or adds "[section]" and
// the key at the end of the file, keeping every other line and comment. Added lines take the
// file's first line end; a new file, or one without any line end yet, gets CRLF
// ("[App]\r\nkey=\r\n"). The file always ends with a line end afterwards, also when its last line
// had none. The value is written as given. The file is written to a temporary file and
// renamed over the old one, so a crash never leaves half a file; its permissions are kept.
// Returns false, with the reason in *error, when the file cannot be written (read-only file,
// i.e. without any write permission bit, even for root; missing folder, which is not created;
// full disk) or when a name or value would not read back (empty or blank name, "]" in a section,
// "=" in a key or one starting with ";" or "[", a line break anywhere); the file is then unchanged.
bool writeString(const QString &section, const QString &key, const QString &value,
                 const QString &fileName, QString *error = nullptr);

} // namespace PrivateProfile
