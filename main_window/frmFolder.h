#pragma once

#include <QDialog>
#include <QString>

class QComboBox;
class QFileSystemModel;
class QLineEdit;
class QPushButton;
class QTreeView;

// The modal folder chooser: a drive list (the mounted file systems), the folder tree of the
// chosen drive and the selected folder. OK hands the folder back, Cancel an empty text.
class frmFolder : public QDialog {
    Q_OBJECT
public:
    explicit frmFolder(const QString& initialFolder, QWidget* parent = nullptr);

    // The folder handed back: the chosen one after OK, "" after Cancel (or before either).
    QString chosenFolder() const { return m_chosen; }
    // The folder the window shows as selected.
    QString selectedFolder() const;
    // Switches the folder tree to the drive at that index of the drive list.
    void chooseDrive(int index);
    // Opens a folder in the tree (its drive is chosen first); false when it cannot be shown.
    bool openFolder(const QString& folder);

private:
    void showSelectedFolder();

    QComboBox* m_drives;
    QTreeView* m_folders;
    QFileSystemModel* m_model;
    QLineEdit* m_path;
    QPushButton* m_ok;
    QPushButton* m_cancel;
    QString m_chosen;
};
