// The Windows backend's plain functions and services, run under the real system (or wine):
// folder listings and attributes, the atomic file replacement and its failures, the per-user
// folder, the clocks, a started program's early failure, and JPEG decoding through the
// system's picture service with the camera orientation, reduced sizes and refusals.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <ctime>
#include <string>
#include <vector>

#include "gamedata/engine_settings.h"
#include "platform/platform.h"
#include "shell/command_line.h"
#include "shell/data_folder.h"
#include "support/fake_platform.h"
#include "world/overworld_file.h"
#include "world/world_tables.h"

namespace {

using namespace platform;

// A 16 x 32 JPEG stored with EXIF orientation 6: red and green above blue and white as
// stored, so upright (32 x 16) blue and red are on top, white and green below.
const unsigned char TURNED_JPEG[] = {
0xFF, 0xD8, 0xFF, 0xE1, 0x00, 0x22, 0x45, 0x78, 0x69, 0x66, 0x00, 0x00, 0x49, 0x49, 0x2A, 0x00,
0x08, 0x00, 0x00, 0x00, 0x01, 0x00, 0x12, 0x01, 0x03, 0x00, 0x01, 0x00, 0x00, 0x00, 0x06, 0x00,
0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xFF, 0xE0, 0x00, 0x10, 0x4A, 0x46, 0x49, 0x46, 0x00, 0x01,
0x01, 0x00, 0x00, 0x01, 0x00, 0x01, 0x00, 0x00, 0xFF, 0xDB, 0x00, 0x43, 0x00, 0x03, 0x02, 0x02,
0x03, 0x02, 0x02, 0x03, 0x03, 0x03, 0x03, 0x04, 0x03, 0x03, 0x04, 0x05, 0x08, 0x05, 0x05, 0x04,
0x04, 0x05, 0x0A, 0x07, 0x07, 0x06, 0x08, 0x0C, 0x0A, 0x0C, 0x0C, 0x0B, 0x0A, 0x0B, 0x0B, 0x0D,
0x0E, 0x12, 0x10, 0x0D, 0x0E, 0x11, 0x0E, 0x0B, 0x0B, 0x10, 0x16, 0x10, 0x11, 0x13, 0x14, 0x15,
0x15, 0x15, 0x0C, 0x0F, 0x17, 0x18, 0x16, 0x14, 0x18, 0x12, 0x14, 0x15, 0x14, 0xFF, 0xDB, 0x00,
0x43, 0x01, 0x03, 0x04, 0x04, 0x05, 0x04, 0x05, 0x09, 0x05, 0x05, 0x09, 0x14, 0x0D, 0x0B, 0x0D,
0x14, 0x14, 0x14, 0x14, 0x14, 0x14, 0x14, 0x14, 0x14, 0x14, 0x14, 0x14, 0x14, 0x14, 0x14, 0x14,
0x14, 0x14, 0x14, 0x14, 0x14, 0x14, 0x14, 0x14, 0x14, 0x14, 0x14, 0x14, 0x14, 0x14, 0x14, 0x14,
0x14, 0x14, 0x14, 0x14, 0x14, 0x14, 0x14, 0x14, 0x14, 0x14, 0x14, 0x14, 0x14, 0x14, 0x14, 0x14,
0x14, 0x14, 0xFF, 0xC0, 0x00, 0x11, 0x08, 0x00, 0x20, 0x00, 0x10, 0x03, 0x01, 0x22, 0x00, 0x02,
0x11, 0x01, 0x03, 0x11, 0x01, 0xFF, 0xC4, 0x00, 0x1F, 0x00, 0x00, 0x01, 0x05, 0x01, 0x01, 0x01,
0x01, 0x01, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01, 0x02, 0x03, 0x04, 0x05,
0x06, 0x07, 0x08, 0x09, 0x0A, 0x0B, 0xFF, 0xC4, 0x00, 0xB5, 0x10, 0x00, 0x02, 0x01, 0x03, 0x03,
0x02, 0x04, 0x03, 0x05, 0x05, 0x04, 0x04, 0x00, 0x00, 0x01, 0x7D, 0x01, 0x02, 0x03, 0x00, 0x04,
0x11, 0x05, 0x12, 0x21, 0x31, 0x41, 0x06, 0x13, 0x51, 0x61, 0x07, 0x22, 0x71, 0x14, 0x32, 0x81,
0x91, 0xA1, 0x08, 0x23, 0x42, 0xB1, 0xC1, 0x15, 0x52, 0xD1, 0xF0, 0x24, 0x33, 0x62, 0x72, 0x82,
0x09, 0x0A, 0x16, 0x17, 0x18, 0x19, 0x1A, 0x25, 0x26, 0x27, 0x28, 0x29, 0x2A, 0x34, 0x35, 0x36,
0x37, 0x38, 0x39, 0x3A, 0x43, 0x44, 0x45, 0x46, 0x47, 0x48, 0x49, 0x4A, 0x53, 0x54, 0x55, 0x56,
0x57, 0x58, 0x59, 0x5A, 0x63, 0x64, 0x65, 0x66, 0x67, 0x68, 0x69, 0x6A, 0x73, 0x74, 0x75, 0x76,
0x77, 0x78, 0x79, 0x7A, 0x83, 0x84, 0x85, 0x86, 0x87, 0x88, 0x89, 0x8A, 0x92, 0x93, 0x94, 0x95,
0x96, 0x97, 0x98, 0x99, 0x9A, 0xA2, 0xA3, 0xA4, 0xA5, 0xA6, 0xA7, 0xA8, 0xA9, 0xAA, 0xB2, 0xB3,
0xB4, 0xB5, 0xB6, 0xB7, 0xB8, 0xB9, 0xBA, 0xC2, 0xC3, 0xC4, 0xC5, 0xC6, 0xC7, 0xC8, 0xC9, 0xCA,
0xD2, 0xD3, 0xD4, 0xD5, 0xD6, 0xD7, 0xD8, 0xD9, 0xDA, 0xE1, 0xE2, 0xE3, 0xE4, 0xE5, 0xE6, 0xE7,
0xE8, 0xE9, 0xEA, 0xF1, 0xF2, 0xF3, 0xF4, 0xF5, 0xF6, 0xF7, 0xF8, 0xF9, 0xFA, 0xFF, 0xC4, 0x00,
0x1F, 0x01, 0x00, 0x03, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x00, 0x00, 0x00,
0x00, 0x00, 0x00, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0x0A, 0x0B, 0xFF, 0xC4,
0x00, 0xB5, 0x11, 0x00, 0x02, 0x01, 0x02, 0x04, 0x04, 0x03, 0x04, 0x07, 0x05, 0x04, 0x04, 0x00,
0x01, 0x02, 0x77, 0x00, 0x01, 0x02, 0x03, 0x11, 0x04, 0x05, 0x21, 0x31, 0x06, 0x12, 0x41, 0x51,
0x07, 0x61, 0x71, 0x13, 0x22, 0x32, 0x81, 0x08, 0x14, 0x42, 0x91, 0xA1, 0xB1, 0xC1, 0x09, 0x23,
0x33, 0x52, 0xF0, 0x15, 0x62, 0x72, 0xD1, 0x0A, 0x16, 0x24, 0x34, 0xE1, 0x25, 0xF1, 0x17, 0x18,
0x19, 0x1A, 0x26, 0x27, 0x28, 0x29, 0x2A, 0x35, 0x36, 0x37, 0x38, 0x39, 0x3A, 0x43, 0x44, 0x45,
0x46, 0x47, 0x48, 0x49, 0x4A, 0x53, 0x54, 0x55, 0x56, 0x57, 0x58, 0x59, 0x5A, 0x63, 0x64, 0x65,
0x66, 0x67, 0x68, 0x69, 0x6A, 0x73, 0x74, 0x75, 0x76, 0x77, 0x78, 0x79, 0x7A, 0x82, 0x83, 0x84,
0x85, 0x86, 0x87, 0x88, 0x89, 0x8A, 0x92, 0x93, 0x94, 0x95, 0x96, 0x97, 0x98, 0x99, 0x9A, 0xA2,
0xA3, 0xA4, 0xA5, 0xA6, 0xA7, 0xA8, 0xA9, 0xAA, 0xB2, 0xB3, 0xB4, 0xB5, 0xB6, 0xB7, 0xB8, 0xB9,
0xBA, 0xC2, 0xC3, 0xC4, 0xC5, 0xC6, 0xC7, 0xC8, 0xC9, 0xCA, 0xD2, 0xD3, 0xD4, 0xD5, 0xD6, 0xD7,
0xD8, 0xD9, 0xDA, 0xE2, 0xE3, 0xE4, 0xE5, 0xE6, 0xE7, 0xE8, 0xE9, 0xEA, 0xF2, 0xF3, 0xF4, 0xF5,
0xF6, 0xF7, 0xF8, 0xF9, 0xFA, 0xFF, 0xDA, 0x00, 0x0C, 0x03, 0x01, 0x00, 0x02, 0x11, 0x03, 0x11,
0x00, 0x3F, 0x00, 0xF9, 0xD2, 0xBE, 0xC6, 0xAF, 0x8E, 0x6B, 0xEC, 0x6A, 0xFE, 0x56, 0xE2, 0x5F,
0xF9, 0x73, 0xFF, 0x00, 0x6F, 0x7E, 0x87, 0xB7, 0xF4, 0xD5, 0xFF, 0x00, 0x9A, 0x7B, 0xFE, 0xE6,
0xBF, 0xF7, 0x5C, 0xFC, 0xBC, 0xAF, 0xE9, 0x6E, 0xBF, 0x9A, 0x4A, 0xFE, 0x96, 0xEB, 0xFD, 0x52,
0xF1, 0xD3, 0xFE, 0x65, 0xBF, 0xF7, 0x17, 0xFF, 0x00, 0x71, 0x1F, 0x11, 0x96, 0x7D, 0xBF, 0x97,
0xEA, 0x7F, 0xFF, 0xD9, 
};

class Win32Files : public ::testing::Test {
  protected:
    void SetUp() override {
        char temp[MAX_PATH];
        ASSERT_NE(GetTempPathA(sizeof temp, temp), 0u);
        folder = std::string(temp) + "quentaro-test-" + std::to_string(GetCurrentProcessId()) +
                 "-" + std::to_string(GetTickCount64());
        ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    }
    void TearDown() override {
        std::vector<FolderEntry> entries;
        ListFolder(folder.c_str(), entries);
        for (const FolderEntry& e : entries) {
            std::string path = folder + "\\" + e.name;
            SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (e.attributes & ATTRIBUTE_DIRECTORY) {
                if (e.name != "." && e.name != "..") RemoveDirectoryA(path.c_str());
            } else {
                DeleteFileA(path.c_str());
            }
        }
        RemoveDirectoryA(folder.c_str());
    }
    std::string Path(const std::string& name) const { return folder + "\\" + name; }
    void Write(const std::string& name, const std::string& bytes) const {
        ASSERT_TRUE(ReplaceFileContents(Path(name).c_str(), bytes.data(), bytes.size()));
    }
    std::string Read(const std::string& name) const {
        std::string bytes;
        if (std::FILE* f = std::fopen(Path(name).c_str(), "rb")) {
            int c;
            while ((c = std::fgetc(f)) != EOF) bytes += char(c);
            std::fclose(f);
        }
        return bytes;
    }
    std::string folder;
};

TEST_F(Win32Files, ListingGivesDotsNamesAndTheSystemsAttributes) {
    Write("b.txt", "b");
    Write("a.bmp", "a");
    ASSERT_TRUE(CreateDirectoryA(Path("sub").c_str(), nullptr));
    ASSERT_TRUE(SetFileAttributesA(Path("b.txt").c_str(), FILE_ATTRIBUTE_READONLY));
    std::vector<FolderEntry> entries;
    ASSERT_TRUE(ListFolder(folder.c_str(), entries));
    ASSERT_EQ(entries.size(), 5u);
    EXPECT_EQ(entries[0].name, ".");
    EXPECT_EQ(entries[1].name, "..");
    auto find = [&](const std::string& name) {
        return *std::find_if(entries.begin(), entries.end(),
                             [&](const FolderEntry& e) { return e.name == name; });
    };
    EXPECT_TRUE(find("sub").attributes & ATTRIBUTE_DIRECTORY);
    EXPECT_FALSE(find("a.bmp").attributes & ATTRIBUTE_DIRECTORY);
    EXPECT_TRUE(find("b.txt").attributes & ATTRIBUTE_READONLY);

    std::uint32_t attributes = 0;
    EXPECT_TRUE(FileAttributes(Path("sub").c_str(), attributes));
    EXPECT_TRUE(attributes & ATTRIBUTE_DIRECTORY);
    EXPECT_FALSE(FileAttributes(Path("absent").c_str(), attributes));
    EXPECT_FALSE(ListFolder(Path("absent").c_str(), entries));
    EXPECT_TRUE(entries.empty());
}

TEST_F(Win32Files, ReplacingContentsIsAllOrNothing) {
    Write("map.bin", "old contents");
    Write("map.bin", "new");
    EXPECT_EQ(Read("map.bin"), "new");
    // A folder of that name cannot be replaced: false, and it stays a folder.
    ASSERT_TRUE(CreateDirectoryA(Path("taken").c_str(), nullptr));
    EXPECT_FALSE(ReplaceFileContents(Path("taken").c_str(), "x", 1));
    std::uint32_t attributes = 0;
    ASSERT_TRUE(FileAttributes(Path("taken").c_str(), attributes));
    EXPECT_TRUE(attributes & ATTRIBUTE_DIRECTORY);
    // No folder to write in: false, nothing left behind.
    EXPECT_FALSE(ReplaceFileContents(Path("absent\\map.bin").c_str(), "x", 1));
    std::vector<FolderEntry> entries;
    ASSERT_TRUE(ListFolder(folder.c_str(), entries));
    EXPECT_EQ(entries.size(), 4u);  // ".", "..", "map.bin", "taken": no ".new" file
    // Empty contents are contents too.
    Write("map.bin", "");
    EXPECT_EQ(Read("map.bin"), "");
}

TEST_F(Win32Files, FoldersWritableCurrentAndOwn) {
    EXPECT_TRUE(FolderWritable(folder.c_str()));
    Write("file", "x");
    EXPECT_FALSE(FolderWritable(Path("file").c_str()));
    EXPECT_FALSE(FolderWritable(Path("absent").c_str()));
    std::vector<FolderEntry> entries;
    ASSERT_TRUE(ListFolder(folder.c_str(), entries));
    EXPECT_EQ(entries.size(), 3u);  // the probe file is gone

    std::string before = CurrentFolder();
    ASSERT_TRUE(SetCurrentFolder(folder.c_str()));
    EXPECT_EQ(CurrentFolder(), folder);
    EXPECT_FALSE(SetCurrentFolder(Path("absent").c_str()));
    ASSERT_TRUE(SetCurrentFolder(before.c_str()));
    EXPECT_EQ(PathSeparator(), '\\');

    std::uint32_t attributes = 0;
    ASSERT_TRUE(FileAttributes(ProgramFolder().c_str(), attributes));
    EXPECT_TRUE(attributes & ATTRIBUTE_DIRECTORY);
}

// The shell's own file checks go to the system in its code page, as the names came from it:
// a program folder named with a letter above 127 holds the pictures, is a folder to browse,
// and takes the overworld files. (The C++ library's paths read such a name as Latin-1.)
TEST_F(Win32Files, ProgramFolderNamedBeyondAscii) {
    char euro[8] = {};
    BOOL lost = FALSE;
    if (WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, L"\u20ac", -1, euro, sizeof euro,
                            nullptr, &lost) == 0 ||
        lost)
        GTEST_SKIP() << "the code page has no euro sign";
    const std::string own = Path(std::string("pictures ") + euro);
    ASSERT_TRUE(MakeFolders((own + "\\bmp_land").c_str()));
    ASSERT_TRUE(MakeFolders((own + "\\map").c_str()));
    EXPECT_EQ(FullPath((own + "\\map\\..").c_str()), own);

    FindDataFolder(folder, own);
    EXPECT_EQ(DataFolder, own);
    std::string output, errors;
    const char* words[] = {"quentaro", own.c_str()};
    EXPECT_EQ(ReadCommandLine(2, words, output, errors), -1) << errors;
    EXPECT_EQ(StartOptions.browseFolder, own);

    FakePlatform fake;
    SetSys(&fake);
    std::vector<std::uint8_t> level(std::size_t(MAP_WIDTH) * MAP_WIDTH, 7);
    std::uint8_t* grid = MapGrid;
    MapGrid = level.data();
    SaveOverworld(1);
    level.assign(level.size(), 0);
    EXPECT_TRUE(LoadOverworld(1));
    EXPECT_EQ(level.back(), 7);
    MapGrid = grid;
    SetSys(nullptr);
    DataFolder.clear();
    DeleteFileA((own + "\\map\\1.overworld").c_str());
    for (const char* sub : {"\\map", "\\bmp_land", ""}) RemoveDirectoryA((own + sub).c_str());
}

// A current folder the code page cannot spell is given by its short name, which the
// program's calls take back, where the volume keeps short names; never with '?' in it.
TEST_F(Win32Files, CurrentFolderTheCodePageCannotSpell) {
    wchar_t wide[MAX_PATH];
    ASSERT_GT(MultiByteToWideChar(CP_ACP, 0, folder.c_str(), -1, wide, MAX_PATH), 0);
    const std::wstring inner = std::wstring(wide) + L"\\zh\u0436";
    ASSERT_TRUE(CreateDirectoryW(inner.c_str(), nullptr));
    const std::string before = CurrentFolder();
    ASSERT_TRUE(SetCurrentDirectoryW(inner.c_str()));
    const std::string current = CurrentFolder();
    ASSERT_TRUE(SetCurrentFolder(before.c_str()));
    wchar_t brief[MAX_PATH];
    if (GetShortPathNameW(inner.c_str(), brief, MAX_PATH) > 0 && std::wcschr(brief, L'~')) {
        EXPECT_EQ(current.find('?'), std::string::npos) << current;
        EXPECT_TRUE(IsFolder(current.c_str())) << current;
        EXPECT_TRUE(SetCurrentFolder(current.c_str())) << current;
        ASSERT_TRUE(SetCurrentFolder(before.c_str()));
    } else {
        EXPECT_EQ(current, "");
    }
    EXPECT_TRUE(RemoveDirectoryW(inner.c_str()));
}

TEST(Win32Environment, UserDataHomeTakesOnlyAFullPath) {
    std::string saved = std::getenv("LOCALAPPDATA") ? std::getenv("LOCALAPPDATA") : "";
    std::string savedRoaming = std::getenv("APPDATA") ? std::getenv("APPDATA") : "";
    _putenv_s("LOCALAPPDATA", "C:\\Users\\someone\\AppData\\Local");
    EXPECT_EQ(UserDataHome(), "C:\\Users\\someone\\AppData\\Local");
    _putenv_s("LOCALAPPDATA", "relative\\folder");
    _putenv_s("APPDATA", "");
    EXPECT_EQ(UserDataHome(), "");
    _putenv_s("LOCALAPPDATA", saved.c_str());
    _putenv_s("APPDATA", savedRoaming.c_str());
}

TEST(Win32Clocks, CalendarAndSteadyClocksAndPauses) {
    long long calendar = Sys().CalendarSeconds();
    EXPECT_LE(std::llabs(calendar - static_cast<long long>(std::time(nullptr))), 2);
    long long start = Sys().SteadyMicroseconds();
    Sys().PauseMicroseconds(3000);
    long long paused = Sys().SteadyMicroseconds() - start;
    EXPECT_GE(paused, 2900);
    EXPECT_LT(paused, 500000);
    start = Sys().SteadyMicroseconds();
    Sys().Pause(20);
    EXPECT_GE(Sys().SteadyMicroseconds() - start, 19000);
}

TEST(Win32Programs, AnEarlyFailureIsReportedOnceAndAMissingProgramIsNotStarted) {
    std::string message;
    while (Sys().TakeStartedProgramFailure(message)) {
    }
    EXPECT_FALSE(Sys().StartProgram("quentaro-no-such-program.exe", ""));
    ASSERT_TRUE(Sys().StartProgram("cmd.exe", "/c exit 3"));
    bool reported = false;
    for (int i = 0; i < 200 && !reported; ++i) {
        Sys().Pause(10);
        reported = Sys().TakeStartedProgramFailure(message);
    }
    ASSERT_TRUE(reported);
    EXPECT_EQ(message, "cmd.exe ended with status 3");
    EXPECT_FALSE(Sys().TakeStartedProgramFailure(message));
    // A program that ends well is no news.
    ASSERT_TRUE(Sys().StartProgram("cmd.exe", "/c exit 0"));
    Sys().Pause(1500);
    EXPECT_FALSE(Sys().TakeStartedProgramFailure(message));
}

class Win32Jpeg : public Win32Files {
  protected:
    void SetUp() override {
        Win32Files::SetUp();
        Write("t.jpg", std::string(reinterpret_cast<const char*>(TURNED_JPEG), sizeof TURNED_JPEG));
    }
    // The pixel (B, G, R) at column x, row y from the top of an upright picture.
    static std::uint32_t At(const Picture& p, int x, int y) {
        const std::uint8_t* o = &p.bgrx[(std::size_t(p.height - 1 - y) * p.width + x) * 4];
        return std::uint32_t(o[2]) << 16 | std::uint32_t(o[1]) << 8 | o[0];
    }
    static bool Near(std::uint32_t got, std::uint32_t want) {
        for (int shift : {0, 8, 16})
            if (std::abs(int((got >> shift) & 255) - int((want >> shift) & 255)) > 48) return false;
        return true;
    }
};

TEST_F(Win32Jpeg, DecodedUprightAtFullAndReducedSize) {
    Picture p;
    ASSERT_TRUE(DecodePictureFile(Path("t.jpg").c_str(), 1 << 20, p));
    EXPECT_EQ(p.width, 32);
    EXPECT_EQ(p.height, 16);
    EXPECT_EQ(p.fullWidth, 32);
    EXPECT_EQ(p.fullHeight, 16);
    ASSERT_EQ(p.bgrx.size(), 32u * 16 * 4);
    EXPECT_TRUE(Near(At(p, 4, 3), 0x0000FF)) << std::hex << At(p, 4, 3);
    EXPECT_TRUE(Near(At(p, 27, 3), 0xFF0000)) << std::hex << At(p, 27, 3);
    EXPECT_TRUE(Near(At(p, 4, 12), 0xFFFFFF)) << std::hex << At(p, 4, 12);
    EXPECT_TRUE(Near(At(p, 27, 12), 0x00FF00)) << std::hex << At(p, 27, 12);

    // A thumbnail asks for a long side of 8 at least: a quarter, still upright.
    Picture small;
    ASSERT_TRUE(DecodePictureReduced(Path("t.jpg").c_str(), 1 << 20, 8, small));
    EXPECT_EQ(small.width, 8);
    EXPECT_EQ(small.height, 4);
    EXPECT_EQ(small.fullWidth, 32);
    EXPECT_TRUE(Near(At(small, 1, 0), 0x0000FF));
    EXPECT_TRUE(Near(At(small, 6, 3), 0x00FF00));
}

TEST_F(Win32Jpeg, PicturesNamedBeyondAsciiAreListedStampedAndDecoded) {
    // The euro sign is one byte above 127 in a western code page; the Cyrillic letter is in
    // none of them, and is listed by the file's short name.
    wchar_t wide[MAX_PATH];
    ASSERT_GT(MultiByteToWideChar(CP_ACP, 0, folder.c_str(), -1, wide, MAX_PATH), 0);
    const std::wstring from = std::wstring(wide) + L"\\t.jpg";
    for (const wchar_t* name : {L"\\euro\u20ac.jpg", L"\\zh\u0436.jpg"})
        ASSERT_TRUE(CopyFileW(from.c_str(), (std::wstring(wide) + name).c_str(), TRUE));
    // Whether the volume keeps short names, which a name the code page cannot spell needs.
    wchar_t shortName[MAX_PATH];
    const bool shortNames =
        GetShortPathNameW((std::wstring(wide) + L"\\zh\u0436.jpg").c_str(), shortName, MAX_PATH) >
            0 &&
        std::wcschr(shortName, L'~') != nullptr;
    std::vector<FolderEntry> entries;
    ASSERT_TRUE(ListFolder(folder.c_str(), entries));
    int checked = 0;
    for (const FolderEntry& entry : entries) {
        if (entry.name == "." || entry.name == ".." || entry.name == "t.jpg") continue;
        if (entry.name.find('?') != std::string::npos) {
            EXPECT_FALSE(shortNames) << entry.name;
            continue;
        }
        const std::string path = Path(entry.name);
        EXPECT_TRUE(IsPlainFile(path.c_str())) << entry.name;
        long long bytes = 0, modified = 0;
        EXPECT_TRUE(FileStamp(path.c_str(), bytes, modified)) << entry.name;
        EXPECT_EQ(bytes, static_cast<long long>(sizeof TURNED_JPEG));
        Picture p;
        EXPECT_TRUE(DecodePictureFile(path.c_str(), 1 << 20, p)) << entry.name;
        EXPECT_EQ(p.width, 32);
        ++checked;
    }
    EXPECT_GE(checked, shortNames ? 2 : 1);
    EXPECT_FALSE(IsPlainFile(folder.c_str()));
}

TEST_F(Win32Jpeg, IntoABlockInRgbaWithTheColourKey) {
    std::vector<std::uint8_t> block(32 * 16 * 4, 7);
    DecodeRequest request;
    request.maxPixels = 1 << 20;
    request.block = block.data();
    request.blockBytes = block.size();
    request.order = PixelOrder::RGBA;
    request.colourKeyOn = true;
    request.keyColour[0] = request.keyColour[1] = request.keyColour[2] = 255;
    Picture p;
    ASSERT_TRUE(DecodePicture(Path("t.jpg").c_str(), request, p));
    EXPECT_TRUE(p.bgrx.empty());
    // Top-left of the upright picture is its last row in the block: blue, opaque.
    const std::uint8_t* blue = &block[(std::size_t(15) * 32 + 4) * 4];
    EXPECT_LT(blue[0], 60);
    EXPECT_GT(blue[2], 200);
    EXPECT_EQ(blue[3], 255);
    // Exact white only is keyed out; a JPEG's white may come out a shade off, so count.
    int opaque = 0;
    for (std::size_t i = 3; i < block.size(); i += 4) opaque += block[i] == 255;
    EXPECT_GE(opaque, 32 * 16 * 3 / 4 - 16);
}

TEST_F(Win32Jpeg, RefusalsLeaveTheResultAndTheBlockAlone) {
    Picture p;
    p.width = 99;
    EXPECT_FALSE(DecodePictureFile(Path("t.jpg").c_str(), 32 * 16 - 1, p));  // too large
    EXPECT_EQ(p.width, 99);
    // Cut short: refused before a pixel is written when asked so.
    Write("cut.jpg", std::string(reinterpret_cast<const char*>(TURNED_JPEG), sizeof TURNED_JPEG - 40));
    std::vector<std::uint8_t> block(32 * 16 * 4, 7);
    DecodeRequest request;
    request.maxPixels = 1 << 20;
    request.block = block.data();
    request.blockBytes = block.size();
    request.refuseIncomplete = true;
    EXPECT_FALSE(DecodePicture(Path("cut.jpg").c_str(), request, p));
    EXPECT_TRUE(std::all_of(block.begin(), block.end(), [](std::uint8_t b) { return b == 7; }));
    // A block too small for the picture.
    request.refuseIncomplete = false;
    request.blockBytes = block.size() - 4;
    EXPECT_FALSE(DecodePicture(Path("t.jpg").c_str(), request, p));
    // Not a picture at all.
    Write("fake.jpg", std::string("\xFF\xD8 not really", 13));
    EXPECT_FALSE(DecodePictureFile(Path("fake.jpg").c_str(), 1 << 20, p));
    EXPECT_EQ(p.width, 99);
}

}  // namespace
