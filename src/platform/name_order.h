// The Windows file system's order of names in a folder, for the POSIX folder listing.
#pragma once

#include <string>

namespace platform {

// A name prepared for comparing: its UTF-16 code units, their upper-case form, its bytes.
struct NameKey {
    std::u16string upper;
    std::u16string units;
    std::string bytes;
};

std::u16string Utf16Units(const std::string& name);  // UTF-8 in, ill-formed bytes kept apart
NameKey MakeNameKey(const std::string& name);
// Upper-case forms first, then the names' own code units, then their bytes: a total order.
bool NameKeyBefore(const NameKey& a, const NameKey& b);

}  // namespace platform
