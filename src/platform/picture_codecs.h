// The picture decoders behind DecodePicture and the portable pieces every decoder shares:
// reading a JPEG's camera orientation and completeness from its markers, and laying decoded
// rows out upright. A backend that decodes through its system's picture service feeds that
// service's rows through UprightRows with the orientation from JpegOrientation. Private to
// the platform layer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "platform/platform.h"

namespace platform {

// BMP: 1, 4, 8, 16, 24 and 32 bits per pixel, uncompressed or with colour masks, rows
// stored either way up. Compressed (RLE) files are refused. Sizes are checked against the
// file before a pixel is written.
bool DecodeBmp(const std::uint8_t* data, std::size_t size, const DecodeRequest& request,
               Picture& out);

// JPEG from an open file positioned at its start, streamed (the file is never held whole).
bool DecodeJpeg(std::FILE* file, const DecodeRequest& request, Picture& out);

// The EXIF orientation (1 to 8) in the payload of an APP1 segment (what follows its length
// bytes, starting "Exif\0\0"); 1 when there is none or the data is not sound.
int ExifOrientation(const std::uint8_t* app1, std::size_t size);
// The orientation a JPEG file's first EXIF segment gives (1 when none), from the file's
// bytes or any head of them that holds its segments before the picture data.
int JpegOrientation(const std::uint8_t* data, std::size_t size);

// Follows a JPEG's markers through bytes fed in pieces, to tell whether the file reaches
// its end marker.
class JpegEndScan {
  public:
    void Feed(const std::uint8_t* data, std::size_t size);
    bool Complete() const { return state_ == State::End; }
    bool Failed() const { return state_ == State::Bad; }

  private:
    enum class State { Start0, Start1, Data, Marker, Length0, Length1, Skip, End, Bad };
    State state_ = State::Start0;
    std::uint32_t skip_ = 0;
};

// Lays out the rows of a decoded picture, given as the file stores them (top row first),
// where an upright picture keeps them: bottom row first, turned or mirrored as its
// orientation says, in the request's pixel order with its colour key. A decoder asks Rows
// for the places of a strip of up to STRIP_ROWS stored rows, writes the pixels there in the
// request's order (A or X 255), and calls Done for that strip.
class UprightRows {
  public:
    static constexpr int STRIP_ROWS = 16;

    // `block` must hold width x height pixels. `orientation` outside 1..8 counts as 1.
    void Start(const DecodeRequest& request, std::uint8_t* block, int width, int height,
               int orientation);
    // The picture's size once upright: sides swapped for orientations 5 to 8.
    int UprightWidth() const { return turned_ ? height_ : width_; }
    int UprightHeight() const { return turned_ ? width_ : height_; }
    void Rows(int first, int count, std::uint8_t** rows);
    void Done(int first, int count);

  private:
    std::uint8_t* Row(int uprightRowFromTop) const;

    const DecodeRequest* request_ = nullptr;
    std::uint8_t* block_ = nullptr;
    int width_ = 0, height_ = 0, orientation_ = 1;
    bool turned_ = false;
    std::vector<std::uint8_t> strip_;  // stored rows of a turned picture, before they move
};

}  // namespace platform
