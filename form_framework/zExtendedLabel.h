#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <QWidget>

class QLabel;

// A caption whose font, colour and alignment the window chooses. As a barcode label (the first of
// a record window's zxlBarCode pair) it draws its Value, a record code between asterisks, as a
// Code 39 barcode in place of text.
class zExtendedLabel : public QWidget {
    Q_OBJECT
public:
    explicit zExtendedLabel(QWidget* parent = nullptr);

    // The caption, trimmed. A text that differs only in case leaves the caption as it is.
    QString Value() const { return m_value; }
    void setValue(const QString& text);
    QFont Font() const;
    void setFont(const QFont& font);
    QColor ForeColor() const;
    void setForeColor(const QColor& color);
    // 0 left, 1 right, 2 centred.
    int Alignment() const { return m_alignment; }
    void setAlignment(int alignment);

    bool IsBarcode() const { return m_barcode; }
    void setBarcode(bool barcode);
    // Keeps room for the barcode of a code of that length from the start: a record window opens
    // before its record has a code, and a window around it does not grow when the code comes.
    void reserveBarcodeRoom(const QString& code);

    QLabel* label() const { return m_label; }

private:
    void redisplay();

    QLabel* m_label;
    QString m_value = QStringLiteral("zExtendedLabel");
    int m_alignment = 2;
    bool m_barcode = false;
};
