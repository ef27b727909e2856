#pragma once

#include <QDialog>

class QPushButton;

// The base of every modal window and edit dialog, each centred on the main
// window's screen by its real frame when first shown. Buttons are never
// auto-default: Enter presses a button only when that button has the focus,
// and Esc presses the cancel button when the window has one. With key preview
// on, every key-down reaches FormKeyDown before the focused control.
class TForm : public QDialog {
    Q_OBJECT
public:
    explicit TForm(QWidget* parent = nullptr);

    void setCancelButton(QPushButton* button) { m_cancel = button; }
    QPushButton* cancelButton() const { return m_cancel; }
    void setKeyPreview(bool on) { m_keyPreview = on; }

    // A fixed dialog border: the client area cannot be resized.
    void setFixedClientSize(int width, int height);

protected:
    // The dialogs' key-down handler; the default hands the key to EnterToNextControl.
    virtual void FormKeyDown(QWidget* focused, int key, Qt::KeyboardModifiers shift);

    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void childEvent(QChildEvent* event) override;

private:
    void watch(QObject* object);
    bool pressFocusedButton(int key);

    QPushButton* m_cancel = nullptr;
    bool m_keyPreview = false;
    bool m_centring = false; // set once the first show has arranged the centring
};

// A bottom panel of the given height with a lowered bevel, as every window's button bar.
class QFrame;
QFrame* MakeButtonPanel(QWidget* parent, int height = 41);
// A 72 x 22 command button.
QPushButton* MakeButton(const QString& text, QWidget* parent, const QString& objectName);
