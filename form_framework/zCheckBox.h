#pragma once

#include "form_framework/zFieldBase.h"

class QCheckBox;
class QFrame;

// The yes/no field: "1"/"0" in SQL, a caption, a per-user setting, and the enabler flag: a check
// box that switches other fields on and off marks the window changed even when it is not saved
// with the record.
class zCheckBox : public zFieldBase {
    Q_OBJECT
public:
    explicit zCheckBox(QWidget* parent = nullptr);

    FieldKind fieldKind() const override { return FieldKind::CheckBox; }
    // True when ticked and applicable.
    QVariant Value() const override;
    void setValue(const QVariant& value) override;
    // "Yes" or "No".
    QString Text() const override;
    bool IsMissing() const override { return false; }
    // The box's state, "1" or "0", whatever Applicable says.
    QString DBValue() const override;
    void SetDefault() override;
    void Compute() override;

    QString Caption() const;
    void setCaption(const QString& caption);
    bool IsEnabler() const { return m_isEnabler; }
    void setIsEnabler(bool enabler) { m_isEnabler = enabler; }

    // The per-user setting named SettingName ("1"/"0"): read into the box (also while not
    // applicable; a failed read leaves it cleared), or stored (only while applicable).
    bool GetSetting();
    bool SaveSetting();

    QCheckBox* box() const { return m_check; }

protected:
    QString checks(bool) override { return {}; }
    void boxFocusIn() override;
    void boxFocusOut() override { }
    void redraw() override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void clicked();

    QCheckBox* m_check;
    QFrame* m_cover;
    bool m_isEnabler = false;
};
