#include "export/PictureWriters.h"

#include <cstdint>
#include <limits>

#include "base/Encoding.h"
#include "export/FileKind.h"
#include "export/WriterSupport.h"

namespace qm {

TPictureFormat FormatForFile(const QString& path, const QString& filter) {
    if (const auto f = PictureFormatOf(PathBytes(path))) return *f;
    const QString f = filter.toLower();
    if (f.contains("*.jpg") || f.contains("*.jpeg")) return TPictureFormat::Jpeg;
    if (f.contains("*.png")) return TPictureFormat::Png;
    return TPictureFormat::Bmp;
}

const char* FormatExtension(TPictureFormat f) {
    switch (f) {
    case TPictureFormat::Jpeg: return ".jpg";
    case TPictureFormat::Png: return ".png";
    case TPictureFormat::Bmp: break;
    }
    return ".bmp";
}

void CheckPictureSize(const std::string& path, TPictureFormat f, int width, int height) {
    auto fail = [&](const std::string& why) { throw TFileError(CannotCreateMessage(path, why)); };
    const std::string size = std::to_string(width) + " x " + std::to_string(height) + " pixels";
    if (width <= 0 || height <= 0) fail("The picture would be empty (" + size + ").");
    switch (f) {
    case TPictureFormat::Jpeg:
        // libjpeg's own limit, a little under 64K.
        if (width > 65500 || height > 65500)
            fail("The picture is " + size + "; a JPEG file holds at most 65500 pixels in each direction.");
        break;
    case TPictureFormat::Bmp: {
        // Row and file sizes are 32-bit fields in the header.
        uint64_t row = (uint64_t(width) * 3 + 3) / 4 * 4;
        if (54 + row * uint64_t(height) > std::numeric_limits<uint32_t>::max())
            fail("The picture is " + size + "; a BMP file holds at most 4 GB of pixels.");
        break;
    }
    case TPictureFormat::Png: break; // int dimensions always fit PNG's 31-bit fields
    }
}

void WritePictureTo(TAtomicFile& out, TPictureFormat f, const TPictureSource& src, const TProgressFn& progress) {
    CheckPictureSize(out.Path(), f, src.Width, src.Height);
    if (src.BandHeight <= 0 || !src.Band) throw std::logic_error("picture source without bands");
    switch (f) {
    case TPictureFormat::Bmp: WriteBmp(out, src, progress); break;
    case TPictureFormat::Jpeg: WriteJpeg(out, src, progress); break;
    case TPictureFormat::Png: WritePng(out, src, progress); break;
    }
}

void WritePictureFile(const std::string& path, TPictureFormat f, const TPictureSource& src,
                      const TProgressFn& progress) {
    // Check before creating anything, so a refused picture leaves no trace.
    CheckPictureSize(path, f, src.Width, src.Height);
    TAtomicFile out(path);
    WritePictureTo(out, f, src, progress);
    out.Commit();
}

TPictureSource ImageSource(const QImage& image, int bandHeight) {
    TPictureSource s;
    s.Width = image.width();
    s.Height = image.height();
    s.BandHeight = bandHeight;
    s.Band = [image](int top, int rows) { return image.copy(0, top, image.width(), rows); };
    return s;
}

} // namespace qm
