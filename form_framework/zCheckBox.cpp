#include "form_framework/zCheckBox.h"

#include "core/InputRoutines.h"
#include "core/Settings.h"
#include "core/TextUtilities.h"
#include "core/Twips.h"

#include <QCheckBox>
#include <QFrame>
#include <QResizeEvent>

zCheckBox::zCheckBox(QWidget* parent)
    : zFieldBase(parent)
    , m_check(new QCheckBox(this))
    , m_cover(new QFrame(this))
{
    m_check->setObjectName(QStringLiteral("chkCheck"));
    m_cover->setObjectName(QStringLiteral("fraCover"));
    // The cover hides the check square of a field that does not apply.
    m_cover->setAutoFillBackground(true);
    m_cover->setBackgroundRole(QPalette::Window);
    m_cover->setGeometry(0, 0, TwipsToPixels(255), height());
    setInputBox(m_check, true);
    setBackgroundRole(QPalette::Window);
    connect(m_check, &QCheckBox::toggled, this, &zCheckBox::clicked);
    redraw();
}

QVariant zCheckBox::Value() const { return Applicable() && m_check->isChecked(); }

void zCheckBox::setValue(const QVariant& value) { m_check->setChecked(value.toBool()); }

QString zCheckBox::Text() const { return FormatYesNoText(Value()); }

QString zCheckBox::DBValue() const { return m_check->isChecked() ? QStringLiteral("1") : QStringLiteral("0"); }

void zCheckBox::SetDefault() { setValue(defaultProcedureValue(0).toBool()); }

void zCheckBox::Compute() { setValue(computeProcedureValue(QVariant()).toBool()); }

QString zCheckBox::Caption() const { return m_check->text(); }

void zCheckBox::setCaption(const QString& caption)
{
    m_check->setText(caption);
    if (GoodName().isEmpty())
        m_check->setAccessibleName(caption);
}

bool zCheckBox::GetSetting()
{
    QVariant value(false);
    const bool read = Act_GetSettingDB(SettingName(), value);
    setValue(read && value.toString().trimmed() == QLatin1String("1"));
    return read;
}

bool zCheckBox::SaveSetting()
{
    if (!Applicable())
        return true;
    return Act_SaveSettingDB(SettingName(), m_check->isChecked());
}

void zCheckBox::clicked()
{
    Q_EMIT Change();
    if (PartOfTheQuery() || m_isEnabler)
        markWindowChanged();
}

void zCheckBox::boxFocusIn()
{
    // No focus colour on a check box; only the tab page that holds it comes forward.
    HighlightControl(nullptr);
}

void zCheckBox::redraw()
{
    if (!m_check || !m_cover)
        return;
    m_cover->setVisible(!Applicable());
    m_cover->raise();
    const bool usable = Applicable() && !Locked();
    setEnabled(usable);
    m_check->setEnabled(usable); // greys the caption
}

void zCheckBox::resizeEvent(QResizeEvent* event)
{
    zFieldBase::resizeEvent(event);
    m_cover->setGeometry(0, 0, TwipsToPixels(255), event->size().height());
}
