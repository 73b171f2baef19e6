#include "form_framework/zFieldBase.h"

#include "core/InputRoutines.h"
#include "core/MessageBoxes.h"
#include "form_framework/DataWindow.h"
#include "form_framework/FieldAccessibility.h"
#include "form_framework/RecordChecks.h"
#include "form_framework/zInfo.h"

#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPalette>
#include <QVBoxLayout>
#include <QtGlobal>

#include <algorithm>

zFieldBase::zFieldBase(QWidget* parent)
    : QFrame(parent)
{
    // The control's own background (button shadow) shows as an empty block while the field does
    // not apply and its box is hidden.
    setBackgroundRole(QPalette::Mid);
    setAutoFillBackground(true);
    setFrameShape(QFrame::NoFrame);
    setFocusPolicy(Qt::NoFocus);
    InstallFieldAccessibility();
}

void zFieldBase::setGoodName(const QString& name)
{
    m_goodName = name.trimmed();
    nameInputBox();
}

void zFieldBase::nameInputBox()
{
    // A field without a good name keeps the name its label gave it.
    if (!m_box || m_goodName.isEmpty())
        return;
    m_box->setAccessibleName(m_goodName);
    if (auto* combo = qobject_cast<QComboBox*>(m_box); combo && combo->lineEdit())
        combo->lineEdit()->setAccessibleName(m_goodName);
}

void zFieldBase::setApplicable(bool applicable)
{
    if (applicable == m_applicable)
        return;
    m_applicable = applicable;
    redraw();
}

void zFieldBase::setLocked(bool locked)
{
    if (locked == m_locked)
        return;
    m_locked = locked;
    redraw();
}

void zFieldBase::setFKValue(int identity)
{
    if (!m_isForeignKey) {
        // Callers hand identities to foreign-key fields only; anything else is a slip of the
        // window's code, and the field's value must not change behind the user's back.
        qWarning("zFieldBase: %s is not a foreign-key field; identity %d ignored", qPrintable(objectName()), identity);
        return;
    }
    if (!storeFKValue(identity))
        return;
    const QVariant shown = m_getValueFromFK ? m_getValueFromFK() : QVariant();
    {
        QuietScope quietly(this);
        showValue(shown);
    }
    changeProcessing();
}

void zFieldBase::showValue(const QVariant& value)
{
    if (auto* line = qobject_cast<QLineEdit*>(m_box))
        line->setText(value.isNull() ? QString() : value.toString());
}

QString zFieldBase::FKDBValue() const
{
    const int identity = FKValue();
    return identity == 0 ? QStringLiteral("NULL") : QString::number(identity);
}

QString zFieldBase::ResultDBValue() const { return m_isForeignKey ? FKDBValue() : DBValue(); }

bool zFieldBase::isBlankText(const QString& text)
{
    return std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.isSpace(); });
}

QString zFieldBase::FieldError() const { return m_box ? m_box->toolTip() : QString(); }

bool zFieldBase::Validate(bool final)
{
    clearFieldError();
    if (!m_applicable)
        return true;
    const QString message = checks(final);
    setFieldError(message);
    return message.isEmpty();
}

bool zFieldBase::IsValid()
{
    if (Validate(true))
        return true;
    ShowValidationMessage(FieldError() + QStringLiteral("."));
    if (m_box)
        m_box->setFocus(Qt::OtherFocusReason);
    return false;
}

void zFieldBase::SetDefault() { setValue(defaultProcedureValue(QVariant())); }

void zFieldBase::Compute() { setValue(computeProcedureValue(QVariant())); }

DataWindow* zFieldBase::containerWindow() const
{
    for (QWidget* widget = parentWidget(); widget; widget = widget->parentWidget()) {
        if (auto* window = qobject_cast<DataWindow*>(widget))
            return window;
    }
    return nullptr;
}

zInfo* zFieldBase::controller() const
{
    DataWindow* window = containerWindow();
    return window ? window->info() : nullptr;
}

void zFieldBase::setInputBox(QWidget* box, bool fill)
{
    m_box = box;
    // A field that does not apply shows as an empty box of its own size, not as a line.
    QSizePolicy policy = box->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    box->setSizePolicy(policy);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(box);
    if (!fill) {
        layout->addStretch(0);
        setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    }
    box->installEventFilter(this);
    nameInputBox();
    setFocusProxy(box);
    redraw();
}

void zFieldBase::insertCharacter(QChar character)
{
    if (auto* line = qobject_cast<QLineEdit*>(m_box))
        line->insert(QString(character));
}

void zFieldBase::changeProcessing()
{
    Q_EMIT Change();
    if (m_partOfTheQuery)
        markWindowChanged();
}

void zFieldBase::markWindowChanged()
{
    if (zInfo* info = controller())
        info->setDataChanged(true);
}

void zFieldBase::clearFieldError()
{
    if (!m_box)
        return;
    // Every check clears first; a field that shows no error is left alone, since a palette set
    // again still travels to every child of the box.
    if (!m_box->toolTip().isEmpty())
        m_box->setToolTip(QString());
    const QColor normal = QApplication::palette().color(QPalette::Text);
    if (m_box->palette().color(QPalette::Text) == normal)
        return;
    QPalette palette = m_box->palette();
    palette.setColor(QPalette::Text, normal);
    m_box->setPalette(palette);
}

void zFieldBase::setFieldError(const QString& message)
{
    if (m_box)
        m_box->setToolTip(message);
}

void zFieldBase::paintFieldError()
{
    if (!m_box || FieldError().isEmpty())
        return;
    QPalette palette = m_box->palette();
    palette.setColor(QPalette::Text, QColor(255, 0, 0));
    m_box->setPalette(palette);
}

QString zFieldBase::uniqueMessage()
{
    if (!m_unique)
        return {};
    zInfo* info = controller();
    if (!info || info->FormType() != FormType::Record)
        return {};
    return CheckUniqueValue(this, containerWindow());
}

QString zFieldBase::lostFocusMessage() { return m_onLostFocusValidation ? m_onLostFocusValidation() : QString(); }

QString zFieldBase::finalMessage() { return m_finalValidation ? m_finalValidation() : QString(); }

QString zFieldBase::foreignKeyMessage(const QString& shown)
{
    if (!m_isForeignKey)
        return {};
    lookUpFKValue();
    if (m_fkValue == 0)
        return QStringLiteral("Cannot find ") + m_goodName + QStringLiteral(" <") + shown + QStringLiteral(">");
    return {};
}

void zFieldBase::lookUpFKValue()
{
    if (m_getFKFromValue)
        m_fkValue = m_getFKFromValue();
}

bool zFieldBase::storeFKValue(int identity)
{
    if (identity == m_fkValue)
        return false;
    m_fkValue = identity;
    return true;
}

void zFieldBase::redraw()
{
    if (!m_box)
        return;
    m_box->setVisible(m_applicable);
    setEnabled(m_applicable && !m_locked);
    setFrameShape(m_applicable ? QFrame::NoFrame : QFrame::Box);
    QPalette palette = m_box->palette();
    palette.setColor(QPalette::Base, m_locked ? QApplication::palette().color(QPalette::Button) : NormalFieldColor());
    m_box->setPalette(palette);
}

int zFieldBase::formType() const
{
    zInfo* info = controller();
    // The key routine knows the form types by their numbers.
    return info ? static_cast<int>(info->FormType()) : 0;
}

void zFieldBase::filterCharacter(int& code)
{
    if (code == 13)
        handleEnter(code);
}

void zFieldBase::handleEnter(int& code)
{
    EnterAsTab(code, formType());
    code = 0;
}

void zFieldBase::boxFocusIn()
{
    SelectAllText(m_box);
    HighlightControl(m_box);
}

void zFieldBase::boxFocusOut()
{
    if (auto* line = qobject_cast<QLineEdit*>(m_box)) {
        const QString trimmed = line->text().trimmed();
        if (trimmed != line->text()) {
            QuietScope quietly(this);
            line->setText(trimmed);
        }
    }
    Validate(false);
    paintFieldError();
    UnhighlightControl(m_box);
}

bool zFieldBase::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_box) {
        switch (event->type()) {
        case QEvent::KeyPress:
            return handleKeyPress(static_cast<QKeyEvent*>(event));
        case QEvent::FocusIn: {
            // Switching to another window (a message box) is no visit to the field.
            const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
            if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
                boxFocusIn();
            break;
        }
        case QEvent::FocusOut: {
            const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
            if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
                boxFocusOut();
                Q_EMIT LostFocus();
            }
            break;
        }
        default:
            break;
        }
    }
    return QFrame::eventFilter(watched, event);
}

bool zFieldBase::handleKeyPress(QKeyEvent* event)
{
    int code = 0;
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        code = 13;
    else if (event->key() == Qt::Key_Backspace)
        code = 8;
    else if (event->modifiers() & (Qt::ControlModifier | Qt::MetaModifier | Qt::AltModifier))
        return false; // shortcuts (clipboard, undo) act as usual; pasted text is checked on leaving
    else if (!event->text().isEmpty() && event->text().at(0).isPrint())
        code = event->text().at(0).unicode();
    else
        return false; // navigation and Delete keys carry no character
    const int typed = code;
    filterCharacter(code);
    if (code == 0)
        return true;
    if (code != typed) {
        insertCharacter(QChar(static_cast<char16_t>(code)));
        return true;
    }
    return false;
}
