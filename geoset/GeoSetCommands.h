#pragma once
// The New / Open / Save commands of the maplet editor's tool bar: the GeoSet file
// operations behind the file dialogs.
#include "geoset/GeoSet.h"

namespace qm {

// Tool bar commands. Open and Save return false when the user cancelled; failures
// throw TFileError / TTilesetError for the application's error display.
void GeoNewExecute(TGeoSetContext& ctx);
bool GeoOpenExecute(TGeoSetContext& ctx);
// Offers GeoSetFileName, asks "OK to overwrite <path>" before replacing an existing
// file, writes atomically and remembers the path.
bool GeoSaveExecute(TGeoSetContext& ctx);

} // namespace qm
