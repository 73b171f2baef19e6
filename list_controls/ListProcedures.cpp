#include "list_controls/ListProcedures.h"

#include "core/AppError.h"
#include "core/Connection.h"
#include "core/ProcedureCatalogue.h"
#include "core/TransactionGuard.h"
#include "list_controls/ListFormats.h"

#include <QRegularExpression>
#include <QSet>

#include <cmath>

namespace {

const QString kSaveName = QStringLiteral("usp_DB_Col_Columns_Width_Save");
const QString kLimitName = QStringLiteral("usp_DB_Limit_SP_To_IDs");

[[noreturn]] void refuse(const QString& procedure, const QString& message)
{
    throw AppError(ErrProviderCommand, message, procedure);
}

Recordset saveColumnWidths(DatabaseConnection& connection, const std::vector<QVariant>& arguments)
{
    const QString form = arguments.at(0).toString().trimmed();
    const QString grid = arguments.at(1).toString().trimmed();
    if (form.isEmpty() || grid.isEmpty())
        refuse(kSaveName, QStringLiteral("Procedure %1 expects @DB_App_Form_Name and @DB_App_Grid_Name.").arg(kSaveName));
    const std::vector<std::pair<QString, int>> rows = ReadColumnWidthRows(arguments.at(2).toString());

    TransactionGuard unit(connection);
    connection.executeStatement(
        QStringLiteral("DELETE FROM DB_Column_Widths WHERE DB_Login_Name = SUSER_NAME() AND DB_App_Form_Name = ? "
                       "AND DB_App_Grid_Name = ?"),
        { form, grid });
    QSet<QString> seen;
    for (const auto& [column, width] : rows) {
        // A name given twice keeps its first width, as the table keeps one row per column.
        if (seen.contains(column.toLower()))
            continue;
        seen.insert(column.toLower());
        connection.executeStatement(
            QStringLiteral("INSERT INTO DB_Column_Widths (DB_Login_Name, DB_App_Form_Name, DB_App_Grid_Name, "
                           "DB_Column_Name, DB_Width_Twips) VALUES (SUSER_NAME(), ?, ?, ?, ?)"),
            { form, grid, column, width });
    }
    unit.commit();
    return {};
}

Recordset limitToIdentities(DatabaseConnection& connection, const std::vector<QVariant>& arguments)
{
    const QString name = arguments.at(0).toString().trimmed();
    const Procedure* procedure = ProcedureCatalogue::instance().find(name);
    if (name.isEmpty() || !procedure || name.compare(kLimitName, Qt::CaseInsensitive) == 0)
        refuse(kLimitName, QStringLiteral("Could not find stored procedure '%1'.").arg(name));
    const std::optional<std::vector<int>> identities = ParseIdentityList(arguments.at(1).toString());
    if (!identities)
        refuse(kLimitName, QStringLiteral("@ID_List of %1 must be identities separated by commas.").arg(kLimitName));
    const QSet<qint64> wanted(identities->begin(), identities->end());

    Recordset all = connection.callProcedure(*procedure, {});
    Recordset limited;
    if (!all.isOpen())
        return limited;
    limited.addResultSet(all.columns());
    const int columns = all.fieldCount();
    for (int row = 0; columns > 0 && row < all.recordCount(); ++row) {
        const QVariant identity = all.valueAt(row, 0);
        if (identity.isNull() || !wanted.contains(identity.toLongLong()))
            continue;
        for (int column = 0; column < columns; ++column)
            limited.appendValue(column, all.valueAt(row, column));
        limited.finishRow();
    }
    limited.finishResultSet();
    return limited;
}

} // namespace

std::vector<std::pair<QString, int>> ReadColumnWidthRows(const QString& selectText)
{
    // One line per column: the first plain, the others after UNION; the name runs to the last
    // "', " of its line, so a name with a quote in it still reads whole.
    static const QRegularExpression line(QStringLiteral("^(UNION )?SELECT '(.+)', (\\d{1,9}(?:\\.\\d+)?)$"),
                                         QRegularExpression::CaseInsensitiveOption);
    std::vector<std::pair<QString, int>> rows;
    QString text = selectText;
    if (text.endsWith(QLatin1String("\r\n")))
        text.chop(2);
    if (text.trimmed().isEmpty())
        return rows;
    const QStringList lines = text.split(QStringLiteral("\r\n"));
    for (int i = 0; i < lines.size(); ++i) {
        const QRegularExpressionMatch match = line.match(lines.at(i));
        const bool unionExpected = i > 0;
        if (!match.hasMatch() || match.captured(1).isEmpty() == unionExpected)
            refuse(kSaveName, QStringLiteral("Column width line %1 is not a column name and a width: %2").arg(i + 1).arg(lines.at(i)));
        const double width = match.captured(3).toDouble();
        rows.emplace_back(match.captured(2), static_cast<int>(std::lround(width)));
    }
    return rows;
}

void RegisterListControlProcedures()
{
    ProcedureCatalogue& catalogue = ProcedureCatalogue::instance();
    catalogue.registerNative(kSaveName,
                             { { QStringLiteral("DB_App_Form_Name"), ParameterType::Text },
                               { QStringLiteral("DB_App_Grid_Name"), ParameterType::Text },
                               { QStringLiteral("Column_Width_SQL"), ParameterType::Text } },
                             saveColumnWidths);
    catalogue.registerNative(kLimitName,
                             { { QStringLiteral("SP_Name"), ParameterType::Text },
                               { QStringLiteral("ID_List"), ParameterType::Text } },
                             limitToIdentities);
}
