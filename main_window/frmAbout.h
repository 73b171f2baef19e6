#pragma once

#include <QDialog>

class QKeyEvent;
class QLabel;
class QPushButton;
class QTableWidget;

// The About window: version, database, server, driver, user, terminal, legal notice and the
// database's own title and company in a two-column grid. Enter and Esc both start the system
// information program; Close leaves.
class frmAbout final : public QDialog {
    Q_OBJECT
public:
    explicit frmAbout(QWidget* parent = nullptr);

    QLabel* zxlAppName = nullptr;
    QLabel* imgImage = nullptr;
    QTableWidget* grdGrid = nullptr;
    QPushButton* btnSysInfo = nullptr;
    QPushButton* btnOK = nullptr;

protected:
    // Esc is the system information button's, as Enter is; the close box still closes.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void addRow(const QString& label, const QVariant& value);
};

// The Qt SQL driver and the engine's version of the open connection ("QSQLITE, SQLite 3.40.1").
QString DriverVersionText();
