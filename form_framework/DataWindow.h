#pragma once

#include <QString>
#include <QWidget>

class zInfo;

// The base of every data window: a widget named after its window class, carrying its controller
// zInfo. Record windows override Act_LoadForm, which applies the opener's start parameters.
class DataWindow : public QWidget {
    Q_OBJECT
public:
    explicit DataWindow(const QString& className, QWidget* parent = nullptr);

    zInfo* info() const { return m_info; }
    virtual bool Act_LoadForm() { return true; }

    // A sizable window remembers its size per user.
    bool Sizable() const { return m_sizable; }
    void setSizable(bool sizable) { m_sizable = sizable; }

    // The widget that carries the window's place and size: the sub-window when the window is a
    // child of the main window, the window itself otherwise.
    QWidget* frame();
    bool isChildOfMainWindow() const;
    // Position and size of the frame in twips.
    int LeftTwips();
    int TopTwips();
    void moveTwips(int left, int top);
    void resizeTwips(int width, int height);
    // Sizes the frame so the window inside it gets this size (the size its constructor gave it:
    // a sub-window does not take the size of a widget that lays its children out by hand).
    void fitFrameTo(const QSize& size);
    // Enables or disables the window together with its frame: a window waits, disabled, while a
    // window it opened for one of its pickers is open, and its frame (the window the desktop and
    // screen readers see) must say so too.
    void setWindowEnabled(bool enabled);
    // Brings the window to the front (z-order 0), restoring it when asked.
    void bringToFront(bool restoreMinimized = false);
    // The named child of the window (the controller finds its members this way).
    QWidget* member(const QString& name) const;

private:
    zInfo* m_info;
    bool m_sizable = true;
};
