#include "core/ProcedureCatalogue.h"

#include "core/AppError.h"
#include "core/Connection.h"
#include "core/SqlText.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

namespace {

const QString kSource = QStringLiteral("Bramblecot SQL");

QString readResource(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

std::optional<ParameterType> parameterTypeFromName(const QString& name)
{
    static const QHash<QString, ParameterType> types = {
        { QStringLiteral("text"), ParameterType::Text },       { QStringLiteral("integer"), ParameterType::Integer },
        { QStringLiteral("number"), ParameterType::Number },   { QStringLiteral("money"), ParameterType::Money },
        { QStringLiteral("date"), ParameterType::Date },       { QStringLiteral("datetime"), ParameterType::DateTime },
        { QStringLiteral("bit"), ParameterType::Bit },
    };
    const auto it = types.constFind(name.trimmed().toLower());
    if (it == types.constEnd())
        return std::nullopt;
    return it.value();
}

QString postgresCast(ParameterType type)
{
    switch (type) {
    case ParameterType::Text:
        return QStringLiteral("citext");
    case ParameterType::Integer:
        return QStringLiteral("bigint");
    case ParameterType::Number:
        return QStringLiteral("double precision");
    case ParameterType::Money:
        return QStringLiteral("numeric(19,4)");
    case ParameterType::Date:
        return QStringLiteral("date");
    case ParameterType::DateTime:
        return QStringLiteral("timestamp(3)");
    case ParameterType::Bit:
        return QStringLiteral("smallint");
    }
    return QStringLiteral("text");
}

// Turns ":Name" placeholders into "?" (on PostgreSQL wrapped in a cast to the declared type, so
// the server never has to guess a parameter's type). Strings, quoted names, comments and "::"
// casts are left alone.
ProcedureStatement compileStatement(const QString& name, const QString& sql, const Procedure& procedure, bool postgres)
{
    ProcedureStatement statement;
    QString out;
    const qsizetype n = sql.size();
    qsizetype i = 0;
    while (i < n) {
        const QChar c = sql.at(i);
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            const qsizetype start = i++;
            while (i < n && sql.at(i) != c)
                ++i;
            out += sql.mid(start, i - start + 1);
            ++i;
            continue;
        }
        if (c == QLatin1Char('-') && i + 1 < n && sql.at(i + 1) == QLatin1Char('-')) {
            while (i < n && sql.at(i) != QLatin1Char('\n'))
                ++i;
            continue;
        }
        if (c == QLatin1Char(':') && i + 1 < n && sql.at(i + 1) == QLatin1Char(':')) {
            out += QLatin1String("::");
            i += 2;
            continue;
        }
        if (c == QLatin1Char(':') && i + 1 < n && (sql.at(i + 1).isLetter() || sql.at(i + 1) == QLatin1Char('_'))) {
            qsizetype j = i + 1;
            while (j < n && (sql.at(j).isLetterOrNumber() || sql.at(j) == QLatin1Char('_')))
                ++j;
            const QString placeholder = sql.mid(i + 1, j - i - 1);
            const int index = procedure.parameterIndex(placeholder);
            if (index < 0)
                throw AppError(ErrProviderCommand,
                               QStringLiteral("Procedure %1 uses the undeclared parameter @%2.").arg(name, placeholder),
                               kSource);
            statement.parameterOrder.push_back(index);
            if (postgres)
                out += QStringLiteral("CAST(? AS %1)").arg(postgresCast(procedure.parameters[static_cast<size_t>(index)].type));
            else
                out += QLatin1Char('?');
            i = j;
            continue;
        }
        out += c;
        ++i;
    }
    statement.sql = out;
    return statement;
}

// Skips a string, quoted name or comment starting at i; returns the index after it, or i.
qsizetype skipQuoted(const QString& sql, qsizetype i)
{
    const qsizetype n = sql.size();
    const QChar c = sql.at(i);
    if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
        ++i;
        while (i < n && sql.at(i) != c)
            ++i;
        return std::min(n, i + 1);
    }
    if (c == QLatin1Char('-') && i + 1 < n && sql.at(i + 1) == QLatin1Char('-')) {
        while (i < n && sql.at(i) != QLatin1Char('\n'))
            ++i;
        return i;
    }
    return i;
}

// The criteria "(:Name IS NULL OR condition)" of a statement, outermost only. A parenthesis that
// opens a function's arguments, or whose group holds a comma, is not a criterion.
std::vector<OptionalCriterion> findOptionalCriteria(const QString& sql, const Procedure& procedure)
{
    static const QRegularExpression head(QStringLiteral("\\G\\(\\s*:(\\w+)\\s+IS\\s+NULL\\s+OR\\s+"),
                                         QRegularExpression::CaseInsensitiveOption);
    std::vector<OptionalCriterion> found;
    const qsizetype n = sql.size();
    qsizetype i = 0;
    while (i < n) {
        const qsizetype skipped = skipQuoted(sql, i);
        if (skipped != i) {
            i = skipped;
            continue;
        }
        if (sql.at(i) != QLatin1Char('(')) {
            ++i;
            continue;
        }
        // A word right before the parenthesis is a function's name unless it is a keyword that
        // takes a condition.
        qsizetype before = i;
        while (before > 0 && sql.at(before - 1).isSpace())
            --before;
        qsizetype wordStart = before;
        while (wordStart > 0 && (sql.at(wordStart - 1).isLetterOrNumber() || sql.at(wordStart - 1) == QLatin1Char('_')))
            --wordStart;
        static const QStringList conditionWords { QStringLiteral("WHERE"), QStringLiteral("AND"), QStringLiteral("OR"),
            QStringLiteral("NOT"), QStringLiteral("ON"), QStringLiteral("HAVING"), QStringLiteral("WHEN") };
        const bool call = wordStart < before
            && !conditionWords.contains(sql.mid(wordStart, before - wordStart), Qt::CaseInsensitive);
        const QRegularExpressionMatch match = head.match(sql, i);
        const int parameter = match.hasMatch() ? procedure.parameterIndex(match.captured(1)) : -1;
        if (call || parameter < 0 || parameter >= 64) {
            ++i;
            continue;
        }
        // The closing parenthesis of the group.
        qsizetype j = match.capturedEnd();
        int depth = 1;
        bool comma = false;
        while (j < n && depth > 0) {
            const qsizetype after = skipQuoted(sql, j);
            if (after != j) {
                j = after;
                continue;
            }
            const QChar c = sql.at(j);
            if (c == QLatin1Char('('))
                ++depth;
            else if (c == QLatin1Char(')'))
                --depth;
            else if (c == QLatin1Char(',') && depth == 1)
                comma = true;
            ++j;
        }
        if (depth != 0 || comma) {
            ++i;
            continue;
        }
        found.push_back({ i, match.capturedEnd(), j, parameter });
        i = j;
    }
    return found;
}

void readHeader(const QString& name, const QString& text, Procedure& procedure)
{
    static const QRegularExpression paramLine(QStringLiteral("^--\\s*@param\\s+@?(\\w+)\\s+(\\w+)\\s*$"));
    static const QRegularExpression columnsLine(QStringLiteral("^--\\s*@columns\\s+(.*)$"));
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (const QString& raw : lines) {
        const QString line = raw.trimmed();
        if (!line.startsWith(QLatin1String("--")))
            continue;
        if (const auto match = paramLine.match(line); match.hasMatch()) {
            const auto type = parameterTypeFromName(match.captured(2));
            if (!type)
                throw AppError(ErrProviderCommand,
                               QStringLiteral("Procedure %1 declares @%2 with the unknown type %3.")
                                   .arg(name, match.captured(1), match.captured(2)),
                               kSource);
            if (procedure.parameterIndex(match.captured(1)) < 0)
                procedure.parameters.push_back({ match.captured(1), *type });
            continue;
        }
        if (const auto match = columnsLine.match(line); match.hasMatch()) {
            const QStringList entries = match.captured(1).split(QLatin1Char(','), Qt::SkipEmptyParts);
            for (const QString& entry : entries) {
                const QStringList parts = entry.simplified().split(QLatin1Char(' '));
                const auto type = parts.size() == 2 ? ColumnTypeFromName(parts.at(1)) : std::nullopt;
                if (!type)
                    throw AppError(ErrProviderCommand,
                                   QStringLiteral("Procedure %1 declares the column '%2' badly.").arg(name, entry.trimmed()),
                                   kSource);
                procedure.columnTypes.insert(parts.at(0).toLower(), *type);
            }
        }
    }
}

} // namespace

int Procedure::parameterIndex(const QString& wanted) const
{
    for (size_t i = 0; i < parameters.size(); ++i) {
        if (parameters[i].name.compare(wanted, Qt::CaseInsensitive) == 0)
            return static_cast<int>(i);
    }
    return -1;
}

const std::vector<ProcedureStatement>& Procedure::statements(Engine engine) const
{
    return engine == Engine::PostgreSQL ? postgresStatements : sqliteStatements;
}

std::vector<const ProcedureStatement*> Procedure::statementsFor(Engine engine, const std::vector<QVariant>& arguments) const
{
    std::vector<const ProcedureStatement*> result;
    const auto& all = statements(engine);
    for (size_t index = 0; index < all.size(); ++index) {
        const CriteriaStatement* source
            = engine == Engine::SQLite && index < sqliteCriteria.size() ? &sqliteCriteria[index] : nullptr;
        if (!source || source->criteria.empty()) {
            result.push_back(&all[index]);
            continue;
        }
        quint64 nulls = 0;
        for (const OptionalCriterion& criterion : source->criteria) {
            const auto at = static_cast<size_t>(criterion.parameter);
            if (at >= arguments.size() || arguments[at].isNull())
                nulls |= quint64 { 1 } << criterion.parameter;
        }
        const auto key = std::make_pair(index, nulls);
        auto it = m_plannedStatements.find(key);
        if (it == m_plannedStatements.end()) {
            QString text;
            qsizetype position = 0;
            for (const OptionalCriterion& criterion : source->criteria) {
                text += QStringView(source->source).mid(position, criterion.start - position);
                if (nulls & (quint64 { 1 } << criterion.parameter))
                    text += QLatin1String("(1)");
                else {
                    text += QLatin1Char('(');
                    text += QStringView(source->source).mid(criterion.conditionStart, criterion.end - criterion.conditionStart);
                }
                position = criterion.end;
            }
            text += QStringView(source->source).mid(position);
            it = m_plannedStatements.emplace(key, compileStatement(name, text, *this, false)).first;
        }
        result.push_back(&it->second);
    }
    return result;
}

Procedure ProcedureCatalogue::parse(const QString& name, const QString& commonText, const QString& sqliteText,
                                    const QString& postgresText)
{
    Procedure procedure;
    procedure.name = name;
    const QString sqliteSource = sqliteText.isEmpty() ? commonText : sqliteText;
    const QString postgresSource = postgresText.isEmpty() ? commonText : postgresText;
    readHeader(name, sqliteSource, procedure);
    readHeader(name, postgresSource, procedure);
    for (const QString& sql : SplitSqlStatements(sqliteSource)) {
        ProcedureStatement statement = compileStatement(name, sql, procedure, false);
        if (statement.sql.trimmed().isEmpty())
            continue;
        procedure.sqliteStatements.push_back(std::move(statement));
        procedure.sqliteCriteria.push_back({ sql, findOptionalCriteria(sql, procedure) });
    }
    for (const QString& sql : SplitSqlStatements(postgresSource)) {
        ProcedureStatement statement = compileStatement(name, sql, procedure, true);
        if (!statement.sql.trimmed().isEmpty())
            procedure.postgresStatements.push_back(std::move(statement));
    }
    return procedure;
}

ProcedureCatalogue& ProcedureCatalogue::instance()
{
    static ProcedureCatalogue catalogue;
    return catalogue;
}

ProcedureCatalogue::ProcedureCatalogue()
{
    loadResources();
}

void ProcedureCatalogue::loadResources()
{
    const QDir folder(QStringLiteral(":/procedures"));
    QHash<QString, QString> common;
    QHash<QString, QString> sqlite;
    QHash<QString, QString> postgres;
    QHash<QString, QString> spelling;
    const QStringList files = folder.entryList(QStringList { QStringLiteral("*.sql") }, QDir::Files, QDir::Name);
    for (const QString& file : files) {
        QString base = file.chopped(4);
        QHash<QString, QString>* target = &common;
        if (base.endsWith(QLatin1String(".sqlite"))) {
            base.chop(7);
            target = &sqlite;
        } else if (base.endsWith(QLatin1String(".pg"))) {
            base.chop(3);
            target = &postgres;
        }
        spelling.insert(base.toLower(), base);
        target->insert(base.toLower(), readResource(folder.filePath(file)));
    }
    for (auto it = spelling.constBegin(); it != spelling.constEnd(); ++it) {
        const QString key = it.key();
        auto procedure = std::make_shared<Procedure>(parse(it.value(), common.value(key), sqlite.value(key), postgres.value(key)));
        m_procedures.insert(key, std::move(procedure));
    }
}

const Procedure* ProcedureCatalogue::find(const QString& name) const
{
    const auto it = m_procedures.constFind(name.toLower());
    return it == m_procedures.constEnd() ? nullptr : it.value().get();
}

QStringList ProcedureCatalogue::names() const
{
    QStringList result;
    for (const auto& procedure : m_procedures)
        result << procedure->name;
    result.sort(Qt::CaseInsensitive);
    return result;
}

void ProcedureCatalogue::registerProcedure(Procedure procedure)
{
    const QString key = procedure.name.toLower();
    m_procedures.insert(key, std::make_shared<Procedure>(std::move(procedure)));
}

void ProcedureCatalogue::registerNative(const QString& name, std::vector<ProcedureParameter> parameters,
                                        NativeProcedure body, QHash<QString, ColumnType> columnTypes)
{
    auto procedure = std::make_shared<Procedure>();
    procedure->name = name;
    procedure->parameters = std::move(parameters);
    procedure->native = std::move(body);
    procedure->columnTypes = std::move(columnTypes);
    m_procedures.insert(name.toLower(), std::move(procedure));
}
