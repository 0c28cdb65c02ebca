// The image loader (to be written).
#include "browser/texture_loader.h"

#include <cstdlib>

TextureLoader Loader;
ImageInfo LoaderInfo;
std::uint8_t* ImageStore = nullptr;

TextureLoader::TextureLoader()
    : loadCount(0), supported(0), pixels(nullptr), width(0), height(0), zoomStep(0),
      panFactor(0), overlayOn(0), colourKeyOn(1), keyColour{0, 0, 0} {}
TextureLoader::~TextureLoader() = default;

void AllocateImageStore() {
    if (ImageStore) return;  // once per process
    ImageStore = static_cast<std::uint8_t*>(std::calloc(IMAGE_STORE_BYTES, 1));
}
