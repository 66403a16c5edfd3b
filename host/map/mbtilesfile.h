#pragma once

#include "tilemath.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QSqlQuery>
#include <QString>

#include <optional>

// A tile database in the MBTiles layout (SQLite: tiles(zoom_level,
// tile_column, tile_row, tile_data), rows counted from the south, and
// metadata(name, value)), opened read-only through Qt's SQLite driver on a
// connection of its own. A locked database fails at once instead of waiting.
class MbTilesFile
{
    Q_DECLARE_TR_FUNCTIONS(MbTilesFile)

public:
    enum class Read { Found, Missing, Failed };

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

    QString m_fileName;
    QString m_connection;
    // The one prepared query; absent until the file is open.
    std::optional<QSqlQuery> m_query;
    bool m_open = false;
    QString m_error;
    QString m_attribution;
};
