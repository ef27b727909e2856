// The data-bound grid: declared columns over a query, value lists, the footer
// that follows every reload, and the current row kept in step both ways.
#include "TestSupport.h"

#include "data/CodeTables.h"
#include "data/QueryObject.h"
#include "widgets/DataGrid.h"

#include <QHeaderView>
#include <QSignalSpy>
#include <QTest>

class DataGridTest : public QObject {
    Q_OBJECT
private slots:
    void showsDeclaredColumnsAndFooters();
    void currentRowFollowsTheQueryBothWays();
    void titlesStayWhileTheQueryIsClosed();
};

void DataGridTest::showsDeclaredColumnsAndFooters()
{
    TempDatabase db;
    db.addClass("C1", "一班");
    db.addSubject("YW", "语文");
    const int s = db.addStudent("C1", "张三");
    db.exec(QString("update TStudent set IsTY=1 where ID=%1").arg(s));
    db.addGrade(1, "C1", s, "YW", 80.5);
    db.addGrade(1, "C1", s, "YW", 90);

    QueryObject students;
    students.setStatement({"select * from TStudent", {}});
    DataGrid grid;
    grid.setQuery(&students);
    GridColumn flag;
    flag.field = "IsTY";
    flag.title = "是否团员";
    flag.width = 28;
    flag.valueList = {{"0", "否"}, {"1", "是"}};
    grid.setColumns({GridColumn::hidden("ID"), flag});
    QVERIFY(students.open());
    QVERIFY(grid.isColumnHidden(0));
    QCOMPARE(grid.columnWidth(1), 28);
    QCOMPARE(grid.cellText(0, "IsTY"), QString("是"));
    QVERIFY(!grid.hasFooter());

    QueryObject grades;
    grades.setStatement({"select * from TGrade order by Score", {}});
    DataGrid scores;
    scores.setQuery(&grades);
    GridColumn code;
    code.field = "SubjectCode";
    code.footer = GridColumn::Footer::Text;
    code.footerText = "总分";
    GridColumn score;
    score.field = "Score";
    score.footer = GridColumn::Footer::Sum;
    scores.setColumns({code, score});
    QVERIFY(grades.open());
    QCOMPARE(scores.cellText(0, "Score"), QString("80.5"));
    QCOMPARE(scores.cellText(1, "Score"), QString("90"));
    QCOMPARE(scores.footerText("SubjectCode"), QString("总分"));
    QCOMPARE(scores.footerText("Score"), QString("170.5"));
    db.exec("update TGrade set Score=10 where Score=80.5");
    grades.close();
    QCOMPARE(scores.footerText("Score"), QString("0"));
    QVERIFY(grades.open());
    QCOMPARE(scores.footerText("Score"), QString("100"));

    // Very large scores and their sum are written out, never with an exponent.
    db.exec("update TGrade set Score=12345678901234567890");
    grades.close();
    QVERIFY(grades.open());
    QCOMPARE(scores.cellText(0, "Score"), QString("12345678901234600000"));
    QCOMPARE(scores.footerText("Score"), QString("24691357802469100000"));
}

void DataGridTest::currentRowFollowsTheQueryBothWays()
{
    TempDatabase db;
    for (int i = 1; i <= 4; ++i)
        db.addTerm(i, QString("第%1学期").arg(i));
    QueryObject terms;
    terms.setStatement({"Select * from TTerm Order by TermCode", {}});
    DataGrid grid;
    grid.setQuery(&terms);
    GridColumn name;
    name.field = "TermName";
    grid.setColumns({GridColumn::hidden("ID"), name});
    grid.resize(300, 200);
    grid.show();
    QVERIFY(QTest::qWaitForWindowExposed(&grid));
    QSignalSpy scrolled(&terms, &QueryObject::currentRowChanged);
    QVERIFY(terms.open());
    QCOMPARE(grid.currentIndex().row(), 0);

    grid.setFocus();
    QTest::keyClick(&grid, Qt::Key_Down);
    QCOMPARE(terms.currentRow(), 1);
    QCOMPARE(scrolled.last().at(0).toInt(), 1);

    terms.setCurrentRow(3);
    QCOMPARE(grid.currentIndex().row(), 3);
    QVERIFY(grid.selectionModel()->isRowSelected(3, {}));

    // Deleting the last row leaves the new last row current in both.
    QVERIFY(CodeTables::Remove(CodeTables::Terms(), terms.currentImage()));
    terms.removeCurrentRow();
    QCOMPARE(grid.rowCount(), 3);
    QCOMPARE(terms.currentRow(), 2);
    QCOMPARE(grid.currentIndex().row(), 2);
    QCOMPARE(grid.cellText(2, "TermName"), QString("第3学期"));

    QSignalSpy dbl(&grid, &DataGrid::dblClick);
    QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {}, grid.visualRect(grid.currentIndex()).center());
    QCOMPARE(dbl.count(), 1);
}

void DataGridTest::titlesStayWhileTheQueryIsClosed()
{
    TempDatabase db;
    db.addClass("C1", "一班");
    QueryObject classes;
    DataGrid grid;
    grid.setQuery(&classes);
    GridColumn name;
    name.field = "ClassName";
    name.title = "班级名称";
    name.width = 120;
    grid.setColumns({GridColumn::hidden("ID"), name});
    auto titles = [&grid] {
        QStringList shown;
        for (int i = 0; i < grid.model()->columnCount(); ++i)
            if (!grid.isColumnHidden(i))
                shown << grid.model()->headerData(i, Qt::Horizontal).toString();
        return shown;
    };
    // An empty window still shows what its list will hold.
    QCOMPARE(titles(), QStringList{"班级名称"});
    QVERIFY(classes.open(CodeTables::List(CodeTables::Classes())));
    QCOMPARE(titles(), QStringList{"班级名称"});
    QCOMPARE(grid.columnWidth(1), 120);
    QCOMPARE(grid.cellText(0, "ClassName"), QString("一班"));
    classes.close();
    QCOMPARE(titles(), QStringList{"班级名称"});
    QVERIFY(grid.isColumnHidden(0));
    QCOMPARE(grid.columnWidth(1), 120);
    QCOMPARE(grid.rowCount(), 0);
}

QTEST_MAIN(DataGridTest)
#include "tst_datagrid.moc"
