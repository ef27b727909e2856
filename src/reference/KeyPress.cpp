#include "reference/KeyPress.h"

#include <QEvent>
#include <QKeyEvent>
#include <QWidget>

namespace {

class KeyPressFilter : public QObject {
public:
    KeyPressFilter(QWidget* field, std::function<void(QChar&)> handler)
        : QObject(field), m_handler(std::move(handler))
    {
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress)
            return QObject::eventFilter(watched, event);
        auto* key = static_cast<QKeyEvent*>(event);
        switch (key->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Escape:
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
        case Qt::Key_Delete:
            return false;
        default:
            break;
        }
        const QString text = key->text();
        if (text.isEmpty())
            return false;
        QChar typed = text.at(0);
        m_handler(typed);
        return typed.isNull();
    }

private:
    std::function<void(QChar&)> m_handler;
};

} // namespace

void OnKeyPress(QWidget* field, std::function<void(QChar& Key)> handler)
{
    field->setAttribute(Qt::WA_InputMethodEnabled, false);
    field->installEventFilter(new KeyPressFilter(field, std::move(handler)));
}

void KeepDigitsAndBackspace(QChar& Key)
{
    const ushort code = Key.unicode();
    if ((code >= '0' && code <= '9') || code == 8)
        return;
    Key = QChar();
}
