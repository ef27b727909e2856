#pragma once

#include "data/Database.h"

// The teaching plan: which classes are active in a term, and which subjects
// a class takes in a term.
namespace Plan {

// The classes active in the term (ID, ClassCode, ClassName), by class code.
Statement ActiveClasses(int termCode);
// The classes not active in the term, by class code.
Statement InactiveClasses(int termCode);
DbResult Activate(int termCode, const QString& classCode);
// Refused while the class has a subject plan in the term.
DbResult Deactivate(int termCode, const QString& classCode);

// The class's subject plan for the term (ID, SubjCode, SubjName), ordered
// by subject code: the order of every list of a class's subjects.
Statement Subjects(int termCode, const QString& classCode);
// The subject codes of the class's plan for the term, by subject code, as
// the plan names them: a code without its subject (a damaged file) is among
// them, so that what is built from the plan refuses it instead of passing
// over it.
DbValue<QStringList> SubjectCodes(int termCode, const QString& classCode);
// The subject plans of every class of the term (ClassCode, SubjCode,
// SubjName), by class code, then by subject code as Subjects orders them.
Statement SubjectsOfTerm(int termCode);
// The subject plans of one class in each of the terms (TermCode, SubjCode,
// SubjName), by term code, then by subject code.
Statement SubjectsInTerms(const QString& classCode, const QVector<qint64>& terms);
// The subjects the class does not take in the term, by subject code.
Statement OtherSubjects(int termCode, const QString& classCode);
DbResult AddSubject(int termCode, const QString& classCode, const QString& subjCode);
DbResult RemoveSubject(int termCode, const QString& classCode, const QString& subjCode);

} // namespace Plan
