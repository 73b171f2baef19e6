#include "CommandParser.h"

#include "AppError.h"

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

// Refuses a second statement after the first: a ";" outside strings, quoted names and comments
// followed by anything but blanks. Returns the statement without a final ";".
QString singleStatement(const QString& text)
{
    int end = text.size();
    int i = 0;
    const int n = text.size();
    while (i < n) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            const QChar quote = c;
            ++i;
            while (i < n) {
                if (text.at(i) == quote) {
                    if (i + 1 < n && text.at(i + 1) == quote) {
                        i += 2;
                        continue;
                    }
                    break;
                }
                ++i;
            }
            if (i >= n) {
                if (quote == QLatin1Char('\''))
                    syntaxError(QStringLiteral("Unclosed quotation mark after the character string '%1'.")
                                    .arg(text.mid(text.lastIndexOf(quote) + 1)));
                syntaxError(QStringLiteral("Unclosed quoted name."));
            }
            ++i;
            continue;
        }
        if (c == QLatin1Char('-') && i + 1 < n && text.at(i + 1) == QLatin1Char('-')) {
            while (i < n && text.at(i) != QLatin1Char('\n'))
                ++i;
            continue;
        }
        if (c == QLatin1Char('/') && i + 1 < n && text.at(i + 1) == QLatin1Char('*')) {
            const int close = text.indexOf(QLatin1String("*/"), i + 2);
            if (close < 0)
                syntaxError(QStringLiteral("Missing end comment mark '*/'."));
            i = close + 2;
            continue;
        }
        if (c == QLatin1Char(';')) {
            for (int j = i + 1; j < n; ++j) {
                if (!text.at(j).isSpace())
                    syntaxError(QStringLiteral("Only one statement can be sent at a time."));
            }
            end = i;
            break;
        }
        ++i;
    }
    return text.left(end);
}

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
    for (;;) {
        scanner.skipBlanks();
        if (!scanner.take(QLatin1Char('@')))
            syntaxError(QStringLiteral("Incorrect syntax near '%1'.").arg(scanner.atEnd() ? QStringLiteral(",") : scanner.tokenHere()));
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
