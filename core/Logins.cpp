#include "core/Logins.h"

#include "core/AppError.h"

#include <QList>

#include <sodium.h>

#include <atomic>

namespace {
std::atomic<quint64> s_verifications { 0 };

void ensureSodium()
{
    static const bool ready = sodium_init() >= 0;
    if (!ready)
        throw AppError(ErrComponentNotCreatable, QStringLiteral("The password library cannot be started."));
}

bool verify(const QByteArray& stored, const QString& password)
{
    const QByteArray utf8 = password.toUtf8();
    ++s_verifications;
    return crypto_pwhash_str_verify(stored.constData(), utf8.constData(), static_cast<unsigned long long>(utf8.size()))
        == 0;
}

// A hash of a random password, made with the parameters of every real one, so verifying against
// it costs the same.
const QByteArray& standInHash()
{
    static const QByteArray hash = [] {
        unsigned char secret[32];
        randombytes_buf(secret, sizeof secret);
        return HashPassword(
            QString::fromLatin1(QByteArray(reinterpret_cast<const char*>(secret), sizeof secret).toHex()))
            .toLatin1();
    }();
    return hash;
}
} // namespace

QString PasswordRuleMessage(const QString& password, const QString& goodName)
{
    if (password.size() < kMinPasswordLength)
        return goodName + QStringLiteral(" should be at least ") + QString::number(kMinPasswordLength)
            + QStringLiteral(" characters long");
    if (password.size() > kMaxPasswordLength)
        return goodName + QStringLiteral(" should be at most ") + QString::number(kMaxPasswordLength)
            + QStringLiteral(" characters long: the Logon window takes no more");
    for (const QChar character : password) {
        if (character.isSpace())
            return goodName + QStringLiteral(" may not hold blanks: the Logon window cannot send them");
    }
    // The box types only printable characters: no control or format character reaches it.
    for (const uint character : password.toUcs4()) {
        if (!QChar::isPrint(static_cast<char32_t>(character)))
            return goodName + QStringLiteral(" may hold only printable characters: the Logon window cannot send others");
    }
    return {};
}

QString HashPassword(const QString& password)
{
    ensureSodium();
    const QByteArray utf8 = password.toUtf8();
    char hash[crypto_pwhash_STRBYTES];
    if (crypto_pwhash_str(hash, utf8.constData(), static_cast<unsigned long long>(utf8.size()),
                          crypto_pwhash_OPSLIMIT_INTERACTIVE, crypto_pwhash_MEMLIMIT_INTERACTIVE)
        != 0)
        throw AppError(ErrInternal, QStringLiteral("Out of memory while hashing the password."));
    return QString::fromLatin1(hash);
}

bool VerifyPassword(const QString& hash, const QString& password)
{
    if (hash.isEmpty())
        return false;
    ensureSodium();
    return verify(hash.toLatin1(), password);
}

bool VerifyLogonPassword(const QString& storedHash, const QString& password)
{
    ensureSodium();
    if (storedHash.isEmpty()) {
        verify(standInHash(), password);
        return false;
    }
    return verify(storedHash.toLatin1(), password);
}

quint64 PasswordVerificationCount() { return s_verifications.load(); }
