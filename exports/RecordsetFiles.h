#pragma once

#include <QByteArray>
#include <QString>

class QIODevice;
class Recordset;

// A result saved as a file in one of the two forms the recordset save of the old data access layer
// wrote, so the files stay readable by what read them then: the XML persisted rowset and the
// Advanced Data TableGram (ADTG). Only the current result set is saved, as that save did.

// The persistence format numbers of that save.
enum class RecordsetFormat : int {
    ADTG = 0,
    XML = 1,
};

// The XML rowset: the schema part (one attribute type per column, with its data type), then one
// z:row element per row whose attributes are the non-null values.
QByteArray RecordsetToXml(const Recordset& recordset);
// The TableGram of the current result set, little-endian and Unicode, as [MS-ADTG] describes it.
QByteArray RecordsetToAdtg(const Recordset& recordset);

// Asks for a file in the save dialog ("Save Data In XML Format As" / "Save Data In ADTG Format As"),
// runs the statement and writes its result there, replacing an existing file in one step. A
// cancelled dialog or another format number does nothing and gives false. An action of its own: a
// failing query or a file that cannot be written is reported once, nothing is thrown, the existing
// file is left alone and the result is false.
bool SaveRecordsetAs(const QString& statement, int format, const QString& defaultName);
