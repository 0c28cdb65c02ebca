// What the harnesses share: a scratch folder of their own for files made from the input,
// the platform double in place of the real backend (no pauses, no windows), and the removal
// of folder trees deeper than a path can name.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "support/fake_platform.h"

// The one platform double of the process, installed on first use; its records are cleared
// on every call so that they never grow over millions of inputs.
FakePlatform& FuzzPlatform();

// An absolute folder made for this process (in memory-backed storage where there is some),
// removed when the process ends. Ends with no separator.
const std::string& ScratchFolder();

// Writes `size` bytes to `path`, replacing it; false if it cannot.
bool WriteWholeFile(const std::string& path, const std::uint8_t* data, std::size_t size);

// Removes everything inside the folder `folder` (absolute), descending folder by folder
// through the current folder so that trees deeper than the longest path are removed too.
// The current folder is left at `folder`.
void EmptyFolder(const std::string& folder);
