#pragma once

#include <QString>

// The start-up steps of the main program that need no window: the build and component checks,
// the hand-over to a newer numbered copy and the test-mode rule. Main (main window library)
// runs them in order before the log-on.

// True in the delivered build (never a development run).
bool CompiledCheck();

// The XML parser must be able to read a document, the program folder must be readable. On failure
// each shows its message and ends the program; false is returned so a caller under test stops too.
bool CheckMSXML();
bool CreateFSO();

// The copy of the program to hand over to: among the executable files of the folder whose names
// are exactly the base (own name without trailing digits) followed by digits, the one with the
// highest number, when that number is strictly higher than the own one. Empty when none is.
QString NewestVersionFile(const QString& folder, const QString& ownFileName);
// Starts NewestVersionFile of the program folder, minimized; true when it started, and this
// program must then end.
bool RunNewestVersion();

// An executable whose name begins with "Test" (any case) runs in test mode.
bool IsTestModeName(const QString& executableName);

// The start-up check "EXEC usp_DB_Check_User_On_Start": true only when it gives exactly the value
// 0 (the user should complete their own record). No row or a failed call asks nothing.
bool UserShouldCompleteRecord();
