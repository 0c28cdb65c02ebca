// The media menu's command line: what it prints and its exit statuses, and the folder
// argument made absolute without moving the current folder.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <string>
#include <vector>

#include "quentaro.h"
#include "support/picture_files.h"

namespace {

namespace fs = std::filesystem;

struct Outcome {
    int status;
    std::string output, errors;
};

Outcome Read(std::vector<std::string> words) {
    words.insert(words.begin(), "quentaro");
    std::vector<const char*> argv;
    for (const std::string& w : words) argv.push_back(w.c_str());
    Outcome o;
    o.status = ReadCommandLine(int(argv.size()), argv.data(), o.output, o.errors);
    return o;
}

std::string Real(const std::string& path) {
    return fs::canonical(path).string();
}

class CommandLine : public ::testing::Test {
  protected:
    KeepCurrentFolder keep;
    TempFolder folder;
    void TearDown() override { StartOptions = StartOptionsRecord{}; }
};

TEST_F(CommandLine, NoArgumentStartsAsBefore) {
    StartOptions.verbose = true;  // left over from an earlier reading
    Outcome o = Read({});
    EXPECT_EQ(o.status, -1);
    EXPECT_EQ(o.output + o.errors, "");
    EXPECT_EQ(StartOptions.browseFolder, "");
    EXPECT_FALSE(StartOptions.verbose);
}

TEST_F(CommandLine, HelpAndVersionPrintAndEndWithZero) {
    for (const char* word : {"--help", "-h"}) {
        Outcome o = Read({"--verbose", word, "--no-such-option"});
        EXPECT_EQ(o.status, 0) << word;
        EXPECT_EQ(o.output.rfind("Usage: quentaro [OPTION]... [FOLDER]\n", 0), 0u) << o.output;
        EXPECT_EQ(o.errors, "");
    }
    Outcome o = Read({"--version"});
    EXPECT_EQ(o.status, 0);
    // "quentaro MAJOR.MINOR.PATCH": the build's version, not a stand-in word.
    const std::string prefix = "quentaro ";
    ASSERT_EQ(o.output.rfind(prefix, 0), 0u) << o.output;
    std::string number = o.output.substr(prefix.size());
    EXPECT_EQ(number.find_first_not_of("0123456789.\n"), std::string::npos) << o.output;
    EXPECT_EQ(std::count(number.begin(), number.end(), '.'), 2) << o.output;
    EXPECT_TRUE(std::isdigit(static_cast<unsigned char>(number.front()))) << o.output;
    EXPECT_EQ(number.back(), '\n');
}

TEST_F(CommandLine, WrongCommandLinesEndWithTwoAndSayWhy) {
    fs::create_directory(folder / "a");
    fs::create_directory(folder / "b");
    folder.Touch("file.jpg");
    platform::SetCurrentFolder(folder.Path().c_str());
    const struct {
        std::vector<std::string> words;
        const char* says;
    } cases[] = {
        {{"--bogus"}, "unknown option '--bogus'"},
        {{"-x", "a"}, "unknown option '-x'"},
        {{"--help=yes"}, "unknown option '--help=yes'"},
        {{"a", "b"}, "one folder at most: 'a' and 'b'"},
        {{"missing"}, "cannot browse 'missing': no such folder"},
        {{"file.jpg"}, "cannot browse 'file.jpg': not a folder"},
        {{""}, "cannot browse '': no such folder"},
    };
    for (const auto& c : cases) {
        Outcome o = Read(c.words);
        EXPECT_EQ(o.status, 2) << c.says;
        EXPECT_EQ(o.output, "");
        EXPECT_NE(o.errors.find(c.says), std::string::npos) << o.errors;
        EXPECT_EQ(StartOptions.browseFolder, "") << c.says;
    }
    EXPECT_EQ(platform::CurrentFolder(), Real(folder.Path()));
}

TEST_F(CommandLine, FolderIsMadeAbsoluteAndTheCurrentFolderStays) {
    fs::create_directories(folder / "pictures/2024");
    fs::create_directory(folder / "-odd");
    platform::SetCurrentFolder((folder / "pictures").c_str());

    Outcome o = Read({"2024/", "--verbose"});
    EXPECT_EQ(o.status, -1) << o.errors;
    EXPECT_EQ(StartOptions.browseFolder, Real(folder / "pictures/2024"));
    EXPECT_TRUE(StartOptions.verbose);
    EXPECT_EQ(platform::CurrentFolder(), Real(folder / "pictures"));

    o = Read({"..", "--", "../-odd"});
    EXPECT_EQ(o.status, 2);  // two folders
    o = Read({"--", "../-odd"});
    EXPECT_EQ(o.status, -1) << o.errors;
    EXPECT_EQ(StartOptions.browseFolder, Real(folder / "-odd"));
    o = Read({folder.Path()});
    EXPECT_EQ(StartOptions.browseFolder, Real(folder.Path()));
    EXPECT_EQ(platform::CurrentFolder(), Real(folder / "pictures"));
}

TEST_F(CommandLine, AFolderTooLongForTheBrowserIsRefused) {
#ifdef _WIN32
    GTEST_SKIP() << "the system's calls by 8-bit name reach no folder this deep";
#endif
    // The browser keeps its folder in FOLDER_CAPACITY bytes: a longer path would be cut.
    std::string deep = folder.Path();
    while (deep.size() < std::size_t(FOLDER_CAPACITY)) deep += "/" + std::string(200, 'd');
    fs::create_directories(deep);
    std::string before = platform::CurrentFolder();
    Outcome o = Read({deep});
    EXPECT_EQ(o.status, 2);
    EXPECT_NE(o.errors.find("longer than 2999 bytes"), std::string::npos) << o.errors;
    EXPECT_EQ(StartOptions.browseFolder, "");
    EXPECT_EQ(platform::CurrentFolder(), before);

    // One byte short of the capacity is taken whole; exactly the capacity leaves no room
    // for the end byte.
    std::string parent = Real(folder.Path());
    while (parent.size() + 256 < std::size_t(FOLDER_CAPACITY))
        parent += "/" + std::string(200, 'p');
    std::string fits = parent + "/" + std::string(FOLDER_CAPACITY - 2 - parent.size(), 'f');
    fs::create_directories(fits);
    fs::create_directory(fits + "g");
    EXPECT_EQ(Read({fits}).status, -1);
    EXPECT_EQ(StartOptions.browseFolder, fits);
    EXPECT_EQ(Read({fits + "g"}).status, 2);
    EXPECT_EQ(StartOptions.browseFolder, "");
}

}  // namespace
