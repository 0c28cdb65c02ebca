// The folder listing reads like the Windows file system's: "." and ".." first, then names
// without regard to case, with its attribute values.
#include <gtest/gtest.h>

#include <map>

#include "platform/name_order.h"
#include "support/picture_files.h"

namespace {

TEST(FolderListing, DotsFirstThenNamesIgnoringCase) {
    TempFolder folder;
    for (const char* name : {"b", "A", "_x", "a1", "C.txt", "ab", "a_b", "B2"}) folder.Touch(name);
    std::vector<platform::FolderEntry> entries;
    ASSERT_TRUE(platform::ListFolder(folder.Path().c_str(), entries));
    std::vector<std::string> names;
    for (const auto& e : entries) names.push_back(e.name);
    // Upper-cased, "_" (0x5F) sorts after the letters and "ab" before "a_b".
    EXPECT_EQ(names, (std::vector<std::string>{".", "..", "A", "a1", "ab", "a_b", "b", "B2",
                                               "C.txt", "_x"}));
}

// The order a real NTFS volume gives these names: each character upper-cased by its simple
// mapping (not ß, İ or ı), then UTF-16 code units, names equal that way by their own characters.
TEST(FolderListing, NamesBeyondAsciiInTheWindowsFileSystemsOrder) {
    const std::vector<std::string> order = {
        "1",      "10",   "9",     "a-b", "a.b", "Ab",   "aB",      "a_b",    "a~",  "b.txt",
        "B2.txt", "ea",   "eb",    "i",   "I2",  "ss",   "Strasse", "straße", "x y", "x-y",
        "x_y",    "Zeta", "zeta2", "[a]", "_x",  "{a}",  "~x",      "éa",     "Éb",  "ñ",
        "Ña",     "ß",    "İ",     "ı",   "Ω",   "日本", "😀"};
    TempFolder folder;
    for (auto name = order.rbegin(); name != order.rend(); ++name) folder.Touch(*name);
    std::vector<platform::FolderEntry> entries;
    ASSERT_TRUE(platform::ListFolder(folder.Path().c_str(), entries));
    std::vector<std::string> names;
    for (const auto& e : entries) names.push_back(e.name);
    std::vector<std::string> want = {".", ".."};
    want.insert(want.end(), order.begin(), order.end());
    EXPECT_EQ(names, want);
}

// Case pairs beyond Latin-1 meet, characters outside the plane and ill-formed bytes keep
// their own places, and no two different names compare equal.
TEST(FolderListing, NameKeysOfUnusualNames) {
    using platform::MakeNameKey;
    using platform::NameKeyBefore;
    auto before = [](const std::string& a, const std::string& b) {
        return NameKeyBefore(MakeNameKey(a), MakeNameKey(b));
    };
    EXPECT_EQ(MakeNameKey("ωб").upper, MakeNameKey("ΩБ").upper);  // Greek, Cyrillic
    EXPECT_EQ(MakeNameKey("ǆ").upper, MakeNameKey("Ǆ").upper);
    EXPECT_NE(MakeNameKey("ſ").upper, MakeNameKey("S").upper);  // long s stays apart
    EXPECT_NE(MakeNameKey("𐐨").upper, MakeNameKey("𐐀").upper);  // outside the plane: as is
    EXPECT_EQ(platform::Utf16Units("😀"), (std::u16string{0xD83D, 0xDE00}));
    // Overlong slashes, an encoded surrogate, a code point past U+10FFFF and a lone
    // continuation byte: one unit per byte.
    EXPECT_EQ(platform::Utf16Units("\xC0\xAF"), (std::u16string{0xDCC0, 0xDCAF}));
    EXPECT_EQ(platform::Utf16Units("\xE0\x80\xAF"), (std::u16string{0xDCE0, 0xDC80, 0xDCAF}));
    EXPECT_EQ(platform::Utf16Units("\xF0\x80\x80\xAF"),
              (std::u16string{0xDCF0, 0xDC80, 0xDC80, 0xDCAF}));
    EXPECT_EQ(platform::Utf16Units("\xF4\x90\x80\x80"),
              (std::u16string{0xDCF4, 0xDC90, 0xDC80, 0xDC80}));
    EXPECT_EQ(platform::Utf16Units("\xED\xA0\x80x"), (std::u16string{0xDCED, 0xDCA0, 0xDC80, 'x'}));
    EXPECT_EQ(platform::Utf16Units("a\xE6\x97"), (std::u16string{'a', 0xDCE6, 0xDC97}));
    // A strict order: a name is never before itself, and of two names exactly one comes first.
    const char* names[] = {"a", "A", "\xC3\xA9", "\xC3\x89", "\xE9", "x\xFF", "x", ""};
    for (const char* a : names) {
        EXPECT_FALSE(before(a, a)) << a;
        for (const char* b : names) {
            if (std::string(a) == b) continue;
            EXPECT_NE(before(a, b), before(b, a)) << a << " " << b;
        }
    }
}

TEST(FolderListing, AttributeValues) {
    TempFolder folder;
    folder.Touch("file");
    folder.MakeFolder("dir");
    std::filesystem::create_directory_symlink(folder / "dir", folder / "link");
    std::filesystem::create_symlink(folder / "nowhere", folder / "broken");
    std::vector<platform::FolderEntry> entries;
    ASSERT_TRUE(platform::ListFolder(folder.Path().c_str(), entries));
    std::map<std::string, std::uint32_t> attributes;
    for (const auto& e : entries) attributes[e.name] = e.attributes;
    EXPECT_EQ(attributes["."], platform::ATTRIBUTE_DIRECTORY);
    EXPECT_EQ(attributes[".."], platform::ATTRIBUTE_DIRECTORY);
    EXPECT_EQ(attributes["dir"], platform::ATTRIBUTE_DIRECTORY);
    EXPECT_EQ(attributes["link"], platform::ATTRIBUTE_DIRECTORY);  // a link is followed
    EXPECT_EQ(attributes["file"] & platform::ATTRIBUTE_DIRECTORY, 0u);
    EXPECT_NE(attributes["file"], 0u);
    EXPECT_NE(attributes["broken"], 0u);  // Windows never reports an entry with no bits

    KeepCurrentFolder keep;
    ASSERT_TRUE(platform::SetCurrentFolder(folder.Path().c_str()));
    std::uint32_t value = 0;
    ASSERT_TRUE(platform::FileAttributes("link", value));
    EXPECT_EQ(value, platform::ATTRIBUTE_DIRECTORY);
    EXPECT_FALSE(platform::FileAttributes("absent", value));
}

TEST(FolderListing, UnreadableFolderFails) {
    TempFolder folder;
    std::vector<platform::FolderEntry> entries{{"stale", 0}};
    EXPECT_FALSE(platform::ListFolder((folder / "absent").c_str(), entries));
    EXPECT_TRUE(entries.empty());
    EXPECT_EQ(platform::PathSeparator(), '/');
}

}  // namespace
