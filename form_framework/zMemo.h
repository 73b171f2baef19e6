#pragma once

#include "form_framework/zFieldBase.h"

class QPlainTextEdit;

// The multi-line text field: Enter starts a new line, every character is accepted. An empty memo
// reads as the empty text; only a memo that does not apply reads null.
class zMemo : public zFieldBase {
    Q_OBJECT
public:
    explicit zMemo(QWidget* parent = nullptr);

    FieldKind fieldKind() const override { return FieldKind::Memo; }
    // The text without surrounding blanks; "" when empty; null when not applicable.
    QVariant Value() const override;
    // Takes the text (null as "") only when it differs from the shown one other than in case.
    void setValue(const QVariant& value) override;
    QString Text() const override;
    bool IsMissing() const override;
    QString DBValue() const override;

    // 0 = no limit. Limits typing; a longer text (pasted or assigned) fails the check and stays.
    int MaxLength() const { return m_maxLength; }
    void setMaxLength(int length) { m_maxLength = qMax(0, length); }

    QPlainTextEdit* box() const { return m_text; }

protected:
    QString checks(bool final) override;
    void filterCharacter(int& code) override;
    void insertCharacter(QChar character) override;
    void boxFocusIn() override;
    void boxFocusOut() override;
    void redraw() override;

private:
    void boxEdited();
    QString boxText() const;

    QPlainTextEdit* m_text;
    int m_maxLength = 0;
};
