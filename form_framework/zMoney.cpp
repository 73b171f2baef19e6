#include "form_framework/zMoney.h"

#include "form_framework/DataWindow.h"
#include "core/MessageBoxes.h"
#include "core/Twips.h"
#include "form_framework/zInfo.h"
#include "form_framework/zNumeric.h"

#include <QRadioButton>

#include <cmath>

zMoney::zMoney(QWidget* parent)
    : QWidget(parent)
    , m_spend(new QRadioButton(QStringLiteral("Spend"), this))
    , m_receive(new QRadioButton(QStringLiteral("Receive"), this))
    , m_amount(new zNumeric(this))
{
    m_spend->setObjectName(QStringLiteral("optSpendReceive_0"));
    m_receive->setObjectName(QStringLiteral("optSpendReceive_1"));
    m_amount->setObjectName(QStringLiteral("znumAmount"));
    m_spend->setGeometry(0, 0, TwipsToPixels(1335), TwipsToPixels(315));
    m_receive->setGeometry(TwipsToPixels(1380), 0, TwipsToPixels(1335), TwipsToPixels(315));
    m_amount->setGeometry(0, TwipsToPixels(360), TwipsToPixels(1335), TwipsToPixels(315));
    m_spend->setChecked(true);
    m_amount->setRequired(true);
    m_amount->setPartOfTheQuery(false);
    setFixedHeight(m_amount->geometry().bottom() + 1);
    // The exclusive pair toggles option 0 on every switch of direction.
    connect(m_spend, &QRadioButton::toggled, this, &zMoney::dataChanged);
    connect(m_amount, &zNumeric::Change, this, &zMoney::dataChanged);
}

QVariant zMoney::Value() const
{
    const QVariant amount = m_amount->Value();
    if (amount.isNull())
        return {};
    const double sign = m_spend->isChecked() ? 1.0 : -1.0;
    return amount.toDouble() * m_multiplier * sign;
}

void zMoney::setValue(const QVariant& value)
{
    const std::optional<double> number = zNumeric::ToNumber(value);
    if (!number) {
        m_amount->setValue(QVariant());
        return;
    }
    const bool spend = *number * m_multiplier >= 0;
    m_spend->setChecked(spend);
    m_receive->setChecked(!spend);
    m_amount->setValue(std::fabs(*number));
}

QString zMoney::Text() const
{
    const QVariant value = Value();
    return value.isNull() ? QString() : zNumeric::GeneralText(value.toDouble());
}

QString zMoney::DBValue() const
{
    const QVariant value = Value();
    return value.isNull() ? QStringLiteral("NULL") : zNumeric::GeneralText(value.toDouble());
}

bool zMoney::IsValid() { return m_amount->IsValid(); }

QString zMoney::GoodName() const { return m_amount->GoodName(); }

void zMoney::setGoodName(const QString& name)
{
    m_amount->setGoodName(name);
    setAccessibleName(m_amount->GoodName());
}

bool zMoney::Applicable() const { return m_amount->Applicable(); }

void zMoney::setApplicable(bool applicable) { m_amount->setApplicable(applicable); }

QString zMoney::SpendWord() const { return m_spend->text(); }

void zMoney::setSpendWord(const QString& word) { m_spend->setText(word); }

QString zMoney::ReceiveWord() const { return m_receive->text(); }

void zMoney::setReceiveWord(const QString& word) { m_receive->setText(word); }

void zMoney::setMultiplier(int multiplier)
{
    if (multiplier != 1 && multiplier != -1) {
        ShowErrorMessage(QStringLiteral("Multiplier should be 1 or -1"));
        return;
    }
    m_multiplier = multiplier;
}

void zMoney::dataChanged()
{
    Q_EMIT Change();
    if (!m_partOfTheQuery)
        return;
    for (QWidget* widget = parentWidget(); widget; widget = widget->parentWidget()) {
        if (auto* window = qobject_cast<DataWindow*>(widget)) {
            window->info()->setDataChanged(true);
            return;
        }
    }
}
