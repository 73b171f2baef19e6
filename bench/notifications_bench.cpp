// Notifications and item files at realistic sizes: a notifications search without criteria over
// 100,000 notifications, Populate to rows shown, against the search procedure alone; and
// frmItemFile opened for edit with Preview ticked on a 4000 x 3000 JPEG, shown and idle, against
// reading that picture alone with QImageReader. Each measurement is interleaved with its
// baseline; the least and the median ratio are printed beside the target. "--smoke" runs one pass
// over a handful of rows and a small picture; never fails on a missed target.

#include "BenchFixture.h"
#include "cases/CaseProcedures.h"
#include "cases/NotificationWindows.h"
#include "core/Connection.h"
#include "core/Database.h"
#include "custody/CustodyWindows.h"
#include "form_framework/WindowList.h"
#include "form_framework/WindowOpening.h"
#include "list_controls/ListProcedures.h"
#include "declared_windows/DeclaredSearchWindow.h"
#include "reference_tables/ReferenceTables.h"

#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QPainter>

#include <algorithm>
#include <cstdio>

namespace {

void fill(DatabaseConnection& connection, int notifications, const QString& picture)
{
    auto run = [&connection](const QString& sql, const std::vector<QVariant>& values = {}) {
        return connection.executeStatement(sql, values);
    };
    FillCaseClasses(connection);
    run(QStringLiteral("INSERT INTO Employees (Payroll_Number) VALUES ('P1')"));
    run(QStringLiteral("INSERT INTO Notification_Types (Notification_Type_Name, Notification_Type_Code) "
                       "VALUES ('Release', 'RL')"));
    const QVariant country = run(QStringLiteral("SELECT MIN(Country_ID) FROM Countries")).valueAt(0, 0);
    const int items = std::max(1, notifications / 10);
    const int people = std::max(1, notifications / 20);
    connection.beginTransaction();
    run(QStringLiteral("INSERT INTO Cases (Case_Date_Time, Case_Number, Crime_Class_ID, Felony_Class_ID, "
                       "Default_Property_Category_ID, Default_Submitting_Employee_ID) "
                       "VALUES ('2020-01-01 10:00:00', 'C-1', 1, 1, 1, 1)"));
    for (int i = 1; i <= items; ++i)
        run(QStringLiteral("INSERT INTO Items (Case_ID, Item_Number) VALUES (1, ?)"),
            { QStringLiteral("I%1").arg(i, 7, 10, QLatin1Char('0')) });
    for (int i = 1; i <= people; ++i) {
        run(QStringLiteral("INSERT INTO People (First_Name, Last_Name) VALUES (?, ?)"),
            { QStringLiteral("First%1").arg(i), QStringLiteral("Last%1").arg(i % 997) });
        run(QStringLiteral("INSERT INTO Addresses (Country_ID, Street_Address_1, City) VALUES (?, ?, ?)"),
            { country, QStringLiteral("%1 Main St").arg(i), QStringLiteral("City %1").arg(i % 97) });
    }
    for (int i = 1; i <= notifications; ++i)
        run(QStringLiteral("INSERT INTO Notifications (Item_ID, Notification_Type_ID, Send_To_Person_ID, "
                           "Send_To_Address_ID, Printed_On_Date, Printed_By_Employee_ID) VALUES (?, 1, ?, ?, ?, 1)"),
            { 1 + i % items, 1 + i % people, 1 + i % people,
                QStringLiteral("20%1-%2-%3 10:00:00")
                    .arg(10 + i % 10)
                    .arg(1 + i % 12, 2, 10, QLatin1Char('0'))
                    .arg(1 + i % 28, 2, 10, QLatin1Char('0')) });
    connection.commitTransaction();
    run(QStringLiteral("INSERT INTO DB_Folders (DB_Folder_Name) VALUES (?)"), { QFileInfo(picture).absolutePath() });
    run(QStringLiteral("INSERT INTO DB_Files (DB_Folder_ID, DB_File_Name) VALUES (1, ?)"),
        { QFileInfo(picture).fileName() });
    run(QStringLiteral("INSERT INTO Item_Files (Item_ID, DB_File_ID) VALUES (1, 1)"));
}

// A photograph-like picture (gradients and noise, so the JPEG is not trivially small).
QString makePicture(const QString& path, int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x)
            line[x] = qRgb((x * 255) / width, (y * 255) / height, ((x * 31) ^ (y * 17)) & 0xff);
    }
    image.save(path, "JPG", 90);
    return path;
}

} // namespace

int main(int argc, char* argv[])
{
    const BenchSession session(argc, argv,
        { RegisterLookupWindows, RegisterCaseProcedures, RegisterNotificationWindows, RegisterItemFileWindows });
    const bool smoke = session.smoke();
    const int notifications = smoke ? 5 : 100000;
    const int repeats = session.repeats(7);
    const QString picture = smoke ? makePicture(session.folder().filePath(QStringLiteral("small.jpg")), 40, 30)
                                  : makePicture(session.folder().filePath(QStringLiteral("large.jpg")), 4000, 3000);
    fill(session.connection(), notifications, picture);
    std::printf(
        "Notifications and item files: %d notifications on SQLite; %d interleaved pairs\n", notifications, repeats);
    PrintRatioHeader("us/run");

    DataWindow* search = ShowFormByName(QStringLiteral("frmNotifications"));
    if (!PrintPopulate(repeats, search, QStringLiteral("EXEC usp_Evd_Search_Notifications_All"),
            "notifications search, Populate to rows shown / the procedure"))
        return 1;
    UnloadWindow(search);

    // The preview setting's default is on: the window reads the picture as it opens.
    const PairedTimes open = Interleaved(
        repeats,
        [&] {
            QImageReader reader(picture);
            const QImage image = reader.read();
            if (image.isNull())
                std::printf("  (the picture could not be read)\n");
        },
        [&] { OpenForEditAndClose(QStringLiteral("frmItemFile"), 1, true); });
    PrintRatioLine("frmItemFile for edit with Preview, shown / QImageReader alone", open, 1, 1.5);

    return 0;
}
