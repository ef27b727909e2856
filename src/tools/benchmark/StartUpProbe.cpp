// The start-up probe: a Qt plugin that the benchmark has the real program
// load (QT_QPA_GENERIC_PLUGINS=gradesstartupprobe). It ends the program once
// its main window has been painted, that is once a user would see it, so
// that the start-up can be timed from outside without a hook in the program.
#include <QCoreApplication>
#include <QEvent>
#include <QGenericPlugin>
#include <QTimer>

namespace {

class QuitWhenShown : public QObject {
protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && watched->inherits("QMainWindow"))
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        return false;
    }
};

} // namespace

class StartUpProbe : public QGenericPlugin {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QGenericPluginFactoryInterface_iid FILE "StartUpProbe.json")
public:
    // Qt owns the object and deletes it at the end.
    QObject* create(const QString&, const QString&) override
    {
        auto* probe = new QuitWhenShown;
        QCoreApplication::instance()->installEventFilter(probe);
        return probe;
    }
};

#include "StartUpProbe.moc"
