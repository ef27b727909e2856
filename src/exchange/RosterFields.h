#pragma once

#include "data/Roster.h"

#include <QStringList>

// The roster's columns as files carry them: under the roster's grid titles,
// the flags as the roster shows them. An imported file may also use the
// student dialog's labels ("寝室号", "家长电话", "是否违纪").
struct RosterField {
    Roster::Column column;
    QString title;
    QString label;
    const QStringList* flagItems = nullptr; // the flag's texts by stored value
    bool digitsAsText = false; // student number, post code, telephone: text cells, leading zeros kept
};

const QVector<RosterField>& RosterFields();

// The column of a whole school's file naming each student's class.
inline const QString ClassTitle = QStringLiteral("班级");
inline const QString NameTitle = QStringLiteral("姓名");
inline const QString NumberTitle = QStringLiteral("学号");
