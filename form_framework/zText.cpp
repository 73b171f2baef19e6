#include "form_framework/zText.h"

#include "core/AppInfo.h"
#include "core/InputRoutines.h"
#include "core/Logins.h"
#include "core/Platform.h"
#include "core/Settings.h"
#include "core/SqlText.h"
#include "core/TextUtilities.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>

namespace {

QString chooseWithDialog(const QString& start, bool folder)
{
    return folder ? QFileDialog::getExistingDirectory(nullptr, QString(), start)
                  : QFileDialog::getOpenFileName(nullptr, QString(), start);
}

zText::Browser& browser()
{
    static zText::Browser s_browser = chooseWithDialog;
    return s_browser;
}

// A path as it is stored: absolute (a relative one is taken from the program folder) and clean.
QString cleanPath(const QString& path) { return QDir::cleanPath(QDir(GetMainPath()).absoluteFilePath(path)); }

} // namespace

zText::zText(QWidget* parent)
    : zFieldBase(parent)
    , m_text(new QLineEdit(this))
{
    m_text->setObjectName(QStringLiteral("txtText"));
    m_text->setMaxLength(32767);
    setInputBox(m_text);
    connect(m_text, &QLineEdit::textChanged, this, &zText::boxEdited);
}

QVariant zText::Value() const
{
    if (!Applicable())
        return {};
    const QString text = m_text->text().trimmed();
    if (text.isEmpty())
        return {};
    return isPath() ? cleanPath(text) : text;
}

void zText::setValue(const QVariant& value)
{
    {
        QuietScope quietly(this);
        m_text->setText(value.isNull() ? QString() : value.toString().trimmed());
    }
    resetFKValue();
    if (IsForeignKey())
        lookUpFKValue();
    changeProcessing();
}

QString zText::Text() const
{
    const QVariant value = Value();
    return value.isNull() ? QString() : value.toString();
}

QString zText::DBValue() const
{
    const QVariant value = Value();
    return value.isNull() ? QStringLiteral("NULL") : SQLString(value.toString());
}

bool zText::IsPassword() const { return m_text->echoMode() == QLineEdit::Password; }

void zText::setIsPassword(bool password) { m_text->setEchoMode(password ? QLineEdit::Password : QLineEdit::Normal); }

bool zText::GetSetting()
{
    QVariant copy = Value();
    const bool read = Act_GetSettingDB(SettingName(), copy);
    setValue(copy);
    return read;
}

bool zText::SaveSetting()
{
    if (!Applicable())
        return true;
    return Act_SaveSettingDB(SettingName(), Text());
}

void zText::BrowseFolder() { browse(true); }

void zText::setBrowser(Browser chooser) { browser() = chooser ? std::move(chooser) : Browser(chooseWithDialog); }

void zText::browse(bool folder)
{
    const QString chosen = browser()(Text(), folder);
    if (!chosen.isEmpty())
        setValue(chosen);
}

void zText::boxEdited()
{
    clearFieldError();
    if (quiet())
        return;
    resetFKValue();
    changeProcessing();
}

void zText::filterCharacter(int& code)
{
    if (code == 8)
        return;
    if (code == 13) {
        handleEnter(code);
        return;
    }
    if (m_capitalize)
        UpperCaseKey(code);
    if (!m_keyFilter.isEmpty() && !m_keyFilter.contains(QChar(static_cast<char16_t>(code)), Qt::CaseInsensitive)) {
        Platform::prompt().beep();
        code = 0;
        return;
    }
    if (IsPassword() && code == 32) {
        Platform::prompt().beep();
        code = 0;
        return;
    }
    if (m_maxLength > 0 && m_text->text().size() - m_text->selectedText().size() >= m_maxLength) {
        Platform::prompt().beep();
        code = 0;
    }
}

QString zText::checks(bool final)
{
    QString text = m_text->text().trimmed();
    if (Required() && text.isEmpty())
        return requiredMessage();
    if (IsPassword()) {
        const QString message = PasswordRuleMessage(text, GoodName());
        if (!message.isEmpty())
            return message;
    }
    if (text.isEmpty())
        return {};
    // What typing cannot produce but pasting or a program can: the user's text stays to correct.
    if (m_maxLength > 0 && text.size() > m_maxLength)
        return tooLongMessage(m_maxLength);
    if (!m_keyFilter.isEmpty()) {
        for (const QChar character : text) {
            if (!m_keyFilter.contains(character, Qt::CaseInsensitive))
                return GoodName() + QStringLiteral(" may not hold the character ") + AngleQuote(QString(character));
        }
    }
    if (!final) {
        QString shown = isPath() ? cleanPath(text) : text;
        if (m_capitalize)
            shown = shown.toUpper();
        if (shown != m_text->text()) {
            QuietScope quietly(this);
            m_text->setText(shown);
        }
        text = shown;
    }
    if (m_textType == FolderPath && !FolderExists(cleanPath(text)))
        return QStringLiteral("Folder doesn't exist");
    QString message = uniqueMessage();
    if (message.isEmpty())
        message = lostFocusMessage();
    if (message.isEmpty())
        message = foreignKeyMessage(Text());
    if (message.isEmpty() && final)
        message = finalMessage();
    return message;
}
