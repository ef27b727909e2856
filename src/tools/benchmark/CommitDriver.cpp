// The disk's own figure: the smallest commit that reaches it, on the
// program's connection, for the initialisations to be judged against.
#include "tools/benchmark/Drivers.h"
#include "tools/benchmark/Stage.h"

#include "data/Database.h"

#include <QElapsedTimer>

namespace bench {

namespace {

const Action Empty{"empty transaction (BEGIN/COMMIT, nothing to flush)", Kind::Reference};
const Action OneRow{"one-row transaction (the smallest commit that reaches the disk)", Kind::Reference};

double timed(const std::function<void()>& work)
{
    QElapsedTimer clock;
    clock.start();
    work();
    return clock.nsecsElapsed() / 1e6;
}

void measure(Stage& stage)
{
    Figures& empty = stage.add(Empty);
    Figures& one = stage.add(OneRow);
    stage.mainWindow();
    // A row written and removed again: SQLite skips an update that changes
    // nothing, so only a real change makes the commit flush to the disk.
    const Statement insert{
        QStringLiteral("Insert into TSubject (SubjCode,SubjName) Values('bench-commit','')"), {}};
    const Statement remove{QStringLiteral("Delete from TSubject Where SubjCode='bench-commit'"), {}};
    // Through the program's own path to its connection; a transaction left
    // unfinished rolls back on its way out.
    bool ok = true;
    for (int i = 0; ok && i < stage.timedRuns(); ++i) {
        const double emptyMs = timed([&] {
            Transaction transaction;
            ok = transaction.isStarted() && transaction.commit();
        });
        empty.record(emptyMs, emptyMs);
        const double oneMs = timed([&] {
            Transaction transaction;
            ok = ok && transaction.isStarted() && Db::execute(insert) && Db::execute(remove) &&
                 transaction.commit();
        });
        one.record(oneMs, oneMs);
    }
    if (!ok)
        stage.fault(one, QStringLiteral("the commit was refused"));
}

} // namespace

const Driver CommitDriver{{Empty, OneRow}, &measure, true};

} // namespace bench
