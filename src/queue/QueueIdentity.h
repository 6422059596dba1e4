#pragma once

#include <QString>

// The identity of a queue folder: a random id kept in the folder itself (file ".rfqueue"), so
// every station that reaches the folder sees the same id however it reaches it (another program
// folder, a link, a network mount on another machine), and two folders never share one (unless
// the file is copied: a copied queue folder must not take it along). The first station writes it;
// two stations racing for it agree, because it comes into being whole or not at all.
namespace QueueIdentity {

inline const QString FileName = QStringLiteral(".rfqueue");

// The folder's id, made when it has none yet; "" with the reason in *error when it can neither
// be read nor made (a read-only folder without the file, a damaged file).
QString of(const QString &queueFolder, QString *error);

} // namespace QueueIdentity
