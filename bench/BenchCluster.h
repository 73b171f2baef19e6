#pragma once

// The PostgreSQL benches' administrative statements (a database or role made or dropped), run on
// the test cluster's maintenance database through a connection of their own, named `name`.

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QString>

#include <stdexcept>

inline void ClusterExec(const QString& name, const QString& statement)
{
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
        db.setHostName(qEnvironmentVariable("PGHOST"));
        db.setPort(qEnvironmentVariable("PGPORT").toInt());
        db.setDatabaseName(QStringLiteral("postgres"));
        if (!db.open())
            throw std::runtime_error(db.lastError().text().toStdString());
        QSqlQuery query(db);
        const bool ok = query.exec(statement);
        const QString error = query.lastError().text();
        query = QSqlQuery();
        db.close();
        if (!ok)
            throw std::runtime_error((statement + QStringLiteral(": ") + error).toStdString());
    }
    QSqlDatabase::removeDatabase(name);
}
