#pragma once

#include "form_framework/zFieldBase.h"

#include <functional>

class QLineEdit;

// The single-line text field: plain text, passwords, folder and file paths, per-user settings and
// a foreign-key mode that shows a text for an identity.
class zText : public zFieldBase {
    Q_OBJECT
public:
    // Kinds of text: a folder path is cleaned, made absolute and must exist; a file path is cleaned
    // and made absolute; any other number is plain text.
    enum TextKind : int { PlainText = 1, FolderPath = 2, FilePath = 3 };

    explicit zText(QWidget* parent = nullptr);

    FieldKind fieldKind() const override { return FieldKind::Text; }
    // The box's text trimmed (a path cleaned and absolute); null when empty or not applicable.
    QVariant Value() const override;
    // Shows the value trimmed, looks the identity up in foreign-key mode, and always runs change
    // processing, also for the value already shown.
    void setValue(const QVariant& value) override;
    QString Text() const override;
    QString DBValue() const override;

    int TextType() const { return m_textType; }
    void setTextType(int type) { m_textType = type; }
    QString KeyFilter() const { return m_keyFilter; }
    void setKeyFilter(const QString& filter) { m_keyFilter = filter; }
    bool Capitalize() const { return m_capitalize; }
    void setCapitalize(bool capitalize) { m_capitalize = capitalize; }
    bool IsPassword() const;
    void setIsPassword(bool password);
    // 0 = no limit. Limits typing; a longer text (pasted or assigned) fails the check and stays
    // for the user to shorten.
    int MaxLength() const { return m_maxLength; }
    void setMaxLength(int length) { m_maxLength = qMax(0, length); }

    // The per-user database setting named SettingName: read into the field, or stored from it
    // (nothing while the field does not apply). False when the database failed.
    bool GetSetting();
    bool SaveSetting();
    // Asks for a folder starting at the current value; a choice becomes the value, a cancel
    // changes nothing.
    void BrowseFolder();

    // What asks the user for a folder or a file: the start path and whether a folder is wanted in,
    // the chosen path or "" out. The desktop's file dialog unless replaced (tests).
    using Browser = std::function<QString(const QString& start, bool folder)>;
    static void setBrowser(Browser browser);

    QLineEdit* box() const { return m_text; }

protected:
    QString checks(bool final) override;
    void filterCharacter(int& code) override;

private:
    void boxEdited();
    bool isPath() const { return m_textType == FolderPath || m_textType == FilePath; }
    void browse(bool folder);

    QLineEdit* m_text;
    int m_textType = PlainText;
    QString m_keyFilter;
    bool m_capitalize = false;
    int m_maxLength = 0;
};
