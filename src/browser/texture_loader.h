// The image loader: classifies a file by its extension and decodes BMP and JPEG files
// into the ImageStore as R, G, B, A pixels, bottom row first.
#pragma once

#include <cstdint>
#include <string>

#include "platform/platform.h"

constexpr long long IMAGE_STORE_BYTES = 400000000;

struct ImageInfo {
    int typeCode = 0;  // 0 unknown, 1 bmp, 2 jpg/jpeg, 5 gif, 6 ico, 7 emf, 8 wmf
    int width = 0, height = 0;
    int format = 0;        // 6408 (GL_RGBA) after a successful decode
    int bitsPerPixel = 0;  // 32 after a successful decode
};

class TextureLoader {
  public:
    TextureLoader();  // colour key on, black
    virtual ~TextureLoader();

    int Probe(const char* name, ImageInfo& info);
    int Load(const char* name, ImageInfo& info);
    int DecodePicture(const char* path, ImageInfo& info);
    void StorePixels(const ImageInfo& info, const std::uint8_t* source);
    void FileExtension(const char* name, char* out);
    void SetColourKey(std::uint8_t on, std::uint8_t r, std::uint8_t g, std::uint8_t b);

    int loadCount;
    int supported;
    std::uint8_t* pixels;  // the ImageStore
    int width, height;
    float zoomStep;  // view settings of the browser, kept here
    int panFactor;
    int overlayOn;
    std::uint8_t colourKeyOn;
    std::uint8_t keyColour[3];
};

extern TextureLoader Loader;  // the one loader of the program
extern ImageInfo LoaderInfo;  // the one result record
extern std::uint8_t* ImageStore;

// The bytes StorePixels copies for a picture of the record's size and depth, or -1 when
// they do not fit the ImageStore: 100,000,000 pixels of 4 bytes fit, one more does not.
// The loader asks the decoders for at most that many pixels, and stores through here.
long long BytesToStore(const ImageInfo& info);
// Allocates the ImageStore once; the pages of the block take memory only once written.
void AllocateImageStore();
// Where the loader reads `name` from: the name itself when it holds "http://", otherwise
// the current folder joined to it at full length.
std::string PicturePath(const char* name);
// The decode that fills the store: full size, upright, R, G, B, A with `loader`'s colour key,
// refusing a JPEG cut short before a pixel is written. Reads the loader only, so the thumbnail
// page's helper threads may use it.
platform::DecodeRequest StoreRequest(const TextureLoader& loader);
// What Load does once a decode with StoreRequest has filled the store from `name`: classifies,
// records the size and counts the load. 0 if the name is not of a supported type.
int LoadDecoded(const char* name, const platform::Picture& picture, ImageInfo& info);
