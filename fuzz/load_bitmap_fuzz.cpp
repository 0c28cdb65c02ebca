// The game's BMP reader on hostile files: whatever the header claims, the slot ends either
// as it was (a refused header), with the header's size and no pixels (a file cut short), or
// holding exactly width x height x 3 bytes.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "fuzz_support.h"
#include "quentaro.h"

namespace {

constexpr int SLOT = 2;

void Require(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string path = ScratchFolder() + "/picture.bmp";
    if (ImageSlots == nullptr) {
        SLOT_COUNT = 4;
        CreateImageSlots();
    }
    if (!WriteWholeFile(path, data, size)) return 0;

    // A picture already in the slot, which a refused file must leave alone.
    ImageSlot& slot = ImageSlots[SLOT];
    std::free(slot.pixels);
    slot.pixels = static_cast<std::uint8_t*>(std::malloc(3));
    std::memset(slot.pixels, 0x5A, 3);
    slot.width = slot.height = 1;
    slot.channels = 3;
    const std::uint8_t* before = slot.pixels;

    bool ok = LoadBitmap(path.c_str(), SLOT);
    if (ok) {
        Require(slot.pixels != nullptr && slot.width > 0 && slot.height > 0 && slot.channels == 3);
        // Every byte of the picture is readable: the sanitizer checks the allocation's end.
        std::size_t bytes = std::size_t(slot.width) * std::size_t(slot.height) * 3;
        volatile std::uint8_t last = slot.pixels[bytes - 1];
        (void)last;
    } else if (slot.pixels != nullptr) {
        Require(slot.pixels == before && slot.width == 1 && slot.height == 1 &&
                slot.pixels[0] == 0x5A);
    }
    Require(!LoadBitmap(path.c_str(), -1) && !LoadBitmap(path.c_str(), 4));
    return 0;
}
