#include "tools/benchmark/Program.h"

#include "data/uDM.h"
#include "forms/uPub.h"
#include "shell/Application.h"
#include "shell/uMain.h"

#include <QSettings>

namespace bench {

Program::Program(const QString& dir)
{
    // The user's remembered choices are neither read nor changed: the
    // program runs as on a first start.
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir + QStringLiteral("settings"));
    m_main = std::make_unique<TfrmMain>();
    AppPath = dir; // the main window took the benchmark's own directory
    // As main() chooses: the server named beside the program, or its data file.
    m_dm = std::make_unique<TDM>(TApplication::storeLocation(dir));
    TApplication::dataModuleCreated(*m_dm);
}

Program::~Program()
{
    m_main.reset();
    m_dm.reset();
}

QWidget* Program::mainWindow() const
{
    return m_main.get();
}

void Program::show()
{
    m_main->showMaximized();
}

} // namespace bench
