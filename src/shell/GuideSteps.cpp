#include "shell/GuideSteps.h"

namespace {

GuideStep counted(QAction* action, const std::optional<SchoolProgress>& progress,
                  qint64 SchoolProgress::*count, const char* unit, const QString& missing)
{
    GuideStep step;
    step.action = action;
    if (!progress)
        return step;
    const qint64 rows = (*progress).*count;
    step.done = rows > 0;
    step.detail = step.done ? QStringLiteral("%1 %2").arg(rows).arg(QString::fromUtf8(unit)) : missing;
    return step;
}

GuideStep scores(QAction* action, const std::optional<SchoolProgress>& progress)
{
    GuideStep step;
    step.action = action;
    if (progress) {
        step.done = progress->hasScores;
        step.detail = step.done ? GuideText::HasScores : GuideText::NotEntered;
    }
    return step;
}

} // namespace

GuideState GuideStateOf(const std::optional<SchoolProgress>& progress, const GuideCommands& c)
{
    using P = SchoolProgress;
    using namespace GuideText;
    GuideState state;
    state.steps = {
        counted(c.term, progress, &P::terms, "个学期", NotSet),
        counted(c.subject, progress, &P::subjects, "个科目", NotSet),
        counted(c.klass, progress, &P::classes, "个班级", NotSet),
        counted(c.termToClass, progress, &P::termClasses, "项对应", NotSet),
        counted(c.classToSubject, progress, &P::classSubjects, "门课程", NotSet),
        counted(c.student, progress, &P::students, "名学生", NotEntered),
        counted(c.honours, progress, &P::standards, "项标准", NotSet),
        scores(c.grade, progress),
        scores(c.quickEntry, progress),
    };
    state.steps.last().besidePrevious = true;
    GuideStep statistics;
    statistics.action = c.statistics;
    if (progress)
        statistics.detail = progress->hasScores ? StatisticsReady : StatisticsLater;
    state.steps.append(statistics);
    if (!progress)
        return state;

    state.next = int(state.steps.size()) - 1;
    for (int i = 0; i < state.steps.size(); ++i) {
        if (!state.steps.at(i).done && !state.steps.at(i).besidePrevious) {
            state.next = i;
            break;
        }
    }
    if (progress->isEmpty() && c.demoSchool) {
        state.offer = c.demoSchool;
        state.offerText = DemoOffer;
    }
    return state;
}
