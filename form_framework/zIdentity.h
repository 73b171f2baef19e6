#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QWidget>

// The identity of the record a record window shows: the number, or "NEW" for a record not saved
// yet (-1 marks a window whose load failed). The shown text is the only copy of the identity.
class zIdentity : public QWidget {
    Q_OBJECT
public:
    explicit zIdentity(QWidget* parent = nullptr);

    int Value() const;
    void setValue(int value);
    QString Text() const;
    QString DBValue() const;
    QString DBFieldName() const { return m_dbFieldName; }
    void setDBFieldName(const QString& name) { m_dbFieldName = name.trimmed(); }
    QString GoodName() const { return m_goodName; }
    void setGoodName(const QString& name);
    bool Applicable() const { return true; }

Q_SIGNALS:
    void ValueChanged();

private:
    QLineEdit* m_text;
    QLabel* m_label;
    QString m_dbFieldName;
    QString m_goodName;
};
