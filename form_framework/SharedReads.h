#pragma once

#include <QString>

#include <memory>

class Recordset;

// While one data-changed message goes round the open windows, the windows that show the changed
// table read its changed rows once: the first window's read is kept, under its statement text,
// for the others until the message has gone round (a message sent meanwhile reads afresh).
// Outside a message every read is the window's own.
class SharedReads {
public:
    SharedReads();
    ~SharedReads();
    SharedReads(const SharedReads&) = delete;
    SharedReads& operator=(const SharedReads&) = delete;

    // The result of that statement: the one already read during this message, else read now
    // (Act_OpenRecordset, which reports a failure). False when the read failed.
    static bool open(const QString& sql, std::shared_ptr<const Recordset>& result);
};
