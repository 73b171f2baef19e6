#pragma once

#include <QLabel>

// The small barcode marker picture that record and search windows carry. It does nothing and
// keeps its size (240 x 315 twips) whatever size the window gives it.
class zBarcode : public QLabel {
    Q_OBJECT
public:
    explicit zBarcode(QWidget* parent = nullptr);
};
