#include "cases/NotificationWindows.h"

#include "cases/PeopleWindows.h"
#include "core/Actions.h"
#include "core/Database.h"
#include "core/Permissions.h"
#include "core/RecordCodes.h"
#include "declared_windows/DeclaredControl.h"
#include "declared_windows/DeclaredRecordWindow.h"
#include "declared_windows/DeclaredSearchWindow.h"
#include "exports/MailMerge.h"
#include "form_framework/FormRegistry.h"
#include "form_framework/RecordChecks.h"
#include "form_framework/WindowOpening.h"
#include "list_controls/zComboBoxText.h"

#include <QDateTime>
#include <QPushButton>

namespace {

DeclaredField notificationDate(int index, const QString& column, const QString& goodName)
{
    return DeclaredField::recordDate(QStringLiteral("zdatDate(%1)").arg(index), column, goodName);
}

DeclaredField itemPicker()
{
    return DeclaredField::pickerOf(QStringLiteral("zcbtItem"), QStringLiteral("Item_ID"), QStringLiteral("Item Number"),
        QStringLiteral("usp_Evd_DropDown_Items"), QStringLiteral("Items"));
}

// The identity a one-value look-up gives, or 0 when the row (or its link) is gone.
int lookUpIdentity(const QString& sql)
{
    const auto value = GetSQLValue(sql);
    return value && !value->isNull() ? value->toInt() : 0;
}

WindowActions::Run asAction(const QString& description, WindowActions::Run run)
{
    return [description, run](int id) {
        ActionScope action(QStringLiteral("NotificationWindows"), QStringLiteral("ActionClick"), description);
        action.run([&] { run(id); });
    };
}

// The Actions menu of both windows: the record window's shown notification, the search window's
// selected row. A related row that is gone opens nothing.
template <typename Window> void addNotificationActions(Window& window)
{
    window.addAction(QStringLiteral("Print &Notification"), asAction(QStringLiteral("Print Notification"), [](int id) {
        WordReport(QStringLiteral("Notification"),
            QStringLiteral("EXEC usp_Evd_Rep_Notification @Notification_ID = ") + QString::number(id),
            QStringLiteral("Notification"), true, RecordCodeText(QLatin1Char('N'), id));
    }));
    window.addAction(QStringLiteral("-"), {});
    window.addAction(QStringLiteral("View Item"), asAction(QStringLiteral("View Item"), [](int id) {
        const int itemId = lookUpIdentity(
            QStringLiteral("SELECT Item_ID FROM Notifications WHERE Notification_ID = ") + QString::number(id));
        if (itemId <= 0)
            return ShowRelatedRecordGone();
        // The item window opens for editing: a user refused that is told now, as the grid tells
        // them, not after changing the item and pressing Save.
        if (!CheckTablePermission(QStringLiteral("Edit"), QStringLiteral("Items"), true))
            return;
        OpenRecordForEdit(QStringLiteral("frmItem"), itemId);
    }));
    window.addAction(QStringLiteral("-"), {});
    window.addAction(QStringLiteral("View Case People"), asAction(QStringLiteral("View Case People"), [](int id) {
        const int caseId = lookUpIdentity(QStringLiteral("SELECT i.Case_ID FROM Notifications n JOIN Items i ON "
                                                         "i.Item_ID = n.Item_ID WHERE n.Notification_ID = ")
            + QString::number(id));
        if (caseId <= 0)
            return ShowRelatedRecordGone();
        OpenFormWithParams(QStringLiteral("frmCasePeople"), 0, { QStringLiteral("Case_ID"), caseId });
    }));
}

// The three dates with their "<= Today" buttons, and the two employees.
const DeclaredControl<zFieldBase> NotificationDates[] = { { { "frmNotification" }, "zdatDate(0)" },
    { { "frmNotification" }, "zdatDate(1)" }, { { "frmNotification" }, "zdatDate(2)" } };
const DeclaredControl<QPushButton> NotificationToday[] = { { { "frmNotification" }, "btnNow(0)" },
    { { "frmNotification" }, "btnNow(1)" }, { { "frmNotification" }, "btnNow(2)" } };
const DeclaredControl<zComboBoxText> NotificationEmployees[]
    = { { { "frmNotification" }, "zcbtEmployee(0)" }, { { "frmNotification" }, "zcbtEmployee(1)" } };

void extendNotificationWindow(DeclaredRecordWindow& window)
{
    for (int index = 0; index < 3; ++index) {
        zFieldBase* date = NotificationDates[index].in(window);
        QObject::connect(NotificationToday[index].in(window), &QPushButton::clicked, &window,
            [date] { date->setValue(QDateTime::currentDateTime()); });
    }
    for (const auto& handle : NotificationEmployees) {
        auto* employee = handle.in(window);
        QObject::connect(
            employee, &zComboBoxText::DropDownLostFocus, &window, [employee] { ResolveEmployee(employee); });
    }
    addNotificationActions(window);
}

} // namespace

DeclaredTable NotificationsTable()
{
    DeclaredTable notifications = DeclaredTable::of(QStringLiteral("Notifications"), QStringLiteral("Notification_ID"),
        QStringLiteral("frmNotification"), QStringLiteral("frmNotifications"), QStringLiteral("Notification"),
        QStringLiteral("Notifications"));
    const QString today = QStringLiteral("<= Today");
    notifications.fields = {
        itemPicker().required().recordCodes(QLatin1Char('I'), true),
        DeclaredField::pickerOf(QStringLiteral("zcbtType"), QStringLiteral("Notification_Type_ID"),
            QStringLiteral("Notification Type"), QStringLiteral("usp_Evd_DropDown_Notification_Types"),
            QStringLiteral("Notification_Types"))
            .required(),
        DeclaredField::pickerOf(QStringLiteral("zcbtPerson"), QStringLiteral("Send_To_Person_ID"),
            QStringLiteral("Send to Person"), QStringLiteral("usp_Evd_DropDown_People"), QStringLiteral("People"))
            .required(),
        DeclaredField::pickerOf(QStringLiteral("zcbtAddress"), QStringLiteral("Send_To_Address_ID"),
            QStringLiteral("Send to Address"), QStringLiteral("usp_Evd_DropDown_Addresses"),
            QStringLiteral("Addresses"))
            .required(),
        notificationDate(0, QStringLiteral("Printed_On_Date"), QStringLiteral("Printed Date"))
            .withButton(QStringLiteral("btnNow(0)"), today),
        DeclaredField::pickerOf(QStringLiteral("zcbtEmployee(0)"), QStringLiteral("Printed_By_Employee_ID"),
            QStringLiteral("Printed By"), QStringLiteral("usp_Evd_DropDown_Employees"), QStringLiteral("Employees")),
        notificationDate(1, QStringLiteral("Sent_On_Date"), QStringLiteral("Sent Date"))
            .withButton(QStringLiteral("btnNow(1)"), today),
        DeclaredField::pickerOf(QStringLiteral("zcbtEmployee(1)"), QStringLiteral("Sent_By_Employee_ID"),
            QStringLiteral("Sent By"), QStringLiteral("usp_Evd_DropDown_Employees"), QStringLiteral("Employees")),
        DeclaredField::memo(QStringLiteral("zmemNotes(0)"), QStringLiteral("Notification_Comments"),
            QStringLiteral("Notification Comments"))
            .length(200),
        notificationDate(2, QStringLiteral("Returned_On_Date"), QStringLiteral("Returned Date"))
            .withButton(QStringLiteral("btnNow(2)"), today),
        DeclaredField::memo(QStringLiteral("zmemNotes(1)"), QStringLiteral("Returned_Notification_Comments"),
            QStringLiteral("Returned Notification Comments"))
            .length(200),
    };
    notifications.criteria = {
        notificationDate(0, QStringLiteral("Notification_Date_From"), QStringLiteral("Notification Date From")),
        notificationDate(1, QStringLiteral("Notification_Date_To"), QStringLiteral("Notification Date To"))
            .labelled(QStringLiteral("To:")),
        itemPicker(),
    };
    notifications.codePrefix = QLatin1Char('N');
    notifications.codeCaption = QStringLiteral("Notification Barcode:");
    notifications.codeFontFamily = QStringLiteral("Tahoma");
    notifications.codeFontPoints = 8.25;
    // An opener's default value has no field here.
    notifications.defaultValueTarget.clear();
    notifications.populateOnStart = false;
    notifications.extendRecordWindow = extendNotificationWindow;
    notifications.extendSearchWindow = [](DeclaredSearchWindow& window) { addNotificationActions(window); };
    return notifications;
}

void RegisterNotificationWindows()
{
    const DeclaredTable notifications = NotificationsTable();
    FormRegistry::registerForm(
        notifications.recordWindow, [notifications] { return new DeclaredRecordWindow(notifications); });
    FormRegistry::registerForm(notifications.searchWindow, [notifications] { return new DeclaredSearchWindow(notifications); });
}
