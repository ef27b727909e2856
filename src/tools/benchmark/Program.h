#pragma once

// The program as main() makes it: the main window and the data module, on
// the data file of a school's folder. The one place of the benchmark that
// knows how the program is put together.
#include <QString>
#include <memory>

class QWidget;
class TDM;
class TfrmMain;

namespace bench {

class Program {
public:
    // dir is the school's folder, standing for the program's directory.
    explicit Program(const QString& dir);
    ~Program();

    QWidget* mainWindow() const;
    // As main() shows it: maximised.
    void show();

private:
    std::unique_ptr<TfrmMain> m_main;
    std::unique_ptr<TDM> m_dm;
};

} // namespace bench
