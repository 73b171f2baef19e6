#pragma once

#include "form_framework/zInfo.h"

#include <QString>

// Makes the record window's new records be written once (core/WriteOnce.h): every insert carries
// a key of the window's making in keyField, and when the answer to it is lost, the key looked up
// on the reopened connection tells whether the record was stored before anything is reported. A
// record whose outcome stayed unknown keeps its key: the next save looks it up before it checks the
// fields and, when it was stored, goes on as an edit of that record (writing onto it what the
// clerk has changed since) rather than inserting it again. A new record (the window's mode
// changing) gets a new key.
void InsertOnce(zInfo& info, const QString& keyField);
