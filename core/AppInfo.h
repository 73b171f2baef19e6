#pragma once

#include <QString>

// Facts about the running program: its title, folder, executable and version.

// "Bramblecot_Main" in the main program; it names the error log and the per-user settings.
QString ApplicationTitle();
void SetApplicationTitle(const QString& title);

// The program folder with a trailing "/". Tests and tools may point it elsewhere.
QString GetMainPath();
void SetMainPath(const QString& folder);

// The executable's file name without folder and extension.
QString ExecutableBaseName();

// True only in a development run; the delivered build never is one.
bool DevelopmentRun();

// True when the executable's name begins with "Test": the main window says so in its caption.
bool TestMode();
void SetTestMode(bool testMode);

// The legal notice of the program's version information (splash and About windows).
QString LegalNotice();

// major.minor.revision with the revision as four digits ("2.17.0477").
QString GetVersionText();
