#pragma once

#include <QString>

// What a tile server template must be for the map to ask tiles from it: an
// http or https address in which {z}, {x} and {y} stand for the tile's zoom,
// column and row, with no other placeholder; spaces around it do not count.
// The host checks templates where it uses them, by its own copy of this rule
// (the plug-in cannot use the host's code): keep the two alike.
namespace TileServerTemplate {

// True for a usable template, and for an empty text, which is no template
// at all: a map source may have only a tile database.
bool isAcceptable(const QString &text);

} // namespace TileServerTemplate
