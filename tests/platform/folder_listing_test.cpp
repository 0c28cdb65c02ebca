// The folder listing reads like the Windows file system's: "." and ".." first, then names
// without regard to case, with its attribute values.
#include <gtest/gtest.h>

#include <map>

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
