#pragma once

#include <QString>
#include <QStringList>

class DatabaseConnection;

// The database schema: numbered migrations (database/schema/NNNN_name.sql, followed on one engine
// by its appendix NNNN_name.sqlite.sql or NNNN_name.pg.sql beside it; a migration without the
// common file is one engine file each), recorded by number in DB_Schema_Version. SQLite
// databases are brought up to date when the program opens them; PostgreSQL databases by the
// schema owner (Bramblecot_Main --upgrade-schema).

int LatestSchemaVersion();
// 0 for a database without the version table.
int SchemaVersion(DatabaseConnection& connection);
// Applies every missing migration in one transaction and renews the change-log triggers.
void UpgradeSchema(DatabaseConnection& connection);
// Gives the database its first administrator: a DB_Users row with DB_Sys_Admin set and, where
// the database keeps its own log-ins, the log-in (no password: trusted log-on only).
void CreateFirstAdministrator(DatabaseConnection& connection, const QString& login, const QString& password);
// Creates the change-log triggers of every logged table anew; on PostgreSQL also every table's
// grants to the database's group roles and its guard triggers (the table permission trigger of
// a data table, the own-rows trigger of a per-user table). Every upgrade ends with it, so a
// table of a later migration is guarded as the first ones are.
void RefreshChangeLogTriggers(DatabaseConnection& connection);
// Tables whose writes are not logged: the log itself, log-ins and per-user screen preferences.
bool IsUnloggedTable(const QString& table);
// Loads the reference rows a room starts from (database/sample/reference_rows.sql: statuses,
// colours, units, item action types...), the same file an administrator loads into a server with
// psql. A row is added only where none of its name or code is there and no row found is changed,
// so loading twice, or into a database with rows of its own, adds only what is missing.
void LoadReferenceRows(DatabaseConnection& connection);
// The reference rows, then the sample records of the embedded demonstration and the tests (people,
// an employee, a case with an item and its custody, a clerk); rows that exist already are kept.
void LoadSampleData(DatabaseConnection& connection);
// A migration's statements for the connection's engine, with the type tokens replaced: those of
// its common file <name>.sql, then those of the engine's appendix <name>.<suffix>.sql.
QStringList SchemaStatements(DatabaseConnection& connection, const QString& migration);
