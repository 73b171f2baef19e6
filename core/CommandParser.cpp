#include "core/CommandParser.h"

#include "core/AppError.h"

namespace {

const QString kSource = QStringLiteral("Bramblecot SQL");

[[noreturn]] void syntaxError(const QString& message)
{
    throw AppError(ErrProviderCommand, message, kSource);
}

bool isWordChar(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('#') || c == QLatin1Char('$');
}

class Scanner {
public:
    explicit Scanner(const QString& text)
        : m_text(text)
    {
    }

    void skipBlanks()
    {
        while (m_pos < m_text.size() && m_text.at(m_pos).isSpace())
            ++m_pos;
    }
    bool atEnd() const { return m_pos >= m_text.size(); }
    QChar peek() const { return atEnd() ? QChar() : m_text.at(m_pos); }
    int position() const { return m_pos; }

    QString word()
    {
        const int start = m_pos;
        while (m_pos < m_text.size() && isWordChar(m_text.at(m_pos)))
            ++m_pos;
        return m_text.mid(start, m_pos - start);
    }

    // The offending token, for "Incorrect syntax near ..." messages.
    QString tokenHere() const
    {
        int end = m_pos;
        if (end < m_text.size() && isWordChar(m_text.at(end))) {
            while (end < m_text.size() && isWordChar(m_text.at(end)))
                ++end;
        } else if (end < m_text.size()) {
            ++end;
        }
        return m_text.mid(m_pos, end - m_pos);
    }

    bool take(QChar c)
    {
        if (peek() == c) {
            ++m_pos;
            return true;
        }
        return false;
    }

    QVariant literal()
    {
        const QChar c = peek();
        if (c == QLatin1Char('N') && m_pos + 1 < m_text.size() && m_text.at(m_pos + 1) == QLatin1Char('\''))
            ++m_pos;
        if (peek() == QLatin1Char('\''))
            return stringLiteral();
        if (c.isDigit() || c == QLatin1Char('-') || c == QLatin1Char('+') || c == QLatin1Char('.'))
            return number();
        const int start = m_pos;
        const QString keyword = word();
        if (keyword.compare(QLatin1String("NULL"), Qt::CaseInsensitive) == 0)
            return {};
        m_pos = start;
        syntaxError(QStringLiteral("Incorrect syntax near '%1'.").arg(atEnd() ? QStringLiteral("=") : tokenHere()));
    }

private:
    QVariant stringLiteral()
    {
        const int start = ++m_pos;
        // Taken a run at a time up to each quote, so a plain string is one copy.
        QString value;
        for (;;) {
            const qsizetype quote = m_text.indexOf(QLatin1Char('\''), m_pos);
            if (quote < 0)
                break;
            value += QStringView(m_text).mid(m_pos, quote - m_pos);
            m_pos = static_cast<int>(quote) + 1;
            if (m_pos < m_text.size() && m_text.at(m_pos) == QLatin1Char('\'')) {
                value += QLatin1Char('\'');
                ++m_pos;
                continue;
            }
            return value;
        }
        m_pos = static_cast<int>(m_text.size());
        syntaxError(QStringLiteral("Unclosed quotation mark after the character string '%1'.").arg(m_text.mid(start)));
    }

    QVariant number()
    {
        const int start = m_pos;
        if (peek() == QLatin1Char('-') || peek() == QLatin1Char('+'))
            ++m_pos;
        bool digits = false;
        bool fraction = false;
        while (peek().isDigit()) {
            ++m_pos;
            digits = true;
        }
        if (peek() == QLatin1Char('.')) {
            fraction = true;
            ++m_pos;
            while (peek().isDigit()) {
                ++m_pos;
                digits = true;
            }
        }
        if (digits && (peek() == QLatin1Char('e') || peek() == QLatin1Char('E'))) {
            fraction = true;
            ++m_pos;
            if (peek() == QLatin1Char('-') || peek() == QLatin1Char('+'))
                ++m_pos;
            if (!peek().isDigit())
                syntaxError(QStringLiteral("Incorrect syntax near '%1'.").arg(m_text.mid(start, m_pos - start)));
            while (peek().isDigit())
                ++m_pos;
        }
        if (!digits || isWordChar(peek())) {
            m_pos = start;
            syntaxError(QStringLiteral("Incorrect syntax near '%1'.").arg(tokenHere()));
        }
        const QString text = m_text.mid(start, m_pos - start);
        bool ok = false;
        if (!fraction) {
            const qlonglong whole = text.toLongLong(&ok);
            if (ok)
                return QVariant::fromValue(whole);
            // Too large for 64 bits: the digits are kept, so no conversion rounds them on the way;
            // the parameter's type decides whether the value fits.
            return text;
        }
        return text.toDouble(&ok);
    }

    const QString& m_text;
    int m_pos = 0;
};

// Where a statement's text may end. The reading follows the stricter of the two engines' lexers
// (PostgreSQL's): '' strings, E'' strings with backslash escapes, "" names, $tag$ quoting, "--"
// comments ended by CR or LF, nested /* */ comments. What it cannot read for sure it refuses; the
// engines refuse a second statement by themselves too, so this is the first of two guards.
class StatementReader {
public:
    explicit StatementReader(const QString& text)
        : m_text(text)
        , m_n(static_cast<int>(text.size()))
    {
    }

    // Returns the statement without a final ";"; refuses a second statement after the first.
    QString single()
    {
        if (m_text.contains(QChar(0)))
            syntaxError(QStringLiteral("The command text contains a NUL character, which the database cannot store; nothing was run."));
        while (m_i < m_n) {
            const QChar c = m_text.at(m_i);
            if (c == QLatin1Char('\'')) {
                const bool escapes = startsEscapeString();
                quoted(QLatin1Char('\''), escapes);
            } else if (c == QLatin1Char('"')) {
                quoted(QLatin1Char('"'), false);
            } else if (c == QLatin1Char('$') && !afterWordChar()) {
                dollarQuoted();
            } else if (c == QLatin1Char('-') && next() == QLatin1Char('-')) {
                while (m_i < m_n && m_text.at(m_i) != QLatin1Char('\n') && m_text.at(m_i) != QLatin1Char('\r'))
                    ++m_i;
            } else if (c == QLatin1Char('/') && next() == QLatin1Char('*')) {
                comment();
            } else if (c == QLatin1Char(';')) {
                for (int j = m_i + 1; j < m_n; ++j) {
                    if (!m_text.at(j).isSpace())
                        syntaxError(QStringLiteral("Only one statement can be sent at a time."));
                }
                return m_text.left(m_i);
            } else {
                ++m_i;
            }
        }
        return m_text;
    }

private:
    QChar next() const { return m_i + 1 < m_n ? m_text.at(m_i + 1) : QChar(); }

    bool afterWordChar() const { return m_i > 0 && isWordChar(m_text.at(m_i - 1)); }

    // E'...' (or e'...') starts a string with backslash escapes, when the E begins a word.
    bool startsEscapeString() const
    {
        if (m_i == 0)
            return false;
        const QChar e = m_text.at(m_i - 1);
        if (e != QLatin1Char('E') && e != QLatin1Char('e'))
            return false;
        return m_i < 2 || !isWordChar(m_text.at(m_i - 2));
    }

    void quoted(QChar quote, bool escapes)
    {
        const int start = ++m_i;
        while (m_i < m_n) {
            const QChar c = m_text.at(m_i);
            if (escapes && c == QLatin1Char('\\')) {
                m_i += 2;
                continue;
            }
            if (c == quote) {
                if (next() == quote) {
                    m_i += 2;
                    continue;
                }
                ++m_i;
                return;
            }
            ++m_i;
        }
        if (quote == QLatin1Char('\''))
            syntaxError(
                QStringLiteral("Unclosed quotation mark after the character string '%1'.").arg(m_text.mid(start)));
        syntaxError(QStringLiteral("Unclosed quoted name."));
    }

    // $$...$$ or $tag$...$tag$; "$1" is a parameter and "a$" part of a name.
    void dollarQuoted()
    {
        int j = m_i + 1;
        if (j < m_n && (m_text.at(j).isLetter() || m_text.at(j) == QLatin1Char('_'))) {
            while (j < m_n && (m_text.at(j).isLetterOrNumber() || m_text.at(j) == QLatin1Char('_')))
                ++j;
        }
        if (j >= m_n || m_text.at(j) != QLatin1Char('$')) {
            ++m_i;
            return;
        }
        const QString tag = m_text.mid(m_i, j - m_i + 1);
        const qsizetype close = m_text.indexOf(tag, j + 1);
        if (close < 0)
            syntaxError(QStringLiteral("Unterminated dollar-quoted string at or near '%1'.").arg(tag));
        m_i = static_cast<int>(close + tag.size());
    }

    void comment()
    {
        int depth = 0;
        while (m_i < m_n) {
            if (m_text.at(m_i) == QLatin1Char('/') && next() == QLatin1Char('*')) {
                ++depth;
                m_i += 2;
            } else if (m_text.at(m_i) == QLatin1Char('*') && next() == QLatin1Char('/')) {
                m_i += 2;
                if (--depth == 0)
                    return;
            } else {
                ++m_i;
            }
        }
        syntaxError(QStringLiteral("Missing end comment mark '*/'."));
    }

    const QString& m_text;
    const int m_n;
    int m_i = 0;
};

QString singleStatement(const QString& text) { return StatementReader(text).single(); }

} // namespace

ParsedCommand ParseCommandText(const QString& text, const std::function<bool(const QString&)>& isProcedure)
{
    Scanner scanner(text);
    scanner.skipBlanks();
    const int firstWordAt = scanner.position();
    QString first = scanner.word();
    ParsedCommand command;

    const bool exec = first.compare(QLatin1String("EXEC"), Qt::CaseInsensitive) == 0
        || first.compare(QLatin1String("EXECUTE"), Qt::CaseInsensitive) == 0;
    if (!exec && (first.isEmpty() || !isProcedure(first))) {
        command.kind = ParsedCommand::Kind::Statement;
        command.statement = singleStatement(text);
        if (command.statement.trimmed().isEmpty())
            syntaxError(QStringLiteral("The command text is empty."));
        return command;
    }
    Q_UNUSED(firstWordAt);

    command.kind = ParsedCommand::Kind::Call;
    if (exec) {
        if (!scanner.peek().isSpace())
            syntaxError(QStringLiteral("Incorrect syntax near '%1'.").arg(first));
        scanner.skipBlanks();
        command.procedureName = scanner.word();
        // An owner prefix ("dbo.") names the same procedure.
        if (scanner.peek() == QLatin1Char('.') && command.procedureName.compare(QLatin1String("dbo"), Qt::CaseInsensitive) == 0) {
            scanner.take(QLatin1Char('.'));
            command.procedureName = scanner.word();
        }
        if (command.procedureName.isEmpty())
            syntaxError(QStringLiteral("Incorrect syntax near '%1'.").arg(scanner.atEnd() ? first : scanner.tokenHere()));
    } else {
        command.procedureName = first;
    }

    auto finish = [&scanner]() {
        scanner.skipBlanks();
        if (scanner.take(QLatin1Char(';')))
            scanner.skipBlanks();
        if (!scanner.atEnd())
            syntaxError(QStringLiteral("Incorrect syntax near '%1'.").arg(scanner.tokenHere()));
    };

    scanner.skipBlanks();
    if (scanner.atEnd() || scanner.peek() == QLatin1Char(';')) {
        finish();
        return command;
    }
    // Values without a name come first and take the parameters in their declared order; the
    // connection names them at dispatch. Once a pair is named, every later one must be too.
    bool named = false;
    for (;;) {
        scanner.skipBlanks();
        if (!named && !scanner.atEnd() && scanner.peek() != QLatin1Char('@') && scanner.peek() != QLatin1Char(',')) {
            command.arguments.push_back({ QString(), scanner.literal() });
            scanner.skipBlanks();
            if (scanner.take(QLatin1Char(',')))
                continue;
            finish();
            return command;
        }
        if (!scanner.take(QLatin1Char('@')))
            syntaxError(QStringLiteral("Incorrect syntax near '%1'.").arg(scanner.atEnd() ? QStringLiteral(",") : scanner.tokenHere()));
        named = true;
        const QString name = scanner.word();
        if (name.isEmpty())
            syntaxError(QStringLiteral("Incorrect syntax near '@'."));
        scanner.skipBlanks();
        if (!scanner.take(QLatin1Char('=')))
            syntaxError(QStringLiteral("Incorrect syntax near '%1'.").arg(scanner.atEnd() ? name : scanner.tokenHere()));
        scanner.skipBlanks();
        if (scanner.atEnd())
            syntaxError(QStringLiteral("Incorrect syntax near '='."));
        QVariant value = scanner.literal();
        for (const ProcedureArgument& earlier : command.arguments) {
            if (earlier.name.compare(name, Qt::CaseInsensitive) == 0)
                syntaxError(QStringLiteral("Parameter '@%1' was supplied multiple times.").arg(name));
        }
        command.arguments.push_back({ name, std::move(value) });
        scanner.skipBlanks();
        if (scanner.take(QLatin1Char(',')))
            continue;
        finish();
        return command;
    }
}
