#include "exchange/SchoolIndex.h"

#include "exchange/CellValues.h"
#include "exchange/ImportTexts.h"

#include <algorithm>

void ClassNames::add(const QString& code, const QString& name)
{
    m_names.insert(code, name);
    m_codes.insert(name.trimmed(), code);
}

ClassNames::Found ClassNames::find(const QString& text, const QString& unknownText) const
{
    const QString wanted = text.trimmed();
    const QList<QString> named = m_codes.values(wanted);
    if (named.size() == 1)
        return {named.constFirst(), m_names.value(named.constFirst()), {}};
    if (m_names.contains(wanted))
        return {wanted, m_names.value(wanted), {}};
    if (named.size() > 1)
        return {{}, {}, ImportText::ClassAmbiguous.arg(wanted)};
    return {{}, {}, unknownText.arg(wanted)};
}

QString ClassNames::classOfRow(const QString& cell, const QString& unknownText, QString& className,
                               QStringList& problems) const
{
    const QString text = cell.trimmed();
    const Found found = find(text, unknownText);
    className = found.code.isEmpty() ? text : found.name;
    if (text.isEmpty())
        problems << ImportText::NoClass;
    else if (!found.problem.isEmpty())
        problems << found.problem;
    return found.code;
}

bool ClassNames::nameIsShared(const QString& code) const
{
    return m_codes.count(m_names.value(code).trimmed()) > 1;
}

StudentIndex::StudentIndex(const RowSet& school)
{
    m_entries.reserve(school.rowCount());
    for (int row = 0; row < school.rowCount(); ++row) {
        Entry entry{school.value(row, QStringLiteral("ID")).toInt(), Roster::FromRow(school, row)};
        const int index = m_entries.size();
        const QString& classCode = entry.student.ClassCode;
        const QString number = entry.student.SNumber.trimmed();
        m_numbers.insert(key(classCode, number), index);
        m_values.insert(key(classCode, CellValues::WithoutLeadingZeros(number)), index);
        m_names.insert(key(classCode, entry.student.SName.trimmed()), index);
        if (!number.isEmpty() && number != QLatin1String("0")) {
            const QList<QString> classes = m_numberClasses.values(number);
            m_uniqueNumbers =
                m_uniqueNumbers && std::all_of(classes.cbegin(), classes.cend(),
                                               [&](const QString& c) { return c == classCode; });
        }
        m_numberClasses.insert(number, classCode);
        m_entries.append(std::move(entry));
    }
}

QString StudentIndex::key(const QString& classCode, const QString& text)
{
    return classCode + QChar(0x1F) + text;
}

namespace {

QVector<int> sorted(QList<int> found)
{
    std::sort(found.begin(), found.end());
    return QVector<int>(found.cbegin(), found.cend());
}

} // namespace

QVector<int> StudentIndex::byNumber(const QString& classCode, const QString& number) const
{
    return sorted(m_numbers.values(key(classCode, number)));
}

QVector<int> StudentIndex::byNumberValue(const QString& classCode, const QString& number) const
{
    return sorted(m_values.values(key(classCode, CellValues::WithoutLeadingZeros(number))));
}

QVector<int> StudentIndex::byName(const QString& classCode, const QString& name) const
{
    return sorted(m_names.values(key(classCode, name.trimmed())));
}

bool StudentIndex::numberInOtherClass(const QString& classCode, const QString& number) const
{
    const QList<QString> classes = m_numberClasses.values(number);
    return std::any_of(classes.cbegin(), classes.cend(), [&](const QString& c) { return c != classCode; });
}
