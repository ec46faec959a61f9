#include "platform/Text.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>

#include "TestPlatform.h"
#include "platform/DateTime.h"

namespace pondrel {
namespace {

TEST(TextTest, Utf8RoundTripAndInvalidBytes) {
    std::u16string text = u"Uro-génital ¢¬§¦ T° \U0001F600";
    EXPECT_EQ(FromUtf8(ToUtf8(text)), text);
    EXPECT_EQ(FromUtf8("a\xC3"), u"a\uFFFD");
    EXPECT_EQ(FromUtf8("\xED\xA0\x80"), u"\uFFFD\uFFFD\uFFFD");  // an encoded surrogate
    EXPECT_EQ(ToUtf8(u"\xD800x"), "\xEF\xBF\xBDx");               // a lone surrogate
}

TEST(TextTest, ParseIntReadsLikeAtoi) {
    EXPECT_EQ(ParseInt(u"  42abc"), 42);
    EXPECT_EQ(ParseInt(u"-7"), -7);
    EXPECT_EQ(ParseInt(u""), 0);
    EXPECT_EQ(ParseInt(u"x1"), 0);
    EXPECT_EQ(ParseInt(u"99999999999999999999"), 2147483647);
    EXPECT_EQ(ParseInt(u"-99999999999999999999"), -2147483647 - 1);
}

TEST(TextTest, CaseTrimSplitFormat) {
    EXPECT_TRUE(EqualsIgnoreCase(u"PD_ActivePatients", u"pd_activepatients"));
    EXPECT_TRUE(EqualsIgnoreCase(u"ÉCOLE", u"école"));
    EXPECT_FALSE(EqualsIgnoreCase(u"a", u"ab"));
    EXPECT_EQ(TrimRightSpaces(u"Doe  "), u"Doe");
    EXPECT_EQ(TrimRightSpaces(u" Van Dam "), u" Van Dam");
    EXPECT_EQ(Split(u"a|b||", u'|'), (std::vector<std::u16string>{u"a", u"b", u"", u""}));
    EXPECT_EQ(Format(u"n°%d: %d%%", {3, -1}), u"n°3: -1%");
    EXPECT_EQ(ReplaceAll(u"a-b-c", u"-", u"¦"), u"a¦b¦c");
    EXPECT_EQ(CountOf(u"¢¢x¢", u"¢"), 3u);
}

// Code point -> simple mapping, from a Unicode data file: CaseFolding.txt (status C and S) or
// field 12 (simple uppercase) of UnicodeData.txt. Only the Basic Multilingual Plane.
std::map<char16_t, char16_t> ReadUnicodeMapping(const std::string& file, bool folding) {
    std::map<char16_t, char16_t> mapping;
    std::ifstream in(std::string(PONDREL_UNICODE_DATA_DIR) + "/" + file);
    std::string line;
    while (std::getline(in, line)) {
        line = line.substr(0, line.find('#'));
        std::vector<std::string> fields;
        std::stringstream parts(line);
        for (std::string part; std::getline(parts, part, ';');) fields.push_back(part);
        const size_t target = folding ? 2 : 12;
        if (fields.size() <= target) continue;
        if (folding && fields[1].find_first_of("CS") == std::string::npos) continue;
        const unsigned long from = std::stoul(fields[0], nullptr, 16);
        std::stringstream targetText(fields[target]);
        std::string first;
        if (!(targetText >> first)) continue;
        const unsigned long to = std::stoul(first, nullptr, 16);
        if (from <= 0xFFFF && to <= 0xFFFF) {
            mapping[static_cast<char16_t>(from)] = static_cast<char16_t>(to);
        }
    }
    return mapping;
}

// Every unit of the Basic Multilingual Plane folds and capitalises as the Unicode data says
// (the checked-in tables were generated from it).
TEST(TextTest, CaseMappingsFollowTheUnicodeData) {
    const auto folding = ReadUnicodeMapping("CaseFolding.txt", true);
    const auto upper = ReadUnicodeMapping("UnicodeData.txt", false);
    ASSERT_GT(folding.size(), 1000u) << "CaseFolding.txt of the unicode-data package is missing";
    ASSERT_GT(upper.size(), 1000u) << "UnicodeData.txt of the unicode-data package is missing";
    int wrong = 0;
    for (char32_t c = 0; c <= 0xFFFF; ++c) {
        const auto unit = static_cast<char16_t>(c);
        const auto f = folding.find(unit);
        const auto u = upper.find(unit);
        const char16_t wantFold = f == folding.end() ? unit : f->second;
        const char16_t wantUpper = u == upper.end() ? unit : u->second;
        if (FoldCase(unit) != wantFold || UpperCase(unit) != wantUpper) {
            if (++wrong <= 10) {
                ADD_FAILURE() << std::hex << "U+" << static_cast<unsigned>(c) << ": fold "
                              << static_cast<unsigned>(FoldCase(unit)) << " upper "
                              << static_cast<unsigned>(UpperCase(unit));
            }
        }
    }
    EXPECT_EQ(wrong, 0);
}

TEST(TextTest, LatinExtendedLettersFoldToTheirOwnPair) {
    EXPECT_TRUE(EqualsIgnoreCase(u"\u0141ukasz", u"\u0142ukasz"));   // Ł ł
    EXPECT_FALSE(EqualsIgnoreCase(u"\u0142ukasz", u"\u0143ukasz"));  // ł Ń
    EXPECT_TRUE(EqualsIgnoreCase(u"\u0143", u"\u0144"));              // Ń ń
    EXPECT_TRUE(EqualsIgnoreCase(u"\u017Dofia", u"\u017Eofia"));      // Ž ž
    EXPECT_TRUE(EqualsIgnoreCase(u"\u0178", u"\u00FF"));              // Ÿ ÿ
    EXPECT_TRUE(EqualsIgnoreCase(u"\u0393\u03B9\u03C9\u03C1\u03B3\u03BF\u03C2",
                                 u"\u0393\u0399\u03A9\u03A1\u0393\u039F\u03A3"));  // Greek
    EXPECT_TRUE(EqualsIgnoreCase(u"\u0418\u0432\u0430\u043D", u"\u0438\u0412\u0410\u041D"));
    EXPECT_FALSE(EqualsIgnoreCase(u"\u0130", u"i"));  // dotted capital I has no simple folding
    EXPECT_EQ(UpperCase(u'\u0142'), u'\u0141');
    EXPECT_EQ(UpperCase(u'\u00FF'), u'\u0178');
    EXPECT_EQ(UpperCase(u'\u00DF'), u'\u00DF');  // ß has no single capital
}

TEST(TextTest, RemoveSuffixNeverWrapsBelowZero) {
    std::u16string text = u"a&nbsp;&nbsp;";
    EXPECT_TRUE(RemoveSuffix(text, u"&nbsp;"));
    EXPECT_EQ(text, u"a");
    text = u"x\r\n\r\n";
    EXPECT_TRUE(RemoveSuffix(text, u"\r\n", true));
    EXPECT_EQ(text, u"x\r\n");
    text = u"bsp;";  // shorter than the suffix
    EXPECT_FALSE(RemoveSuffix(text, u"&nbsp;"));
    EXPECT_EQ(text, u"bsp;");
    text = u"&nbsp;&nbsp;";
    EXPECT_TRUE(RemoveSuffix(text, u"&nbsp;"));
    EXPECT_TRUE(text.empty());
    EXPECT_FALSE(RemoveSuffix(text, u""));
}

TEST(DateTimeTest, CalendarArithmetic) {
    EXPECT_EQ(DaysFromCivil(1970, 1, 1), 0);
    EXPECT_EQ(DaysFromCivil(2000, 3, 1) - DaysFromCivil(2000, 2, 28), 2);
    EXPECT_EQ(DaysFromCivil(2001, 0, 31), DaysFromCivil(2000, 12, 31));
    int y, m, d;
    CivilFromDays(DaysFromCivil(2024, 2, 29), y, m, d);
    EXPECT_EQ((std::array<int, 3>{y, m, d}), (std::array<int, 3>{2024, 2, 29}));
    EXPECT_EQ(DayOfYear({2004, 12, 31}), 366);
    EXPECT_EQ(DayOfWeek(2000, 1, 1), 6);  // a Saturday
    EXPECT_FALSE(IsValid({2001, 2, 29}));
    EXPECT_TRUE(IsValid({2000, 2, 29, 23, 59, 59}));
    DateTime t{2006, 3, 13, 9, 41, 7};
    EXPECT_EQ(FromSeconds(ToSeconds(t)), t);
}

}  // namespace
}  // namespace pondrel
