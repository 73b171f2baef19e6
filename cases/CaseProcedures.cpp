#include "cases/CaseProcedures.h"

#include "core/AppError.h"
#include "core/Connection.h"
#include "core/ProcedureCatalogue.h"

#include <QStringList>
#include <QUrl>

namespace {

// The address as a map service's search box takes it: its filled parts joined by ", ".
QString oneLineAddress(const Recordset& row)
{
    QStringList parts;
    for (int column = 0; column < row.fieldCount(); ++column) {
        const QString part = row.valueAt(0, column).toString().trimmed();
        if (!part.isEmpty())
            parts << part;
    }
    return parts.join(QStringLiteral(", "));
}

NativeProcedure mapPage(const QString& procedure, const QString& settingName)
{
    return [procedure, settingName](DatabaseConnection& connection, const std::vector<QVariant>& arguments) {
        const Recordset pattern = connection.executeStatement(
            QStringLiteral("SELECT DB_Setting_Value FROM DB_Setting_Defaults WHERE DB_Setting_Name = ?"),
            { settingName });
        if (pattern.recordCount() == 0 || pattern.valueAt(0, 0).toString().trimmed().isEmpty())
            throw AppError(ErrProviderCommand, QStringLiteral("Cannot find Setting <%1>").arg(settingName), procedure);

        Recordset result;
        result.addResultSet({ { QStringLiteral("URL"), ColumnType::Text } });
        QVariant address = arguments.at(0);
        // A case person's page is that of the address the link was given.
        const QVariant casePerson = arguments.size() > 1 ? arguments.at(1) : QVariant();
        if (address.isNull() && !casePerson.isNull()) {
            const Recordset link = connection.executeStatement(
                QStringLiteral("SELECT Address_ID FROM Case_People WHERE Case_Person_ID = ?"), { casePerson });
            if (link.recordCount() > 0)
                address = link.valueAt(0, 0);
        }
        if (!address.isNull()) {
            const Recordset parts = connection.executeStatement(
                QStringLiteral("SELECT a.Street_Address_1, a.Street_Address_2, a.City, "
                               "COALESCE(CAST(s.State_Code AS TEXT), CAST(a.State_Other AS TEXT)), a.ZIP, "
                               "c.Country_Name "
                               "FROM Addresses a "
                               "LEFT JOIN States s ON s.State_ID = a.State_ID "
                               "LEFT JOIN Countries c ON c.Country_ID = a.Country_ID "
                               "WHERE a.Address_ID = ?"),
                { address });
            if (parts.recordCount() > 0) {
                result.appendText(0, MapPageAddress(pattern.valueAt(0, 0).toString().trimmed(), oneLineAddress(parts)));
                result.finishRow();
            }
        }
        result.finishResultSet();
        return result;
    };
}

} // namespace

QString MapPageAddress(const QString& pattern, const QString& oneLineAddress)
{
    QString page = pattern;
    return page.replace(QStringLiteral("{Address}"), QString::fromLatin1(QUrl::toPercentEncoding(oneLineAddress)));
}

void RegisterCaseProcedures()
{
    ProcedureCatalogue& catalogue = ProcedureCatalogue::instance();
    const std::vector<ProcedureParameter> byAddress { { QStringLiteral("Address_ID"), ParameterType::Integer },
        { QStringLiteral("Case_Person_ID"), ParameterType::Integer } };
    catalogue.registerNative(QStringLiteral("usp_Evd_URL_Map_Yahoo"), byAddress,
        mapPage(QStringLiteral("usp_Evd_URL_Map_Yahoo"), QStringLiteral("DB_URL_Map_Yahoo")));
    catalogue.registerNative(QStringLiteral("usp_Evd_URL_Map_MapQuest"), byAddress,
        mapPage(QStringLiteral("usp_Evd_URL_Map_MapQuest"), QStringLiteral("DB_URL_Map_MapQuest")));
}
