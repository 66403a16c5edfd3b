#pragma once

#include "tilemath.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSqlQuery>
#include <QString>
#include <QVariant>

#include <optional>

// A tile database in the MBTiles layout (SQLite: tiles(zoom_level,
// tile_column, tile_row, tile_data), rows counted from the south, and
// metadata(name, value)), opened read-only through Qt's SQLite driver on a
// connection of its own. A locked database fails at once instead of waiting.
// Every query is bounded in time (QueryTimeLimitMs) and no value it makes or
// reads may exceed TileMath::MaxTileBytes; a database that passes either
// bound is closed for good, with errorString() saying why.
class MbTilesFile
{
    Q_DECLARE_TR_FUNCTIONS(MbTilesFile)

public:
    enum class Read { Found, Missing, Failed };
    static constexpr int QueryTimeLimitMs = 1000;

    explicit MbTilesFile(const QString &fileName);
    ~MbTilesFile();
    MbTilesFile(const MbTilesFile &) = delete;
    MbTilesFile &operator=(const MbTilesFile &) = delete;

    QString fileName() const { return m_fileName; }
    bool isOpen() const { return m_open; }
    // Why the file cannot be opened or the last read failed, for the user.
    QString errorString() const { return m_error; }
    // The metadata's attribution, as plain text; empty when there is none.
    QString attribution() const { return m_attribution; }

    // The stored bytes of a tile (an image as the file has it).
    Read read(const TileMath::TileId &tile, QByteArray *data);

private:
    bool open();
    QString metadata(const QString &name);
    Read fetch(QSqlQuery &query, QVariant *value, const QString &sql = QString());
    static int onProgress(void *file);

    QString m_fileName;
    QString m_connection;
    // The one prepared query; absent until the file is open.
    std::optional<QSqlQuery> m_query;
    bool m_open = false;
    // Runs while a query does; past the time limit the query is interrupted.
    QElapsedTimer m_clock;
    bool m_timedOut = false;
    // A query passed a bound: the file is not asked again.
    bool m_exceeded = false;
    QString m_error;
    QString m_attribution;
};
