#include "forms/Form.h"

#include "forms/uPub.h"

#include <QApplication>
#include <QChildEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QMainWindow>
#include <QPushButton>
#include <QScreen>
#include <QWindow>

#include <algorithm>

namespace {

// The screen the windows are centred on: the main window's.
QScreen* mainWindowScreen(const QWidget* form)
{
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (const QWidget* window : windows) {
        if (window != form && window->isVisible() && qobject_cast<const QMainWindow*>(window))
            return window->screen();
    }
    return form->screen();
}

// Centres a window on the available area of the main window's screen by its
// real frame. Qt places a window before the window manager has framed it,
// with a guessed frame, which leaves it too high and to the left; the frame
// is known once the window is mapped, so the correction is made on its first
// expose, before its first paint, and only then: a window the user moves
// stays where it was put.
class FrameCentring : public QObject {
public:
    FrameCentring(const QWidget* form, QWindow* window) : QObject(window), m_form(form)
    {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* window = qobject_cast<QWindow*>(watched);
        if (event->type() == QEvent::Expose && window && window->isExposed()) {
            window->removeEventFilter(this);
            centre(window);
            deleteLater();
        }
        return false;
    }

private:
    void centre(QWindow* window) const
    {
        const QRect area = mainWindowScreen(m_form)->availableGeometry();
        const QSize outer = window->size().grownBy(window->frameMargins());
        QPoint topLeft(area.x() + (area.width() - outer.width()) / 2,
                       area.y() + (area.height() - outer.height()) / 2);
        // A window larger than the area keeps its title bar on the screen.
        topLeft = QPoint(std::max(topLeft.x(), area.left()), std::max(topLeft.y(), area.top()));
        if (window->framePosition() != topLeft)
            window->setFramePosition(topLeft);
    }

    const QWidget* m_form;
};

} // namespace

TForm::TForm(QWidget* parent) : QDialog(parent)
{
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
}

void TForm::setFixedClientSize(int width, int height)
{
    setFixedSize(width, height);
    // A fixed dialog border: a title and a close box, nothing to maximise.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
}

void TForm::FormKeyDown(QWidget* focused, int key, Qt::KeyboardModifiers shift)
{
    EnterToNextControl(focused, key, shift);
}

void TForm::watch(QObject* object)
{
    if (!object->isWidgetType())
        return;
    object->installEventFilter(this);
    if (auto* button = qobject_cast<QPushButton*>(object)) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }
    for (QObject* child : object->children())
        watch(child);
}

void TForm::childEvent(QChildEvent* event)
{
    QDialog::childEvent(event);
    if (event->added())
        watch(event->child());
}

void TForm::showEvent(QShowEvent* event)
{
    // Children created before this window was constructed fully, or added to
    // layouts later, are watched here as well.
    for (QObject* child : children())
        watch(child);
    if (!m_centring && windowHandle()) {
        m_centring = true;
        new FrameCentring(this, windowHandle());
    }
    QDialog::showEvent(event);
}

bool TForm::pressFocusedButton(int key)
{
    if (key != Qt::Key_Return && key != Qt::Key_Enter)
        return false;
    auto* button = qobject_cast<QPushButton*>(focusWidget());
    if (!button || !button->isEnabled())
        return false;
    button->click();
    return true;
}

bool TForm::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->window() == this) {
        auto* key = static_cast<QKeyEvent*>(event);
        QWidget* focused = focusWidget();
        if (watched == focused) {
            if (pressFocusedButton(key->key()))
                return true;
            if (m_keyPreview)
                FormKeyDown(focused, key->key(), key->modifiers());
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TForm::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        if (m_cancel)
            m_cancel->click();
        event->accept(); // a window without a cancel button ignores Esc
        return;
    }
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept(); // no default button
        return;
    }
    QDialog::keyPressEvent(event);
}

QFrame* MakeButtonPanel(QWidget* parent, int height)
{
    auto* panel = new QFrame(parent);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setFixedHeight(height);
    return panel;
}

QPushButton* MakeButton(const QString& text, QWidget* parent, const QString& objectName)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(objectName);
    button->setFixedSize(72, 22);
    button->setAutoDefault(false);
    return button;
}
