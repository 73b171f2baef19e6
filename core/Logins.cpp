#include "Logins.h"

#include "AppError.h"

#include <sodium.h>

namespace {
void ensureSodium()
{
    static const bool ready = sodium_init() >= 0;
    if (!ready)
        throw AppError(ErrComponentNotCreatable, QStringLiteral("The password library cannot be started."));
}
} // namespace

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
