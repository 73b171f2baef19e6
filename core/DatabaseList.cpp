#include "core/DatabaseList.h"

#include "core/Actions.h"
#include "core/AppInfo.h"
#include "core/ErrorReport.h"
#include "core/RegistrySettings.h"
#include "core/SqlText.h"

#include <QDomDocument>
#include <QFile>
#include <QFileInfo>

namespace {
std::vector<DatabaseEntry> s_list;
int s_current = 0;

QString childText(const QDomElement& element, const QString& name, bool& found)
{
    const QDomElement child = element.firstChildElement(name);
    found = !child.isNull();
    // Trimmed: a pretty-printed file would otherwise name no server.
    return child.text().trimmed();
}
} // namespace

std::vector<DatabaseEntry>& DBList()
{
    return s_list;
}

int DBCount()
{
    return static_cast<int>(s_list.size());
}

int& CurrentDB()
{
    return s_current;
}

const DatabaseEntry* DatabaseAt(int index)
{
    if (index < 1 || index > DBCount())
        return nullptr;
    return &s_list[static_cast<size_t>(index - 1)];
}

void ReadDBsFromXML()
{
    QString message;
    try {
        const QString path = GetMainPath() + QStringLiteral("Settings.xml");
        if (!QFileInfo::exists(path)) {
            message = QStringLiteral("Cannot find Settings file ") + AngleQuote(path);
            RaiseToReport(QStringLiteral("Cannot find Settings file"));
        }
        QFile file(path);
        QDomDocument document;
        s_list.clear();
        // A file that cannot be read or parsed gives no entries; the dialog says what is wrong with
        // it, so that whoever keeps the workstation can mend it, and the program goes on with an
        // empty list.
        if (!file.open(QIODevice::ReadOnly)) {
            message = QStringLiteral("Cannot open Settings file ") + AngleQuote(path) + QStringLiteral(": ")
                + file.errorString() + QLatin1Char('.');
            RaiseToReport(QStringLiteral("Cannot read Settings file"));
        }
        const QByteArray content = file.readAll();
        if (file.error() != QFileDevice::NoError) {
            message = QStringLiteral("Cannot read Settings file ") + AngleQuote(path) + QStringLiteral(": ")
                + file.errorString() + QLatin1Char('.');
            RaiseToReport(QStringLiteral("Cannot read Settings file"));
        }
        if (content.trimmed().isEmpty()) {
            message = QStringLiteral("Settings file ") + AngleQuote(path) + QStringLiteral(" is empty.");
            RaiseToReport(QStringLiteral("Settings file is empty"));
        }
        QString parseError;
        int line = 0;
        int column = 0;
        if (!document.setContent(content, &parseError, &line, &column)) {
            message = QStringLiteral("Settings file %1 is not a valid XML document: %2 (line %3, column %4).")
                          .arg(AngleQuote(path), parseError)
                          .arg(line)
                          .arg(column);
            RaiseToReport(QStringLiteral("Settings file is not a valid XML document"));
        }
        const QDomNodeList nodes = document.elementsByTagName(QStringLiteral("Database"));
        for (int i = 0; i < nodes.count(); ++i) {
            const QDomElement element = nodes.at(i).toElement();
            bool hasServer = false;
            bool hasName = false;
            DatabaseEntry entry;
            entry.Server = childText(element, QStringLiteral("Server"), hasServer);
            entry.DatabaseName = childText(element, QStringLiteral("Database_Name"), hasName);
            bool hasEngine = false;
            entry.EngineName = childText(element, QStringLiteral("Engine"), hasEngine);
            if (!hasServer || !hasName)
                throw AppError(ErrInternal,
                               QStringLiteral("A Database element of the settings file has no %1 element.")
                                   .arg(hasServer ? QStringLiteral("Database_Name") : QStringLiteral("Server")),
                               ApplicationTitle());
            entry.DisplayName = entry.DatabaseName + QStringLiteral(" on ") + entry.Server;
            s_list.push_back(entry);
        }
    } catch (...) {
        SetPendingError(std::current_exception());
        ShowError(QString(), message, QStringLiteral("modStart::ReadDBsFromXML"));
    }
}

void LoadDatabases()
{
    try {
        ReadDBsFromXML();
        const QString remembered = RegistrySettings::value(QStringLiteral("Options"), QStringLiteral("DBOnServer"));
        if (!remembered.isEmpty()) {
            for (int i = 1; i <= DBCount(); ++i) {
                if (DatabaseAt(i)->DisplayName.compare(remembered, Qt::CaseInsensitive) == 0) {
                    s_current = i;
                    return;
                }
            }
        }
        if (DBCount() == 0)
            throw AppError(ErrSubscriptOutOfRange, QStringLiteral("Subscript out of range"), ApplicationTitle());
        s_current = 1;
        RegistrySettings::setValue(QStringLiteral("Options"), QStringLiteral("DBOnServer"), DatabaseAt(1)->DisplayName);
    } catch (...) {
        SetPendingError(std::current_exception());
        ShowError(QString(), QString(), QStringLiteral("modStart::LoadDatabases"));
    }
}

QString ReadUpdateLocation(const QString& settingsFile)
{
    QString location;
    QString failure;
    return ReadUpdateLocation(settingsFile, location, failure) ? location : QString();
}

bool ReadUpdateLocation(const QString& settingsFile, QString& location, QString& failure)
{
    location.clear();
    const QString shownName = AngleQuote(QFileInfo(settingsFile).fileName());
    QFile file(settingsFile);
    if (!file.open(QIODevice::ReadOnly)) {
        failure = QStringLiteral("Cannot open Settings file ") + shownName + QStringLiteral(": ") + file.errorString() + QLatin1Char('.');
        return false;
    }
    QDomDocument document;
    QString parseError;
    int line = 0;
    int column = 0;
    if (!document.setContent(&file, &parseError, &line, &column)) {
        failure = QStringLiteral("Settings file %1 is not a valid XML document: %2 (line %3, column %4).")
                      .arg(shownName, parseError)
                      .arg(line)
                      .arg(column);
        return false;
    }
    // The first element of that name anywhere in the document, as "//Update_Location" selects it.
    const QDomNodeList nodes = document.elementsByTagName(QStringLiteral("Update_Location"));
    if (nodes.isEmpty()) {
        failure = QStringLiteral("Settings file ") + shownName + QStringLiteral(" has no Update_Location element.");
        return false;
    }
    location = nodes.at(0).toElement().text().trimmed();
    return true;
}
