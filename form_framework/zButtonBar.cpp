#include "form_framework/zButtonBar.h"

#include "form_framework/ActionsMenu.h"
#include "form_framework/DataWindow.h"
#include "form_framework/WindowList.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QPointer>
#include <QPushButton>
#include <QShortcut>

#include <utility>

namespace {
constexpr int kTop = 4;

void closePopup(QWidget* popup)
{
    // A combo box's list is hidden by its box, which then takes its state back.
    if (auto* combo = qobject_cast<QComboBox*>(popup->parentWidget()))
        combo->hidePopup();
    else
        popup->close();
}

// Esc is offered to the shortcuts before the open pop-up sees it as a key press, and a combo box's
// list even hides itself on that offer while letting the shortcut go on. So while a pop-up is
// open, the offer of Esc is taken here: the pop-up closes and no shortcut sees the key.
class PopupEscape final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::ShortcutOverride)
            return QObject::eventFilter(watched, event);
        auto* key = static_cast<QKeyEvent*>(event);
        QWidget* popup = QApplication::activePopupWidget();
        if (!popup || key->key() != Qt::Key_Escape || key->modifiers() != Qt::NoModifier)
            return QObject::eventFilter(watched, event);
        closePopup(popup);
        key->accept();
        return true;
    }
};

void watchPopupEscape()
{
    static QPointer<PopupEscape> installed;
    if (installed || !qApp)
        return;
    installed = new PopupEscape(qApp);
    qApp->installEventFilter(installed);
}

} // namespace

QShortcut* InstallEscape(QWidget* host, std::function<void()> cancel)
{
    watchPopupEscape();
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), host);
    escape->setContext(Qt::WidgetWithChildrenShortcut);
    QObject::connect(escape, &QShortcut::activated, host, [cancel = std::move(cancel)] {
        // A pop-up still open (its Esc offer not seen above) is closed first all the same.
        if (QWidget* popup = QApplication::activePopupWidget()) {
            closePopup(popup);
            return;
        }
        cancel();
    });
    return escape;
}

zButtonBar::zButtonBar(QSize designed, QWidget* parent)
    : QWidget(parent)
    , m_designed(designed)
{
    setObjectName(QStringLiteral("zbtnButtons"));
    QFont font(QStringLiteral("Tahoma"));
    font.setPointSizeF(8.25);
    setFont(font);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void zButtonBar::addButtons(std::initializer_list<Button> buttons, int height)
{
    m_buttonHeight = height;
    QPushButton* previous = nullptr;
    for (const Button& design : buttons) {
        auto* button = new QPushButton(QString::fromLatin1(design.caption), this);
        button->setObjectName(QString::fromLatin1(design.name));
        button->setAutoDefault(false);
        button->setDefault(false);
        button->setGeometry(design.left, kTop, design.width, height);
        button->setEnabled(design.enabled);
        if (previous)
            QWidget::setTabOrder(previous, button);
        previous = button;
        *design.button = button;
    }
}

ActionsMenu* zButtonBar::addActionsMenu(QPushButton* actions)
{
    m_menu = new ActionsMenu(this);
    connect(m_menu, &ActionsMenu::ActionClick, this, [this](QString& name) { Q_EMIT ActionClick(name); });
    connect(actions, &QPushButton::clicked, this, [this, actions] { m_menu->popUpUnder(actions); });
    return m_menu;
}

void zButtonBar::finishBuilding(QPushButton* close)
{
    m_menu->beginWindowCommands();
    m_closeButton = close;
    connect(close, &QPushButton::clicked, this, &zButtonBar::closeClicked);
    resize(sizeHint());
    layOut();
}

void zButtonBar::AddAction(const QString& caption, bool flag) { m_menu->addWindowCommand(caption, flag); }

QMenu* zButtonBar::actionsMenu() const { return m_menu->menu(); }

DataWindow* zButtonBar::containerForm() const
{
    for (QWidget* w = parentWidget(); w; w = w->parentWidget()) {
        if (auto* form = qobject_cast<DataWindow*>(w))
            return form;
    }
    return nullptr;
}

int zButtonBar::scaled(int designed) const
{
    const int units = m_designed.height();
    return (designed * height() + units / 2) / units;
}

void zButtonBar::place(QPushButton* button, int left, int width)
{
    button->setGeometry(left, scaled(kTop), width, scaled(m_buttonHeight));
}

void zButtonBar::placeFromRight(std::initializer_list<QPushButton*> buttons)
{
    int right = width();
    for (QPushButton* button : buttons) {
        place(button, right - kGap - button->width(), button->width());
        right = button->x();
    }
}

void zButtonBar::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    layOut();
}

void zButtonBar::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!m_escapeInstalled && m_closeButton) {
        m_escapeInstalled = true;
        installEscape();
    }
}

// Escape presses the Close button while the focus is anywhere in the bar's window.
void zButtonBar::installEscape()
{
    QWidget* host = containerForm();
    if (!host)
        host = window();
    QPointer<QPushButton> close = m_closeButton;
    InstallEscape(host, [close] {
        if (close && close->isVisible() && close->isEnabled())
            close->click();
    });
}

void zButtonBar::closeClicked()
{
    if (DataWindow* window = containerForm())
        UnloadWindow(window);
    else
        this->window()->close();
}
