#include "form_framework/ActionsMenu.h"

#include "core/Actions.h"
#include "exports/Exports.h"
#include "core/SqlText.h"

#include <QAbstractButton>
#include <QAction>
#include <QCursor>
#include <QPoint>
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
        QSet<QChar> taken;
        for (const QAction* entry : m_menu->actions()) {
            if (const QChar key = AccessKey(entry->text()); !key.isNull())
                taken.insert(key);
        }
        command = m_menu->addAction(WithAccessKey(caption, taken));
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

void ActionsMenu::popUpUnder(QAbstractButton* button)
{
    // QMenu::popup keeps the menu on the screen, above the button when it would leave below.
    m_menu->popup(button->mapToGlobal(QPoint(0, button->height())));
}

void ActionsMenu::popUpAtPointer()
{
    m_menu->popup(QCursor::pos());
}

QChar ActionsMenu::AccessKey(const QString& caption)
{
    for (qsizetype i = 0; i + 1 < caption.size(); ++i) {
        if (caption.at(i) != QLatin1Char('&'))
            continue;
        if (caption.at(i + 1) != QLatin1Char('&'))
            return caption.at(i + 1).toCaseFolded();
        ++i; // "&&" is a plain "&"
    }
    return {};
}

QString ActionsMenu::WithAccessKey(const QString& caption, const QSet<QChar>& taken)
{
    if (!AccessKey(caption).isNull())
        return caption;
    const auto available = [&](qsizetype i) {
        const QChar c = caption.at(i);
        return c.isLetterOrNumber() && !taken.contains(c.toCaseFolded());
    };
    const auto marked = [&caption](qsizetype i) { return QString(caption).insert(i, QLatin1Char('&')); };
    for (qsizetype i = 0; i < caption.size(); ++i) {
        const bool wordStart = i == 0 || !caption.at(i - 1).isLetterOrNumber();
        if (wordStart && available(i))
            return marked(i);
    }
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (available(i))
            return marked(i);
    }
    // Every key taken: a shared one still reaches the entry (the menu cycles among its owners).
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption.at(i).isLetterOrNumber())
            return marked(i);
    }
    return caption;
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
