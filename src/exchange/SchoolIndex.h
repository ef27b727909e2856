#pragma once

#include "data/Roster.h"

#include <QHash>
#include <QMultiHash>

// The classes of an import by the texts a file may name them with: the
// class's name, or its code.
class ClassNames {
public:
    void add(const QString& code, const QString& name);

    struct Found {
        QString code;
        QString name;
        QString problem; // why there is none
    };
    // A name that one class has; otherwise a code; unknownText (with %1)
    // when neither fits.
    Found find(const QString& text, const QString& unknownText) const;
    // The class an import row names in its "班级" cell: its code, with the
    // name to show put into className; an empty cell or a class not found
    // adds its problem and gives no code.
    QString classOfRow(const QString& cell, const QString& unknownText, QString& className,
                       QStringList& problems) const;
    QString nameOf(const QString& code) const { return m_names.value(code); }
    bool hasCode(const QString& code) const { return m_names.contains(code); }
    // Whether another class has the same name (a file then names it by code).
    bool nameIsShared(const QString& code) const;

private:
    QHash<QString, QString> m_names;      // code to name
    QMultiHash<QString, QString> m_codes; // name to codes
};

// Every student of the school, found by class and number or name.
class StudentIndex {
public:
    struct Entry {
        int id = 0;
        Roster::Student student;
    };

    explicit StudentIndex(const RowSet& school);

    const Entry& at(int index) const { return m_entries.at(index); }
    QVector<int> byNumber(const QString& classCode, const QString& number) const;
    // By the number's value: a number cell cannot keep leading zeros.
    QVector<int> byNumberValue(const QString& classCode, const QString& number) const;
    QVector<int> byName(const QString& classCode, const QString& name) const;
    // Whether a student of another class has the number.
    bool numberInOtherClass(const QString& classCode, const QString& number) const;
    // Whether the school numbers its students throughout, no number in two
    // classes, rather than by seat within each class ("0", the student
    // dialog's default, and empty numbers not counted).
    bool numbersUniqueInSchool() const { return m_uniqueNumbers; }

private:
    static QString key(const QString& classCode, const QString& text);

    QVector<Entry> m_entries;
    QMultiHash<QString, int> m_numbers; // class and number
    QMultiHash<QString, int> m_values;  // class and number without leading zeros
    QMultiHash<QString, int> m_names;   // class and trimmed name
    QMultiHash<QString, QString> m_numberClasses;
    bool m_uniqueNumbers = true;
};
