#include "form_framework/zMemo.h"

#include "core/InputRoutines.h"
#include "core/Platform.h"
#include "core/SqlText.h"

#include <QPlainTextEdit>
#include <QTextCursor>

namespace {

// The text without the line breaks it starts with (CR LF pairs or the editor's own LF).
QString withoutLeadingLineBreaks(QString text)
{
    for (;;) {
        if (text.startsWith(QLatin1String("\r\n")))
            text.remove(0, 2);
        else if (text.startsWith(QLatin1Char('\n')))
            text.remove(0, 1);
        else
            return text;
    }
}

} // namespace

zMemo::zMemo(QWidget* parent)
    : zFieldBase(parent)
    , m_text(new QPlainTextEdit(this))
{
    m_text->setObjectName(QStringLiteral("txtMemo"));
    m_text->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_text->setTabChangesFocus(true);
    setInputBox(m_text, true);
    connect(m_text, &QPlainTextEdit::textChanged, this, &zMemo::boxEdited);
}

QString zMemo::boxText() const
{
    // Blanks and line breaks alone are no text: the field is missing and writes NULL.
    const QString text = trimBlanks(m_text->toPlainText());
    return isBlankText(text) ? QString() : text;
}

QVariant zMemo::Value() const
{
    if (!Applicable())
        return {};
    return boxText();
}

void zMemo::setValue(const QVariant& value)
{
    const QString text = value.isNull() ? QString() : trimBlanks(value.toString());
    if (text.compare(m_text->toPlainText(), Qt::CaseInsensitive) == 0)
        return;
    m_text->setPlainText(text);
}

QString zMemo::Text() const { return Value().toString(); }

bool zMemo::IsMissing() const { return Value().toString().isEmpty(); }

QString zMemo::DBValue() const { return IsMissing() ? QStringLiteral("NULL") : SQLString(Value().toString()); }

void zMemo::boxEdited()
{
    // Every change counts, also the memo's own trimming: the memo has no quiet writes.
    clearFieldError();
    changeProcessing();
}

void zMemo::filterCharacter(int& code)
{
    if (code == 8 || m_maxLength <= 0)
        return;
    const QTextCursor cursor = m_text->textCursor();
    const int selected = cursor.selectionEnd() - cursor.selectionStart();
    if (m_text->toPlainText().size() - selected >= m_maxLength) {
        Platform::prompt().beep();
        code = 0;
    }
}

void zMemo::insertCharacter(QChar character) { m_text->insertPlainText(QString(character)); }

void zMemo::boxFocusIn() { HighlightControl(m_text); }

void zMemo::boxFocusOut()
{
    const QString trimmed
        = boxText().isEmpty() ? QString() : withoutLeadingLineBreaks(trimBlanks(m_text->toPlainText()));
    if (trimmed != m_text->toPlainText())
        m_text->setPlainText(trimmed);
    Validate(false);
    paintFieldError();
    UnhighlightControl(m_text);
}

void zMemo::redraw()
{
    zFieldBase::redraw();
    setEnabled(!Locked());
}

QString zMemo::checks(bool final)
{
    const QString text = boxText();
    if (Required() && text.isEmpty())
        return requiredMessage();
    // Typing keeps to the limit; pasted or assigned text may not, and the column would refuse it.
    if (m_maxLength > 0 && text.size() > m_maxLength)
        return tooLongMessage(m_maxLength);
    QString message = lostFocusMessage();
    if (message.isEmpty() && final)
        message = finalMessage();
    return message;
}
