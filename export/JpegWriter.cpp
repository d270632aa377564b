// JPEG through libjpeg. libjpeg reports errors by calling error_exit, which must not
// return; we leave through longjmp back to the one place that called into libjpeg.
// No C++ object with a destructor lives between that place and the callbacks, and
// failures of our own output are carried across as an exception_ptr.
#include <QImage>
#include <csetjmp>
#include <cstdio>
#include <exception>
#include <jpeglib.h>

#include "export/PictureBands.h"
#include "export/PictureWriters.h"
#include "export/WriterSupport.h"

namespace qm {

namespace {

constexpr size_t OutBufferSize = 1 << 16;

struct TJpegState {
    jpeg_error_mgr err;
    jpeg_destination_mgr dest;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
    const TByteSink* out;
    unsigned char* buffer;
    std::exception_ptr failure;
};

TJpegState* StateOf(j_common_ptr cinfo) { return static_cast<TJpegState*>(cinfo->client_data); }

[[noreturn]] void OnError(j_common_ptr cinfo) {
    TJpegState* s = StateOf(cinfo);
    (*cinfo->err->format_message)(cinfo, s->message);
    std::longjmp(s->jump, 1);
}

void OnMessage(j_common_ptr, int) {} // warnings and traces stay quiet

void InitDest(j_compress_ptr cinfo) {
    TJpegState* s = StateOf(reinterpret_cast<j_common_ptr>(cinfo));
    cinfo->dest->next_output_byte = s->buffer;
    cinfo->dest->free_in_buffer = OutBufferSize;
}

bool Flush(TJpegState* s, size_t n) {
    try {
        (*s->out)(s->buffer, n);
        return true;
    } catch (...) {
        s->failure = std::current_exception();
        return false;
    }
}

boolean EmptyDest(j_compress_ptr cinfo) {
    TJpegState* s = StateOf(reinterpret_cast<j_common_ptr>(cinfo));
    if (!Flush(s, OutBufferSize)) std::longjmp(s->jump, 1);
    cinfo->dest->next_output_byte = s->buffer;
    cinfo->dest->free_in_buffer = OutBufferSize;
    return TRUE;
}

void TermDest(j_compress_ptr cinfo) {
    TJpegState* s = StateOf(reinterpret_cast<j_common_ptr>(cinfo));
    if (!Flush(s, OutBufferSize - cinfo->dest->free_in_buffer)) std::longjmp(s->jump, 1);
}

// Compresses rows [first, first+count) of the band; returns false when libjpeg or
// our output failed (state says which). Kept free of C++ objects with destructors.
bool Compress(jpeg_compress_struct* cinfo, TJpegState* s, const QImage* band, bool start, bool finish) {
    if (setjmp(s->jump)) return false;
    if (start) jpeg_start_compress(cinfo, TRUE);
    for (int y = 0; y < band->height(); ++y) {
        JSAMPROW row = const_cast<JSAMPROW>(band->constScanLine(y));
        jpeg_write_scanlines(cinfo, &row, 1);
    }
    if (finish) jpeg_finish_compress(cinfo);
    return true;
}

bool Setup(jpeg_compress_struct* cinfo, TJpegState* s, int width, int height, int quality) {
    if (setjmp(s->jump)) return false;
    jpeg_create_compress(cinfo);
    cinfo->client_data = s;
    cinfo->dest = &s->dest;
    cinfo->image_width = JDIMENSION(width);
    cinfo->image_height = JDIMENSION(height);
#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
    cinfo->in_color_space = JCS_EXT_BGRX; // QImage::Format_RGB32 in memory
#else
    cinfo->in_color_space = JCS_EXT_XRGB;
#endif
    cinfo->input_components = 4;
    jpeg_set_defaults(cinfo);
    jpeg_set_quality(cinfo, quality, TRUE);
    // Chroma at half resolution both ways (4:2:0), luminance full.
    cinfo->comp_info[0].h_samp_factor = 2;
    cinfo->comp_info[0].v_samp_factor = 2;
    return true;
}

} // namespace

void WriteJpeg(TAtomicFile& out, const TPictureSource& src, const TProgressFn& progress, int quality) {
    WriteJpeg([&out](const void* data, size_t n) { out.Write(data, n); }, out.Path(), src, progress, quality);
}

void WriteJpeg(const TByteSink& out, const std::string& path, const TPictureSource& src, const TProgressFn& progress,
               int quality) {
    std::vector<unsigned char> buffer(OutBufferSize);
    TJpegState s{};
    s.out = &out;
    s.buffer = buffer.data();
    jpeg_compress_struct cinfo{};
    cinfo.err = jpeg_std_error(&s.err);
    s.err.error_exit = OnError;
    s.err.emit_message = OnMessage;
    s.dest.init_destination = InitDest;
    s.dest.empty_output_buffer = EmptyDest;
    s.dest.term_destination = TermDest;

    struct TDestroy {
        jpeg_compress_struct* c;
        ~TDestroy() { jpeg_destroy_compress(c); }
    } destroy{&cinfo};

    auto fail = [&]() {
        if (s.failure) std::rethrow_exception(s.failure);
        throw TFileError(CannotCreateMessage(path, s.message));
    };
    if (!Setup(&cinfo, &s, src.Width, src.Height, quality)) fail();

    const int bands = src.BandCount();
    ForEachBand(
        src,
        [&](const QImage& band, int index) {
            if (!Compress(&cinfo, &s, &band, index == 0, index == bands - 1)) fail();
        },
        progress);
}

} // namespace qm
