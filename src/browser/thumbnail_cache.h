// The desktop's shared thumbnail cache (freedesktop.org) as the thumbnail page keeps it: which
// thumbnail a picture has, whether it still holds, and what is written after a decode.
#pragma once

#include <cstdint>
#include <string>

#include "platform/platform.h"

// The cache's folder; "" keeps no thumbnails. StartUp sets it from the desktop's settings.
extern std::string ThumbnailCacheRoot;

// A picture's place in the cache. `size` is 0 when it has none (no cache, a cell larger than
// the largest thumbnails, a path that is no local file); the rest is then empty.
struct CacheEntry {
    int size = 0;  // the long side of the thumbnails of its size folder
    std::string uri, thumbnailPath, failurePath;
    long long bytes = 0, modifiedSeconds = 0;
};

// The entry of the picture at the absolute `path` with the file stamp given, for cells of
// `cellWidth`: thumbnails from the smallest size folder whose thumbnails are at least as big.
CacheEntry FindCacheEntry(const std::string& path, long long bytes, long long modifiedNs,
                          int cellWidth);

enum class CacheAnswer {
    Miss,       // no thumbnail that holds: decode, then store what came of it
    Thumbnail,  // `thumbnail` is the picture
    Failed,     // the picture failed to decode before, and has not changed since
};
// Looks the entry up. A thumbnail file that cannot be read is a miss, with `note` saying so.
// Safe on several threads at once.
CacheAnswer LookUpThumbnail(const CacheEntry& entry, platform::Thumbnail& thumbnail,
                            std::string& note);

// A thumbnail waiting to be written into the cache.
struct PendingThumbnail {
    std::string path;
    platform::Thumbnail thumbnail;
};
// After a decode: the picture's thumbnail, reduced from its decoded `pixels` (4 bytes a pixel,
// red at byte `red`, blue at 2 - red, rows bottom-up) of the picture's upright shape. Its path
// is "" when the entry has no place in the cache. Safe on several threads at once.
PendingThumbnail ThumbnailOf(const CacheEntry& entry, const std::uint8_t* pixels, int red,
                             int width, int height);
// After a failed decode: the record that keeps the picture from being decoded again until it
// changes.
PendingThumbnail FailureOf(const CacheEntry& entry);

// Thumbnails are written after their page is on screen, one an idle pass, because compressing
// a page of them costs more than a tenth of its decoding. At most 256 wait; more are made again
// on a later visit.
void QueueThumbnail(PendingThumbnail&& pending);
// Writes the thumbnail that has waited longest and returns how many still wait. A cache that
// cannot be written is said once on standard error; with no cache, all that waits is dropped.
int WritePendingThumbnail();

// Writes `note` to standard error, unless it has been said before in this run: a cache that
// cannot be written would otherwise say so on every page.
void SayCacheNoteOnce(const std::string& note);

// The picture reduced to fit a square of `size` (4 bytes a pixel as for ThumbnailOf): its long
// side `size` unless it is smaller, each pixel the mean of those it covers (of an even grid of
// at least 4 x 4 of them, where it covers more). A = 255.
platform::Thumbnail ReducePicture(const std::uint8_t* pixels, int red, int width, int height,
                                  int size);
