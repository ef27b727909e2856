// grades-demo: writes the demo school into a data file (see DemoSchool.h).
#include "tools/DemoSchool.h"

#include <QCoreApplication>
#include <QTextStream>
#include <cstdio>
#include <unistd.h>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    // Only a person at a terminal can be asked; a script gets the refusal.
    const auto confirm = [&err](const QString& question) {
        if (!isatty(STDIN_FILENO) || !isatty(STDERR_FILENO))
            return false;
        err << question << " [y/N] " << Qt::flush;
        QTextStream in(stdin);
        const QString answer = in.readLine().trimmed().toLower();
        return answer == QLatin1String("y") || answer == QLatin1String("yes");
    };
    return schoolgen::RunDemoCommand(app.arguments().mid(1), out, err, confirm);
}
