#pragma once

#include <QLatin1String>

// Where the editor's map dialogs keep the map in the project's settings:
// the map sources and the presets as settings arrays, the zoom limits and
// the default preset's name.
namespace MapKeys {

constexpr QLatin1String Sources("Map");
constexpr QLatin1String SourceName("name");
constexpr QLatin1String SourceDbFile("dbFile");
constexpr QLatin1String SourceTileServer("tileServer");

constexpr QLatin1String ZoomMin("GraphicsScene/zoomMin");
constexpr QLatin1String ZoomMax("GraphicsScene/zoomMax");

constexpr QLatin1String Presets("Presets");
constexpr QLatin1String PresetName("name");
constexpr QLatin1String PresetToolTip("toolTip");
constexpr QLatin1String PresetZoom("zoom");
constexpr QLatin1String PresetLongitude("lon");
constexpr QLatin1String PresetLatitude("lat");
constexpr QLatin1String DefaultPreset("DefaultPreset");

} // namespace MapKeys
