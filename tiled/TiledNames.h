#pragma once
// Names the Tiled export writes and the import reads back: layers and the map
// properties that carry the map record's fields Tiled has no place for.
namespace qm::tiled {

inline constexpr const char* LayerBackground = "background";
inline constexpr const char* LayerLower = "lower";
inline constexpr const char* LayerUpper = "upper";
inline constexpr const char* LayerKey = "key"; // object layer: the map key's labels
inline constexpr const char* PropKeyNumber = "number";
inline constexpr const char* PropKeyText = "text";

inline constexpr const char* PropBackground = "background";       // int, the record's Background
inline constexpr const char* PropShowHidden = "showhidden";       // bool
inline constexpr const char* PropZoom = "zoom";                   // int
inline constexpr const char* PropCurrentSymbol = "currentsymbol"; // int
inline constexpr const char* PropTileset = "tileset";             // string, the tileset file name
// Written only when not all zero: the Spare byte of every cell (zlib, base64) and the
// record's bytes from Reserved1 to the end (base64), with stale name bytes.
inline constexpr const char* PropSpare = "spare";
inline constexpr const char* PropReserved = "reserved";

// The record's bytes that PropReserved carries: Reserved1, TilesetName, Reserved2.
inline constexpr int ReservedOffset = 15556;
inline constexpr int ReservedSize = 16018 - 15556;

} // namespace qm::tiled
