#pragma once

#include "core/Connection.h"

#include <QByteArray>
#include <QElapsedTimer>

struct sqlite3;

// The state of an SQLite connection that its session functions and progress handler read
// (SqliteConnection.cpp).
struct DatabaseConnection::SqliteSession {
    sqlite3* handle = nullptr;
    QByteArray login;
    QByteArray host;
    QByteArray databaseCode;
    QByteArray application;
    QElapsedTimer clock;
    qint64 deadlineMs = 0; // 0: no limit
    bool timedOut = false;
    QByteArray loginTime; // when the connection logged on, as GETDATE() writes times
};
