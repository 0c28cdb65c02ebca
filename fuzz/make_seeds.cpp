// Writes the seed corpora of the harnesses: small valid and nearly valid inputs of every
// kind each reader meets, from which the fuzzers mutate. Run by scripts/make_fuzz_corpora.sh
// with the corpus folder as its argument; the output is the same on every run.
#include <png.h>

#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/virtual_keys.h"

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

namespace {

fs::path corpus;

void Save(const std::string& harness, const std::string& name, const Bytes& bytes) {
    fs::create_directories(corpus / harness);
    std::FILE* file = std::fopen((corpus / harness / name).c_str(), "wb");
    if (file == nullptr) return;
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
}

void Put16(Bytes& b, std::size_t at, std::uint32_t v) {
    b[at] = std::uint8_t(v), b[at + 1] = std::uint8_t(v >> 8);
}
void Put32(Bytes& b, std::size_t at, std::uint32_t v) {
    Put16(b, at, v & 0xFFFF), Put16(b, at + 2, v >> 16);
}

// A BMP with a 40-byte (or larger) info header, `extra` bytes of palette or masks after
// it, and rows of `stride` bytes filled with a pattern.
Bytes Bmp(int width, int height, int bits, std::uint32_t compression, const Bytes& extra,
          int infoBytes = 40) {
    int rows = height < 0 ? -height : height;
    std::size_t stride = std::size_t((width * bits + 31) / 32 * 4);
    std::size_t offset = 14 + infoBytes + extra.size();
    Bytes b(offset + stride * rows);
    b[0] = 'B', b[1] = 'M';
    Put32(b, 2, std::uint32_t(b.size()));
    Put32(b, 10, std::uint32_t(offset));
    Put32(b, 14, std::uint32_t(infoBytes));
    Put32(b, 18, std::uint32_t(width));
    Put32(b, 22, std::uint32_t(height));
    Put16(b, 26, 1);
    Put16(b, 28, std::uint32_t(bits));
    Put32(b, 30, compression);
    Put32(b, 34, std::uint32_t(stride * rows));
    for (std::size_t i = 0; i < extra.size(); ++i) b[14 + infoBytes + i] = extra[i];
    for (std::size_t i = offset; i < b.size(); ++i) b[i] = std::uint8_t(i * 37 + (i >> 3));
    return b;
}

Bytes Palette(int entries) {
    Bytes p;
    for (int i = 0; i < entries; ++i)
        p.insert(p.end(),
                 {std::uint8_t(i * 40), std::uint8_t(255 - i * 16), std::uint8_t(i * 7), 0});
    return p;
}

Bytes Masks(std::uint32_t r, std::uint32_t g, std::uint32_t b) {
    Bytes m(12);
    Put32(m, 0, r), Put32(m, 4, g), Put32(m, 8, b);
    return m;
}

void BmpSeeds() {
    Save("bmp", "1bit", Bmp(13, 5, 1, 0, Palette(2)));
    Save("bmp", "4bit_short_palette", Bmp(7, 3, 4, 0, Palette(5)));
    Save("bmp", "8bit_top_down", Bmp(5, -4, 8, 0, Palette(256)));
    Save("bmp", "16bit_555", Bmp(6, 2, 16, 0, {}));
    Save("bmp", "16bit_565_masks", Bmp(3, 3, 16, 3, Masks(0xF800, 0x07E0, 0x001F)));
    Save("bmp", "24bit_odd_width", Bmp(3, 2, 24, 0, {}));
    Save("bmp", "32bit_masks", Bmp(2, 2, 32, 3, Masks(0xFF0000, 0xFF00, 0xFF)));
    Bytes v4 = Bmp(4, 2, 32, 3, {}, 108);
    Put32(v4, 14 + 40, 0xFF00), Put32(v4, 14 + 44, 0xFF0000), Put32(v4, 14 + 48, 0xFF000000);
    Save("bmp", "32bit_v4_header", v4);
    // The 12-byte header of the oldest files: 16-bit sides, 3-byte palette entries.
    Bytes core(14 + 12 + 6 + 8);
    core[0] = 'B', core[1] = 'M';
    Put32(core, 10, 14 + 12 + 6);
    Put32(core, 14, 12);
    Put16(core, 18, 2), Put16(core, 20, 2), Put16(core, 22, 1), Put16(core, 24, 1);
    core[26] = 0xFF, core[30] = 0xFF;
    core[32] = 0x40, core[36] = 0x80;
    Save("bmp", "core_header_1bit", core);
    Bytes cut = Bmp(9, 9, 24, 0, {});
    cut.resize(cut.size() - 10);
    Save("bmp", "24bit_cut_short", cut);
    Save("bmp", "8bit_rle_refused", Bmp(4, 4, 8, 1, Palette(4)));
}

void LoadBitmapSeeds() {
    for (int width : {1, 2, 3, 4, 5})
        Save("load_bitmap", "24bit_width" + std::to_string(width), Bmp(width, 3, 24, 0, {}));
    Bytes gap = Bmp(3, 2, 24, 0, Bytes(10, 0xEE));  // pixels further on than the header
    Save("load_bitmap", "24bit_pixel_offset_gap", gap);
    Bytes lax = Bmp(3, 2, 24, 0, {});
    lax.resize(lax.size() - 3);  // the last row's padding missing
    Save("load_bitmap", "24bit_last_padding_missing", lax);
    Bytes cut = Bmp(8, 8, 24, 0, {});
    cut.resize(100);
    Save("load_bitmap", "24bit_cut_short", cut);
    Save("load_bitmap", "8bit_refused", Bmp(4, 4, 8, 0, Palette(256)));
}

void JpegSeeds(const fs::path& scratch) {
    struct Sample {
        int width, height, orientation;
    };
    const Sample samples[] = {{1, 1, 1},   {8, 8, 1},   {17, 9, 6},
                              {40, 24, 3}, {33, 70, 8}, {16, 16, 2}};
    for (const Sample& s : samples) {
        platform::Picture picture;
        picture.width = s.width, picture.height = s.height;
        picture.bgrx.resize(std::size_t(s.width) * s.height * 4);
        for (std::size_t i = 0; i < picture.bgrx.size(); ++i)
            picture.bgrx[i] = std::uint8_t((i * 13) ^ (i / 4 % std::size_t(s.width)) * 9);
        fs::path file = scratch / "seed.jpg";
        if (!platform::WriteJpegFile(file.c_str(), picture, 80, s.orientation)) continue;
        Bytes bytes(fs::file_size(file));
        std::FILE* in = std::fopen(file.c_str(), "rb");
        if (in == nullptr) continue;
        std::size_t got = std::fread(bytes.data(), 1, bytes.size(), in);
        std::fclose(in);
        bytes.resize(got);
        std::string name = std::to_string(s.width) + "x" + std::to_string(s.height) +
                           "_orientation" + std::to_string(s.orientation);
        Save("jpeg", name, bytes);
        if (s.width == 40) {
            Bytes half(bytes.begin(), bytes.begin() + long(bytes.size() / 2));
            Save("jpeg", name + "_cut_in_half", half);
            Bytes trailing = bytes;
            trailing.insert(trailing.end(), {0x00, 0xFF, 0xD9, 0x12});
            Save("jpeg", name + "_bytes_after_end", trailing);
        }
    }
}

// Thumbnails as the cache's writer and other programs write them: RGB with the cache's text,
// RGBA, 16-bit grey, a palette with transparency, interlaced with compressed and international
// text after the pixels, and one cut short.
Bytes PngOf(int width, int height, png_uint_32 format, const Bytes& pixels) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = png_uint_32(width);
    image.height = png_uint_32(height);
    image.format = format;
    Bytes out(1 << 16);
    png_alloc_size_t size = out.size();
    const Bytes palette = {255, 0, 0, 255, 0, 255, 0, 128, 0, 0, 255, 0};
    bool mapped = (format & PNG_FORMAT_FLAG_COLORMAP) != 0;
    if (mapped) image.colormap_entries = 3;
    png_image_write_to_memory(&image, out.data(), &size, 0, pixels.data(), 0,
                              mapped ? palette.data() : nullptr);
    out.resize(size);
    return out;
}

void PngWrite(png_structp png, png_bytep data, png_size_t count) {
    auto* out = static_cast<Bytes*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + count);
}

Bytes InterlacedWithLateText() {
    Bytes out, row(9 * 3);
    for (std::size_t i = 0; i < row.size(); ++i) row[i] = std::uint8_t(i * 29);
    std::vector<png_bytep> rows(7, row.data());
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png)) != 0) {
        png_destroy_write_struct(&png, &info);
        return {};
    }
    png_set_write_fn(png, &out, PngWrite, nullptr);
    png_set_IHDR(png, info, 9, 7, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_ADAM7,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    png_write_image(png, rows.data());
    png_text text[2] = {};
    text[0].compression = PNG_TEXT_COMPRESSION_zTXt;
    text[0].key = const_cast<char*>("Thumb::URI");
    text[0].text = const_cast<char*>("file:///home/ana/Plage%20%C3%A9t%C3%A9%201.jpg");
    text[1].compression = PNG_ITXT_COMPRESSION_NONE;
    text[1].key = const_cast<char*>("Thumb::MTime");
    text[1].text = const_cast<char*>("1700000000");
    png_set_text(png, info, text, 2);
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return out;
}

void ThumbnailSeeds() {
    platform::Thumbnail t;
    t.width = 4;
    t.height = 3;
    for (int i = 0; i < 12; ++i) t.rgba.insert(t.rgba.end(), {std::uint8_t(i * 20), 9, 99, 255});
    t.text = {{"Thumb::URI", "file:///home/ana/a%20b.jpg"},
              {"Thumb::MTime", "1700000000"},
              {"Thumb::Size", "123456"}};
    Bytes ours;
    platform::EncodeThumbnailPng(t, ours);
    Save("thumbnail", "rgb_with_cache_text", ours);
    Save("thumbnail", "rgb_cut_short", Bytes(ours.begin(), ours.begin() + long(ours.size() / 2)));
    Bytes rgba;
    for (int i = 0; i < 6; ++i) rgba.insert(rgba.end(), {200, std::uint8_t(i * 40), 50, 128});
    Save("thumbnail", "rgba", PngOf(3, 2, PNG_FORMAT_RGBA, rgba));
    Save("thumbnail", "grey_16bit", PngOf(2, 2, PNG_FORMAT_LINEAR_Y, Bytes(8, 0x5A)));
    Save("thumbnail", "palette_transparent", PngOf(3, 1, PNG_FORMAT_RGBA_COLORMAP, Bytes{0, 1, 2}));
    Save("thumbnail", "interlaced_late_text", InterlacedWithLateText());
}

void OverworldSeeds() {
    // First byte: grid side - 1 in its low 6 bits, 0x40 for a folder in the file's place,
    // 0x80 for map number 1.
    for (int side : {1, 4, 16}) {
        Bytes whole(1 + std::size_t(side) * side);
        whole[0] = std::uint8_t(side - 1);
        for (std::size_t i = 1; i < whole.size(); ++i) whole[i] = std::uint8_t(i * 7);
        Save("overworld", "exact_side" + std::to_string(side), whole);
        Bytes longer = whole;
        longer.insert(longer.end(), 20, 0x33);
        longer[0] |= 0x80;
        Save("overworld", "longer_side" + std::to_string(side), longer);
    }
    Save("overworld", "short_file", Bytes{15, 1, 2, 3});
    Save("overworld", "folder_in_the_way", Bytes{0x40 | 3, 1, 2, 3});
}

Bytes ConsoleHead(int side, int levels, int x, int y, int level, bool keys) {
    return Bytes{std::uint8_t(side - 1), std::uint8_t(levels - 1), std::uint8_t(x),
                 std::uint8_t(x >> 8),   std::uint8_t(y),          std::uint8_t(y >> 8),
                 std::uint8_t(level),    std::uint8_t(keys)};
}

void ConsoleSeeds() {
    const char* lines[] = {"env4teleport 10 20 3",
                           "corner1",
                           "ENV4GRASS",
                           "screensavertoggle",
                           "env4teleport-5,999999999999\t2",
                           "env4emptyx1 env4emptyy1",
                           "a b c d e f g h i j k l m n o p q r s t u v w x y z",
                           "env4teleport 0 0 0"};
    int k = 0;
    for (const char* line : lines) {
        Bytes b = ConsoleHead(20 + k, 1 + k % 6, 3 * k, 5, k % 4, false);
        b.insert(b.end(), line, line + std::string(line).size());
        Save("console", "line" + std::to_string(k++), b);
    }
    Bytes full = ConsoleHead(39, 8, 39, 39, 7, false);
    full.insert(full.end(), 256, 'x');
    Save("console", "line_without_end", full);
    // Keys: 0..25 letters, 26..35 digits, 36 space, 37 backspace, 38 Enter, 39 Tab; 0x80 Shift.
    auto keyOf = [](char c) -> std::uint8_t {
        if (c >= 'a' && c <= 'z') return std::uint8_t(c - 'a');
        if (c >= 'A' && c <= 'Z') return std::uint8_t(0x80 | (c - 'A'));
        if (c >= '0' && c <= '9') return std::uint8_t(26 + c - '0');
        if (c == '\b') return 37;
        if (c == '\n') return 38;
        return 36;
    };
    const char* typed[] = {"env4teleport 7 8 2\n", "corner1\b1\n\n", "ENV4DIRT\n",
                           "abcdefghijklmnopqrstuvwxyz0123456789\n"};
    k = 0;
    for (const char* text : typed) {
        Bytes b = ConsoleHead(12, 4, 2, 2, 1, true);
        for (const char* c = text; *c; ++c) b.push_back(keyOf(*c));
        Save("console", "keys" + std::to_string(k++), b);
    }
}

void FolderSeeds() {
    // Step bytes: op % 6 is 0 make (0x80: a folder), 1 chain, 2 press, 3 rescan, 4 remove
    // the browsed folder, 5 link. The first byte of an input is even for steps, odd for the
    // path rules.
    auto make = [](Bytes& b, bool folder, const std::string& name) {
        b.push_back(folder ? 0x80 : 0x00);
        b.push_back(std::uint8_t(name.size()));
        b.insert(b.end(), name.begin(), name.end());
    };
    Bytes walk{0};
    make(walk, true, "sub");
    make(walk, false, "picture.jpg");
    make(walk, true, std::string("caf\xc3\xa9 \xff\xfe", 9));
    walk.insert(walk.end(), {3, 2, 2, 2, 3, 2, 0, 3});  // rescan, enter "sub", "..", ...
    Save("folder", "make_and_enter", walk);

    Bytes longNames{0};
    make(longNames, true, std::string(255, 'L'));
    make(longNames, false, std::string(254, 'F'));
    make(longNames, true, "a/b");
    make(longNames, true, "..");
    longNames.insert(longNames.end(), {3, 2, 2, 2, 3});
    Save("folder", "longest_names", longNames);

    // 24 folders of 201 bytes each, then a rescan and presses to enter them.
    Bytes deep{0, 1, 23, 200, 'd', 3, 2, 2, 2, 2, 2, 2};
    for (int i = 0; i < 6; ++i) deep.insert(deep.end(), {2, 2});
    Save("folder", "deeper_than_a_path", deep);

    Bytes removed{0};
    make(removed, true, "gone");
    removed.insert(removed.end(), {3, 2, 2, 4, 3, 2, 0});
    Save("folder", "browsed_folder_removed", removed);

    Bytes links{0,   5,   3,   'u', 'p', '!', 1,   5,   4, 'l', 'o', 'o', 'p', 2, 5, 3,
                'o', 'f', 'f', 3,   5,   2,   'h', 'i', 0, 3,   2,   2,   2,   3, 2, 4};
    Save("folder", "links", links);

    for (int length : {259, 260, 261}) {
        Bytes rules{1};
        std::string folder = "/home/user";
        rules.push_back(std::uint8_t(folder.size()));
        rules.insert(rules.end(), folder.begin(), folder.end());
        rules.push_back(std::uint8_t(length - 255)), rules.push_back(255);
        for (int i = 0; i < length; ++i) rules.push_back(std::uint8_t(i % 3 == 0 ? 0xC3 : 'n'));
        std::string win = "C:\\music\\";
        rules.push_back(std::uint8_t(win.size()));
        rules.insert(rules.end(), win.begin(), win.end());
        rules.insert(rules.end(), {4, 0, 'a', '\\', 'b', 'c'});
        rules.insert(rules.end(),
                     {2, 'e', 0xCC, 0x81, 'z', 'x', 3, 'E', 'x', 'y', 'z', 'q', 0xFF, 'r'});
        Save("folder", "rules_" + std::to_string(length), rules);
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s CORPUS_FOLDER\n", argv[0]);
        return 2;
    }
    corpus = argv[1];
    fs::path scratch = fs::temp_directory_path() / "quentaro_seeds";
    fs::create_directories(scratch);
    BmpSeeds();
    LoadBitmapSeeds();
    JpegSeeds(scratch);
    OverworldSeeds();
    ConsoleSeeds();
    FolderSeeds();
    ThumbnailSeeds();
    fs::remove_all(scratch);
    return 0;
}
