#pragma once

#include <QString>

// The central error dialog: shows the pending failure with a recommendation, asks whether to
// continue, appends a block to the error log and ends the program when the user says No.
void ShowError(const QString& sql, const QString& message, const QString& procedure);

// What follows the last "]" of a provider's description, without leading blanks.
QString StripErrorPrefix(const QString& text);

// Appends one block to the error log (answer: the message-box answer code).
void WriteErrorLog(int answer, const QString& text);

// Errors/<application title> error.log in the program folder.
QString ErrorLogFile();

// Replaces the values of parameters whose name contains "Password" (any case) in an SQL text,
// so secrets never reach the error log.
QString MaskPasswords(const QString& sql);
