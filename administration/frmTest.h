#pragma once

#include "form_framework/DataWindow.h"

class QPlainTextEdit;
class QPushButton;

// The developers' scratch window, reached only from the development build's Test menu entry.
class frmTest : public DataWindow {
    Q_OBJECT
public:
    frmTest();

private:
    QPlainTextEdit* txtData;
    QPushButton* Command2;
};
