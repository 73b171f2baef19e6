#pragma once

#include "form_framework/BoundField.h"

#include <QWidget>

class QRadioButton;
class zNumeric;

// A signed money amount entered as an amount and a direction ("Spend" or "Receive"). The amount
// and its checks are an inner number field (always required, two decimals); the money field adds
// the sign. The inner field stays out of the window's field list: the money field alone carries
// the column name and the record's change marking.
class zMoney : public QWidget, public BoundField {
    Q_OBJECT
public:
    explicit zMoney(QWidget* parent = nullptr);

    FieldKind fieldKind() const override { return FieldKind::Money; }
    // amount x Multiplier x (+1 for option 0, -1 for option 1); null when the amount is null or
    // the field does not apply.
    QVariant Value() const override;
    // Option 0 when value x Multiplier >= 0, the amount |value|; null clears the amount and leaves
    // the direction as it is.
    void setValue(const QVariant& value) override;
    QString Text() const override;
    QString DBValue() const override;
    bool IsValid() override;

    QString DBFieldName() const override { return m_dbFieldName; }
    void setDBFieldName(const QString& name) { m_dbFieldName = name.trimmed(); }
    bool PartOfTheQuery() const override { return m_partOfTheQuery; }
    void setPartOfTheQuery(bool part) { m_partOfTheQuery = part; }
    QString GoodName() const override;
    void setGoodName(const QString& name);
    bool Applicable() const override;
    void setApplicable(bool applicable);

    QString SpendWord() const;
    void setSpendWord(const QString& word);
    QString ReceiveWord() const;
    void setReceiveWord(const QString& word);
    int Multiplier() const { return m_multiplier; }
    // Only 1 and -1: any other factor would not read back what was written.
    void setMultiplier(int multiplier);

    zNumeric* amount() const { return m_amount; }

Q_SIGNALS:
    void Change();

private:
    void dataChanged();

    QRadioButton* m_spend;
    QRadioButton* m_receive;
    zNumeric* m_amount;
    QString m_dbFieldName;
    bool m_partOfTheQuery = true;
    int m_multiplier = -1;
};
