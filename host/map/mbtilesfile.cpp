#include "mbtilesfile.h"

#include <QAtomicInt>
#include <QFileInfo>
#include <QLocale>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>

#include <sqlite3.h>

namespace {

const char Driver[] = "QSQLITE";
// SQLite's virtual machine steps between two looks at the clock: a look
// costs far less than the steps.
const int StepsPerLook = 1000;

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
    // A view can run for ever or make a blob of gigabytes: each query is
    // watched by the clock, and no value may be larger than a tile.
    const QVariant handle = db.driver()->handle();
    if (qstrcmp(handle.typeName(), "sqlite3*") != 0 || !handle.constData()) {
        m_error = tr("%1 cannot be read: Qt's SQLite driver gives no handle to bound its queries")
                      .arg(m_fileName);
        return false;
    }
    sqlite3 *connection = *static_cast<sqlite3 *const *>(handle.constData());
    sqlite3_limit(connection, SQLITE_LIMIT_LENGTH, int(TileMath::MaxTileBytes));
    sqlite3_progress_handler(connection, StepsPerLook, &MbTilesFile::onProgress, this);

    // SQLite reads the file only now: a file that is no database fails here.
    QSqlQuery probe(db);
    QVariant tables;
    if (fetch(probe, &tables,
              QStringLiteral("SELECT count(*) FROM sqlite_master WHERE name = 'tiles' "
                             "AND type IN ('table', 'view')"))
        != Read::Found)
        return false;
    if (tables.toInt() == 0) {
        m_error = tr("%1 is no tile database: it has no tiles table").arg(m_fileName);
        return false;
    }
    m_attribution = plainText(metadata(QStringLiteral("attribution")));
    if (m_exceeded)
        return false;
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
    QVariant value;
    // The metadata table is optional: a query that fails gives no value.
    if (query.prepare(QStringLiteral("SELECT value FROM metadata WHERE name = ?"))) {
        query.addBindValue(name);
        fetch(query, &value);
    }
    return value.toString();
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
    QVariant value;
    const Read result = fetch(*m_query, &value);
    if (m_exceeded) {
        m_query.reset();
        m_open = false;
    }
    *data = value.toByteArray();
    return result;
}

// The first column of the first row of the prepared query, or of `sql`,
// within the bounds.
MbTilesFile::Read MbTilesFile::fetch(QSqlQuery &query, QVariant *value, const QString &sql)
{
    m_timedOut = false;
    m_clock.start();
    const bool found = (sql.isEmpty() ? query.exec() : query.exec(sql)) && query.next();
    if (found)
        *value = query.value(0);
    const QSqlError error = query.lastError();
    query.finish();
    m_clock.invalidate();
    if (found || !error.isValid())
        return found ? Read::Found : Read::Missing;

    if (m_timedOut) {
        m_exceeded = true;
        m_error = tr("%1 does not answer a query within %2 s")
                      .arg(m_fileName, QLocale().toString(QueryTimeLimitMs / 1000.0));
    } else if ((error.nativeErrorCode().toInt() & 0xff) == SQLITE_TOOBIG) {
        m_exceeded = true;
        m_error = tr("%1 holds a value of more than %2 MB")
                      .arg(m_fileName)
                      .arg(TileMath::MaxTileBytes / (1024 * 1024));
    } else {
        m_error = tr("%1 cannot be read: %2").arg(m_fileName, error.text());
    }
    return Read::Failed;
}

// Called by SQLite while a query runs: a non-zero answer interrupts it.
int MbTilesFile::onProgress(void *file)
{
    auto *self = static_cast<MbTilesFile *>(file);
    if (!self->m_clock.isValid() || !self->m_clock.hasExpired(QueryTimeLimitMs))
        return 0;
    self->m_timedOut = true;
    return 1;
}
