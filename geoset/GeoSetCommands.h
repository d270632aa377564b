#pragma once
// The New / Open / Save commands of the maplet editor's tool bar: the GeoSet file
// operations behind the file dialogs, asked over `parent`.
#include "geoset/GeoSetDocument.h"

class QWidget;

namespace qm {

// Tool bar commands. Open and Save return false when the user cancelled; failures
// throw TFileError / TTilesetError for the application's error display.
void GeoNewExecute(TGeoSetDocument& doc);
bool GeoOpenExecute(TGeoSetDocument& doc, QWidget* parent = nullptr);
// Offers the GeoSet's file name, asks "OK to overwrite <path>" before replacing another
// existing file (or, over its own file that another program changed meanwhile,
// Overwrite / Save As... / Cancel), writes atomically and remembers the path.
bool GeoSaveExecute(TGeoSetDocument& doc, QWidget* parent = nullptr);

} // namespace qm
