// What the program reads from a JPEG's markers itself, with no decoder involved: the camera
// orientation in the EXIF segment, and whether the file reaches its end marker. Both take
// untrusted bytes: every offset is checked against the bytes given before it is followed.
#include <cstring>

#include "platform/picture_codecs.h"

namespace platform {

namespace {

constexpr std::uint8_t MARKER_SOI = 0xD8, MARKER_EOI = 0xD9, MARKER_SOS = 0xDA, MARKER_APP1 = 0xE1,
                       MARKER_TEM = 0x01;
constexpr std::uint16_t TAG_ORIENTATION = 0x0112;
constexpr std::uint16_t TYPE_SHORT = 3, TYPE_LONG = 4;

bool Standalone(std::uint8_t marker) {
    return marker == MARKER_TEM || (marker >= 0xD0 && marker <= 0xD7);  // restart markers
}

// Reads the TIFF structure's numbers in its own byte order.
struct TiffReader {
    const std::uint8_t* data;
    bool little;
    std::uint32_t U16(std::size_t at) const {
        return little ? std::uint32_t(data[at]) | std::uint32_t(data[at + 1]) << 8
                      : std::uint32_t(data[at]) << 8 | std::uint32_t(data[at + 1]);
    }
    std::uint32_t U32(std::size_t at) const {
        return little ? U16(at) | U16(at + 2) << 16 : U16(at) << 16 | U16(at + 2);
    }
};

}  // namespace

int ExifOrientation(const std::uint8_t* app1, std::size_t size) {
    constexpr std::size_t HEADER = 6;  // "Exif\0\0"
    if (app1 == nullptr || size < HEADER + 8 || std::memcmp(app1, "Exif\0\0", HEADER) != 0)
        return 1;
    const std::uint8_t* tiff = app1 + HEADER;
    std::size_t n = size - HEADER;
    TiffReader r{tiff, tiff[0] == 'I'};
    if (!((tiff[0] == 'I' && tiff[1] == 'I') || (tiff[0] == 'M' && tiff[1] == 'M'))) return 1;
    if (r.U16(2) != 42) return 1;
    std::uint32_t ifd = r.U32(4);
    if (ifd > n || n - ifd < 2) return 1;
    std::uint32_t count = r.U16(ifd);
    for (std::uint32_t i = 0; i < count; ++i) {
        std::size_t entry = std::size_t(ifd) + 2 + 12 * std::size_t(i);
        if (entry > n || n - entry < 12) return 1;
        if (r.U16(entry) != TAG_ORIENTATION) continue;
        std::uint32_t type = r.U16(entry + 2), values = r.U32(entry + 4);
        if (values < 1) return 1;
        std::uint32_t value = type == TYPE_SHORT  ? r.U16(entry + 8)
                              : type == TYPE_LONG ? r.U32(entry + 8)
                                                  : 0;
        return value >= 1 && value <= 8 ? int(value) : 1;
    }
    return 1;
}

int JpegOrientation(const std::uint8_t* data, std::size_t size) {
    if (data == nullptr || size < 4 || data[0] != 0xFF || data[1] != MARKER_SOI) return 1;
    std::size_t at = 2;
    while (at + 4 <= size) {
        if (data[at] != 0xFF) return 1;
        std::uint8_t marker = data[at + 1];
        if (marker == 0xFF) {  // fill byte before a marker
            at += 1;
            continue;
        }
        if (Standalone(marker)) {
            at += 2;
            continue;
        }
        if (marker == MARKER_SOS || marker == MARKER_EOI || marker == MARKER_SOI) return 1;
        std::size_t length = std::size_t(data[at + 2]) << 8 | data[at + 3];
        if (length < 2 || length > size - at - 2) return 1;
        const std::uint8_t* payload = data + at + 4;
        if (marker == MARKER_APP1 && length - 2 >= 6 && std::memcmp(payload, "Exif\0\0", 6) == 0)
            return ExifOrientation(payload, length - 2);
        at += 2 + length;
    }
    return 1;
}

void JpegEndScan::Feed(const std::uint8_t* data, std::size_t size) {
    const std::uint8_t* end = data + size;
    while (data < end && state_ != State::End && state_ != State::Bad) {
        switch (state_) {
        case State::Start0:
            state_ = *data++ == 0xFF ? State::Start1 : State::Bad;
            break;
        case State::Start1:
            state_ = *data++ == MARKER_SOI ? State::Data : State::Bad;
            break;
        case State::Data: {
            // Picture data (or bytes between segments): only 0xFF can start a marker.
            const void* ff = std::memchr(data, 0xFF, std::size_t(end - data));
            if (ff == nullptr) {
                data = end;
            } else {
                data = static_cast<const std::uint8_t*>(ff) + 1;
                state_ = State::Marker;
            }
            break;
        }
        case State::Marker: {
            std::uint8_t marker = *data++;
            if (marker == 0xFF) break;  // fill
            if (marker == 0x00 || Standalone(marker))
                state_ = State::Data;  // a stuffed 0xFF or a restart inside the picture data
            else if (marker == MARKER_EOI)
                state_ = State::End;
            else if (marker == MARKER_SOI)
                state_ = State::Bad;
            else
                state_ = State::Length0;
            break;
        }
        case State::Length0:
            skip_ = std::uint32_t(*data++) << 8;
            state_ = State::Length1;
            break;
        case State::Length1:
            skip_ |= *data++;
            if (skip_ < 2) {
                state_ = State::Bad;
            } else {
                skip_ -= 2;
                state_ = skip_ > 0 ? State::Skip : State::Data;
            }
            break;
        case State::Skip: {
            std::size_t take = std::size_t(end - data) < skip_ ? std::size_t(end - data) : skip_;
            data += take;
            skip_ -= std::uint32_t(take);
            if (skip_ == 0) state_ = State::Data;
            break;
        }
        case State::End:
        case State::Bad:
            break;
        }
    }
}

}  // namespace platform
