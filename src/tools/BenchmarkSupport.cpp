#include "tools/BenchmarkSupport.h"

#include "data/uDM.h"
#include "widgets/TermClassTree.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>
#include <QUuid>

#include <cstdlib>
#include <unistd.h>

namespace bench {

bool isInside(QObject* object, const QWidget* window)
{
    for (QObject* o = object; o; o = o->parent())
        if (o == window)
            return true;
    return false;
}

// Lets everything queued run, so that one action's paint is not taken for the next's.
void settle()
{
    for (int i = 0; i < 5; ++i) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
}

// ---------------------------------------------------------------- input

void clickNode(TTermClassTree* tree, QTreeWidgetItem* item)
{
    QTreeWidget* view = tree->Tree();
    view->scrollToItem(item);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, view->visualItemRect(item).center());
}

QTreeWidgetItem* classNode(TTermClassTree* tree, int term, int klass)
{
    QTreeWidgetItem* node = tree->Tree()->topLevelItem(term);
    if (!node)
        return nullptr;
    node->setExpanded(true); // a term's class nodes exist once it is open
    return node->child(klass);
}

// Opens the term with a click, as a user would before clicking one of its classes.
void openTerm(TTermClassTree* tree, int term)
{
    QTreeWidgetItem* termNode = tree->Tree()->topLevelItem(term);
    if (termNode && !termNode->isSelected() && !termNode->isExpanded())
        clickNode(tree, termNode);
    settle();
}

// ---------------------------------------------------------------- memory

qint64 statusKb(const char* field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(int(qstrlen(field))).trimmed().split(' ').value(0).toLongLong();
    return -1;
}

// Forgets the peak so far (Linux), so the school's generation does not count.
void resetPeakMemory()
{
    QFile refs(QStringLiteral("/proc/self/clear_refs"));
    if (refs.open(QIODevice::WriteOnly))
        refs.write("5");
}

// The machine's one-minute load average: other work on the machine shows in
// every figure, so the report says how busy it was.
QString loadAverage()
{
    double load[1] = {-1};
    return getloadavg(load, 1) == 1 ? QString::number(load[0], 'f', 2) : QStringLiteral("n/a");
}

QString megabytes(qint64 bytes)
{
    return QString::number(double(bytes) / (1024.0 * 1024.0), 'f', 1) + " MB";
}

// ---------------------------------------------------------------- the school

namespace {

// The schema of a data file, to tell whether a kept school still matches the
// program's (an index added since must not be missing from the figures).
QString schemaOf(const QString& path)
{
    const QString name = QStringLiteral("bench-schema-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
    QString schema;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        db.setDatabaseName(path);
        if (db.open()) {
            QSqlQuery q(db);
            if (q.exec(
                    QStringLiteral("select type, name, sql from sqlite_master where name not like 'sqlite_%' "
                                   "order by type, name")))
                while (q.next())
                    schema += q.value(0).toString() + q.value(1).toString() + q.value(2).toString() + '\n';
            q.finish();
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(name);
    return schema;
}

} // namespace

bool schemaIsCurrent(const QString& path)
{
    QTemporaryDir scratch;
    const QString fresh = scratch.filePath(QStringLiteral("fresh.dat"));
    return TDM::createDatabase(fresh) && schemaOf(fresh) == schemaOf(path);
}

QString machine()
{
    QString cpu;
    QFile info(QStringLiteral("/proc/cpuinfo"));
    if (info.open(QIODevice::ReadOnly))
        for (const QByteArray& line : info.readAll().split('\n'))
            if (line.startsWith("model name")) {
                cpu = QString::fromUtf8(line.mid(line.indexOf(':') + 1).trimmed());
                break;
            }
    return QStringLiteral("%1, %2 cores, %3 (%4), Qt %5")
        .arg(cpu.isEmpty() ? QStringLiteral("unknown CPU") : cpu)
        .arg(sysconf(_SC_NPROCESSORS_ONLN))
        .arg(QSysInfo::prettyProductName(), QSysInfo::kernelVersion(), QString::fromLatin1(qVersion()));
}

} // namespace bench
