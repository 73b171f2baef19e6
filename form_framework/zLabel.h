#pragma once

#include <QString>
#include <QWidget>

class QLabel;

// The caption beside a field: greyed while the field does not apply, bold while it is required
// and applies. Made the field's buddy, it gives the field its accessible name.
class zLabel : public QWidget {
    Q_OBJECT
public:
    explicit zLabel(QWidget* parent = nullptr);

    // The caption, trimmed. A text that differs only in case leaves the caption as it is.
    QString Value() const;
    void setValue(const QString& text);
    bool Required() const { return m_required; }
    void setRequired(bool required);
    bool Applicable() const { return m_applicable; }
    void setApplicable(bool applicable);
    void setBuddy(QWidget* field);

    QLabel* label() const { return m_label; }

private:
    void refreshLook();

    QLabel* m_label;
    bool m_required = false;
    bool m_applicable = true;
};
