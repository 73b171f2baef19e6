#pragma once

#include "custody/ScannedCodes.h"
#include "form_framework/DataWindow.h"

#include <QDateTime>
#include <QPointer>
#include <QString>

#include <vector>

class QLineEdit;
class QPushButton;
class QRadioButton;
class QTreeWidget;
class QTreeWidgetItem;
class zCheckBox;
class zComboBoxText;
class zDate;
class zMemo;

class frmBarcodeItemAction;

// The barcode window: scanned or typed record codes gathered in a list, resolved to what they
// stand for, then either one record opened or one item action taken on every case, item and batch
// of the list (employee and location codes between them set who performed it and where).
class frmBarcodes : public DataWindow {
    Q_OBJECT
public:
    // The list's columns: the view of each row's ScannedCode.
    enum Column { BarcodeColumn = 0, TypeColumn = 1, ValueColumn = 2, ResultColumn = 3, IDColumn = 4 };

    frmBarcodes();
    ~frmBarcodes() override;

    // Inserts one item action for every case, item and batch row through the insert procedure,
    // each in its own transaction, and removes the rows that were done. An action whose answer
    // was lost is looked up by its key before the run goes on, and never written twice; a run that
    // left rows ends with one message naming them.
    void ProcessAll(const BulkItemAction& action);

    // The scanned codes, first row first, with what each was resolved to.
    std::vector<ScannedCode> scannedCodes() const;

    void btnEnter_Click();
    void btnUp_Click();
    void btnDown_Click();
    void btnDelete_Click();
    void btnProceed_Click();
    // Resolves every row whose type is still empty.
    void ResolveBarcodes();
    // Opens the record of the selected row (or says why it cannot).
    void ProcessSelectedRow();

    QLineEdit* txtBarcode;
    QPushButton* btnEnter;
    QTreeWidget* lvwBarcodes;
    QPushButton* btnUp;
    QPushButton* btnDown;
    QPushButton* btnDelete;
    QRadioButton* optProcess[2];
    QPushButton* btnProceed;
    QPushButton* btnClose;

    // The open item-action window of this barcode window, if any.
    frmBarcodeItemAction* itemActionWindow() const { return m_itemAction; }

protected:
    bool CheckFieldsProcedure() override { return true; }
    void ProcessCommand(MainCommand command) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void moveSelected(int step);

    QPointer<frmBarcodeItemAction> m_itemAction;
};

// The bulk item action's set-up: the action type, the performer (or the employee codes of the
// list), the date and time and a description, handed to the barcode window that opened it.
class frmBarcodeItemAction : public DataWindow {
    Q_OBJECT
public:
    frmBarcodeItemAction();

    void setBarcodeWindow(frmBarcodes* window) { m_barcodes = window; }
    // The fields in order; when they pass, the barcode window runs with their values and this
    // window closes.
    void btnProceed_Click();

    zComboBoxText* zcbtAction;
    zComboBoxText* zcbtEmployee;
    zCheckBox* zchkUseBarcode;
    zDate* zdatDateTime;
    QPushButton* btnNow;
    zMemo* zmemDescription;
    QPushButton* btnProceed;
    QPushButton* btnCancel;

protected:
    void AfterPopulateForm() override;

private:
    QPointer<frmBarcodes> m_barcodes;
};
