#include "exports/Exports.h"

#include "core/Actions.h"
#include "core/AppError.h"
#include "core/Database.h"
#include "core/DatabaseList.h"
#include "core/TextUtilities.h"
#include "core/Viewers.h"

#include <QDate>
#include <QDateTime>

namespace {
const QString kCrLf = QStringLiteral("\r\n");
const QChar kTab = QLatin1Char('\t');

std::unique_ptr<Recordset> openOrRaise(const QString& sql)
{
    std::unique_ptr<Recordset> recordset;
    if (!Act_OpenRecordset(recordset, sql) || !recordset)
        RaiseSilent();
    return recordset;
}

QString numberText(double number)
{
    // Up to 15 significant digits, as the platform's own number-to-text conversion gives them.
    return QString::number(number, 'g', 15);
}

} // namespace

QString ValueText(const QVariant& value, ColumnType type)
{
    if (!value.isValid() || value.isNull())
        return {};
    switch (type) {
    case ColumnType::Integer:
        return QString::number(value.toLongLong());
    case ColumnType::Double:
    case ColumnType::Currency:
        return numberText(value.toDouble());
    case ColumnType::Date:
        return FormatDateText(value);
    case ColumnType::DateTime:
        return FormatDateTimeText(value);
    case ColumnType::Boolean:
        return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    case ColumnType::Text:
        break;
    }
    return value.toString();
}

namespace {
QString currentDatabaseName()
{
    const DatabaseEntry* entry = DatabaseAt(CurrentDB());
    return entry ? entry->DisplayName : QString();
}
} // namespace

QString ReportSignature()
{
    std::unique_ptr<Recordset> recordset = openOrRaise(QStringLiteral("EXEC usp_DB_Rep_Signature"));
    QString signature = QStringLiteral("Created on ");
    if (!recordset->eof()) {
        signature += FormatDateTimeText(recordset->value(QStringLiteral("Time"))) + QStringLiteral(" by ")
            + NullToString(recordset->value(QStringLiteral("User")));
    } else {
        signature += QStringLiteral(" by ");
    }
    CloseRecordset(recordset);
    return signature;
}

QString ClipText(const Recordset& recordset)
{
    QString text;
    const int fields = recordset.fieldCount();
    text.reserve(recordset.recordCount() * fields * 10);
    for (int row = 0; row < recordset.recordCount(); ++row) {
        for (int column = 0; column < fields; ++column) {
            if (column > 0)
                text += kTab;
            text += ValueText(recordset.valueAt(row, column), recordset.fieldType(column));
        }
        text += kCrLf;
    }
    return text;
}

bool ExportToText(const QString& statement, const QString& title, const QString& subtitle)
{
    ActionScope action(QStringLiteral("modReports"), QStringLiteral("ExportToText"), QStringLiteral("Export to Text"));
    return action.run([&] {
        QString text;
        {
            BusyPointer busy;
            text = title + kCrLf + subtitle + kCrLf + kCrLf;
            text += ReportSignature() + kCrLf;
            text += QStringLiteral("Database: ") + currentDatabaseName() + kCrLf;
            QString query = statement;
            query.replace(kCrLf, kCrLf + kTab, Qt::CaseInsensitive);
            text += QStringLiteral("Query:") + kTab + query + kCrLf + kCrLf + kCrLf;

            std::unique_ptr<Recordset> recordset = openOrRaise(statement);
            if (recordset->isOpen()) {
                do {
                    QStringList names;
                    for (int column = 0; column < recordset->fieldCount(); ++column)
                        names << recordset->fieldName(column);
                    text += names.join(kTab) + kCrLf;
                    if (recordset->recordCount() > 0)
                        text += ClipText(*recordset);
                    text += kCrLf + kCrLf;
                } while (recordset->nextRecordset());
            }
            CloseRecordset(recordset);
        }
        ShowText(text);
    });
}
