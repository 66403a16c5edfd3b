#include "mbtilesfile.h"

#include <QAtomicInt>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlError>

namespace {

const char Driver[] = "QSQLITE";

QString newConnectionName()
{
    static QAtomicInt counter;
    return QStringLiteral("editor2-mbtiles-%1").arg(counter.fetchAndAddRelaxed(1));
}

// Attributions are often HTML links; the map shows plain text.
QString plainText(QString text)
{
    static const QRegularExpression tag(QStringLiteral("<[^>]*>"));
    text.remove(tag);
    text.replace(QLatin1String("&copy;"), QStringLiteral("©"))
        .replace(QLatin1String("&lt;"), QLatin1String("<"))
        .replace(QLatin1String("&gt;"), QLatin1String(">"))
        .replace(QLatin1String("&quot;"), QLatin1String("\""))
        .replace(QLatin1String("&amp;"), QLatin1String("&"));
    return text.simplified();
}

} // namespace

MbTilesFile::MbTilesFile(const QString &fileName)
    : m_fileName(fileName)
    , m_connection(newConnectionName())
{
    m_open = open();
    if (!m_open)
        m_query.reset();
}

MbTilesFile::~MbTilesFile()
{
    m_query.reset();
    if (QSqlDatabase::contains(m_connection)) {
        QSqlDatabase::database(m_connection, false).close();
        QSqlDatabase::removeDatabase(m_connection);
    }
}

bool MbTilesFile::open()
{
    const QFileInfo info(m_fileName);
    if (!info.exists()) {
        m_error = tr("%1 does not exist").arg(m_fileName);
        return false;
    }
    if (!info.isFile() || !info.isReadable()) {
        m_error = tr("%1 cannot be read").arg(m_fileName);
        return false;
    }
    if (!QSqlDatabase::isDriverAvailable(QString::fromLatin1(Driver))) {
        m_error = tr("Qt's SQLite driver is not installed");
        return false;
    }
    QSqlDatabase db = QSqlDatabase::addDatabase(QString::fromLatin1(Driver), m_connection);
    db.setDatabaseName(m_fileName);
    // Read-only, and a lock held by a writer fails the read instead of
    // waiting for it on the GUI thread.
    db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=0"));
    if (!db.open()) {
        m_error = tr("%1 cannot be opened: %2").arg(m_fileName, db.lastError().text());
        return false;
    }
    // SQLite reads the file only now: a file that is no database fails here.
    QSqlQuery probe(db);
    if (!probe.exec(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE name = 'tiles' "
                                   "AND type IN ('table', 'view')"))
        || !probe.next()) {
        m_error = tr("%1 cannot be read: %2").arg(m_fileName, probe.lastError().text());
        return false;
    }
    if (probe.value(0).toInt() == 0) {
        m_error = tr("%1 is no tile database: it has no tiles table").arg(m_fileName);
        return false;
    }
    m_attribution = plainText(metadata(QStringLiteral("attribution")));
    m_query.emplace(db);
    if (!m_query->prepare(QStringLiteral("SELECT tile_data FROM tiles WHERE zoom_level = ? AND "
                                         "tile_column = ? AND tile_row = ?"))) {
        m_error = tr("%1 is no tile database: %2").arg(m_fileName, m_query->lastError().text());
        return false;
    }
    return true;
}

QString MbTilesFile::metadata(const QString &name)
{
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    query.prepare(QStringLiteral("SELECT value FROM metadata WHERE name = ?"));
    query.addBindValue(name);
    // The metadata table is optional.
    if (!query.exec() || !query.next())
        return QString();
    return query.value(0).toString();
}

MbTilesFile::Read MbTilesFile::read(const TileMath::TileId &tile, QByteArray *data)
{
    data->clear();
    if (!m_open)
        return Read::Failed;
    if (!TileMath::isValid(tile))
        return Read::Missing;
    m_query->bindValue(0, tile.zoom);
    m_query->bindValue(1, tile.x);
    m_query->bindValue(2, TileMath::mbtilesRow(tile));
    if (!m_query->exec()) {
        m_error = tr("%1 cannot be read: %2").arg(m_fileName, m_query->lastError().text());
        return Read::Failed;
    }
    const bool found = m_query->next();
    if (found)
        *data = m_query->value(0).toByteArray();
    const QSqlError error = m_query->lastError();
    m_query->finish();
    if (!found && error.isValid()) {
        m_error = tr("%1 cannot be read: %2").arg(m_fileName, error.text());
        return Read::Failed;
    }
    return found ? Read::Found : Read::Missing;
}
