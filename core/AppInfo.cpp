#include "core/AppInfo.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace {
QString s_title = QStringLiteral("Bramblecot_Main");
QString s_mainPath;

QString withSlash(QString path)
{
    if (!path.endsWith(QLatin1Char('/')) && !path.endsWith(QLatin1Char('\\')))
        path += QLatin1Char('/');
    return path;
}
} // namespace

QString ApplicationTitle()
{
    return s_title;
}

void SetApplicationTitle(const QString& title)
{
    s_title = title;
}

QString GetMainPath()
{
    if (!s_mainPath.isEmpty())
        return s_mainPath;
    if (QCoreApplication::instance())
        return withSlash(QCoreApplication::applicationDirPath());
    return withSlash(QDir::currentPath());
}

void SetMainPath(const QString& folder)
{
    s_mainPath = folder.isEmpty() ? QString() : withSlash(QDir(folder).absolutePath());
}

QString ExecutableBaseName()
{
    if (QCoreApplication::instance())
        return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
    return s_title;
}

bool DevelopmentRun()
{
    return false;
}

namespace {
bool s_testMode = false;
}

bool TestMode()
{
    return s_testMode;
}

void SetTestMode(bool testMode)
{
    s_testMode = testMode;
}

QString GetVersionText()
{
    return QStringLiteral("%1.%2.%3")
        .arg(BRAMBLECOT_VERSION_MAJOR)
        .arg(BRAMBLECOT_VERSION_MINOR)
        .arg(BRAMBLECOT_VERSION_PATCH, 4, 10, QLatin1Char('0'));
}

QString LegalNotice()
{
    return QStringLiteral("Copyright \u00A9 Bramblecot developers. All rights reserved.");
}
