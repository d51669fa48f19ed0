#pragma once
// Operator passwords are stored as a salted PBKDF2-SHA256 hash of the password
// folded to lower case, since the login ignores letter case. A stored value
// without the prefix is a legacy plain password.

#include <QString>

namespace fm {

QString hashPassword(const QString &password);
bool isPasswordHash(const QString &stored);
// True when typed matches stored, hashed or legacy plain, ignoring case.
bool verifyPassword(const QString &typed, const QString &stored);

} // namespace fm
