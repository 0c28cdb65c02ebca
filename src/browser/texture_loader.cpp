// The image loader: the one TextureLoader, the one ImageInfo record and the ImageStore.
// It classifies a file by its extension and decodes a BMP or JPEG file straight into the store
// as R, G, B, A pixels, upright, bottom row first, with black made transparent. The browser's
// views and clicks call it.
#include "browser/texture_loader.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/platform.h"

TextureLoader Loader;
ImageInfo LoaderInfo;
std::uint8_t* ImageStore = nullptr;

TextureLoader::TextureLoader()
    : loadCount(0), supported(0), pixels(nullptr), width(0), height(0), zoomStep(0), panFactor(0),
      overlayOn(0), colourKeyOn(1), keyColour{0, 0, 0} {}

// Destruction at process exit only resets the object: the ImageStore is the system's to reclaim.
TextureLoader::~TextureLoader() {
    loadCount = supported = width = height = panFactor = overlayOn = 0;
    pixels = nullptr;
    zoomStep = 0;
    colourKeyOn = 0;
    keyColour[0] = keyColour[1] = keyColour[2] = 0;
}

void TextureLoader::FileExtension(const char* name, char* out) {
    const char* dot = std::strrchr(name, '.');
    std::strcpy(out, dot ? dot + 1 : "");
}

void TextureLoader::SetColourKey(std::uint8_t on, std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    colourKeyOn = on;
    if (on == 1) {
        keyColour[0] = r;
        keyColour[1] = g;
        keyColour[2] = b;
    }
}

std::string PicturePath(const char* name) {
    if (std::strstr(name, "http://") != nullptr) return name;
    std::string folder = platform::CurrentFolder();
    // A current folder that cannot be read (removed meanwhile) must not put the name at the root.
    if (folder.empty()) return name;
    // The root folder ends with its separator already.
    if (folder.back() != platform::PathSeparator()) folder += platform::PathSeparator();
    return folder + name;
}

namespace {

bool SameIgnoringCase(const char* a, const char* b) {
    for (; *a && *b; ++a, ++b)
        if (std::tolower(static_cast<unsigned char>(*a)) !=
            std::tolower(static_cast<unsigned char>(*b)))
            return false;
    return *a == *b;
}

// Sets `supported` and the record's type code from the extension of `name`.
void Classify(TextureLoader& loader, const char* name, ImageInfo& info) {
    loader.supported = 0;
    std::string extension(std::strlen(name) + 1, '\0');
    loader.FileExtension(name, extension.data());
    const char* e = extension.c_str();
    info.typeCode = 0;
    if (SameIgnoringCase(e, "bmp")) {
        info.typeCode = 1;
        loader.supported = 1;
    } else if (SameIgnoringCase(e, "jpg") || SameIgnoringCase(e, "jpeg")) {
        info.typeCode = 2;
        loader.supported = 1;
    } else if (SameIgnoringCase(e, "gif")) {
        info.typeCode = 5;
    } else if (SameIgnoringCase(e, "ico")) {
        info.typeCode = 6;
    } else if (SameIgnoringCase(e, "emf")) {
        info.typeCode = 7;
    } else if (SameIgnoringCase(e, "wmf")) {
        info.typeCode = 8;
    }
}

}  // namespace

int TextureLoader::Probe(const char* name, ImageInfo& info) {
    Classify(*this, name, info);
    return 1;
}

int TextureLoader::Load(const char* name, ImageInfo& info) {
    Classify(*this, name, info);
    if (supported == 0) return 0;
    return DecodePicture(PicturePath(name).c_str(), info);
}

platform::DecodeRequest StoreRequest(const TextureLoader& loader) {
    platform::DecodeRequest request;
    request.maxPixels = IMAGE_STORE_BYTES / 4;
    request.block = loader.pixels;
    request.blockBytes = std::size_t(IMAGE_STORE_BYTES);
    request.order = platform::PixelOrder::RGBA;
    request.colourKeyOn = loader.colourKeyOn == 1;
    std::memcpy(request.keyColour, loader.keyColour, 3);
    request.refuseIncomplete = true;
    return request;
}

namespace {

// Records a picture that a decode with StoreRequest left in the store. A picture the store
// cannot hold is refused before anything changes.
int KeepStored(TextureLoader& loader, const platform::Picture& picture, ImageInfo& info) {
    ImageInfo stored;
    stored.width = picture.width;
    stored.height = picture.height;
    stored.bitsPerPixel = 32;
    if (BytesToStore(stored) < 0) return 0;
    loader.width = picture.width;
    loader.height = picture.height;
    info.width = picture.width;
    info.height = picture.height;
    info.bitsPerPixel = 32;
    info.format = 6408;
    loader.StorePixels(info, loader.pixels);
    return 1;
}

}  // namespace

int TextureLoader::DecodePicture(const char* path, ImageInfo& info) {
    if (pixels == nullptr) return 0;
    platform::Picture picture;
    if (!platform::DecodePicture(path, StoreRequest(*this), picture)) return 0;
    return KeepStored(*this, picture, info);
}

int LoadDecoded(const char* name, const platform::Picture& picture, ImageInfo& info) {
    Classify(Loader, name, info);
    if (Loader.supported == 0 || Loader.pixels == nullptr || picture.width != picture.fullWidth ||
        picture.height != picture.fullHeight)
        return 0;
    return KeepStored(Loader, picture, info);
}

long long BytesToStore(const ImageInfo& info) {
    if (info.width < 0 || info.height < 0 || info.bitsPerPixel < 0) return -1;
    long long pixels = static_cast<long long>(info.width) * info.height;
    if (pixels > IMAGE_STORE_BYTES) return -1;  // also keeps the product below from overflowing
    long long bytes = pixels * info.bitsPerPixel / 8;
    return bytes <= IMAGE_STORE_BYTES ? bytes : -1;
}

// The decoders write straight into the store, in its final order: they hand the store its own
// pixels, and only the count remains to be done.
void TextureLoader::StorePixels(const ImageInfo& info, const std::uint8_t* source) {
    // The decoder refuses larger pictures; this keeps a wrong record from writing past the store.
    long long bytes = BytesToStore(info);
    if (bytes < 0) return;
    if (source != pixels) std::memcpy(pixels, source, std::size_t(bytes));
    loadCount += 1;
}

// The block costs memory only where a picture is written.
void AllocateImageStore() {
    if (ImageStore) return;  // once per process
    ImageStore = platform::AllocateZeroedBlock(std::size_t(IMAGE_STORE_BYTES), true);
    if (ImageStore == nullptr) {
        std::fprintf(stderr, "quentaro: cannot allocate the %lld-byte image store\n",
                     IMAGE_STORE_BYTES);
        std::exit(1);
    }
}
