#include "core/Settings.h"

#include "core/Actions.h"
#include "core/Database.h"
#include "core/SqlText.h"

bool Act_SaveSettingDB(const QString& name, const QVariant& value)
{
    ActionScope action(QStringLiteral("modActFunctions"), QStringLiteral("Act_SaveSettingDB"),
                       QStringLiteral("Save Settings Into the Database"));
    return action.run([&] {
        QString text;
        if (value.typeId() == QMetaType::Bool)
            text = value.toBool() ? QStringLiteral("1") : QStringLiteral("0");
        else if (value.typeId() == QMetaType::QString)
            text = SQLString(value.toString());
        else if (value.typeId() == QMetaType::Double)
            text = QString::number(value.toDouble(), 'g', 15);
        else
            text = value.toString();
        if (!Act_CallProcedureTrans(QStringLiteral("usp_DB_Setting_Save"),
                { { QStringLiteral("Setting_Name"), trimBlanks(name) }, { QStringLiteral("Setting_Value"), trimBlanks(text) } }))
            RaiseSilent();
    });
}

bool Act_GetSettingDB(const QString& name, QVariant& value)
{
    ActionScope action(QStringLiteral("modActFunctions"), QStringLiteral("Act_GetSettingDB"),
                       QStringLiteral("Get Settings From the Database"));
    return action.run([&] {
        std::unique_ptr<Recordset> recordset;
        if (!Act_CallProcedure(recordset, QStringLiteral("usp_DB_Setting_Get"), { { QStringLiteral("Setting_Name"), trimBlanks(name) } }))
            RaiseSilent();
        if (recordset->eof()) {
            CloseRecordset(recordset);
            RaiseToReport(QStringLiteral("Cannot find Setting ") + AngleQuote(name));
        }
        value = recordset->value(0);
        CloseRecordset(recordset);
    });
}
