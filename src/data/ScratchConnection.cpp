#include "data/ScratchConnection.h"

#include <QFileInfo>
#include <QUrl>
#include <QUuid>

ScratchConnection::ScratchConnection(const QString& databaseName, bool asUri)
    : m_name(QStringLiteral("scratch-") + QUuid::createUuid().toString(QUuid::WithoutBraces))
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
    if (asUri)
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI"));
    db.setDatabaseName(databaseName);
}

ScratchConnection::~ScratchConnection()
{
    {
        QSqlDatabase db = QSqlDatabase::database(m_name, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(m_name);
}

QString ScratchConnection::fileUri(const QString& path, const char* mode)
{
    return QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()).toString(QUrl::FullyEncoded) +
           QStringLiteral("?mode=") + QLatin1String(mode);
}
