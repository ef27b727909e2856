// Moves a school between a data file and a server (or two of either):
//   studentdb-copy FROM TO
// FROM and TO are data file paths or server URLs
// ("postgresql://user@host:port/database"). The destination must be an
// empty school; a missing data file is created, a server database without
// tables gets them. The password comes from libpq's password file or
// PGPASSWORD, or from the URL.
#include "data/SchoolCopy.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(
            stderr, "usage: studentdb-copy FROM TO   (a data file path or postgresql://user@host:port/db)\n");
        return 2;
    }
    const std::optional<StoreLocation> from = ParseStoreArgument(QString::fromLocal8Bit(argv[1]));
    const std::optional<StoreLocation> to = ParseStoreArgument(QString::fromLocal8Bit(argv[2]));
    if (!from || !to) {
        std::fprintf(stderr, "studentdb-copy: %s is neither a file path nor a server URL\n",
                     !from ? argv[1] : argv[2]);
        return 2;
    }
    const DbValue<CopiedRows> copied = CopySchool(*from, *to);
    if (!copied) {
        std::fprintf(stderr, "studentdb-copy: nothing copied: %s\n", qPrintable(copied.error()));
        return 1;
    }
    for (auto it = copied->cbegin(); it != copied->cend(); ++it)
        std::printf("%-16s %d rows\n", qPrintable(it.key()), it.value());
    std::printf("copied and checked: every table holds the same rows\n");
    return 0;
}
