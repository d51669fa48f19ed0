#include "common/password.h"

#include <QCryptographicHash>
#include <QMessageAuthenticationCode>
#include <QRandomGenerator>
#include <QStringList>

namespace fm {

namespace {

const QString kPrefix = QStringLiteral("pbkdf2-sha256");
constexpr int kIterations = 60000;
constexpr int kKeyLength = 32;

QByteArray pbkdf2(const QByteArray &password, const QByteArray &salt, int iterations)
{
    // One block is enough: the key is exactly one SHA-256 output long.
    QMessageAuthenticationCode mac(QCryptographicHash::Sha256, password);
    mac.addData(salt);
    mac.addData(QByteArray("\x00\x00\x00\x01", 4));
    QByteArray u = mac.result();
    QByteArray out = u;
    for (int i = 1; i < iterations; ++i) {
        mac.reset();
        mac.addData(u);
        u = mac.result();
        for (int j = 0; j < out.size(); ++j) out[j] = char(out[j] ^ u[j]);
    }
    return out.left(kKeyLength);
}

bool constantTimeEqual(const QByteArray &a, const QByteArray &b)
{
    if (a.size() != b.size()) return false;
    unsigned char diff = 0;
    for (int i = 0; i < a.size(); ++i) diff |= uchar(a[i]) ^ uchar(b[i]);
    return diff == 0;
}

} // namespace

QString hashPassword(const QString &password)
{
    QByteArray salt(16, 0);
    QRandomGenerator *rng = QRandomGenerator::system();
    for (int i = 0; i < salt.size(); ++i) salt[i] = char(rng->bounded(256));
    const QByteArray key = pbkdf2(password.toLower().toUtf8(), salt, kIterations);
    return QStringLiteral("%1$%2$%3$%4")
        .arg(kPrefix)
        .arg(kIterations)
        .arg(QString::fromLatin1(salt.toBase64()), QString::fromLatin1(key.toBase64()));
}

bool isPasswordHash(const QString &stored)
{
    return stored.startsWith(kPrefix + QLatin1Char('$'));
}

bool verifyPassword(const QString &typed, const QString &stored)
{
    if (!isPasswordHash(stored))
        return typed.trimmed().compare(stored.trimmed(), Qt::CaseInsensitive) == 0;
    const QStringList parts = stored.split(QLatin1Char('$'));
    if (parts.size() != 4) return false;
    bool ok = false;
    const int iterations = parts[1].toInt(&ok);
    if (!ok || iterations < 1) return false;
    const QByteArray salt = QByteArray::fromBase64(parts[2].toLatin1());
    const QByteArray expected = QByteArray::fromBase64(parts[3].toLatin1());
    return constantTimeEqual(pbkdf2(typed.toLower().toUtf8(), salt, iterations), expected);
}

} // namespace fm
