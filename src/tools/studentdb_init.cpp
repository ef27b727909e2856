// Places an empty database of the current schema version (stamped in its
// user_version) at the given path when no file is there; an existing file is
// never touched.
#include "data/uDM.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <cstdio>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: studentdb-init PATH\n");
        return 2;
    }
    const QString path = QString::fromLocal8Bit(argv[1]);
    if (QFileInfo::exists(path))
        return 0;
    if (const DbResult made = TDM::createDatabase(path); !made) {
        std::fprintf(stderr, "studentdb-init: %s\n", qPrintable(made.error()));
        return 1;
    }
    std::printf("created %s\n", qPrintable(path));
    return 0;
}
