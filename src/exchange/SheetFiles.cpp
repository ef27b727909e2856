#include "exchange/SheetFiles.h"

namespace SheetFiles {

namespace {

QString safePart(const QString& part)
{
    static const QString refused = QStringLiteral("\\/:*?\"<>|");
    QString safe = part.trimmed();
    for (QChar& c : safe) {
        if (refused.contains(c) || c.unicode() < 0x20)
            c = QLatin1Char('-');
    }
    return safe;
}

} // namespace

QString ProposedName(const QStringList& parts, const QString& suffix)
{
    QStringList safe;
    for (const QString& part : parts) {
        if (!part.trimmed().isEmpty())
            safe << safePart(part);
    }
    return safe.join(QLatin1Char('_')) + QLatin1Char('.') + suffix;
}

} // namespace SheetFiles
