#pragma once

#include <QtGlobal>

// The error numbers the program raises and recognises, in one place: the error dialog, the error
// log and the tests read them, so each keeps the value users and administrators already know.

// The platform's base for application error numbers (hexadecimal 80040000).
constexpr qint32 ErrApplicationBase = -2147221504;
// A failure the program detected itself; its description is the whole text the user reads.
constexpr qint32 ErrToReport = ErrApplicationBase + 1000;
// A failure already recorded by a nested action: never recorded again, never shown.
constexpr qint32 ErrSilent = ErrApplicationBase + 1001;
// Reading or writing past the text a string builder holds.
constexpr qint32 ErrStringBuilderRange = ErrApplicationBase + 512;

// Database provider failures; the error dialog recommends on the first two.
constexpr qint32 ErrProviderFailure = -2147467259; // general provider failure
constexpr qint32 ErrQueryTimeout = -2147217871; // the command ran past the connection's timeout
constexpr qint32 ErrProviderCommand = -2147217900; // the server refused a command
// A library the program needs could not be started.
constexpr qint32 ErrComponentNotCreatable = 429;

// An unexpected failure inside the program, or a call with an argument it cannot take.
constexpr qint32 ErrInternal = 5;
// A size grew past what its type can hold.
constexpr qint32 ErrOverflow = 6;
// An index or name outside a list: no such database entry, no such queued window.
constexpr qint32 ErrSubscriptOutOfRange = 9;
// A calculation divided by zero (a delimiter count with an empty delimiter).
constexpr qint32 ErrDivisionByZero = 11;
// A value that is not of the type asked for (a date field given text that is no date).
constexpr qint32 ErrTypeMismatch = 13;
// A key added twice to a keyed collection.
constexpr qint32 ErrKeyAlreadyAssociated = 457;
// A key added twice to a list view's rows.
constexpr qint32 ErrKeyNotUnique = 35602;

// Failed file operations, as the renaming window reports them.
constexpr qint32 ErrFileNotFound = 53;
constexpr qint32 ErrFileAlreadyExists = 58;
constexpr qint32 ErrPermissionDenied = 70;
constexpr qint32 ErrPathFileAccess = 75;

// Record set failures.
constexpr qint32 ErrNoCurrentRecord = 3021; // the cursor is before the first or after the last row
constexpr qint32 ErrItemNotFound = 3265; // no column (or list item) of that name or ordinal
constexpr qint32 ErrObjectClosed = 3704; // the record set is closed
constexpr qint32 ErrConnectionUnusable = 3709; // the connection is closed or gone
