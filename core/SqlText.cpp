#include "core/SqlText.h"

#include "core/AppError.h"

#include <QStringList>

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

// Splits at ";" that ends a line, outside strings, comments and $$-quoted function bodies.
QStringList SplitSqlStatements(const QString& text)
{
    QStringList statements;
    QString current;
    bool inString = false;
    bool inDollar = false;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text.at(i);
        if (!inString && !inDollar && c == QLatin1Char('-') && i + 1 < n && text.at(i + 1) == QLatin1Char('-')) {
            while (i < n && text.at(i) != QLatin1Char('\n'))
                ++i;
            current += QLatin1Char('\n');
            continue;
        }
        if (!inString && c == QLatin1Char('$') && i + 1 < n && text.at(i + 1) == QLatin1Char('$')) {
            inDollar = !inDollar;
            current += QLatin1String("$$");
            ++i;
            continue;
        }
        if (!inDollar && c == QLatin1Char('\''))
            inString = !inString;
        if (!inString && !inDollar && c == QLatin1Char(';')) {
            qsizetype j = i + 1;
            while (j < n && (text.at(j) == QLatin1Char(' ') || text.at(j) == QLatin1Char('\t') || text.at(j) == QLatin1Char('\r')))
                ++j;
            if (j >= n || text.at(j) == QLatin1Char('\n')) {
                if (!current.trimmed().isEmpty())
                    statements << current.trimmed();
                current.clear();
                continue;
            }
        }
        current += c;
    }
    if (!current.trimmed().isEmpty())
        statements << current.trimmed();
    return statements;
}

bool IsPlainIdentifier(const QString& name)
{
    if (name.isEmpty() || name.size() > 63)
        return false;
    for (qsizetype i = 0; i < name.size(); ++i) {
        const char16_t c = name.at(i).unicode();
        const bool letter = (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || c == u'_';
        const bool digit = c >= u'0' && c <= u'9';
        if (!letter && !(digit && i > 0))
            return false;
    }
    return true;
}

QString RequirePlainIdentifier(const QString& name, const QString& what)
{
    if (!IsPlainIdentifier(name))
        RaiseToReport(QStringLiteral("The ") + what + QStringLiteral(" ") + AngleQuote(name)
            + QStringLiteral(" is not a plain name of letters, digits and underscores."));
    return name;
}
