#include "shell/Application.h"

#include "data/LockWait.h"
#include "data/Messages.h"
#include "data/StoreLocation.h"
#include "data/TempFiles.h"
#include "data/uDM.h"
#include "forms/uPub.h"

#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QLibraryInfo>
#include <QPalette>
#include <QStyle>
#include <QStyleFactory>
#include <QTimer>
#include <QTranslator>

namespace {

// Runs inside SQLite's wait, so it processes no events. The platform sends a
// cursor change to the display at once; the cursor goes back when the event
// loop runs again, that is once the statement has returned.
void showBusyCursor()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QTimer::singleShot(0, qApp, [] { QApplication::restoreOverrideCursor(); });
}

} // namespace

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("学生成绩管理系统"));
    applyLook();
    LockWait::setLongWaitHook(showBusyCursor);
}

bool TApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        ReportException(e);
    } catch (...) {
        ReportUnknownException();
    }
    return false;
}

void TApplication::applyLook()
{
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QPalette palette = QApplication::style()->standardPalette();
    const QColor face(236, 233, 216);
    palette.setColor(QPalette::Window, face);
    palette.setColor(QPalette::Button, face);
    palette.setColor(QPalette::Base, Qt::white);
    palette.setColor(QPalette::ToolTipBase, QColor(255, 255, 225));
    palette.setColor(QPalette::Highlight, QColor(49, 106, 197));
    palette.setColor(QPalette::HighlightedText, Qt::white);
    // Selections stay visible when a grid loses the focus.
    palette.setColor(QPalette::Inactive, QPalette::Highlight, QColor(49, 106, 197));
    palette.setColor(QPalette::Inactive, QPalette::HighlightedText, Qt::white);
    palette.setColor(QPalette::Link, QColor(0, 102, 204));
    QApplication::setPalette(palette);

    QFont font;
    font.setFamilies({QStringLiteral("宋体"), QStringLiteral("SimSun"), QStringLiteral("AR PL UMing CN"),
                      QStringLiteral("AR PL UMing TW"), QStringLiteral("WenQuanYi Micro Hei"),
                      QStringLiteral("Noto Sans CJK SC"), QStringLiteral("DejaVu Sans")});
    font.setPixelSize(12);
    QApplication::setFont(font);
}

void TApplication::loadTranslations()
{
    const QString dir = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    for (const char* name : {"qtbase_zh_CN", "qt_zh_CN"}) {
        auto* translator = new QTranslator(this);
        if (translator->load(QLatin1String(name), dir))
            installTranslator(translator);
        else
            delete translator;
    }
}

QString TApplication::dataFilePath()
{
    return QDir(QCoreApplication::applicationDirPath()).absoluteFilePath(QStringLiteral("db/Student.dat"));
}

StoreLocation TApplication::storeLocation()
{
    const QString settings = StoreSettingsPath(QCoreApplication::applicationDirPath());
    if (const std::optional<ServerLocation> server = ReadStoreSettings(settings))
        return StoreLocation::onServer(*server);
    return StoreLocation::file(dataFilePath());
}

void TApplication::dataModuleCreated(TDM& dm)
{
    if (!dm.isOpen() && dm.needsPassword()) {
        const QString password = Dialogs().password(Msg::AskPassword);
        if (!password.isEmpty()) {
            dm.setPassword(password);
            dm.open();
        }
    }
    if (!dm.isOpen())
        ShowMessage(Msg::ConnectFailed);
    if (dm.engine() == Engine::File) {
        const QDir data = QFileInfo(dm.dataFile()).absoluteDir();
        TempFiles::removeLeftovers(data.absolutePath());
        TempFiles::removeLeftovers(QDir::cleanPath(data.absoluteFilePath(QStringLiteral("../Bak"))));
    } else {
        TempFiles::removeLeftovers(
            QDir(QCoreApplication::applicationDirPath()).absoluteFilePath(QStringLiteral("Bak")));
    }
}
