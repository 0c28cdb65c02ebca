// Thumbnail PNG files through libpng: read whatever form another program wrote them in (any
// depth and colour type, interlaced or not, text before or after the pixels) as upright R, G,
// B, A rows bottom-up, and written as 8-bit RGB with their text chunks. The browser's
// thumbnail cache reads and writes through here; thumbnails are files from outside, so every
// size is bounded before memory is taken.
#include <png.h>

#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <new>
#include <system_error>

#include "platform/platform.h"

namespace platform {

namespace {

// No thumbnail is nearly this large; a file past it is not read at all.
constexpr std::size_t MAX_FILE_BYTES = 16u << 20;
// Room for the text of compressed chunks once inflated.
constexpr png_alloc_size_t MAX_CHUNK_BYTES = 1u << 20;

// libpng reports errors through a callback that must not return: it jumps back to the
// setjmp of the run under way, with the message kept here.
struct ErrorTrap {
    std::jmp_buf jump;
    char message[160] = {};
};

[[noreturn]] void OnError(png_structp png, png_const_charp message) {
    auto* trap = static_cast<ErrorTrap*>(png_get_error_ptr(png));
    std::snprintf(trap->message, sizeof trap->message, "%s", message);
    std::longjmp(trap->jump, 1);
}

// Warnings (a damaged ancillary chunk, an unknown one) cost no pixels.
void OnWarning(png_structp, png_const_charp) {}

struct Source {
    const std::uint8_t* data = nullptr;
    std::size_t size = 0, at = 0;
};

void ReadBytes(png_structp png, png_bytep out, png_size_t count) {
    auto* source = static_cast<Source*>(png_get_io_ptr(png));
    if (count > source->size - source->at) png_error(png, "the file ends early");
    std::memcpy(out, source->data + source->at, count);
    source->at += count;
}

// What a read keeps across a jump back from an error: nothing in Read's own frame needs
// destroying.
struct ReadJob {
    ErrorTrap trap;
    Source source;
    png_structp png = nullptr;
    png_infop info = nullptr;
    Thumbnail result;
    std::vector<png_bytep> rows;
};

bool Allocate(ReadJob& job, int width, int height) {
    try {
        job.result.rgba.resize(std::size_t(width) * std::size_t(height) * 4);
        job.rows.resize(std::size_t(height));
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

bool KeepText(ReadJob& job) {
    png_textp text = nullptr;
    int count = png_get_text(job.png, job.info, &text, nullptr);
    try {
        for (int i = 0; i < count; ++i)
            job.result.text.emplace_back(text[i].key, text[i].text != nullptr ? text[i].text : "");
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

bool Read(ReadJob& job) {
    job.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &job.trap, OnError, OnWarning);
    if (job.png == nullptr) return false;
    job.info = png_create_info_struct(job.png);
    if (job.info == nullptr) {
        png_destroy_read_struct(&job.png, nullptr, nullptr);
        return false;
    }
    if (setjmp(job.trap.jump) != 0) {
        png_destroy_read_struct(&job.png, &job.info, nullptr);
        return false;
    }
    png_set_read_fn(job.png, &job.source, ReadBytes);
    png_set_user_limits(job.png, THUMBNAIL_MAX_SIDE, THUMBNAIL_MAX_SIDE);
    png_set_chunk_malloc_max(job.png, MAX_CHUNK_BYTES);
    png_read_info(job.png, job.info);
    // Every form becomes 8-bit R, G, B, A.
    png_set_expand(job.png);
    png_set_scale_16(job.png);
    png_set_gray_to_rgb(job.png);
    png_set_add_alpha(job.png, 0xFF, PNG_FILLER_AFTER);
    png_set_interlace_handling(job.png);
    png_read_update_info(job.png, job.info);
    int width = int(png_get_image_width(job.png, job.info));
    int height = int(png_get_image_height(job.png, job.info));
    if (png_get_rowbytes(job.png, job.info) != std::size_t(width) * 4)
        png_error(job.png, "an unexpected pixel layout");
    Thumbnail& t = job.result;
    // No jump may leave a handler, so the failure is raised once out of it.
    if (!Allocate(job, width, height)) png_error(job.png, "out of memory");
    for (int y = 0; y < height; ++y)
        job.rows[std::size_t(y)] = &t.rgba[std::size_t(height - 1 - y) * std::size_t(width) * 4];
    png_read_image(job.png, job.rows.data());
    png_read_end(job.png, job.info);  // text chunks may follow the pixels
    if (!KeepText(job)) png_error(job.png, "out of memory");
    png_destroy_read_struct(&job.png, &job.info, nullptr);
    t.width = width;
    t.height = height;
    return true;
}

// What a write keeps across a jump back from an error.
struct WriteJob {
    ErrorTrap trap;
    png_structp png = nullptr;
    png_infop info = nullptr;
    std::vector<std::uint8_t>* out = nullptr;
    std::vector<png_text> text;
    std::vector<png_bytep> rows;
};

bool Append(std::vector<std::uint8_t>& out, const png_bytep data, png_size_t count) {
    try {
        out.insert(out.end(), data, data + count);
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

void WriteBytes(png_structp png, png_bytep data, png_size_t count) {
    auto* job = static_cast<WriteJob*>(png_get_io_ptr(png));
    if (!Append(*job->out, data, count)) png_error(png, "out of memory");
}

void Flush(png_structp) {}

bool Write(WriteJob& job, const Thumbnail& t) {
    job.png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &job.trap, OnError, OnWarning);
    if (job.png == nullptr) return false;
    job.info = png_create_info_struct(job.png);
    if (job.info == nullptr) {
        png_destroy_write_struct(&job.png, nullptr);
        return false;
    }
    if (setjmp(job.trap.jump) != 0) {
        png_destroy_write_struct(&job.png, &job.info);
        return false;
    }
    png_set_write_fn(job.png, &job, WriteBytes, Flush);
    png_set_IHDR(job.png, job.info, png_uint_32(t.width), png_uint_32(t.height), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    // The fastest compression: a first visit writes a page of these, and they stay small.
    png_set_compression_level(job.png, 1);
    png_set_text(job.png, job.info, job.text.data(), int(job.text.size()));
    png_write_info(job.png, job.info);
    png_set_filler(job.png, 0, PNG_FILLER_AFTER);  // the A of each pixel is not written
    png_write_image(job.png, job.rows.data());
    png_write_end(job.png, nullptr);
    png_destroy_write_struct(&job.png, &job.info);
    return true;
}

// Whether every chunk the file declares fits in it. libpng takes the memory for a text chunk
// as its length says before reading it, so a few bytes could otherwise ask for gigabytes.
// Whatever follows the end chunk is never read.
bool ChunksFit(const std::uint8_t* data, std::size_t size) {
    std::size_t at = 8;
    while (size - at >= 8) {
        std::size_t length = std::size_t(data[at]) << 24 | std::size_t(data[at + 1]) << 16 |
                             std::size_t(data[at + 2]) << 8 | data[at + 3];
        if (size - at < 12 || length > size - at - 12) return false;
        if (std::memcmp(data + at + 4, "IEND", 4) == 0) return true;
        at += 12 + length;
    }
    return true;
}

}  // namespace

bool DecodeThumbnailPng(const std::uint8_t* data, std::size_t size, Thumbnail& out,
                        std::string& why) {
    if (size < 8 || png_sig_cmp(data, 0, 8) != 0) {
        why = "not a PNG file";
        return false;
    }
    if (!ChunksFit(data, size)) {
        why = "the file ends early";
        return false;
    }
    try {
        auto job = std::make_unique<ReadJob>();
        job->source.data = data;
        job->source.size = size;
        if (!Read(*job)) {
            why = job->trap.message[0] != '\0' ? job->trap.message : "libpng failed";
            return false;
        }
        // A transparent pixel shows what lies under it: the cell's black.
        std::uint8_t* p = job->result.rgba.data();
        for (std::size_t i = 0; i < job->result.rgba.size(); i += 4) {
            unsigned a = p[i + 3];
            for (int c = 0; c < 3; ++c) p[i + c] = std::uint8_t((p[i + c] * a + 127) / 255);
            p[i + 3] = 255;
        }
        out = std::move(job->result);
        return true;
    } catch (const std::bad_alloc&) {
        why = "out of memory";
        return false;
    }
}

ThumbnailRead ReadThumbnailFile(const std::string& path, Thumbnail& out, std::string& why) {
    std::error_code error;
    auto status = std::filesystem::status(path, error);
    if (!std::filesystem::exists(status)) return ThumbnailRead::Absent;
    // A pipe or a device would be waited on, perhaps for ever.
    if (!std::filesystem::is_regular_file(status)) {
        why = "not a plain file";
        return ThumbnailRead::Unreadable;
    }
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"),
                                                         std::fclose);
    if (file == nullptr) {
        why = std::error_code(errno, std::generic_category()).message();
        return ThumbnailRead::Unreadable;
    }
    std::vector<std::uint8_t> bytes;
    try {
        std::uint8_t chunk[64 * 1024];
        std::size_t got;
        while ((got = std::fread(chunk, 1, sizeof chunk, file.get())) > 0) {
            if (bytes.size() + got > MAX_FILE_BYTES) {
                why = "larger than any thumbnail";
                return ThumbnailRead::Unreadable;
            }
            bytes.insert(bytes.end(), chunk, chunk + got);
        }
    } catch (const std::bad_alloc&) {
        why = "out of memory";
        return ThumbnailRead::Unreadable;
    }
    if (std::ferror(file.get())) {
        why = "a read error";
        return ThumbnailRead::Unreadable;
    }
    return DecodeThumbnailPng(bytes.data(), bytes.size(), out, why) ? ThumbnailRead::Read
                                                                    : ThumbnailRead::Unreadable;
}

bool EncodeThumbnailPng(const Thumbnail& thumbnail, std::vector<std::uint8_t>& png) {
    const Thumbnail& t = thumbnail;
    if (t.width <= 0 || t.height <= 0 || t.width > THUMBNAIL_MAX_SIDE ||
        t.height > THUMBNAIL_MAX_SIDE || t.rgba.size() != std::size_t(t.width) * t.height * 4)
        return false;
    try {
        auto job = std::make_unique<WriteJob>();
        for (const auto& [key, value] : t.text) {
            png_text chunk{};
            chunk.compression = PNG_TEXT_COMPRESSION_NONE;
            chunk.key = const_cast<char*>(key.c_str());
            chunk.text = const_cast<char*>(value.c_str());
            chunk.text_length = value.size();
            job->text.push_back(chunk);
        }
        // PNG rows run from the top; ours from the bottom.
        job->rows.resize(std::size_t(t.height));
        for (int y = 0; y < t.height; ++y)
            job->rows[std::size_t(y)] = const_cast<png_bytep>(
                &t.rgba[std::size_t(t.height - 1 - y) * std::size_t(t.width) * 4]);
        std::vector<std::uint8_t> bytes;
        job->out = &bytes;
        if (!Write(*job, t)) return false;
        png = std::move(bytes);
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

}  // namespace platform
