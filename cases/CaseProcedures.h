#pragma once

#include <QString>

// The catalogue procedures of the cases and people windows that are written in C++ rather than
// SQL, because the engines share no percent-encoding:
//   usp_Evd_URL_Map_Yahoo, usp_Evd_URL_Map_MapQuest (@Address_ID, or @Case_Person_ID for the
//     address of that case person): one row, one
//     column "URL": the page of the map service that shows the address. The page address is the
//     pattern kept in DB_Setting_Defaults (DB_URL_Map_Yahoo, DB_URL_Map_MapQuest) with
//     "{Address}" replaced by the address on one line, percent-encoded. No row when the address
//     (or the link, or the link's address) does not exist.
// The program calls this once at start-up, before the first window opens; calling it again is
// harmless.
void RegisterCaseProcedures();

// The pattern with every "{Address}" replaced by the address, percent-encoded as UTF-8 (letters,
// digits and "-._~" stay as they are; a blank becomes %20).
QString MapPageAddress(const QString& pattern, const QString& oneLineAddress);
