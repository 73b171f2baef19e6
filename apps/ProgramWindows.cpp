#include "apps/ProgramWindows.h"

#include "administration/Administration.h"
#include "cases/CaseProcedures.h"
#include "cases/CaseWindows.h"
#include "cases/NotificationWindows.h"
#include "cases/PeopleWindows.h"
#include "custody/CustodyWindows.h"
#include "form_framework/FormFieldsToText.h"
#include "list_controls/ListProcedures.h"
#include "main_window/ViewerWindows.h"
#include "reference_tables/ReferenceTables.h"

void RegisterProgramWindows()
{
    InstallViewerWindows();
    RegisterReferenceTableForms();
    RegisterAdministrationForms();
    InstallFieldListing();
    RegisterListControlProcedures();
    RegisterCaseProcedures();
    RegisterPeopleForms();
    RegisterCaseWindows();
    RegisterNotificationWindows();
    RegisterCustodyWindows();
}
