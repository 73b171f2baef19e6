#include "form_framework/zButtonBar.h"

#include "form_framework/ActionsMenu.h"
#include "form_framework/DataWindow.h"
#include "form_framework/WindowList.h"

#include <QPushButton>
#include <QShortcut>

namespace {
constexpr int kTop = 4;
} // namespace

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
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), host);
    escape->setContext(Qt::WidgetWithChildrenShortcut);
    QPushButton* close = m_closeButton;
    connect(escape, &QShortcut::activated, close, [close] {
        if (close->isVisible() && close->isEnabled())
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
