#include "reference_tables/ReferenceTables.h"

// Notification types, genders and races.
std::vector<DeclaredTable> NotificationGenderRaceTables()
{
    DeclaredTable notifications
        = DeclaredTable::of(QStringLiteral("Notification_Types"), QStringLiteral("Notification_Type_ID"),
            QStringLiteral("frmNotificationType"), QStringLiteral("frmNotificationTypes"),
            QStringLiteral("Notification Type"), QStringLiteral("Notification Types"))
              .withNameAndCode(50);
    // Optional, but a report name that is given belongs to one notification type only.
    notifications.fields.push_back(DeclaredField::text(QStringLiteral("ztxtReport"), QStringLiteral("Report_Name"), QStringLiteral("Report"))
                                       .length(50)
                                       .unique()
                                       .labelled(QStringLiteral("Notification Report:")));
    notifications.fields.push_back(
        DeclaredField::memo(QStringLiteral("zmemText"), QStringLiteral("Notification_Text"), QStringLiteral("Notification Text"))
            .length(500)
            .labelled(QStringLiteral("Notification Text:"), QStringLiteral("zlabel2(0)")));

    DeclaredTable races = DeclaredTable::of(QStringLiteral("Races"), QStringLiteral("Race_ID"),
        QStringLiteral("frmRace"), QStringLiteral("frmRaces"), QStringLiteral("Race"), QStringLiteral("Races"))
                              .withNameAndCode(50);
    races.fields.push_back(DeclaredField::memo(QStringLiteral("zmemDesc"), QStringLiteral("Race_Description"), QStringLiteral("Race Description"))
                               .length(200)
                               .labelled(QStringLiteral("Race Description:"), QStringLiteral("zlabel2(0)")));

    return {
        notifications,
        DeclaredTable::of(QStringLiteral("Genders"), QStringLiteral("Gender_ID"), QStringLiteral("frmGender"),
            QStringLiteral("frmGenders"), QStringLiteral("Gender"), QStringLiteral("Genders"))
            .withNameAndCode(),
        races,
    };
}
