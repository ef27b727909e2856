#pragma once

#include <QHash>
#include <QObject>
#include <QSet>
#include <QString>
#include <functional>

class QKeyEvent;
class QLineEdit;

// The one gate for text entering a single-line field, however it arrives:
// typed, pasted (Ctrl+V, Shift+Insert, the context menu, the middle button),
// dropped, or committed by an input method.
//
// Typed characters pass the field's key filter one by one, as they always
// did, and typing stops silently at the field's limit. Text that arrives any
// other way is taken whole or not at all: when it holds a character the key
// filter would drop, or would make the field longer than its limit, the
// field keeps what it had and a message says why. Nothing is ever cut: Qt's
// own limit of 32,767 characters is lifted, so a field without a limit of
// its own takes any length.
//
// Text the program puts into the field (a row being loaded) is never judged;
// the user's changes are judged against it, so a stored value from before
// these rules can still be corrected character by character.
class FieldGuard : public QObject {
    Q_OBJECT
public:
    using KeyFilter = std::function<void(QChar& Key)>;

    // The guard of field, made on the first call; label names the field in
    // the messages ("学号").
    static FieldGuard* of(QLineEdit* field, const QString& label);

    // Typed characters reach the field only through filter, which sets Key
    // to 0 to drop one; allowed says in words what it lets through ("数字").
    // Input methods are switched off for the field: they would commit text
    // past the filter.
    FieldGuard* setKeyPress(KeyFilter filter, const QString& allowed);
    // The field's own limit in characters; 0 for none.
    FieldGuard* setLimit(int limit);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    class Gate;
    FieldGuard(QLineEdit* field, const QString& label);

    // Why the field may not come to read text, or empty when it may.
    QString refusal(const QString& text) const;
    bool dropsTypedKey(const QKeyEvent* key) const;
    bool refusesDrop(QEvent* event);
    void refuse(const QString& why);
    bool refusedByFilter(QChar c) const;
    QHash<QChar, int> refusedCharacters(const QString& text) const;
    void setOriginal(const QString& text);
    void taken(const QString& text);

    QLineEdit* m_field;
    QString m_label;
    KeyFilter m_filter;
    QString m_allowed;
    int m_limit = 0;
    // The text as last taken, and the taken texts that are beyond the limit
    // or hold characters the filter refuses (a loaded text from before the
    // rules, and what is left of it as the user corrects it).
    QString m_current;
    QSet<QString> m_mayReturn;
};
