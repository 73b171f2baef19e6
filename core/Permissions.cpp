#include "core/Permissions.h"

#include "core/Database.h"
#include "core/MessageBoxes.h"
#include "core/Platform.h"
#include "core/SqlText.h"

namespace {
const QString CRLF = QStringLiteral("\r\n");

struct Lookup {
    QString procedure;
    ProcedureArguments arguments;
    QString notFound;
    QString title;
    QString secondSentence;
    // Refusal sentence and the two detail lines, from the answered row.
    std::function<QString(const Recordset&)> refusal;
    std::function<QStringList(const Recordset&)> details;
};

bool check(const Lookup& lookup, bool showRefusal)
{
    std::unique_ptr<Recordset> rs = CallProcedure(lookup.procedure, lookup.arguments);
    if (!rs)
        return false;
    if (rs->eof()) {
        ShowMessageBox(lookup.notFound, MsgBox::OKOnly | MsgBox::Exclamation, lookup.title);
        CloseRecordset(rs);
        return false;
    }
    const QVariant answer = rs->value(QStringLiteral("Permission"));
    const bool permitted = !answer.isNull() && answer.toBool();
    if (!permitted && showRefusal) {
        const QStringList details = lookup.details(*rs);
        QString text = lookup.refusal(*rs) + CRLF + CRLF + QStringLiteral("Please contact System Administrator if you think that") + CRLF
            + lookup.secondSentence + CRLF + CRLF;
        for (const QString& line : details)
            text += line + CRLF;
        text += QStringLiteral("User Name: ") + UserName();
        ShowMessageBox(text, MsgBox::OKOnly | MsgBox::Exclamation, lookup.title);
    }
    CloseRecordset(rs);
    return permitted;
}

QString column(const Recordset& rs, const char* name)
{
    return NullToString(rs.value(QString::fromLatin1(name)));
}
} // namespace

bool CheckReportPermission(const QString& reportCode, bool showRefusal)
{
    const QString code = reportCode.trimmed();
    Lookup lookup {
        QStringLiteral("usp_DB_Get_DB_Report_Permission"),
        { { QStringLiteral("DB_Report_Code"), trimBlanks(reportCode) } },
        QStringLiteral("Report ") + AngleQuote(code) + QStringLiteral(" wasn't found. Please contact System Administrator."),
        QStringLiteral("Report Permissions"),
        QStringLiteral("you should have permissions to run this report."),
        [](const Recordset& rs) {
            return QStringLiteral("You are not permitted to run report ") + AngleQuote(column(rs, "DB_Report_Name")) + QStringLiteral(".");
        },
        [code](const Recordset& rs) {
            return QStringList { QStringLiteral("Report Name: ") + column(rs, "DB_Report_Name"), QStringLiteral("Report Code: ") + code };
        },
    };
    return check(lookup, showRefusal);
}

bool CheckActionPermission(const QString& actionCode, bool showRefusal)
{
    const QString code = actionCode.trimmed();
    Lookup lookup {
        QStringLiteral("usp_DB_Get_DB_Action_Permission"),
        { { QStringLiteral("DB_Action_Code"), trimBlanks(actionCode) } },
        QStringLiteral("Action Code ") + AngleQuote(code) + QStringLiteral(" wasn't found. Please contact System Administrator."),
        QStringLiteral("Permissions"),
        QStringLiteral("you should have permissions to execute this action."),
        [](const Recordset& rs) {
            return QStringLiteral("You are not permitted to execute action ") + AngleQuote(column(rs, "DB_Action_Name")) + QStringLiteral(".");
        },
        [code](const Recordset& rs) {
            return QStringList { QStringLiteral("Action Name: ") + column(rs, "DB_Action_Name"), QStringLiteral("Action Code: ") + code };
        },
    };
    return check(lookup, showRefusal);
}

bool CheckTablePermission(const QString& tableAction, const QString& tableName, bool showRefusal)
{
    const QString action = tableAction.trimmed();
    const QString table = tableName.trimmed();
    Lookup lookup {
        QStringLiteral("usp_DB_Get_DB_Table_Permission"),
        { { QStringLiteral("DB_Table_Action_Name"), trimBlanks(tableAction) },
            { QStringLiteral("DB_Table_Name"), trimBlanks(tableName) } },
        QStringLiteral("Action ") + AngleQuote(action) + QStringLiteral(" or Table ") + AngleQuote(table)
            + QStringLiteral(" weren't found in the database. Please contact System Administrator."),
        QStringLiteral("Table Permissions"),
        QStringLiteral("you should have permissions to execute this action."),
        [tableAction](const Recordset& rs) {
            return QStringLiteral("You are not permitted to ") + tableAction + QStringLiteral(" ") + AngleQuote(column(rs, "DB_Record_Good_Name"))
                + QStringLiteral(".");
        },
        [action](const Recordset& rs) {
            return QStringList { QStringLiteral("Action: ") + action, QStringLiteral("Table: ") + column(rs, "DB_Table_Good_Name") };
        },
    };
    return check(lookup, showRefusal);
}

const QStringList& OwnUserRecordColumns()
{
    static const QStringList columns = { QStringLiteral("DB_Last_Name"), QStringLiteral("DB_First_Name"),
        QStringLiteral("DB_User_Default_Country_ID"), QStringLiteral("DB_User_Default_State_ID"),
        QStringLiteral("DB_User_Default_City"), QStringLiteral("DB_User_Default_Area_Code"),
        QStringLiteral("DB_Prompt_Database_Switch") };
    return columns;
}

bool IsOwnUserRecordChange(const QString& tableName, int identity, const QStringList& columns)
{
    if (tableName.trimmed().compare(QLatin1String("DB_Users"), Qt::CaseInsensitive) != 0 || identity <= 0
        || columns.isEmpty())
        return false;
    for (const QString& column : columns) {
        if (!OwnUserRecordColumns().contains(column.trimmed(), Qt::CaseInsensitive))
            return false;
    }
    const std::optional<QVariant> own = GetSQLValue(QStringLiteral("EXEC usp_DB_Get_Current_DB_User_ID"));
    return own && !own->isNull() && own->toInt() == identity;
}
