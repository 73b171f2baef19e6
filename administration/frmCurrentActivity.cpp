#include "administration/frmCurrentActivity.h"

#include "declared_windows/DeclaredTable.h"

const DeclaredTable& CurrentActivityDeclaration()
{
    static const DeclaredTable table = [] {
        // A search window only: no record window.
        DeclaredTable declared = DeclaredTable::of(QStringLiteral("master..sysprocesses"), QStringLiteral("spid"),
            QString(), QStringLiteral("frmCurrentActivity"), QStringLiteral("Current Activity"),
            QStringLiteral("Current Activity"));
        // The box is kept for the user's eye only: it never enters the query.
        declared.criteria.push_back(DeclaredField::checkBox(QStringLiteral("zchkVantorelManagerOnly"),
            QStringLiteral("VantorelManagerOnly"), QStringLiteral("Vantorel Manager only"),
            QStringLiteral("Vantorel Manager only"), false)
                                        .notStored());
        declared.populateOnStart = true;
        declared.searchAllowNew = false;
        declared.searchAllowEdit = false;
        declared.searchAllowDelete = false;
        declared.searchAllowRecordHistory = false;
        declared.gridOpensRow = false;
        declared.searchCall = QStringLiteral("EXEC usp_DB_Search_Current_Activity");
        return declared;
    }();
    return table;
}
