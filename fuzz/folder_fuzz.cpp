// The folder scan and the folder moves over a real folder tree built from hostile input:
// names of any bytes but the separator (not UTF-8, up to the longest the system takes),
// chains of folders deeper than the longest path, links that loop or lead nowhere, and
// folders removed while they are browsed. Right presses select and enter entries as a user
// would; the browser may climb out of the tree, but only the tree is ever written. After
// every step the program must be back in its start folder, with a browse folder that fits
// and a table of terminated names. The path rules and the
// name order are also checked on names longer than a folder entry holds, with either
// separator.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>

#include "browser/folder_path.h"
#include "fuzz_support.h"
#include "platform/name_order.h"
#include "quentaro.h"

namespace fs = std::filesystem;

namespace {

void Require(bool condition) {
    if (!condition) std::abort();
}

// Reads the input step by step; zeros once it runs out.
struct Reader {
    const std::uint8_t* data;
    std::size_t size;
    bool Empty() const { return size == 0; }
    std::uint8_t Byte() {
        if (size == 0) return 0;
        --size;
        return *data++;
    }
    std::string Bytes(std::size_t count) {
        count = std::min(count, size);
        std::string text(reinterpret_cast<const char*>(data), count);
        data += count, size -= count;
        return text;
    }
};

std::string start, root, rootCanonical;

void Press(FakePlatform& fake, int entry) {
    AppState.selectedEntry = entry;  // the first press of the pair
    PickBuffer[100 * AppState.frameWidth + 200] = PICK_LIST_BASE + entry;
    fake.PointAtFramePixel(200, 100, AppState.frameWidth, AppState.frameHeight);
    MouseState.rightPress = 1;
    HandleBrowserClick();
    MouseState.rightPress = 0;
}

// True when the browse folder is the scratch tree's root (if `orRoot`) or inside it, once
// links are followed. The browser may climb anywhere with "..": only the tree may change.
bool BrowsingInTree(bool orRoot) {
    std::error_code error;
    fs::path real = fs::canonical(AppState.browseFolder, error);
    if (error) return false;
    std::string text = real.string();
    if (orRoot && text == rootCanonical) return true;
    return text.size() > rootCanonical.size() + 1 &&
           text.compare(0, rootCanonical.size() + 1, rootCanonical + "/") == 0;
}

// Runs `make` inside the browse folder when that is in the scratch tree and `name` is one
// entry of it (no separator, not "." or ".."), then returns to the start folder.
template <typename Make> void InBrowseFolder(const std::string& name, Make make) {
    if (name.empty() || name == "." || name == ".." || name.find('/') != std::string::npos ||
        !BrowsingInTree(true))
        return;
    if (platform::SetCurrentFolder(AppState.browseFolder)) make();
    platform::SetCurrentFolder(AppState.startFolder);
}

void Step(FakePlatform& fake, Reader& in) {
    std::uint8_t op = in.Byte();
    std::error_code ignored;
    switch (op % 6) {
    case 0: {  // a file or folder of any name
        std::string name = in.Bytes(in.Byte());
        InBrowseFolder(name, [&] {
            if (op & 0x80)
                fs::create_directory(name, ignored);
            else
                WriteWholeFile(name, reinterpret_cast<const std::uint8_t*>("x"), 1);
        });
        break;
    }
    case 1: {
        // A chain of folders, possibly deeper than a path can name.
        int depth = 1 + in.Byte() % 24;  // 24 names of 255 bytes pass the longest path
        std::string name(1 + in.Byte() % 255, char(in.Byte()));
        if (name[0] == '/' || name[0] == '\0') name.assign(name.size(), 'd');
        if (name == "." || name == "..") name = "d";
        InBrowseFolder(name, [&] {
            for (int level = 0; level < depth; ++level) {
                fs::create_directory(name, ignored);
                if (!platform::SetCurrentFolder(name.c_str())) break;
            }
        });
        break;
    }
    case 2: {  // select and enter an entry; out of the tree, only climb
        // Entering the system's own folders (a thousand programs in one) would spend the run
        // listing them and finds nothing the tree cannot show.
        if (EntryTable.count == 0) break;
        int entry = 1 + in.Byte() % EntryTable.count;
        if (BrowsingInTree(true) || std::strcmp(EntryTable.names[entry], "..") == 0)
            Press(fake, entry);
        break;
    }
    case 3:
        Rescan();
        break;
    case 4:  // the browsed folder disappears
        if (BrowsingInTree(false)) {
            std::string gone = AppState.browseFolder;
            EmptyFolder(gone);
            platform::SetCurrentFolder(AppState.startFolder);
            fs::remove(gone, ignored);
            Rescan();
        }
        break;
    case 5: {  // links: to here, up, to themselves, to nothing
        static const char* TARGETS[] = {".", "..", nullptr, "missing/nowhere"};
        std::string name = in.Bytes(1 + in.Byte() % 16);
        const char* target = TARGETS[in.Byte() % 4];
        InBrowseFolder(name, [&] { fs::create_symlink(target ? target : name, name, ignored); });
        break;
    }
    }
}

void CheckBrowserState() {
    Require(platform::CurrentFolder() == AppState.startFolder);
    const char* end =
        static_cast<const char*>(std::memchr(AppState.browseFolder, '\0', FOLDER_CAPACITY));
    Require(end != nullptr && end > AppState.browseFolder && end[-1] == '/');
    Require(EntryTable.count >= 0 && EntryTable.count < MAX_ENTRIES);
    for (int k = 1; k <= EntryTable.count; ++k) {
        Require(std::memchr(EntryTable.names[k], '\0', ENTRY_NAME_SIZE) != nullptr);
        Require(EntryTable.kinds[k] == 0 || EntryTable.kinds[k] == 1);
    }
}

// The path rules and the name order on names of any length and bytes.
void CheckRules(Reader& in) {
    for (char separator : {'/', '\\'}) {
        std::string folder = in.Bytes(in.Byte());
        std::string name = in.Bytes(in.Byte() + in.Byte());  // up to 510 bytes
        std::string up = FolderUp(folder, separator);
        Require(up.size() <= folder.size());
        Require(folder.compare(0, up.size(), up) == 0);
        std::string down = FolderDown(folder, name, separator);
        Require(!down.empty() && down.back() == separator);
        // Into a plain name and up again: the folder itself, with its trailing separator.
        if (!name.empty() && name.find(separator) == std::string::npos && !folder.empty() &&
            folder.size() > (separator == '/' ? 1u : 3u)) {
            std::string base = folder.back() == separator ? folder : folder + separator;
            Require(FolderUp(down, separator) == base);
        }
    }
    std::string a = in.Bytes(in.Byte() + 4), b = in.Bytes(in.Byte() + 4);
    platform::NameKey ka = platform::MakeNameKey(a), kb = platform::MakeNameKey(b);
    Require(!platform::NameKeyBefore(ka, ka));
    Require(!(platform::NameKeyBefore(ka, kb) && platform::NameKeyBefore(kb, ka)));
    if (a != b) Require(platform::NameKeyBefore(ka, kb) || platform::NameKeyBefore(kb, ka));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FakePlatform& fake = FuzzPlatform();
    if (root.empty()) {
        // The fuzzer's own folder stays the start folder: it reads and writes relative paths.
        start = platform::CurrentFolder();
        root = ScratchFolder() + "/tree";
        fs::create_directories(root);
        rootCanonical = fs::canonical(root).string();
        ResizeFrame(960, 540);
        fake.rect = {0, 0, 1920, 1080};
        AllocateEntryTable();
    }
    EmptyFolder(root);
    std::snprintf(AppState.startFolder, FOLDER_CAPACITY, "%s", start.c_str());
    std::snprintf(AppState.browseFolder, FOLDER_CAPACITY, "%s/", root.c_str());
    platform::SetCurrentFolder(AppState.startFolder);
    AppState.listViewOn = 1;
    AppState.fullViewOn = 0;
    Rescan();

    Reader in{data, size};
    if (!in.Empty() && (in.Byte() & 1)) {
        CheckRules(in);
        return 0;
    }
    // Enough steps to build a few levels, enter, remove and rescan them; longer inputs
    // mostly repeat that at the price of fewer runs.
    for (int steps = 0; steps < 12 && !in.Empty(); ++steps) {
        Step(fake, in);
        CheckBrowserState();
        fake.pauses.clear();
    }
    Require(FrameGuardsIntact() == 1);
    return 0;
}
