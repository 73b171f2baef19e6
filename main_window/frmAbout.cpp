#include "main_window/frmAbout.h"

#include "core/Actions.h"
#include "core/AppInfo.h"
#include "form_framework/ChildWindows.h"
#include "core/Connection.h"
#include "core/Database.h"
#include "core/DatabaseList.h"
#include "core/SysInfo.h"
#include "core/Twips.h"
#include "main_window/frmSplash.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QSqlDriver>
#include <QTableWidget>
#include <QVBoxLayout>

QString DriverVersionText()
{
    DatabaseConnection* connection = DBConnection();
    if (!connection || !connection->isOpen())
        return {};
    const QString driver = connection->database().driverName();
    try {
        // The one place the About window asks an engine for its version.
        if (connection->engine() == Engine::PostgreSQL) {
            Recordset version = connection->executeStatement(QStringLiteral("SHOW server_version"));
            return driver + QStringLiteral(", PostgreSQL ") + version.valueAt(0, 0).toString();
        }
        Recordset version = connection->executeStatement(QStringLiteral("SELECT sqlite_version()"));
        return driver + QStringLiteral(", SQLite ") + version.valueAt(0, 0).toString();
    } catch (const std::exception&) {
        return driver;
    }
}

frmAbout::frmAbout(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About ") + ApplicationTitle());
    zxlAppName = new QLabel(ApplicationTitle(), this);
    zxlAppName->setObjectName(QStringLiteral("zxlAppName"));
    zxlAppName->setTextFormat(Qt::PlainText);
    QFont big = zxlAppName->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 1.8);
    zxlAppName->setFont(big);
    imgImage = new QLabel(this);
    imgImage->setObjectName(QStringLiteral("imgImage"));

    grdGrid = new QTableWidget(0, 2, this);
    grdGrid->setObjectName(QStringLiteral("grdGrid"));
    grdGrid->horizontalHeader()->hide();
    grdGrid->verticalHeader()->hide();
    grdGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdGrid->setSelectionMode(QAbstractItemView::NoSelection);
    grdGrid->setColumnWidth(0, TwipsToPixels(2000));
    grdGrid->setColumnWidth(1, TwipsToPixels(5400));
    grdGrid->setMinimumWidth(TwipsToPixels(7400) + 4);

    btnSysInfo = new QPushButton(QStringLiteral("&System Info..."), this);
    btnSysInfo->setObjectName(QStringLiteral("btnSysInfo"));
    btnSysInfo->setDefault(true);
    btnOK = new QPushButton(QStringLiteral("&Close"), this);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setAutoDefault(false);
    connect(btnSysInfo, &QPushButton::clicked, this, [] { StartSysInfo(); });
    connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);

    auto* top = new QHBoxLayout;
    top->addWidget(imgImage);
    top->addWidget(zxlAppName, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnSysInfo);
    buttons->addWidget(btnOK);
    auto* column = new QVBoxLayout(this);
    column->addLayout(top);
    column->addWidget(grdGrid);
    column->addLayout(buttons);

    // Load.
    const DatabaseEntry* entry = DatabaseAt(CurrentDB());
    addRow(QStringLiteral("Version:"), GetVersionText());
    addRow(QStringLiteral("Database:"), entry ? entry->DatabaseName : QVariant());
    addRow(QStringLiteral("Server:"), entry ? entry->Server : QVariant());
    addRow(QStringLiteral("ADO Version:"), DriverVersionText());

    std::unique_ptr<Recordset> recordset;
    if (Act_OpenRecordset(recordset, QStringLiteral("EXEC usp_DB_Get_DB_User_Name"))) {
        const bool row = recordset && !recordset->eof();
        addRow(QStringLiteral("User System Name:"), row ? recordset->value(QStringLiteral("DB_User_Name")) : QVariant());
        addRow(QStringLiteral("User Name:"), row ? recordset->value(QStringLiteral("FLName")) : QVariant());
    } else {
        addRow(QStringLiteral("User System Name:"), QStringLiteral("Error: ") + LastError.Description);
        addRow(QStringLiteral("User Name:"), QStringLiteral("Error: ") + LastError.Description);
    }
    CloseRecordset(recordset);

    addRow(QStringLiteral("Trusted Connection:"), TrustedConnection() ? QStringLiteral("Yes") : QStringLiteral("No"));
    addRow(QStringLiteral("Terminal:"), HostName());
    addRow(QStringLiteral("Legal Info:"), LegalNotice());

    if (Act_OpenRecordset(recordset, QStringLiteral("SELECT DB_Database_Name, DB_Company_Name FROM DB_App_Options WHERE "
                                                    "DB_Database_Code = DB_NAME()"))) {
        const bool row = recordset && !recordset->eof();
        addRow(QStringLiteral("Database Title:"), row ? recordset->value(QStringLiteral("DB_Database_Name")) : QVariant());
        addRow(QStringLiteral("Company:"), row ? recordset->value(QStringLiteral("DB_Company_Name")) : QVariant());
    } else {
        addRow(QStringLiteral("Database Title:"), QStringLiteral("Error: ") + LastError.Description);
        addRow(QStringLiteral("Company:"), QStringLiteral("Error: ") + LastError.Description);
    }
    CloseRecordset(recordset);

    LoadProgramPicture(imgImage, 96, 96);
    grdGrid->setMinimumHeight(grdGrid->rowCount() * grdGrid->verticalHeader()->defaultSectionSize() + 4);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

void frmAbout::addRow(const QString& label, const QVariant& value)
{
    const int row = grdGrid->rowCount();
    grdGrid->insertRow(row);
    auto* caption = new QTableWidgetItem(label);
    caption->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    grdGrid->setItem(row, 0, caption);
    auto* text = new QTableWidgetItem(value.isNull() ? QString() : value.toString());
    text->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    grdGrid->setItem(row, 1, text);
}

void frmAbout::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        btnSysInfo->click();
        return;
    }
    QDialog::keyPressEvent(event);
}
