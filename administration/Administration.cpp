#include "administration/Administration.h"

#include "administration/AdministrationWindows.h"
#include "administration/frmCrystal.h"
#include "administration/frmCurrentActivity.h"
#include "administration/frmRenameFiles.h"
#include "administration/frmRepAllTables.h"
#include "administration/frmRepDBChanges.h"
#include "administration/frmReplaceText.h"
#include "administration/frmSQL2Excel.h"
#include "administration/frmTest.h"
#include "declared_windows/DeclaredSearchWindow.h"
#include "form_framework/CrystalReport.h"
#include "form_framework/FormRegistry.h"

void RegisterAdministrationForms()
{
    FormRegistry::registerForm(QStringLiteral("frmCrystal"), [] { return new frmCrystal; });
    SetReportViewerWindow(QStringLiteral("frmCrystal"));
    FormRegistry::registerForm(QStringLiteral("frmReplaceText"), [] { return new frmReplaceText; });
    FormRegistry::registerForm(QStringLiteral("frmRenameFiles"), [] { return new frmRenameFiles; });
    FormRegistry::registerForm(QStringLiteral("frmRepAllTables"), [] { return new frmRepAllTables; });
    FormRegistry::registerForm(QStringLiteral("frmRepDBChanges"), [] { return new frmRepDBChanges; });
    FormRegistry::registerForm(QStringLiteral("frmSQL2Excel"), [] { return new frmSQL2Excel; });
    FormRegistry::registerForm(QStringLiteral("frmTest"), [] { return new frmTest; });
    FormRegistry::registerForm(
        QStringLiteral("frmCurrentActivity"), [] { return new DeclaredSearchWindow(CurrentActivityDeclaration()); });
    RegisterAdministrationTableForms();
}
