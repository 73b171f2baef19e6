#pragma once

#include "form_framework/zFieldBase.h"

#include <optional>

class QLineEdit;

// The single-line number field: digits, one decimal point and a minus sign may be typed; the value
// is checked against a range and a number of decimal places. Numbers are read and written with "."
// whatever the desktop's locale.
class zNumeric : public zFieldBase {
    Q_OBJECT
public:
    // The widest bounds; as defaults they mean "no bound on this side".
    static constexpr double Floor = -1e300;
    static constexpr double Ceiling = 1e300;

    explicit zNumeric(QWidget* parent = nullptr);

    FieldKind fieldKind() const override { return FieldKind::Numeric; }
    // A double, or null when empty, not a number or not applicable.
    QVariant Value() const override;
    // Does nothing when the number equals the one held.
    void setValue(const QVariant& value) override;
    // The box's text as typed; empty while not applicable.
    QString Text() const override;
    QString DBValue() const override;
    void setApplicable(bool applicable) override;
    void Compute() override;

    int DecimalScale() const { return m_decimalScale; }
    void setDecimalScale(int scale) { m_decimalScale = qBound(0, scale, 255); }
    double Min() const { return m_min; }
    // Refused, with a message in the "Error" box, below the floor or above Max.
    void setMin(double min);
    double Max() const { return m_max; }
    void setMax(double max);
    bool MinIncluded() const { return m_minIncluded; }
    void setMinIncluded(bool included) { m_minIncluded = included; }
    bool MaxIncluded() const { return m_maxIncluded; }
    void setMaxIncluded(bool included) { m_maxIncluded = included; }

    // The number or text as a number: "." as the decimal point, whatever the locale; nothing for
    // a text that is not a finite number.
    static std::optional<double> ToNumber(const QVariant& value);
    // Up to 15 significant digits, "." as the decimal point, no grouping, exponent form ("1E+300")
    // for very large and very small numbers.
    static QString GeneralText(double number);

    QLineEdit* box() const { return m_text; }

protected:
    QString checks(bool final) override;
    void filterCharacter(int& code) override;
    void showValue(const QVariant& value) override;

private:
    void boxEdited();
    void showNumber();

    QLineEdit* m_text;
    std::optional<double> m_value;
    int m_decimalScale = 2;
    double m_min = Floor;
    double m_max = Ceiling;
    bool m_minIncluded = true;
    bool m_maxIncluded = true;
};
