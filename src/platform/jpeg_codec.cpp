// JPEG decoding through the libjpeg interface of libjpeg-turbo, streamed from the file in
// strips straight into the caller's block (upright, in its pixel order), optionally at a
// reduced size for thumbnails; and encoding through TurboJPEG, which serves the tests and
// benchmarks that need sample photographs.
#include <turbojpeg.h>

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include "platform/picture_codecs.h"

// jpeglib.h needs FILE and size_t declared first.
#include <jerror.h>
#include <jpeglib.h>

namespace platform {

namespace {

constexpr std::size_t READ_CHUNK = 64 * 1024;

// libjpeg reports errors through a callback that must not return: it jumps back into
// Run. Warnings (a file cut short, corrupt data) are only counted; a decode with any fails,
// because the rest of such a picture would be grey that the user would take for the picture.
// A few warnings say nothing of the pixels and are not counted (see Harmless).
struct ErrorTrap {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

[[noreturn]] void ErrorExit(j_common_ptr info) {
    std::longjmp(reinterpret_cast<ErrorTrap*>(info->err)->jump, 1);
}

// Warnings that cameras and editors give cause for in pictures that decode whole: a newer
// JFIF revision, an unknown colour-transform code, and stray bytes after the last scan,
// before the end marker. Stray bytes anywhere else may stand where data should be.
bool Harmless(const jpeg_error_mgr& err) {
    switch (err.msg_code) {
    case JWRN_JFIF_MAJOR:
    case JWRN_ADOBE_XFORM:
        return true;
    case JWRN_EXTRANEOUS_DATA:
        return err.msg_parm.i[1] == JPEG_EOI;
    default:
        return false;
    }
}

void EmitMessage(j_common_ptr info, int level) {
    if (level < 0 && !Harmless(*info->err)) info->err->num_warnings++;
}
void OutputMessage(j_common_ptr) {}

// Reads the file in chunks: the picture is never held whole in memory.
struct FileSource {
    jpeg_source_mgr manager;
    std::FILE* file = nullptr;
    JOCTET buffer[READ_CHUNK];
};

void InitSource(j_decompress_ptr) {}
void TermSource(j_decompress_ptr) {}

boolean FillInput(j_decompress_ptr info) {
    auto* source = reinterpret_cast<FileSource*>(info->src);
    std::size_t got = std::fread(source->buffer, 1, READ_CHUNK, source->file);
    if (got == 0) {
        // The file ends before the picture: a warning, and an end marker so that the library
        // stops asking.
        WARNMS(info, JWRN_JPEG_EOF);
        source->buffer[0] = 0xFF;
        source->buffer[1] = JPEG_EOI;
        got = 2;
    }
    source->manager.next_input_byte = source->buffer;
    source->manager.bytes_in_buffer = got;
    return TRUE;
}

void SkipInput(j_decompress_ptr info, long count) {
    jpeg_source_mgr* source = info->src;
    while (count > 0 && std::size_t(count) > source->bytes_in_buffer) {
        count -= long(source->bytes_in_buffer);
        FillInput(info);
    }
    if (count > 0) {
        source->next_input_byte += count;
        source->bytes_in_buffer -= std::size_t(count);
    }
}

// Everything one decode needs, on the heap: libjpeg's records, the read buffer and the rows.
struct JpegJob {
    jpeg_decompress_struct info;
    ErrorTrap trap;
    FileSource source;
    DecodeRequest request;  // as asked, with the pixel order the destination really gets
    UprightRows rows;
    std::vector<std::uint8_t> owned;  // the pixels when the caller gave no block
};

// The smallest scaling in eighths (8 = none) whose larger side still reaches `minLongSide`.
int ScaleEighths(long long width, long long height, int minLongSide) {
    int best = 8;
    if (minLongSide <= 0) return best;
    long long longSide = width > height ? width : height, bestSide = longSide;
    for (int eighths = 8; eighths >= 1; --eighths) {
        long long side = (longSide * eighths + 7) / 8;
        if (side >= minLongSide && side < bestSide) {
            best = eighths;
            bestSide = side;
        }
    }
    return best;
}

int OrientationOf(const jpeg_decompress_struct& info) {
    for (jpeg_saved_marker_ptr m = info.marker_list; m != nullptr; m = m->next)
        if (m->marker == JPEG_APP0 + 1 && m->data_length >= 6 &&
            std::memcmp(m->data, "Exif\0\0", 6) == 0)
            return ExifOrientation(m->data, m->data_length);
    return 1;
}

// The decode proper. Only plain data lives in this frame across the jump back from an error.
bool Run(JpegJob& job, Picture& result) {
    jpeg_decompress_struct& info = job.info;
    info.err = jpeg_std_error(&job.trap.manager);
    job.trap.manager.error_exit = ErrorExit;
    job.trap.manager.emit_message = EmitMessage;
    job.trap.manager.output_message = OutputMessage;
    if (setjmp(job.trap.jump) != 0) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    job.source.manager.init_source = InitSource;
    job.source.manager.fill_input_buffer = FillInput;
    job.source.manager.skip_input_data = SkipInput;
    job.source.manager.resync_to_restart = jpeg_resync_to_restart;
    job.source.manager.term_source = TermSource;
    job.source.manager.bytes_in_buffer = 0;
    job.source.manager.next_input_byte = nullptr;
    info.src = &job.source.manager;
    jpeg_save_markers(&info, JPEG_APP0 + 1, 0xFFFF);
    jpeg_read_header(&info, TRUE);

    const DecodeRequest& request = job.request;
    long long pixels = static_cast<long long>(info.image_width) * info.image_height;
    bool fits = pixels > 0 && pixels <= request.maxPixels;
    int orientation = OrientationOf(info);
    info.scale_num =
        unsigned(ScaleEighths(info.image_width, info.image_height, request.minLongSide));
    info.scale_denom = 8;
    if (request.minLongSide > 0) info.dct_method = JDCT_IFAST;
    info.out_color_space = request.order == PixelOrder::RGBA ? JCS_EXT_RGBA : JCS_EXT_BGRX;
    jpeg_calc_output_dimensions(&info);
    int width = int(info.output_width), height = int(info.output_height);
    std::size_t bytes = std::size_t(width) * std::size_t(height) * 4;
    std::uint8_t* block = request.block;
    if (fits && block != nullptr) {
        fits = bytes <= request.blockBytes;
    }
    // Running short of memory here is one more failed decode; the library's records are
    // released on the way out.
    try {
        if (fits && block == nullptr) {
            job.owned.resize(bytes);
            block = job.owned.data();
        }
        if (fits) job.rows.Start(request, block, width, height, orientation);
    } catch (const std::bad_alloc&) {
        fits = false;
    }
    if (!fits) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_start_decompress(&info);
    JSAMPROW rows[UprightRows::STRIP_ROWS];
    for (int first = 0; first < height; first += UprightRows::STRIP_ROWS) {
        int count =
            height - first < UprightRows::STRIP_ROWS ? height - first : UprightRows::STRIP_ROWS;
        job.rows.Rows(first, count, rows);
        for (int got = 0; got < count;) {
            JDIMENSION read = jpeg_read_scanlines(&info, rows + got, JDIMENSION(count - got));
            if (read == 0) ERREXIT(&info, JERR_INPUT_EMPTY);
            got += int(read);
        }
        job.rows.Done(first, count);
    }
    jpeg_finish_decompress(&info);
    bool clean = info.err->num_warnings == 0;
    bool turned = orientation >= 5 && orientation <= 8;
    result.width = job.rows.UprightWidth();
    result.height = job.rows.UprightHeight();
    result.fullWidth = int(turned ? info.image_height : info.image_width);
    result.fullHeight = int(turned ? info.image_width : info.image_height);
    jpeg_destroy_decompress(&info);
    return clean;
}

// True when the file, read from its start, reaches the JPEG end marker; leaves it at its start.
bool ReachesEnd(std::FILE* file, JOCTET* buffer) {
    JpegEndScan scan;
    while (!scan.Complete() && !scan.Failed()) {
        std::size_t got = std::fread(buffer, 1, READ_CHUNK, file);
        if (got == 0) break;
        scan.Feed(buffer, got);
    }
    return std::fseek(file, 0, SEEK_SET) == 0 && scan.Complete();
}

}  // namespace

bool DecodeJpeg(std::FILE* file, const DecodeRequest& request, Picture& out) {
    auto job = std::make_unique<JpegJob>();
    job->request = request;
    if (request.block == nullptr) {
        job->request.order = PixelOrder::BGRX;
        job->request.colourKeyOn = false;
    }
    job->source.file = file;
    if (request.refuseIncomplete && !ReachesEnd(file, job->source.buffer)) return false;
    Picture result;
    if (!Run(*job, result)) return false;
    if (request.block == nullptr) result.bgrx = std::move(job->owned);
    out = std::move(result);
    return true;
}

bool WriteJpegFile(const char* path, const Picture& picture, int quality, int orientation) {
    if (picture.width <= 0 || picture.height <= 0 ||
        picture.bgrx.size() < std::size_t(picture.width) * std::size_t(picture.height) * 4)
        return false;
    tjhandle handle = tjInitCompress();
    if (handle == nullptr) return false;
    unsigned char* jpeg = nullptr;
    unsigned long jpegSize = 0;
    bool ok = tjCompress2(handle, picture.bgrx.data(), picture.width, 0, picture.height, TJPF_BGRX,
                          &jpeg, &jpegSize, TJSAMP_420, quality, TJFLAG_BOTTOMUP) == 0 &&
              jpegSize > 2;
    // An EXIF segment right after the start marker, holding one tag: the orientation.
    const std::uint8_t exif[] = {0xFF,
                                 0xE1,
                                 0,
                                 34,
                                 'E',
                                 'x',
                                 'i',
                                 'f',
                                 0,
                                 0,
                                 'I',
                                 'I',
                                 42,
                                 0,
                                 8,
                                 0,
                                 0,
                                 0,  // TIFF header, first IFD at 8
                                 1,
                                 0,  // one entry
                                 0x12,
                                 0x01,
                                 3,
                                 0,
                                 1,
                                 0,
                                 0,
                                 0,  // orientation, SHORT, 1 value
                                 std::uint8_t(orientation),
                                 0,
                                 0,
                                 0,
                                 0,
                                 0,
                                 0,
                                 0};  // no next IFD
    if (ok) {
        std::FILE* file = std::fopen(path, "wb");
        ok = file != nullptr && std::fwrite(jpeg, 1, 2, file) == 2;
        if (ok && orientation >= 2 && orientation <= 8)
            ok = std::fwrite(exif, 1, sizeof exif, file) == sizeof exif;
        if (ok) ok = std::fwrite(jpeg + 2, 1, jpegSize - 2, file) == jpegSize - 2;
        if (file != nullptr) ok = std::fclose(file) == 0 && ok;
    }
    tjFree(jpeg);
    tjDestroy(handle);
    return ok;
}

}  // namespace platform
