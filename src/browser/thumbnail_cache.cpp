// The desktop's shared thumbnail cache (freedesktop.org) as the thumbnail page keeps it: a
// picture's thumbnail is <root>/<size folder>/<MD5 of its file:// URI>.png and holds while its
// Thumb::URI and Thumb::MTime (and Thumb::Size, where given) still match the file; pictures that
// did not decode are recorded the same way under fail/quentaro-<version>/. The thumbnail page
// (views.cpp) looks up and stores; the file work is the platform's.
#include "browser/thumbnail_cache.h"

#include <algorithm>
#include <cstdio>
#include <deque>
#include <set>

std::string ThumbnailCacheRoot;

namespace {

struct SizeFolder {
    const char* name;
    int pixels;
};
constexpr SizeFolder SIZE_FOLDERS[] = {
    {"normal", 128}, {"large", 256}, {"x-large", 512}, {"xx-large", 1024}};

const std::string* TextOf(const platform::Thumbnail& t, const char* key) {
    for (const auto& [k, v] : t.text)
        if (k == key) return &v;
    return nullptr;
}

// Whether `text` is the decimal form of `value`, as the desktop writes file times and sizes.
bool SameNumber(const std::string* text, long long value) {
    return text != nullptr && *text == std::to_string(value);
}

bool Holds(const platform::Thumbnail& t, const CacheEntry& entry) {
    const std::string* uri = TextOf(t, "Thumb::URI");
    const std::string* size = TextOf(t, "Thumb::Size");
    return uri != nullptr && *uri == entry.uri &&
           SameNumber(TextOf(t, "Thumb::MTime"), entry.modifiedSeconds) &&
           (size == nullptr || SameNumber(size, entry.bytes));
}

// Reads the cache file `path`; true when it is there, readable and still holds.
bool ReadHolding(const std::string& path, const CacheEntry& entry, platform::Thumbnail& t,
                 std::string& note) {
    std::string why;
    switch (platform::ReadThumbnailFile(path, t, why)) {
    case platform::ThumbnailRead::Read:
        return Holds(t, entry);
    case platform::ThumbnailRead::Unreadable:
        note = "the thumbnail " + path + " cannot be read (" + why + "); decoding the picture";
        return false;
    case platform::ThumbnailRead::Absent:
        break;
    }
    return false;
}

void Label(const CacheEntry& entry, platform::Thumbnail& t) {
    t.text = {{"Thumb::URI", entry.uri},
              {"Thumb::MTime", std::to_string(entry.modifiedSeconds)},
              {"Thumb::Size", std::to_string(entry.bytes)},
              {"Software", "quentaro " QUENTARO_VERSION}};
}

constexpr std::size_t MAX_PENDING = 256;
std::deque<PendingThumbnail> Pending;

}  // namespace

CacheEntry FindCacheEntry(const std::string& path, long long bytes, long long modifiedNs,
                          int cellWidth) {
    CacheEntry entry;
    if (ThumbnailCacheRoot.empty()) return entry;
    const SizeFolder* folder = nullptr;
    for (const SizeFolder& f : SIZE_FOLDERS)
        if (f.pixels >= cellWidth) {
            folder = &f;
            break;
        }
    std::string uri = platform::FileUri(path);
    std::string name = uri.empty() ? "" : platform::Md5Hex(uri);
    if (folder == nullptr || name.size() != 32) return entry;
    const std::string separator(1, platform::PathSeparator());
    entry.size = folder->pixels;
    entry.uri = uri;
    entry.thumbnailPath = ThumbnailCacheRoot + separator + folder->name + separator + name + ".png";
    entry.failurePath = ThumbnailCacheRoot + separator + "fail" + separator +
                        "quentaro-" QUENTARO_VERSION + separator + name + ".png";
    entry.bytes = bytes;
    // Whole seconds, rounded down also before 1970.
    long long seconds = modifiedNs / 1000000000LL;
    if (modifiedNs % 1000000000LL < 0) seconds -= 1;
    entry.modifiedSeconds = seconds;
    return entry;
}

CacheAnswer LookUpThumbnail(const CacheEntry& entry, platform::Thumbnail& thumbnail,
                            std::string& note) {
    if (entry.size == 0) return CacheAnswer::Miss;
    if (ReadHolding(entry.thumbnailPath, entry, thumbnail, note)) return CacheAnswer::Thumbnail;
    platform::Thumbnail failure;
    std::string failureNote;
    if (ReadHolding(entry.failurePath, entry, failure, failureNote)) return CacheAnswer::Failed;
    if (note.empty()) note = failureNote;
    return CacheAnswer::Miss;
}

PendingThumbnail ThumbnailOf(const CacheEntry& entry, const std::uint8_t* pixels, int red,
                             int width, int height) {
    PendingThumbnail pending;
    if (entry.size == 0 || width <= 0 || height <= 0) return pending;
    pending.path = entry.thumbnailPath;
    pending.thumbnail = ReducePicture(pixels, red, width, height, entry.size);
    Label(entry, pending.thumbnail);
    return pending;
}

PendingThumbnail FailureOf(const CacheEntry& entry) {
    PendingThumbnail pending;
    if (entry.size == 0) return pending;
    pending.path = entry.failurePath;
    pending.thumbnail.width = pending.thumbnail.height = 1;
    pending.thumbnail.rgba = {0, 0, 0, 255};
    Label(entry, pending.thumbnail);
    return pending;
}

void QueueThumbnail(PendingThumbnail&& pending) {
    if (!pending.path.empty() && Pending.size() < MAX_PENDING)
        Pending.push_back(std::move(pending));
}

int WritePendingThumbnail() {
    if (ThumbnailCacheRoot.empty()) Pending.clear();
    if (Pending.empty()) return 0;
    PendingThumbnail pending = std::move(Pending.front());
    Pending.pop_front();
    std::vector<std::uint8_t> png;
    std::string why = "the thumbnail could not be encoded";
    if (!platform::EncodeThumbnailPng(pending.thumbnail, png) ||
        !platform::WritePrivateFile(pending.path, png.data(), png.size(), why))
        // The same words for every file of a cache that cannot be written: said once.
        SayCacheNoteOnce("cannot keep thumbnails in " + ThumbnailCacheRoot + ": " + why);
    return int(Pending.size());
}

void SayCacheNoteOnce(const std::string& note) {
    static std::set<std::string> said;
    if (note.empty() || !said.insert(note).second) return;
    std::fprintf(stderr, "quentaro: %s\n", note.c_str());
}

platform::Thumbnail ReducePicture(const std::uint8_t* pixels, int red, int width, int height,
                                  int size) {
    platform::Thumbnail t;
    int big = std::max(width, height);
    t.width = width;
    t.height = height;
    if (big > size) {
        t.width = std::max(1, int((static_cast<long long>(width) * size + big / 2) / big));
        t.height = std::max(1, int((static_cast<long long>(height) * size + big / 2) / big));
    }
    t.rgba.resize(std::size_t(t.width) * std::size_t(t.height) * 4);
    std::uint8_t* out = t.rgba.data();
    // A large picture reduced to a thumbnail covers hundreds of pixels with each: an even grid
    // of them gives the same mean within a level or two, at a fraction of the reading.
    long long stride = std::max(1, std::min(width / t.width, height / t.height) / 4);
    for (int y = 0; y < t.height; ++y) {
        long long y0 = static_cast<long long>(y) * height / t.height;
        long long y1 = static_cast<long long>(y + 1) * height / t.height;
        for (int x = 0; x < t.width; ++x, out += 4) {
            long long x0 = static_cast<long long>(x) * width / t.width;
            long long x1 = static_cast<long long>(x + 1) * width / t.width;
            std::uint64_t sum[3] = {0, 0, 0}, n = 0;
            for (long long sy = y0; sy < y1; sy += stride) {
                const std::uint8_t* p = pixels + (std::size_t(sy) * std::size_t(width) + x0) * 4;
                for (long long sx = x0; sx < x1; sx += stride, p += 4 * stride, ++n) {
                    sum[0] += p[red];
                    sum[1] += p[1];
                    sum[2] += p[2 - red];
                }
            }
            for (int c = 0; c < 3; ++c) out[c] = std::uint8_t((sum[c] + n / 2) / n);
            out[3] = 255;
        }
    }
    return t;
}
