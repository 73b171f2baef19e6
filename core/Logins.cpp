#include "core/Logins.h"

#include "core/AppError.h"

#include <sodium.h>

namespace {
void ensureSodium()
{
    static const bool ready = sodium_init() >= 0;
    if (!ready)
        throw AppError(ErrComponentNotCreatable, QStringLiteral("The password library cannot be started."));
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
    const QByteArray stored = hash.toLatin1();
    const QByteArray utf8 = password.toUtf8();
    return crypto_pwhash_str_verify(stored.constData(), utf8.constData(), static_cast<unsigned long long>(utf8.size())) == 0;
}
