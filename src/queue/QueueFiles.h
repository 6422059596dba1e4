#pragma once

#include <QFileInfo>
#include <QString>
#include <QStringList>

// The files of the order queue: folder names, how an order's two files are named, and moves
// that never overwrite an existing file.

// The folders below the program folder (found there without regard to letter case).
inline const QString QueueFolderName = QStringLiteral("OrdQueue");     // order files waiting, with their info files
inline const QString ArchiveFolderName = QStringLiteral("ordsaved");   // the files of saved orders
inline const QString RemovedFolderName = QStringLiteral("ordremoved"); // orders the operator took out of the queue

// An order file's name less its last four characters (".ord"): A1T2B.ord gives A1T2B.
QString OrderBaseName(const QString &orderFileName);
// The info file's name of an order file: A1T2B.ord gives A1T2Binfo.crd.
QString InfoFileName(const QString &orderFileName);
// The terminal column of an order file: the character after its first upper-case "T", "" when
// the name has none.
QString TerminalOfOrderFile(const QString &orderFileName);

// Size and modification time: a file whose stamp has not changed between two looks is not
// being written any more.
struct FileStamp
{
    qint64 size = -1; // -1: no such file
    qint64 modifiedMs = 0;

    static FileStamp of(const QFileInfo &info);
    static FileStamp of(const QString &path) { return of(QFileInfo(path)); }
    bool exists() const { return size >= 0; }
    bool operator==(const FileStamp &) const = default;
};

// The first of stem, stem(2), stem(3), ... for which no file stem + suffix exists in `folder`
// for any of the suffixes, so an earlier order's files of the same name are never overwritten.
QString FreeStem(const QString &folder, const QString &stem, const QStringList &suffixes);

// The archived info file whose order file never followed it (a crash came between the two moves):
// the first of stem, stem(2), ... in `folder` that has stem + "info.txt" but no stem + ".txt";
// "" when there is none.
QString StemAwaitingOrder(const QString &folder, const QString &stem);

// Creates the folder (and its parents) when it is missing; false with the reason in *error.
bool EnsureFolder(const QString &folder, QString *error);

// Moves a file; refuses to overwrite. The file leaves `from` only once `to` is complete: a rename
// where the two lie on one file system, otherwise a copy under a temporary name beside `to` that
// is flushed to disk, compared in size and renamed, and only then the original deleted. On any
// failure `from` is untouched, no partial copy is left, and *error holds the reason.
bool MoveFileTo(const QString &from, const QString &to, QString *error);

// The system calls a move makes that fail for reasons a test cannot arrange without privileges
// (another file system, a full disk). Tests replace them; null restores the system's.
struct FileMoveCalls
{
    int (*rename)(const char *from, const char *to) = nullptr;
    long (*write)(int fd, const void *data, unsigned long size) = nullptr;
};
void SetFileMoveCalls(const FileMoveCalls &calls);
