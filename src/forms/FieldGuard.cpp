#include "forms/FieldGuard.h"

#include "forms/uPub.h"

#include <QDropEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QValidator>
#include <limits>

// Qt asks the validator about every change of the field's text, whichever
// way it came, and undoes a change the validator calls invalid. A change the
// user has not made (the program's setText, or an undo back to it) becomes
// the text the user's changes are judged against.
class FieldGuard::Gate : public QValidator {
public:
    Gate(FieldGuard* guard, QLineEdit* field) : QValidator(guard), m_guard(guard), m_field(field) {}

    State validate(QString& input, int&) const override
    {
        if (!m_field->isModified()) {
            m_guard->setOriginal(input);
            return Acceptable;
        }
        const QString why = m_guard->refusal(input);
        if (why.isEmpty()) {
            m_guard->taken(input);
            return Acceptable;
        }
        m_guard->refuse(why);
        return Invalid;
    }

private:
    FieldGuard* m_guard;
    QLineEdit* m_field;
};

FieldGuard* FieldGuard::of(QLineEdit* field, const QString& label)
{
    if (auto* guard = field->findChild<FieldGuard*>(QString(), Qt::FindDirectChildrenOnly))
        return guard;
    return new FieldGuard(field, label);
}

FieldGuard::FieldGuard(QLineEdit* field, const QString& label)
    : QObject(field), m_field(field), m_label(label)
{
    setOriginal(field->text());
    field->setMaxLength(std::numeric_limits<int>::max());
    field->setValidator(new Gate(this, field));
    field->installEventFilter(this);
}

FieldGuard* FieldGuard::setKeyPress(KeyFilter filter, const QString& allowed)
{
    m_filter = std::move(filter);
    m_allowed = allowed;
    m_field->setAttribute(Qt::WA_InputMethodEnabled, false);
    setOriginal(m_field->text());
    return this;
}

FieldGuard* FieldGuard::setLimit(int limit)
{
    m_limit = limit;
    setOriginal(m_field->text());
    return this;
}

bool FieldGuard::refusedByFilter(QChar c) const
{
    // Backspace passes the key filter as a key, never as a character of the text.
    if (c.category() == QChar::Other_Control)
        return true;
    QChar key = c;
    m_filter(key);
    return key.isNull();
}

QHash<QChar, int> FieldGuard::refusedCharacters(const QString& text) const
{
    QHash<QChar, int> refused;
    if (m_filter)
        for (const QChar c : text)
            if (refusedByFilter(c))
                ++refused[c];
    return refused;
}

void FieldGuard::setOriginal(const QString& text)
{
    m_mayReturn.clear();
    taken(text);
}

void FieldGuard::taken(const QString& text)
{
    m_current = text;
    // Undo and redo bring back texts once taken. Only one beyond the limit or
    // holding refused characters could be refused then, so only those are kept.
    if ((m_limit > 0 && text.size() > m_limit) || !refusedCharacters(text).isEmpty())
        m_mayReturn.insert(text);
}

QString FieldGuard::refusal(const QString& text) const
{
    if (m_mayReturn.contains(text))
        return {};
    // What a change brings in is what it adds to the text as last taken.
    const QHash<QChar, int> before = refusedCharacters(m_current);
    const QHash<QChar, int> after = refusedCharacters(text);
    for (auto it = after.cbegin(); it != after.cend(); ++it)
        if (it.value() > before.value(it.key()))
            return m_label + QStringLiteral("只能输入") + m_allowed + QStringLiteral("！");
    if (m_limit > 0 && text.size() > m_limit && text.size() > m_current.size())
        return m_label + QStringLiteral("不能超过") + QString::number(m_limit) + QStringLiteral("个字符！");
    return {};
}

void FieldGuard::refuse(const QString& why)
{
    // Shown once the field has finished with the change: a box opened inside
    // Qt's editing (or inside a drop) would run an event loop in the middle of it.
    QMetaObject::invokeMethod(
        this, [why] { ShowMessage(why); }, Qt::QueuedConnection);
}

bool FieldGuard::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_field) {
        if (event->type() == QEvent::KeyPress)
            return dropsTypedKey(static_cast<QKeyEvent*>(event));
        if (event->type() == QEvent::Drop)
            return refusesDrop(event);
    }
    return QObject::eventFilter(watched, event);
}

bool FieldGuard::dropsTypedKey(const QKeyEvent* key) const
{
    // A paste is judged as it arrives, like any other.
    if (key->matches(QKeySequence::Paste))
        return false;
    switch (key->key()) {
    // Keys the window acts on, and keys that type nothing, pass whatever the filter says.
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
    const QString typed = key->text();
    if (typed.isEmpty())
        return false;
    if (m_filter) {
        QChar Key = typed.at(0);
        m_filter(Key);
        if (Key.isNull())
            return true;
    }
    if (m_limit > 0 && typed.at(0).isPrint()) {
        const qsizetype after = m_field->text().size() - m_field->selectedText().size() + typed.size();
        return after > m_limit;
    }
    return false;
}

bool FieldGuard::refusesDrop(QEvent* event)
{
    auto* drop = static_cast<QDropEvent*>(event);
    // A move within the field brings nothing new.
    if (drop->source() == m_field || m_field->isReadOnly() || !drop->mimeData()->hasText())
        return false;
    const QString why = refusal(m_field->text() + drop->mimeData()->text());
    if (why.isEmpty())
        return false;
    // Refused here rather than by the gate after the field took it, so that
    // the drag's source is told and keeps what it would have moved.
    drop->ignore();
    refuse(why);
    return true;
}
