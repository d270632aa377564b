#pragma once
// The one loop over a picture's bands, shared by the writers and the in-memory picture,
// so every consumer sees the same bands and reports progress and cancel the same way.
#include <QImage>
#include <functional>

#include "export/PictureWriters.h"

namespace qm {

enum class TBandOrder { TopDown, BottomUp };

// Asks `src` for every band in `order` (Format_RGB32, checked to have the promised size)
// and hands it to `use` with its band index; after each band reports (bands done, bands
// in all) to `progress`. Throws TExportCancelled when progress asks to stop.
void ForEachBand(const TPictureSource& src, const std::function<void(const QImage& band, int index)>& use,
                 const TProgressFn& progress = {}, TBandOrder order = TBandOrder::TopDown);

// Draws every band at its place in `picture` (at least src.Width x src.Height), through
// ForEachBand.
void DrawBandsInto(QImage& picture, const TPictureSource& src, const TProgressFn& progress = {});

} // namespace qm
