#include "form_framework/ActionsMenu.h"

#include "core/Actions.h"
#include "form_framework/ChildWindows.h"
#include "exports/Exports.h"
#include "core/SqlText.h"

#include <QAbstractButton>
#include <QAction>
#include <QCursor>
#include <QMenu>

ActionsMenu::ActionsMenu(QWidget* bar)
    : QObject(bar)
    , m_menu(new QMenu(QStringLiteral("Actions"), bar))
{
    m_menu->setObjectName(QStringLiteral("mnuActions"));
}

void ActionsMenu::beginWindowCommands()
{
    QAction* separator = m_menu->addSeparator();
    separator->setObjectName(QStringLiteral("mnuUserAction"));
    separator->setVisible(false);
    m_commands << separator;
}

QAction* ActionsMenu::addWindowCommand(const QString& caption, bool flag)
{
    m_commands.first()->setVisible(true);
    QAction* command = nullptr;
    if (caption == QStringLiteral("-")) {
        command = m_menu->addSeparator();
    } else {
        command = m_menu->addAction(caption);
        connect(command, &QAction::triggered, this, [this, command] {
            QString name = command->text();
            name.remove(QLatin1Char('&'));
            Q_EMIT ActionClick(name);
        });
    }
    command->setObjectName(QStringLiteral("mnuUserAction"));
    command->setEnabled(flag);
    m_commands << command;
    return command;
}

void ActionsMenu::popUpAbove(QAbstractButton* button, int pressY)
{
    if (!IsCursorOverWindow(button))
        CenterCursorOnWindow(button);
    const QSize size = m_menu->sizeHint();
    const QPoint pointer = QCursor::pos();
    m_menu->popup(QPoint(pointer.x() - size.width(), button->mapToGlobal(QPoint(0, pressY)).y() - size.height()));
}

void ActionsMenu::popUpAtPointer()
{
    m_menu->popup(QCursor::pos());
}

void ActionsMenu::ShowRecordHistory(const QString& tableName, const QString& identityText, const QString& formCaption,
                                    const QString& recordText)
{
    ActionScope action(QStringLiteral("zButtons"), QStringLiteral("mnuRecordHistory_Click"), QStringLiteral("Show Record History"));
    action.run([&] {
        // The table name goes in as a proper literal, quotes doubled.
        const QString statement = QStringLiteral("EXEC usp_DB_Search_Record_History @DB_Table_Name = ") + SQLString(tableName)
            + QStringLiteral(", @DB_PK = ") + identityText;
        ExportToText(statement, QStringLiteral("Record History"),
                     QStringLiteral("Record: ") + formCaption + QStringLiteral(" ") + AngleQuote(recordText));
    });
}
