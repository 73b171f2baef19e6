#include "main_window/MainMenuFile.h"

#include "core/Actions.h"
#include "core/AppError.h"
#include "core/AppInfo.h"
#include "core/ErrorReport.h"
#include "core/SqlText.h"
#include "core/TextUtilities.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QPalette>
#include <QTreeWidget>

#include <array>

namespace {
const QString kProcLoad = QStringLiteral("frmMain::LoadMainMenu");
// The refused lines one report lists by number; the rest are counted.
constexpr int kMaxReportedMenuLines = 10;

bool parseFlag(const QString& text, bool& flag)
{
    if (text.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0) {
        flag = true;
        return true;
    }
    if (text.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0) {
        flag = false;
        return true;
    }
    bool ok = false;
    const double number = text.toDouble(&ok);
    if (!ok)
        return false;
    flag = number != 0.0;
    return true;
}

void report(const AppError& error, const QString& message, const QString& procedure)
{
    SetPendingError(error);
    ShowError(QString(), message, procedure);
}

// The parent menu of an entry: the item's own submenu, made on first use.
QMenu* submenuOf(QAction* item)
{
    if (!item->menu()) {
        auto* menu = new QMenu(item->text(), qobject_cast<QWidget*>(item->parent()));
        menu->setObjectName(item->objectName());
        item->setMenu(menu);
    }
    return item->menu();
}

bool isGrey(const QTreeWidgetItem* node)
{
    return node->data(0, kMenuKeyRole + 1).toBool();
}

void pruneTree(QTreeWidget* tree)
{
    // Last to first, so removing a node (with what hangs below it) never skips one.
    QList<QTreeWidgetItem*> nodes;
    for (QTreeWidgetItemIterator it(tree); *it; ++it)
        nodes << *it;
    for (qsizetype i = nodes.size() - 1; i >= 0; --i) {
        QTreeWidgetItem* node = nodes.at(i);
        // Pre-order listing walked backwards: every node below this one has been visited already.
        if (node->text(0) == QLatin1String("-") || isGrey(node)) {
            delete node;
        }
    }
}
} // namespace

bool IsMenuComment(const QString& trimmedLine)
{
    return trimmedLine.isEmpty() || trimmedLine.startsWith(QLatin1Char(';')) || trimmedLine.startsWith(QLatin1Char('\''));
}

MenuItem GetOneMenuItem(const QString& line)
{
    MenuItem item;
    // The tabs stand at the start of the line, one per level below the first.
    int tabs = 0;
    while (tabs < line.size() && line.at(tabs) == QLatin1Char('\t'))
        ++tabs;
    item.Level = tabs + 1;
    const QString text = line.mid(tabs).trimmed();
    if (text == QLatin1String("-")) {
        item.Caption = QStringLiteral("-");
        item.Flag = false;
        return item;
    }
    const qsizetype comma = text.indexOf(QLatin1Char(','));
    if (comma < 0)
        throw AppError(ErrToReport, QStringLiteral("The menu line ") + AngleQuote(text) + QStringLiteral(" has no comma."), ApplicationTitle());
    item.Key = text.left(comma).trimmed();
    const QString rest = text.mid(comma + 1).trimmed();
    const qsizetype second = rest.indexOf(QLatin1Char(','));
    if (second >= 0) {
        item.Caption = rest.left(second).trimmed();
        const QString flag = rest.mid(second + 1).trimmed();
        if (!parseFlag(flag, item.Flag))
            throw AppError(ErrToReport,
                           QStringLiteral("The flag ") + AngleQuote(flag) + QStringLiteral(" of the menu line ") + AngleQuote(text)
                               + QStringLiteral(" is not True, False or a number."),
                           ApplicationTitle());
    } else {
        item.Caption = rest;
        item.Flag = true;
    }
    item.Caption.remove(QLatin1Char('"'));
    return item;
}

QString MenuCaption(const QString& caption)
{
    QString text = caption;
    text.replace(QLatin1Char('&'), QStringLiteral("&&"));
    text.replace(QLatin1Char('_'), QLatin1Char('&'));
    return text;
}

QString TreeCaption(const QString& caption)
{
    QString text = caption;
    text.remove(QLatin1Char('_'));
    return text;
}

void LoadMainMenu(QMenu* goToMenu, QTreeWidget* tree)
{
    LoadMainMenuFrom(GetMainPath() + QStringLiteral("menu.txt"), goToMenu, tree);
}

void LoadMainMenuFrom(const QString& path, QMenu* goToMenu, QTreeWidget* tree)
{
    if (tree->topLevelItemCount() > 0)
        return;
    QFile file(path);
    if (!QFileInfo::exists(path) || !file.open(QIODevice::ReadOnly)) {
        report(AppError(ErrToReport, QStringLiteral("Cannot find Main Menu file"), ApplicationTitle()),
               QStringLiteral("Cannot find Main Menu file ") + path, kProcLoad);
        return;
    }

    std::array<QAction*, kMaxMenuLevel + 1> lastItem {};
    std::array<QTreeWidgetItem*, kMaxMenuLevel + 1> lastNode {};
    QMenu* parentMenu = goToMenu;
    QTreeWidgetItem* previousNode = nullptr;
    int previousLevel = 0;
    const QColor grey = QApplication::palette().color(QPalette::Disabled, QPalette::Text);

    const QByteArray bytes = file.readAll();
    QString text = QString::fromUtf8(bytes);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    // Every refused line goes into one report at the end, so a damaged file costs one box.
    QStringList refused;
    int refusedCount = 0;
    auto refuse = [&refused, &refusedCount](int number, const QString& reason) {
        if (++refusedCount <= kMaxReportedMenuLines)
            refused << QStringLiteral("Line ") + QString::number(number) + QStringLiteral(": ") + reason;
    };

    const QStringList lines = SplitLines(text);
    for (qsizetype index = 0; index < lines.size(); ++index) {
        const QString& raw = lines.at(index);
        const int number = static_cast<int>(index + 1);
        // Spaces go, tabs stay: they give the level.
        qsizetype start = 0;
        qsizetype end = raw.size();
        while (start < end && raw.at(start) == QLatin1Char(' '))
            ++start;
        while (end > start && raw.at(end - 1) == QLatin1Char(' '))
            --end;
        const QString line = raw.mid(start, end - start);
        if (IsMenuComment(line))
            continue;
        MenuItem item;
        try {
            item = GetOneMenuItem(line);
        } catch (const AppError& error) {
            refuse(number, error.description());
            continue; // the refused line adds nothing; the rest of the file still loads
        }
        if (item.Level > kMaxMenuLevel) {
            refuse(number,
                QStringLiteral("The menu line ") + AngleQuote(line.trimmed())
                    + QStringLiteral(" is nested deeper than ") + QString::number(kMaxMenuLevel)
                    + QStringLiteral(" levels; the menu ends there."));
            break;
        }
        const int level = item.Level;
        // An entry deeper than its predecessor hangs under the last entry of the level above it
        // (a jump of several levels hangs under the previous entry).
        if (level > previousLevel) {
            QAction* parent = previousLevel >= 1 ? lastItem[static_cast<size_t>(previousLevel)] : nullptr;
            parentMenu = parent ? submenuOf(parent) : goToMenu;
        } else if (level < previousLevel) {
            QAction* parent = level >= 2 ? lastItem[static_cast<size_t>(level - 1)] : nullptr;
            parentMenu = parent ? submenuOf(parent) : goToMenu;
        }
        if (item.isSeparator()) {
            QAction* separator = parentMenu->addSeparator();
            lastItem[static_cast<size_t>(level)] = separator;
        } else {
            QAction* action = parentMenu->addAction(MenuCaption(item.Caption));
            action->setObjectName(item.Key);
            action->setEnabled(item.Flag);
            action->setData(item.Key);
            lastItem[static_cast<size_t>(level)] = action;
        }

        QTreeWidgetItem* node = nullptr;
        if (level == 1 || !previousNode) {
            node = new QTreeWidgetItem(tree);
        } else if (level == previousLevel) {
            node = previousNode->parent() ? new QTreeWidgetItem(previousNode->parent()) : new QTreeWidgetItem(tree);
        } else if (level > previousLevel) {
            node = new QTreeWidgetItem(previousNode);
        } else {
            QTreeWidgetItem* sibling = lastNode[static_cast<size_t>(level)];
            QTreeWidgetItem* parent = sibling ? sibling->parent() : nullptr;
            node = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(tree);
        }
        node->setText(0, TreeCaption(item.Caption));
        node->setData(0, kMenuKeyRole, item.Key);
        if (!item.Flag) {
            node->setData(0, kMenuKeyRole + 1, true);
            node->setForeground(0, grey);
        }
        lastNode[static_cast<size_t>(level)] = node;
        previousNode = node;
        previousLevel = level;
    }
    pruneTree(tree);
    if (refusedCount > 0) {
        QString description = QStringLiteral("The Main Menu file ") + AngleQuote(path) + QStringLiteral(" has ")
            + QString::number(refusedCount) + (refusedCount == 1 ? QStringLiteral(" line") : QStringLiteral(" lines"))
            + QStringLiteral(" that cannot be used:\r\n") + refused.join(QStringLiteral("\r\n"));
        if (refusedCount > kMaxReportedMenuLines)
            description += QStringLiteral("\r\n... and ") + QString::number(refusedCount - kMaxReportedMenuLines)
                + QStringLiteral(" more.");
        report(AppError(ErrToReport, description, ApplicationTitle()), QString(), kProcLoad);
    }
}
