// The host program's command line: the seed and the kingdoms in both spellings and their
// limits, help and version, and every way to get it wrong ending with status 2 and a message.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "korvis/options.h"

namespace {

int Read(std::vector<const char*> words, std::string& output, std::string& errors) {
    words.insert(words.begin(), "korvis");
    return ReadKorvisCommandLine(int(words.size()), words.data(), output, errors);
}

TEST(KorvisOptions, SeedInBothSpellingsAndAtItsLimits) {
    std::string out, err;
    EXPECT_EQ(Read({}, out, err), -1);
    EXPECT_FALSE(KorvisOptions.seedGiven);
    EXPECT_EQ(Read({"--seed", "42"}, out, err), -1);
    EXPECT_TRUE(KorvisOptions.seedGiven);
    EXPECT_EQ(KorvisOptions.seed, 42u);
    EXPECT_EQ(Read({"--seed=4294967295"}, out, err), -1);
    EXPECT_EQ(KorvisOptions.seed, 4294967295u);
    EXPECT_EQ(Read({"--seed", "0"}, out, err), -1);
    EXPECT_EQ(KorvisOptions.seed, 0u);
    EXPECT_TRUE(KorvisOptions.seedGiven);
    EXPECT_EQ(Read({"--kingdoms=1", "--kingdoms", "5"}, out, err), -1);
    EXPECT_EQ(KorvisOptions.kingdoms, 5);
    // A later run without the options does not keep the earlier seed or kingdoms.
    EXPECT_EQ(Read({}, out, err), -1);
    EXPECT_FALSE(KorvisOptions.seedGiven);
    EXPECT_EQ(KorvisOptions.kingdoms, 3);
    EXPECT_TRUE(out.empty());
    EXPECT_TRUE(err.empty());
}

TEST(KorvisOptions, HelpAndVersionEndWithZero) {
    std::string out, err;
    EXPECT_EQ(Read({"--help"}, out, err), 0);
    EXPECT_NE(out.find("--seed N"), std::string::npos);
    out.clear();
    EXPECT_EQ(Read({"-h", "--bogus"}, out, err), 0);
    EXPECT_NE(out.find("Usage: korvis"), std::string::npos);
    out.clear();
    EXPECT_EQ(Read({"--version"}, out, err), 0);
    EXPECT_EQ(out.rfind("korvis ", 0), 0u);
    EXPECT_TRUE(err.empty());
}

TEST(KorvisOptions, WrongCommandLinesEndWithTwoAndSayWhy) {
    const std::vector<std::vector<const char*>> wrong = {
        {"--bogus"},         {"--seed"},
        {"--seed", "-1"},    {"--seed", "12x"},
        {"--seed", ""},      {"--seed=4294967296"},
        {"--seed", " 5"},    {"--seed=99999999999"},
        {"somefolder"},      {"--seed", "+5"},
        {"--kingdoms", "0"}, {"--kingdoms=6"},
        {"--kingdoms"},      {"--kingdoms", "12"},
    };
    for (const auto& words : wrong) {
        std::string out, err;
        EXPECT_EQ(Read(words, out, err), 2) << words[0];
        EXPECT_EQ(err.rfind("korvis: ", 0), 0u) << err;
        EXPECT_NE(err.find("korvis --help"), std::string::npos);
        EXPECT_TRUE(out.empty());
    }
}

}  // namespace
