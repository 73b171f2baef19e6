#pragma once

#include "form_framework/DataWindow.h"
#include "form_framework/zInfo.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>

#include <memory>

// A shown data window to put field editors on, with a plain box to move the focus to, so the
// editors' focus handling runs as it does for a user.
class FieldHost {
public:
    explicit FieldHost(FormType formType = FormType::Record)
        : window(std::make_unique<DataWindow>(QStringLiteral("frmFieldHost")))
    {
        window->setAttribute(Qt::WA_DeleteOnClose, false);
        window->info()->setFormType(formType);
        window->info()->setRefreshScreen(false);
        new QVBoxLayout(window.get());
        elsewhere = add(new QLineEdit(window.get()));
        elsewhere->setObjectName(QStringLiteral("elsewhere"));
        window->show();
        QApplication::setActiveWindow(window.get());
        [[maybe_unused]] const bool active = QTest::qWaitForWindowActive(window.get());
    }

    template <class Field> Field* add(Field* field)
    {
        window->layout()->addWidget(field);
        field->show();
        return field;
    }
    template <class Field> Field* make() { return add(new Field(window.get())); }

    zInfo* info() const { return window->info(); }

    // The user enters the box, types, and leaves it.
    void type(QWidget* box, const QString& text, bool leave = true)
    {
        enter(box);
        QTest::keyClicks(box, text);
        if (leave)
            this->leave();
    }
    void enter(QWidget* box)
    {
        box->setFocus(Qt::TabFocusReason);
        QApplication::processEvents();
    }
    void leave()
    {
        elsewhere->setFocus(Qt::TabFocusReason);
        QApplication::processEvents();
    }

    std::unique_ptr<DataWindow> window;
    QLineEdit* elsewhere;
};
