#include "core/RemoteLocation.h"

#include <QRegularExpression>

bool IsRemoteLocation(const QString& location)
{
    static const QRegularExpression scheme(
        QStringLiteral("^(https?|ftps?)://"), QRegularExpression::CaseInsensitiveOption);
    return scheme.match(location).hasMatch();
}
