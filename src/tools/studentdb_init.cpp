// Places an empty database of the current schema version at the given path
// when no file is there (stamped in its user_version); an existing file is
// never touched. Given a server URL ("postgresql://user@host:port/database")
// it creates the tables in that empty database instead, and leaves a
// database that already holds a school alone.
#include "data/StoreLocation.h"
#include "data/uDM.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <cstdio>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: studentdb-init PATH | postgresql://user@host:port/database\n");
        return 2;
    }
    const QString where = QString::fromLocal8Bit(argv[1]);
    const std::optional<StoreLocation> store = ParseStoreArgument(where);
    if (!store) {
        std::fprintf(stderr, "studentdb-init: %s is neither a file path nor a server URL\n", argv[1]);
        return 2;
    }
    if (store->engine == Engine::Server) {
        const DbValue<bool> made = TDM::createServerSchema(store->server);
        if (!made) {
            std::fprintf(stderr, "studentdb-init: %s\n", qPrintable(made.error()));
            return 1;
        }
        std::printf("%s %s\n", *made ? "created the school in" : "a school is already in",
                    qPrintable(store->server.describe()));
        return 0;
    }
    if (QFileInfo::exists(where))
        return 0;
    if (const DbResult made = TDM::createDatabase(where); !made) {
        std::fprintf(stderr, "studentdb-init: %s\n", qPrintable(made.error()));
        return 1;
    }
    std::printf("created %s\n", qPrintable(where));
    return 0;
}
