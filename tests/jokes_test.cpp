// SPDX-License-Identifier: GPL-3.0-or-later
#include "jokes/Catalogue.h"
#include "jokes/Reward.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numeric>
#include <regex>
#include <set>

using namespace zirkulon;

namespace {

// Code points of a UTF-8 text; the catalogue stays within Latin-1.
std::u32string decode(const std::string& text) {
    std::u32string out;
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {
            out += c;
            ++i;
        } else if ((c & 0xE0) == 0xC0 && i + 1 < text.size()) {
            out += static_cast<char32_t>(((c & 0x1F) << 6) | (text[i + 1] & 0x3F));
            i += 2;
        } else {
            out += U'\uFFFD'; // anything longer is outside the allowed set anyway
            ++i;
        }
    }
    return out;
}

class Catalogue : public ::testing::Test {
protected:
    const std::vector<std::string> entries = jokes::catalogueEntries();
    std::u32string at(int position) const { return decode(entries.at(position - 1)); }
    std::size_t length(int position) const { return at(position).size(); }
};

} // namespace

TEST_F(Catalogue, HoldsOneHundredAndSixtyEntriesWithTwoRepeats) {
    ASSERT_EQ(entries.size(), 160u);
    EXPECT_EQ(std::set<std::string>(entries.begin(), entries.end()).size(), 158u);
    EXPECT_EQ(entries[94], entries[0]);
    EXPECT_EQ(entries[95], entries[2]);
}

TEST_F(Catalogue, UsesOnlyPrintableAsciiAndGermanLetters) {
    const std::u32string extra = U"äöüÄÜß";
    int withGrave = 0;
    std::set<std::size_t> spaceRuns;
    for (int p = 1; p <= 160; ++p) {
        const std::u32string text = at(p);
        for (char32_t c : text) {
            const bool ascii = c >= 0x20 && c <= 0x7E;
            EXPECT_TRUE((ascii && c != U'"') || extra.find(c) != std::u32string::npos)
                << "position " << p << " has U+" << std::hex << static_cast<unsigned>(c);
        }
        EXPECT_NE(text.front(), U' ') << p;
        EXPECT_NE(text.back(), U' ') << p;
        const bool grave = text.find(U'`') != std::u32string::npos;
        withGrave += grave;
        EXPECT_FALSE(grave && p < 80) << "grave accent at drawable position " << p;
        for (std::size_t i = 0; i < text.size();) {
            std::size_t run = 0;
            while (i + run < text.size() && text[i + run] == U' ') {
                ++run;
            }
            if (run > 1) {
                spaceRuns.insert(run);
            }
            i += run > 0 ? run : 1;
        }
    }
    EXPECT_EQ(withGrave, 3);
    EXPECT_EQ(spaceRuns, (std::set<std::size_t>{2, 3, 7}));
}

TEST_F(Catalogue, LengthsStayWithinTheirBounds) {
    std::size_t total = 0;
    for (int p = 1; p <= 160; ++p) {
        total += length(p);
        // 152 alone is the shortest and 71 alone the longest.
        EXPECT_GE(length(p), p <= 79 ? 93u : p == 152 ? 64u : 65u) << p;
        EXPECT_LE(length(p), p == 71 ? 843u : 842u) << p;
    }
    EXPECT_EQ(length(152), 64u);
    EXPECT_EQ(length(71), 843u);
    EXPECT_EQ(total, 36585u);
}

TEST_F(Catalogue, IsGermanButForTwoEnglishJokes) {
    const std::regex german(R"(\b(der|die|das|und|ist|ein|eine|nicht|ich|du|sagt|fragt|was)\b)",
                            std::regex::icase);
    const std::regex english(R"(\b(the|and|is|you)\b)");
    for (int p = 1; p <= 160; ++p) {
        const bool isEnglish = p == 41 || p == 43;
        EXPECT_EQ(std::regex_search(entries[p - 1], german), !isEnglish) << p;
        EXPECT_EQ(std::regex_search(entries[p - 1], english), isEnglish) << p;
    }
}

TEST_F(Catalogue, NearCopiesDifferOnlyWhereTheyShould) {
    // 6 and 140: one six-letter first name swapped at both of its places.
    ASSERT_EQ(length(6), 93u);
    ASSERT_EQ(length(140), 93u);
    const std::string& six = entries[5];
    const std::string& other = entries[139];
    const auto first = std::mismatch(six.begin(), six.end(), other.begin()).first - six.begin();
    const auto wordAt = [](const std::string& text, std::ptrdiff_t at) {
        auto start = static_cast<std::size_t>(at);
        while (start > 0 && std::isalpha(static_cast<unsigned char>(text[start - 1]))) {
            --start;
        }
        auto end = start;
        while (end < text.size() && std::isalpha(static_cast<unsigned char>(text[end]))) {
            ++end;
        }
        return text.substr(start, end - start);
    };
    const std::string name = wordAt(six, first);
    const std::string replacement = wordAt(other, first);
    ASSERT_EQ(name.size(), 6u);
    ASSERT_EQ(replacement.size(), 6u);
    EXPECT_NE(name, replacement);
    std::string swapped = six;
    int places = 0;
    for (auto at = swapped.find(name); at != std::string::npos; at = swapped.find(name, at)) {
        swapped.replace(at, name.size(), replacement);
        ++places;
    }
    EXPECT_EQ(places, 2);
    EXPECT_EQ(swapped, other);

    // 98 and 121: one full stop against three before the closing apostrophe.
    EXPECT_EQ(length(98), 387u);
    EXPECT_EQ(length(121), 389u);
    ASSERT_TRUE(entries[97].ends_with(".'"));
    EXPECT_FALSE(entries[97].ends_with("..'"));
    EXPECT_EQ(entries[120], entries[97].substr(0, entries[97].size() - 2) + "...'");

    // 99 and 133: an exclamation mark before the closing apostrophe.
    EXPECT_EQ(length(99), 369u);
    EXPECT_EQ(length(133), 370u);
    ASSERT_TRUE(entries[98].ends_with("'"));
    EXPECT_EQ(entries[132], entries[98].substr(0, entries[98].size() - 1) + "!'");

    // 151 asks, 152 answers.
    EXPECT_TRUE(entries[150].ends_with("?"));
    EXPECT_FALSE(entries[151].ends_with("?"));
}

TEST(Reward, PositionFollowsTheRandomNumber) {
    const std::pair<float, int> cases[] = {{0.01f, 1},        {0.25f, 20}, {0.5f, 40},
                                           {0.75f, 60},       {0.99f, 79}, {0x1.fffffep-1f, 79},
                                           {141.0f / 159, 71}};
    for (const auto& [r, position] : cases) {
        EXPECT_EQ(jokes::rewardPosition(r, 160), position) << r;
    }
}

TEST(Reward, PositionZeroDrawsTheFirstJoke) {
    EXPECT_EQ(jokes::rewardPosition(0.0f, 160), 1);
    EXPECT_EQ(jokes::rewardPosition(0.006f, 160), 1); // below 1/159
    EXPECT_EQ(jokes::rewardPosition(0.0063f, 160), 1);
    EXPECT_EQ(jokes::rewardPosition(0.5f, 0), 0); // nothing to draw from
}

TEST(Reward, NeverReachesTheSecondHalfOfTheCatalogue) {
    std::set<int> seen;
    for (std::uint32_t k = 0; k < (1u << 24); k += 331) {
        seen.insert(jokes::rewardPosition(static_cast<float>(k) * 0x1p-24f, 160));
    }
    seen.insert(jokes::rewardPosition(0x1.fffffep-1f, 160));
    EXPECT_EQ(seen.size(), 79u);
    EXPECT_EQ(*seen.begin(), 1);
    EXPECT_EQ(*seen.rbegin(), 79);
}
