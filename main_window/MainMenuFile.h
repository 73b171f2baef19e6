#pragma once

#include <QString>
#include <QStringList>

#include <vector>

class QMenu;
class QTreeWidget;

// One entry of the menu file menu.txt.
struct MenuItem {
    QString Key; // the menu key: the item's name and the tree node's key
    QString Caption; // "_" marks the accelerator letter
    int Level = 0; // 1 = directly under the Go To menu
    bool Flag = true; // false: shown greyed in the menu, left out of the tree
    bool isSeparator() const { return Caption == QLatin1String("-") && Key.isEmpty(); }
};

// The deepest level an entry may have.
constexpr int kMaxMenuLevel = 10;

// Parses one line (spaces already trimmed): one tab per level below the first, then "-" or
// "Key, Caption[, Flag]". Throws AppError for a line without a comma or a flag that is neither
// True, False nor a number.
MenuItem GetOneMenuItem(const QString& line);

// A comment line: empty, or beginning with ";" or "'".
bool IsMenuComment(const QString& trimmedLine);

// The Go To menu caption: "&" doubled, "_" made the accelerator.
QString MenuCaption(const QString& caption);
// The tree text: "_" removed.
QString TreeCaption(const QString& caption);

// Reads menu.txt of the program folder into the Go To menu and the tree. The tree is read once
// per run (nothing happens when it already has nodes). Lines end in CR LF, LF or CR. Failures go
// to the central error dialog ("frmMain::LoadMainMenu"): a missing file, or once for the whole
// file the refused lines (skipped) and a level above 10 (loading ends there), the first ten of
// them with their line numbers and how many more there were.
void LoadMainMenu(QMenu* goToMenu, QTreeWidget* tree);
// The same from a given file (tests, tools).
void LoadMainMenuFrom(const QString& path, QMenu* goToMenu, QTreeWidget* tree);

// The tree's role holding the menu key, and whether the entry is unavailable (grey).
constexpr int kMenuKeyRole = 0x0100 + 1; // Qt::UserRole + 1
