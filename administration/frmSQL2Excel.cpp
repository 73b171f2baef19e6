#include "administration/frmSQL2Excel.h"

#include "core/Actions.h"
#include "core/Connection.h"
#include "core/Database.h"
#include "core/Platform.h"
#include "exports/SpreadsheetExport.h"
#include "form_framework/WindowList.h"
#include "form_framework/zCheckBox.h"
#include "form_framework/zInfo.h"
#include "form_framework/zMemo.h"
#include "form_framework/zText.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

frmSQL2Excel::frmSQL2Excel()
    : DataWindow(QStringLiteral("frmSQL2Excel"))
{
    setWindowTitle(QStringLiteral("SQL statement to Excel report"));
    info()->setFormType(FormType::Other);
    auto* grid = new QGridLayout(this);
    int row = 0;
    auto addRow = [&](const char* label, zFieldBase* field, QWidget* box) {
        auto* text = new QLabel(QString::fromLatin1(label), this);
        text->setTextFormat(Qt::PlainText);
        text->setBuddy(box);
        grid->addWidget(text, row, 0, Qt::AlignTop);
        grid->addWidget(field, row++, 1);
    };
    zmemSQL = new zMemo(this);
    zmemSQL->setObjectName(QStringLiteral("zmemSQL"));
    zmemSQL->setGoodName(QStringLiteral("SQL"));
    zmemSQL->setRequired(true);
    zmemSQL->setPartOfTheQuery(false);
    zmemSQL->setMinimumSize(420, 160);
    ztxtRepName = new zText(this);
    ztxtRepName->setObjectName(QStringLiteral("ztxtRepName"));
    ztxtRepName->setGoodName(QStringLiteral("Report Name"));
    ztxtRepName->setPartOfTheQuery(false);
    ztxtRepName->setMinimumSize(420, 24);
    ztxtAddlInfo = new zText(this);
    ztxtAddlInfo->setObjectName(QStringLiteral("ztxtAddlInfo"));
    ztxtAddlInfo->setGoodName(QStringLiteral("Additional Info"));
    ztxtAddlInfo->setPartOfTheQuery(false);
    ztxtAddlInfo->setMinimumSize(420, 24);
    zchkWithPageSetup = new zCheckBox(this);
    zchkWithPageSetup->setObjectName(QStringLiteral("zchkWithPageSetup"));
    zchkWithPageSetup->setCaption(QStringLiteral("With Page Setup (longer)"));
    zchkWithPageSetup->setGoodName(QStringLiteral("With Page Setup"));
    zchkWithPageSetup->setPartOfTheQuery(false);
    zchkWithPageSetup->setMinimumSize(220, 24);
    addRow("SQL:", zmemSQL, zmemSQL->inputBox());
    addRow("Report Name:", ztxtRepName, ztxtRepName->box());
    addRow("Additional Info:", ztxtAddlInfo, ztxtAddlInfo->box());
    grid->addWidget(zchkWithPageSetup, row++, 1);
    btnOK = new QPushButton(QStringLiteral("&OK"), this);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setAutoDefault(false);
    btnClose = new QPushButton(QStringLiteral("&Close"), this);
    btnClose->setObjectName(QStringLiteral("btnClose"));
    btnClose->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnOK);
    buttons->addWidget(btnClose);
    grid->addLayout(buttons, row, 0, 1, 2);
    grid->setColumnStretch(1, 1);
    connect(btnOK, &QPushButton::clicked, this, [this] { btnOK_Click(); });
    connect(btnClose, &QPushButton::clicked, this, [this] { UnloadWindow(this); });
    resize(560, 360);
}

bool frmSQL2Excel::CheckFieldsProcedure()
{
    return ztxtRepName->IsValid() && ztxtAddlInfo->IsValid() && zmemSQL->IsValid();
}

void frmSQL2Excel::ProcessCommand(MainCommand command)
{
    Q_UNUSED(command);
    Platform::prompt().beep();
}

bool frmSQL2Excel::btnOK_Click()
{
    if (!info()->CheckFields())
        return false;
    bool exported = false;
    ActionScope action(objectName(), QStringLiteral("btnOK_Click"), QStringLiteral("Export SQL statement"));
    action.run([&] {
        DatabaseConnection* connection = DBConnection();
        if (!connection)
            RaiseToReport(QStringLiteral("No database is open."));
        // Whatever the statement tries, nothing it does reaches the database; a write fails with
        // the engine's own message through the export's error path.
        ReadOnlyScope readOnly(*connection);
        exported = ExportToExcel(
            zmemSQL->Text(), ztxtRepName->Text(), {}, true, ztxtAddlInfo->Text(), zchkWithPageSetup->Value().toBool());
    });
    return exported;
}
