#include "TestSupport.h"

#include "widgets/TermClassTree.h"

#include <QApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>
#include <QTreeWidget>
#include <QVBoxLayout>

// The navigator on its own, shown so that it can be clicked like in a window.
class TermClassTreeTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TTermClassTree> makeTree()
    {
        auto tree = std::make_unique<TTermClassTree>();
        tree->resize(209, 400);
        tree->show();
        (void)QTest::qWaitForWindowExposed(tree.get());
        return tree;
    }

    // A term's classes, as the user sees them once the term is opened.
    static QStringList captions(QTreeWidgetItem* node)
    {
        node->setExpanded(true);
        QStringList texts;
        for (int i = 0; i < node->childCount(); ++i)
            texts << node->child(i)->text(0);
        return texts;
    }

    // Terms 一学期 and 二学期, classes 甲班 (A) and 乙班 (B), A active in both.
    static void twoTermsWithClassA(const TempDatabase& db)
    {
        db.addTerm(1, QStringLiteral("一学期"));
        db.addTerm(2, QStringLiteral("二学期"));
        db.addClass(QStringLiteral("A"), QStringLiteral("甲班"));
        db.addClass(QStringLiteral("B"), QStringLiteral("乙班"));
        db.activate(1, QStringLiteral("A"));
        db.activate(2, QStringLiteral("A"));
    }

private slots:
    void groupsTermsByNumberAndClassesByCode()
    {
        TempDatabase db;
        db.addTerm(10, QStringLiteral("第十学期"));
        db.addTerm(2, QStringLiteral("同名学期"));
        db.addTerm(3, QStringLiteral("同名学期"));
        db.addTerm(4, QStringLiteral("无班级学期"));
        db.addClass(QStringLiteral("B"), QStringLiteral("乙班"));
        db.addClass(QStringLiteral("A"), QStringLiteral("甲班"));
        db.addClass(QStringLiteral("C'1"), QStringLiteral("丙班"));
        db.activate(10, QStringLiteral("B"));
        db.activate(3, QStringLiteral("C'1"));
        db.activate(2, QStringLiteral("B"));
        db.activate(2, QStringLiteral("A"));
        db.activate(10, QStringLiteral("A"));

        auto tree = makeTree();
        QVERIFY(tree->LoadTree());
        QTreeWidget* view = tree->Tree();

        // By number, not as text ("10" < "2"); the term without classes is absent;
        // the two terms of the same name stay two nodes.
        QCOMPARE(view->topLevelItemCount(), 3);
        QCOMPARE(TTermClassTree::nodeData(view->topLevelItem(0)).Code, QStringLiteral("2"));
        QCOMPARE(TTermClassTree::nodeData(view->topLevelItem(1)).Code, QStringLiteral("3"));
        QCOMPARE(TTermClassTree::nodeData(view->topLevelItem(2)).Code, QStringLiteral("10"));
        QCOMPARE(view->topLevelItem(0)->text(0), QStringLiteral("同名学期"));
        QCOMPARE(view->topLevelItem(1)->text(0), QStringLiteral("同名学期"));
        QCOMPARE(TTermClassTree::nodeData(view->topLevelItem(2)).Name, QStringLiteral("第十学期"));
        for (int i = 0; i < view->topLevelItemCount(); ++i) {
            QVERIFY(!view->topLevelItem(i)->isExpanded()); // nothing opened or selected by loading
            QVERIFY(view->model()->hasChildren(view->model()->index(i, 0))); // but each can be opened
        }
        QVERIFY(view->selectedItems().isEmpty());

        // Classes by code under each of their terms.
        QCOMPARE(captions(view->topLevelItem(0)),
                 (QStringList{QStringLiteral("甲班"), QStringLiteral("乙班")}));
        QCOMPARE(captions(view->topLevelItem(1)), QStringList{QStringLiteral("丙班")});
        QCOMPARE(captions(view->topLevelItem(2)),
                 (QStringList{QStringLiteral("甲班"), QStringLiteral("乙班")}));
        QCOMPARE(TTermClassTree::nodeData(view->topLevelItem(1)->child(0)).Code, QStringLiteral("C'1"));

        // Terms and classes have their own pictures, the same when selected.
        const auto looks = [](const QTreeWidgetItem* node, QIcon::Mode mode) {
            return node->icon(0).pixmap(QSize(16, 16), mode).toImage();
        };
        QTreeWidgetItem* term = view->topLevelItem(0);
        QTreeWidgetItem* klass = term->child(0);
        QVERIFY(looks(term, QIcon::Normal) != looks(klass, QIcon::Normal));
        QCOMPARE(looks(term, QIcon::Selected), looks(term, QIcon::Normal));
        QCOMPARE(looks(klass, QIcon::Selected), looks(klass, QIcon::Normal));
    }

    void showsThePlanAsItWasWhenLoaded()
    {
        TempDatabase db;
        twoTermsWithClassA(db);

        auto tree = makeTree();
        QVERIFY(tree->LoadTree());
        QSignalSpy failures(tree.get(), &TTermClassTree::readFailed);
        QTreeWidget* view = tree->Tree();
        QCOMPARE(captions(view->topLevelItem(0)), QStringList{QStringLiteral("甲班")});

        // Whatever changes afterwards, a term opened now shows the moment of
        // loading like the one opened before: no new class, term or name, and
        // nothing read again (not even when the tables cannot be read at all).
        db.activate(1, QStringLiteral("B"));
        db.activate(2, QStringLiteral("B"));
        db.addTerm(3, QStringLiteral("三学期"));
        db.activate(3, QStringLiteral("A"));
        db.exec(QStringLiteral("update TClass set ClassName='改名' where ClassCode='A'"));
        db.exec(QStringLiteral("alter table TTermToClass rename to TGone"));
        QCOMPARE(view->topLevelItemCount(), 2);
        QCOMPARE(captions(view->topLevelItem(1)), QStringList{QStringLiteral("甲班")});
        QCOMPARE(TTermClassTree::nodeData(view->topLevelItem(1)->child(0)).Name, QStringLiteral("甲班"));
        // Opened again, a term keeps its nodes, neither made again nor doubled.
        view->topLevelItem(0)->setExpanded(false);
        QCOMPARE(captions(view->topLevelItem(0)), QStringList{QStringLiteral("甲班")});
        QCOMPARE(failures.count(), 0);

        // The next load shows the plan as it is then.
        db.exec(QStringLiteral("alter table TGone rename to TTermToClass"));
        QVERIFY(tree->LoadTree());
        QCOMPARE(view->topLevelItemCount(), 3);
        QCOMPARE(captions(view->topLevelItem(1)),
                 (QStringList{QStringLiteral("改名"), QStringLiteral("乙班")}));
    }

    void takesThePlanFromItsLoader()
    {
        // No database: the navigator shows what its loader hands it.
        TermClassPlan plan;
        plan.classes = {{QStringLiteral("K1"), QStringLiteral("一班")},
                        {QStringLiteral("K2"), QStringLiteral("二班")}};
        plan.terms = {{7, QStringLiteral("七学期"), {1, 0}}};
        bool readable = true;
        TTermClassTree tree(nullptr, [&]() -> std::optional<TermClassPlan> {
            if (!readable)
                return std::nullopt;
            return plan;
        });
        QSignalSpy failures(&tree, &TTermClassTree::readFailed);
        QVERIFY(tree.LoadTree());
        QCOMPARE(TTermClassTree::nodeData(tree.Tree()->topLevelItem(0)).Code, QStringLiteral("7"));
        QCOMPARE(captions(tree.Tree()->topLevelItem(0)),
                 (QStringList{QStringLiteral("二班"), QStringLiteral("一班")}));
        QCOMPARE(failures.count(), 0);

        readable = false;
        QVERIFY(!tree.LoadTree());
        QCOMPARE(failures.count(), 1);
        QCOMPARE(tree.Tree()->topLevelItemCount(), 0);
    }

    void answersTheClickedClassAndItsTerm()
    {
        TempDatabase db;
        twoTermsWithClassA(db);
        db.activate(2, QStringLiteral("B"));

        auto tree = makeTree();
        QVERIFY(tree->LoadTree());
        QSignalSpy clicks(tree.get(), &TTermClassTree::TreeClick);
        QVERIFY(tree->SelectedClass().isEmpty());
        QVERIFY(tree->ShownClass().isEmpty());

        // The same class under the second term answers that term.
        ClickNode(tree.get(), ClassNode(tree.get(), 1, 0));
        QCOMPARE(clicks.count(), 1);
        ClassSelection chosen = tree->SelectedClass();
        QVERIFY(!chosen.isEmpty());
        QCOMPARE(chosen.TermCode, QStringLiteral("2"));
        QCOMPARE(chosen.TermName, QStringLiteral("二学期"));
        QCOMPARE(chosen.ClassCode, QStringLiteral("A"));
        QCOMPARE(chosen.ClassName, QStringLiteral("甲班"));
        QVERIFY(tree->ShownClass() == chosen);

        // A term node answers no class.
        ClickNode(tree.get(), TermNode(tree.get(), 0));
        QCOMPARE(clicks.count(), 2);
        QVERIFY(tree->SelectedClass().isEmpty());
        QVERIFY(tree->ShownClass().isEmpty());
    }

    void keyboardAndRightButtonLeaveTheShownClass()
    {
        TempDatabase db;
        db.addTerm(1, QStringLiteral("一学期"));
        db.addClass(QStringLiteral("A"), QStringLiteral("甲班"));
        db.addClass(QStringLiteral("B"), QStringLiteral("乙班"));
        db.activate(1, QStringLiteral("A"));
        db.activate(1, QStringLiteral("B"));

        auto tree = makeTree();
        QVERIFY(tree->LoadTree());
        QSignalSpy clicks(tree.get(), &TTermClassTree::TreeClick);
        ClickNode(tree.get(), ClassNode(tree.get(), 0, 0));
        QCOMPARE(clicks.count(), 1);

        tree->Tree()->setFocus();
        QTest::keyClick(tree->Tree(), Qt::Key_Down);
        Settle();
        QCOMPARE(tree->SelectedClass().ClassCode, QStringLiteral("B"));
        QCOMPARE(tree->ShownClass().ClassCode, QStringLiteral("A"));
        QCOMPARE(clicks.count(), 1);

        // A right click neither selects nor notifies.
        QTreeWidgetItem* first = ClassNode(tree.get(), 0, 0);
        QTest::mouseClick(tree->Tree()->viewport(), Qt::RightButton, Qt::NoModifier,
                          tree->Tree()->visualItemRect(first).center());
        Settle();
        QCOMPARE(tree->SelectedClass().ClassCode, QStringLiteral("B"));
        QCOMPARE(clicks.count(), 1);

        // The next left click catches up.
        ClickNode(tree.get(), ClassNode(tree.get(), 0, 1));
        QCOMPARE(clicks.count(), 2);
        QCOMPARE(tree->ShownClass().ClassCode, QStringLiteral("B"));
    }

    void opensOneTermAtATime()
    {
        TempDatabase db;
        db.addTerm(1, QStringLiteral("一学期"));
        db.addTerm(2, QStringLiteral("二学期"));
        db.addTerm(3, QStringLiteral("三学期"));
        db.addClass(QStringLiteral("A"), QStringLiteral("甲班"));
        for (int term : {1, 2, 3})
            db.activate(term, QStringLiteral("A"));

        auto tree = makeTree();
        QVERIFY(tree->LoadTree());
        QTreeWidgetItem* first = TermNode(tree.get(), 0);
        QTreeWidgetItem* second = TermNode(tree.get(), 1);
        QTreeWidgetItem* third = TermNode(tree.get(), 2);

        ClickNode(tree.get(), first);
        QVERIFY(first->isExpanded());
        ClickNode(tree.get(), first->child(0));
        QVERIFY(first->isExpanded()); // the class is in the branch that stays open

        ClickNode(tree.get(), second);
        QVERIFY(!first->isExpanded());
        QVERIFY(second->isExpanded());

        // A term opened without being selected is not the previous selection's branch.
        third->setExpanded(true);
        ClickNode(tree.get(), second->child(0));
        ClickNode(tree.get(), first);
        QVERIFY(first->isExpanded());
        QVERIFY(!second->isExpanded());
        QVERIFY(third->isExpanded());
    }

    void aClickBelowTheLastNodeDoesNothing()
    {
        TempDatabase db;
        twoTermsWithClassA(db);
        db.activate(1, QStringLiteral("B"));

        auto tree = makeTree();
        QVERIFY(tree->LoadTree());
        QSignalSpy clicks(tree.get(), &TTermClassTree::TreeClick);
        QTreeWidgetItem* first = TermNode(tree.get(), 0);
        ClickNode(tree.get(), ClassNode(tree.get(), 0, 1));
        QCOMPARE(clicks.count(), 1);
        const ClassSelection shown = tree->ShownClass();
        QCOMPARE(shown.ClassCode, QStringLiteral("B"));

        // A click, a double click, and a press there dragged onto a node: no
        // notification, the open term stays open, the selection stays.
        QWidget* viewport = tree->Tree()->viewport();
        const QPoint blank(5, viewport->height() - 3);
        QVERIFY(!tree->Tree()->indexAt(blank).isValid());
        ClickBlank(tree.get());
        QTest::mouseDClick(viewport, Qt::LeftButton, Qt::NoModifier, blank);
        QTest::mousePress(viewport, Qt::LeftButton, Qt::NoModifier, blank);
        QMouseEvent drag(QEvent::MouseMove, tree->Tree()->visualItemRect(first->child(0)).center(),
                         viewport->mapToGlobal(tree->Tree()->visualItemRect(first->child(0)).center()),
                         Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(viewport, &drag);
        QTest::mouseRelease(viewport, Qt::LeftButton, Qt::NoModifier,
                            tree->Tree()->visualItemRect(first->child(0)).center());
        Settle();
        QCOMPARE(clicks.count(), 1);
        QVERIFY(first->isExpanded());
        QVERIFY(tree->SelectedClass() == shown);
        QVERIFY(tree->ShownClass() == shown);

        // A click on a node after it is handled as ever.
        ClickNode(tree.get(), ClassNode(tree.get(), 0, 0));
        QCOMPARE(clicks.count(), 2);
        QCOMPARE(tree->ShownClass().ClassCode, QStringLiteral("A"));
    }

    // When the focus comes and goes only the current node is painted again,
    // and the tree on screen stays the tree as it draws itself afresh. The
    // focus from the keyboard makes the first node current when none is.
    void theFocusRepaintsTheCurrentNodeOnly()
    {
        TempDatabase db;
        twoTermsWithClassA(db);
        QWidget window;
        auto* layout = new QVBoxLayout(&window);
        auto* before = new QLineEdit;
        auto* tree = new TTermClassTree;
        layout->addWidget(before);
        layout->addWidget(tree);
        window.resize(209, 400);
        QVERIFY(tree->LoadTree());
        QTreeWidget* view = tree->Tree();
        PaintedRegion painted(view->viewport());
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        before->setFocus();
        QTRY_VERIFY(before->hasFocus());
        QTRY_VERIFY(!painted.region().isEmpty()); // shown
        QVERIFY(!view->currentItem());

        const auto currentRow = [view] {
            const QRect node = view->visualItemRect(view->currentItem());
            return QRect(0, node.top(), view->viewport()->width(), node.height());
        };
        painted.clear();
        QTest::keyClick(before, Qt::Key_Tab);
        QTRY_VERIFY(view->hasFocus());
        QCOMPARE(view->currentItem(), view->topLevelItem(0));
        QTRY_VERIFY(!painted.region().isEmpty());
        QVERIFY(currentRow().contains(painted.region().boundingRect()));
        QCOMPARE(OnScreen(view), DrawnAfresh(view));

        // A click on a class, then the focus elsewhere.
        view->topLevelItem(1)->setExpanded(true);
        ClickNode(tree, view->topLevelItem(1)->child(0));
        QTRY_COMPARE(tree->ShownClass().ClassCode, QStringLiteral("A"));
        QTRY_COMPARE(OnScreen(view), DrawnAfresh(view));
        painted.clear();
        before->setFocus();
        QTRY_VERIFY(before->hasFocus());
        QTRY_VERIFY(!painted.region().isEmpty());
        QVERIFY(currentRow().contains(painted.region().boundingRect()));
        QCOMPARE(OnScreen(view), DrawnAfresh(view));
    }

    void emptyTreeAndFailedRead()
    {
        TempDatabase db;
        ScriptedDialogs dialogs;
        db.addTerm(1, QStringLiteral("一学期")); // a term without classes is not shown
        {
            auto tree = makeTree();
            QVERIFY(tree->LoadTree());
            QCOMPARE(tree->Tree()->topLevelItemCount(), 0);
            QSignalSpy clicks(tree.get(), &TTermClassTree::TreeClick);
            ClickBlank(tree.get());
            QCOMPARE(clicks.count(), 0);
            QVERIFY(tree->SelectedClass().isEmpty());
            QVERIFY(tree->ShownClass().isEmpty());
        }
        QVERIFY(dialogs.all().isEmpty());

        // The navigator reports the failure; saying so is its window's part.
        db.exec(QStringLiteral("ALTER TABLE TTermToClass RENAME TO TGone"));
        auto tree = makeTree();
        QSignalSpy failures(tree.get(), &TTermClassTree::readFailed);
        QVERIFY(!tree->LoadTree());
        QCOMPARE(failures.count(), 1);
        QVERIFY(dialogs.all().isEmpty());
        QCOMPARE(tree->Tree()->topLevelItemCount(), 0);
    }
};

QTEST_MAIN(TermClassTreeTest)
#include "tst_termclasstree.moc"
