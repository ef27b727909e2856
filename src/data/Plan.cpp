#include "data/Plan.h"

namespace Plan {

Statement ActiveClasses(int termCode)
{
    return {QStringLiteral("select TTermToClass.ID,TTermToClass.ClassCode,TClass.ClassName from "
                           "TTermToClass,TClass Where TClass.ClassCode=TTermToClass.ClassCode And "
                           "TTermToClass.TermCode=? Order by TTermToClass.ClassCode"),
            {termCode}};
}

Statement InactiveClasses(int termCode)
{
    return {QStringLiteral("select ID,ClassCode,ClassName from TClass Where Not ClassCode in (Select "
                           "ClassCode from TTermToClass where TermCode=?) Order by ClassCode"),
            {termCode}};
}

DbResult Activate(int termCode, const QString& classCode)
{
    return Db::execute(
        {QStringLiteral("Insert into TTermToClass (TermCode,ClassCode) Values(?,?)"), {termCode, classCode}});
}

DbResult Deactivate(int termCode, const QString& classCode)
{
    return Db::execute(
        {QStringLiteral("Delete From TTermToClass where TermCode=? And ClassCode=?"), {termCode, classCode}});
}

Statement Subjects(int termCode, const QString& classCode)
{
    return {QStringLiteral("select TClassToSubject.ID,TClassToSubject.SubjCode,TSubject.SubjName from "
                           "TClassToSubject,TSubject Where TClassToSubject.SubjCode=TSubject.SubjCode And "
                           "TClassToSubject.TermCode=? And TClassToSubject.ClassCode=? Order by "
                           "TClassToSubject.SubjCode"),
            {termCode, classCode}};
}

DbValue<QStringList> SubjectCodes(int termCode, const QString& classCode)
{
    const DbValue<RowSet> read = Db::select({QStringLiteral("Select SubjCode from TClassToSubject Where "
                                                            "TermCode=? And ClassCode=? Order by SubjCode"),
                                             {termCode, classCode}});
    if (!read)
        return DbResult(read);
    QStringList codes;
    for (int row = 0; row < read->rowCount(); ++row)
        codes << read->text(row, QStringLiteral("SubjCode"));
    return codes;
}

Statement SubjectsOfTerm(int termCode)
{
    return {
        QStringLiteral("Select TClassToSubject.ClassCode, TClassToSubject.SubjCode, TSubject.SubjName "
                       "from TClassToSubject join TSubject on TSubject.SubjCode = TClassToSubject.SubjCode "
                       "Where TClassToSubject.TermCode = ? "
                       "Order by TClassToSubject.ClassCode, TClassToSubject.SubjCode"),
        {termCode}};
}

Statement SubjectsInTerms(const QString& classCode, const QVector<qint64>& terms)
{
    Statement read{
        QStringLiteral("Select TClassToSubject.TermCode, TClassToSubject.SubjCode, TSubject.SubjName "
                       "from TClassToSubject join TSubject on TSubject.SubjCode = TClassToSubject.SubjCode "
                       "Where TClassToSubject.ClassCode = ? And TClassToSubject.TermCode in (%1) "
                       "Order by TClassToSubject.TermCode, TClassToSubject.SubjCode")
            .arg(Placeholders(terms.size())),
        {classCode}};
    for (qint64 term : terms)
        read.values << term;
    return read;
}

Statement OtherSubjects(int termCode, const QString& classCode)
{
    return {QStringLiteral("select ID,SubjCode,SubjName from TSubject Where Not SubjCode in (Select SubjCode "
                           "from TClassToSubject Where TermCode=? And ClassCode=?) Order by SubjCode"),
            {termCode, classCode}};
}

DbResult AddSubject(int termCode, const QString& classCode, const QString& subjCode)
{
    return Db::execute(
        {QStringLiteral("Insert into TClassToSubject (TermCode,ClassCode,SubjCode) Values(?,?,?)"),
         {termCode, classCode, subjCode}});
}

DbResult RemoveSubject(int termCode, const QString& classCode, const QString& subjCode)
{
    return Db::execute(
        {QStringLiteral("Delete From TClassToSubject where TermCode=? And ClassCode=? And SubjCode=?"),
         {termCode, classCode, subjCode}});
}

} // namespace Plan
