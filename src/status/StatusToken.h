#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// The secret the status page's actions need (and reading from another machine): made at the
// first start of the page into rfstation-status.token in the program folder, a file only the
// station's user may read or write (mode 0600). It is never logged, shown or sent by the station.
class StatusToken
{
public:
    static constexpr const char *FileName = "rfstation-status.token";

    // The token of `programDir`, made when its file is missing (or was left empty by a crash);
    // a file that others may read is made private first. Both are logged (the path, never the
    // token). std::nullopt, with *error saying why, when there is no usable token: the file cannot
    // be made, read or made private, or holds no token of at least 16 visible characters.
    static std::optional<StatusToken> loadOrCreate(const QString &programDir, QString *error);

    // Whether `offered` is the token; the time taken does not depend on where they differ nor
    // on the offered length (both are hashed first).
    bool matches(const QByteArray &offered) const;

    // The token of an HTTP "Authorization: Bearer <token>" header; "" when there is none.
    static QByteArray fromAuthorization(const QByteArray &header);

private:
    explicit StatusToken(QByteArray secret)
        : m_secretHash(hash(secret))
    {
    }
    static QByteArray hash(const QByteArray &value);

    QByteArray m_secretHash; // SHA-256 of the token: the token itself is not kept
};
