#pragma once

// The rows a case cannot be stored without, and the cases and items over them, for tests that
// need a case or an item before the window they drive.

#include <QString>

// The crime class, felony class, default property category and submitting employee of a case.
// An identity left 0 is stored as NULL.
struct CaseClasses {
    int crime = 0;
    int felony = 0;
    int category = 0;
    int employee = 0;
};

// The names and codes those rows are given.
struct CaseClassNames {
    QString crime = QStringLiteral("Burglary");
    QString crimeCode = QStringLiteral("BU");
    QString felony = QStringLiteral("Class A");
    QString felonyCode = QStringLiteral("FA");
    QString category = QStringLiteral("Evidence");
    QString categoryCode = QStringLiteral("EV");
    QString payroll = QStringLiteral("P-1");
};

// Inserts one of each; a failed insert leaves its identity 0.
CaseClasses InsertCaseClasses(const CaseClassNames& names = {});
int InsertEmployee(const QString& payroll);
// A case of those classes; 0 when the insert failed.
int InsertCase(
    const CaseClasses& classes, const QString& number, const QString& dateTime = QStringLiteral("2024-03-07 21:15:00"));
// An item of the case; 0 when the insert failed.
int InsertItem(int caseId, const QString& number);
