#pragma once
// Picture files written band by band: BMP, JPEG (libjpeg) and PNG (zlib, our own
// container). A writer never holds more than one band of pixels besides the
// encoder's own state, so a whole map at the largest zoom streams through.
#include <QImage>
#include <QString>
#include <functional>
#include <stdexcept>
#include <string>

#include "export/PictureFormat.h"
#include "model/Progress.h"
#include "model/RecordFile.h"

namespace qm {

// A picture that is produced a band of rows at a time. Band(top, rows) returns an
// image Width() pixels wide and `rows` high holding picture rows top .. top+rows-1.
// Bands may be asked for in any order (BMP asks from the bottom up).
struct TPictureSource {
    int Width = 0;
    int Height = 0;
    int BandHeight = 1; // rows per band; the last band may be shorter
    std::function<QImage(int top, int rows)> Band;
    // Band may be called from several threads at once (it draws from const data only), so
    // the writers draw the next bands while they encode this one.
    bool ConcurrentBands = false;

    int BandCount() const { return BandHeight > 0 ? (Height + BandHeight - 1) / BandHeight : 0; }
};

// Thrown when the progress callback asked to stop; nothing has been written.
class TExportCancelled : public std::runtime_error {
public:
    TExportCancelled() : std::runtime_error("Export cancelled") {}
};

// Picks the format: the file's extension when it is .bmp, .jpg, .jpeg or .png (any
// letter case), else the dialog filter named in `filter` (matched by its pattern),
// else BMP, the first filter.
TPictureFormat FormatForFile(const QString& path, const QString& filter = QString());

// The file extension, with its dot, that a format is usually written with.
const char* FormatExtension(TPictureFormat f);

// Throws TFileError("Cannot create file "path". <reason>") when a picture of this
// size cannot be written in this format (empty, or beyond the format's limits).
void CheckPictureSize(const std::string& path, TPictureFormat f, int width, int height);

// Writes the picture into `out` without committing it; `progress` hears after each band
// (bands done, bands in all). Throws TFileError on a write failure or a picture the
// format cannot hold, TExportCancelled when cancelled.
void WritePictureTo(TAtomicFile& out, TPictureFormat f, const TPictureSource& src, const TProgressFn& progress = {});

// Writes the picture to `path` through a temporary file and a rename: on failure or
// cancel nothing is left behind and an older file of that name stays untouched.
void WritePictureFile(const std::string& path, TPictureFormat f, const TPictureSource& src,
                      const TProgressFn& progress = {});

// Individual encoders (used by WritePictureTo).
void WriteBmp(TAtomicFile& out, const TPictureSource& src, const TProgressFn& progress);
void WriteJpeg(TAtomicFile& out, const TPictureSource& src, const TProgressFn& progress, int quality = 90);
void WritePng(TAtomicFile& out, const TPictureSource& src, const TProgressFn& progress);
// The PNG bytes handed to `out` as they come (for a picture inside another file);
// `path` names the file in messages.
using TByteSink = std::function<void(const void* data, size_t size)>;
void WritePng(const TByteSink& out, const std::string& path, const TPictureSource& src, const TProgressFn& progress);
void WriteJpeg(const TByteSink& out, const std::string& path, const TPictureSource& src, const TProgressFn& progress,
               int quality = 90);

// A source over an image already in memory (the clipboard picture, tests).
TPictureSource ImageSource(const QImage& image, int bandHeight);

} // namespace qm
