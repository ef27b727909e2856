// The disk's own figure: the smallest commit that reaches it, on the
// program's connection, for the initialisations to be judged against.
#include "tools/benchmark/Drivers.h"
#include "tools/benchmark/Stage.h"

#include <QElapsedTimer>
#include <QSqlDatabase>
#include <QSqlQuery>

namespace bench {

namespace {

const Action Empty{"empty transaction (BEGIN/COMMIT, nothing to flush)", Kind::Reference};
const Action OneRow{"one-row transaction (the smallest commit that reaches the disk)", Kind::Reference};

// The program's one connection.
const QString kConnection = QStringLiteral("ADOLocal");

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
    QSqlDatabase db = QSqlDatabase::database(kConnection, false);
    if (!db.isOpen()) {
        stage.fault(empty, QStringLiteral("the program's connection is not open"));
        stage.fault(one, QStringLiteral("the program's connection is not open"));
        return;
    }
    // A row written and removed again: SQLite skips an update that changes
    // nothing, so only a real change makes the commit flush to the disk.
    const auto run = [&db](const char* sql) { return QSqlQuery(db).exec(QLatin1String(sql)); };
    bool ok = true;
    for (int i = 0; ok && i < stage.timedRuns(); ++i) {
        const double emptyMs = timed([&] { ok = db.transaction() && db.commit(); });
        empty.record(emptyMs, emptyMs);
        const double oneMs = timed([&] {
            ok = ok && db.transaction() &&
                 run("Insert into TSubject (SubjCode,SubjName) Values('bench-commit','')") &&
                 run("Delete from TSubject Where SubjCode='bench-commit'") && db.commit();
        });
        one.record(oneMs, oneMs);
    }
    if (!ok) {
        db.rollback(); // nothing may stay open on the program's connection
        stage.fault(one, QStringLiteral("the commit was refused"));
    }
}

} // namespace

const Driver CommitDriver{{Empty, OneRow}, &measure, true};

} // namespace bench
