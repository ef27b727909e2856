#include <QTest>
class Placeholder : public QObject { Q_OBJECT private slots: void ok() {} };
QTEST_MAIN(Placeholder)
#include "tst_placeholder.moc"
