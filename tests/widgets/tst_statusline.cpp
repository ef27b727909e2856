// The status line looks as a label with its text would, and shows every
// character it is given.
#include "widgets/StatusLine.h"

#include "shell/Application.h"

#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QTest>

class TestStatusLine : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { TApplication::applyLook(); }

    void looksAsALabel()
    {
        // Both in a panel as the window has them.
        QWidget linePanel;
        QWidget labelPanel;
        auto* line = new StatusLine(&linePanel);
        auto* label = new QLabel(&labelPanel);
        for (auto [panel, widget] : {std::pair<QWidget*, QWidget*>{&linePanel, line}, {&labelPanel, label}}) {
            panel->resize(400, 22);
            auto* layout = new QHBoxLayout(panel);
            layout->setContentsMargins(6, 0, 6, 0);
            layout->addWidget(widget);
            panel->show();
            QVERIFY(QTest::qWaitForWindowExposed(panel));
        }
        QCOMPARE(line->geometry(), label->geometry());
        QPalette red = label->palette();
        red.setColor(QPalette::WindowText, QColor(255, 0, 0));
        for (const QString& text : {QStringLiteral("已保存：王小明 语文 87.5。"), QString()}) {
            for (const QPalette& palette : {label->palette(), red}) {
                label->setPalette(palette);
                line->setPalette(palette);
                label->setText(text);
                line->setText(text);
                QCOMPARE(line->text(), text);
                QCOMPARE(linePanel.grab().toImage(), labelPanel.grab().toImage());
            }
        }
    }

    void showsTheTextAsGiven()
    {
        StatusLine line;
        line.resize(300, 22);
        line.setText(QStringLiteral("“R&D”不是有效的成绩分数，未保存！"));
        const QImage withAmpersand = line.grab().toImage();
        line.setText(QStringLiteral("“RD”不是有效的成绩分数，未保存！"));
        QVERIFY(line.grab().toImage() != withAmpersand);
        line.setText(QStringLiteral("<b>1</b>"));
        QCOMPARE(line.text(), QStringLiteral("<b>1</b>"));
    }
};

QTEST_MAIN(TestStatusLine)
#include "tst_statusline.moc"
