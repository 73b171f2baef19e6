#pragma once

#include "form_framework/zFieldBase.h"

#include <QDateTime>

#include <optional>

class QLineEdit;

// The date (or date and time) field. Dates are read and shown with fixed patterns ("MM/dd/yyyy",
// "MM/dd/yyyy h:mm AP", ISO text) whatever the desktop's locale, and written to SQL as ISO text.
// The value is not kept apart: it is the box's text read as a date.
class zDate : public zFieldBase {
    Q_OBJECT
public:
    static QDateTime Floor() { return QDateTime(QDate(1753, 1, 1), QTime(0, 0)); }
    static QDateTime Ceiling() { return QDateTime(QDate(2050, 12, 31), QTime(0, 0)); }

    explicit zDate(QWidget* parent = nullptr);

    FieldKind fieldKind() const override { return FieldKind::Date; }
    // The box's text as a date and time; null when empty, not a date or not applicable.
    QVariant Value() const override;
    // Shows the date in DataFormat (null clears the box). Not quiet: a different text runs change
    // processing as typing would. A value that is no date throws AppError 13 and changes nothing.
    void setValue(const QVariant& value) override;
    // The box's text as it stands, also while not applicable.
    QString Text() const override;
    // 'yyyy-MM-dd', or 'yyyy-MM-dd HH:mm:ss' when the time is not midnight; "NULL" for no date.
    QString DBValue() const override;

    QString KeyFilter() const { return m_keyFilter; }
    void setKeyFilter(const QString& filter) { m_keyFilter = filter; }
    // Display pattern in the designers' notation ("mm/dd/yyyy", "mm/dd/yyyy h:mm AMPM"); empty =
    // the general form. Setting it shows the box's date again in the new pattern (AppError 13 when
    // the box holds no date).
    QString DataFormat() const { return m_dataFormat; }
    void setDataFormat(const QString& format);
    QDateTime Min() const { return m_min; }
    // Refused, with a message in the "Error" box, below the floor or above Max.
    void setMin(const QDateTime& min);
    QDateTime Max() const { return m_max; }
    void setMax(const QDateTime& max);
    bool MinIncluded() const { return m_minIncluded; }
    void setMinIncluded(bool included) { m_minIncluded = included; }
    bool MaxIncluded() const { return m_maxIncluded; }
    void setMaxIncluded(bool included) { m_maxIncluded = included; }

    // Reads a date: a QDate or QDateTime, ISO text, or "M/d/yyyy" ("M/d/yy": 00-29 is 20xx) with
    // an optional time "h:mm[:ss] [AM|PM]", or a time alone (on 12/30/1899). Nothing when the
    // value is not a date (31/02/2024, 13/45/2024, letters).
    static std::optional<QDateTime> ToDate(const QVariant& value);
    // The date in the designers' pattern; empty pattern = the general form: MM/dd/yyyy, with
    // " h:mm:ss AP" when the time is not midnight, the time alone on 12/30/1899.
    static QString FormatDate(const QDateTime& date, const QString& pattern);

    QLineEdit* box() const { return m_text; }

protected:
    QString checks(bool final) override;
    void filterCharacter(int& code) override;
    void redraw() override;

private:
    void boxEdited();
    // The text shown for a value: empty for a blank value; nothing when the value is no date.
    std::optional<QString> shownForm(const QVariant& value) const;

    QLineEdit* m_text;
    QString m_keyFilter = QStringLiteral("/0123456789");
    QString m_dataFormat;
    QDateTime m_min = Floor();
    QDateTime m_max = Ceiling();
    bool m_minIncluded = true;
    bool m_maxIncluded = true;
};
