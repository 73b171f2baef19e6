#include "SqlText.h"

namespace {
const QString LineEnd = QStringLiteral("\r\n");

// key + " = " + item for each pair, in insertion order.
QStringList assignments(const PairDictionary& pairs, const QString& keyPrefix)
{
    QStringList texts;
    texts.reserve(pairs.count());
    const QStringList& keys = pairs.keys();
    const QStringList& items = pairs.values();
    for (qsizetype i = 0; i < keys.size(); ++i)
        texts.append(keyPrefix + keys.at(i) + QStringLiteral(" = ") + items.at(i));
    return texts;
}
} // namespace

QString trimBlanks(const QString& text)
{
    qsizetype first = 0;
    qsizetype end = text.size();
    while (first < end && text.at(first) == QLatin1Char(' '))
        ++first;
    while (end > first && text.at(end - 1) == QLatin1Char(' '))
        --end;
    return text.mid(first, end - first);
}

QString QuoteText(const QString& text) { return QLatin1Char('\'') + trimBlanks(text) + QLatin1Char('\''); }

QString SQLString(const QString& text)
{
    QString doubled = text;
    doubled.replace(QLatin1Char('\''), QStringLiteral("''"));
    return QuoteText(doubled);
}

QString BuildInsertSQL(const QString& tableName, const PairDictionary& pairs)
{
    return QStringLiteral("INSERT INTO ") + tableName + QLatin1Char('(') + pairs.keys().join(QStringLiteral(", "))
        + QLatin1Char(')') + LineEnd + QStringLiteral("VALUES(") + pairs.values().join(QStringLiteral(", "))
        + QLatin1Char(')');
}

QString BuildUpdateSQL(const QString& tableName, const PairDictionary& pairs)
{
    return QStringLiteral("UPDATE ") + tableName + LineEnd + QStringLiteral("SET ")
        + assignments(pairs, QString()).join(QLatin1Char(',') + LineEnd);
}

QString BuildExecSQL(const QString& procedureCall, const PairDictionary& pairs)
{
    return procedureCall + QLatin1Char(' ') + assignments(pairs, QStringLiteral("@")).join(QLatin1Char(',') + LineEnd);
}

QString AngleQuote(const QString& text) { return QLatin1Char('<') + text + QLatin1Char('>'); }

QString Quote(const QString& text) { return QLatin1Char('"') + text + QLatin1Char('"'); }

double CompareIIf(double number) { return number < 0 ? 0 : number; }
