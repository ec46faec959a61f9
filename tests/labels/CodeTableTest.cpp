#include "labels/CodeTable.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "Doubles.h"
#include "MemoryFileSystem.h"
#include "platform/Text.h"

namespace pondrel {
namespace {

std::string ReadFactoryTable() {
    std::ifstream in(PONDREL_FACTORY_CODE_TABLE, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

const CodeTable& FactoryTable() {
    static const CodeTable table = DecodeCodeTable(ReadFactoryTable());
    return table;
}

std::string Utf16Le(std::u16string_view text) {
    std::string bytes = "\xFF\xFE";
    for (char16_t c : text) {
        bytes += static_cast<char>(c & 0xFF);
        bytes += static_cast<char>(c >> 8);
    }
    return bytes;
}

std::vector<std::u16string> Codes(const CodeSearchResult& result) {
    std::vector<std::u16string> codes;
    for (const CodeRow& row : result.rows) codes.push_back(row.code);
    return codes;
}

using Codes_ = std::vector<std::u16string>;
using test::MemoryFileSystem;
using test::ScriptedMessages;

// The expected rows were read off the table by hand (grep) when it was built.
TEST(FactoryCodeTableTest, FitsTheLimitAndIsPlainText) {
    std::string bytes = ReadFactoryTable();
    EXPECT_GT(bytes.size(), 2'000'000u);
    EXPECT_LE(bytes.size(), CodeTable::kMaxBytes);
    EXPECT_FALSE(FactoryTable().truncated);
    EXPECT_EQ(FactoryTable().encoding, CodeTableEncoding::Utf8);
    EXPECT_EQ(bytes.substr(0, 13), "A00\tCholera\r\n");
}

TEST(FactoryCodeTableTest, FirstAndLastLinesAreFound) {
    CodeSearchResult cholera = SearchCodeTable(FactoryTable(), u"CHOLERA");
    EXPECT_EQ(Codes(cholera), (Codes_{u"A00", u"A00.0", u"A00.1", u"A00.9"}));
    EXPECT_EQ(cholera.rows[0].wording, u"Cholera");
    EXPECT_EQ(cholera.rows[3].wording, u"Cholera, unspecified");
    CodeSearchResult post = SearchCodeTable(FactoryTable(), u"post covid-19");
    EXPECT_EQ(Codes(post), (Codes_{u"U09", u"U09.9"}));
    EXPECT_EQ(post.rows[1].wording, u"Post covid-19 condition, unspecified");
}

TEST(FactoryCodeTableTest, WordsInAnyOrderAndCase) {
    Codes_ expected{u"I50.32", u"I50.33", u"I50.42", u"I50.43"};
    EXPECT_EQ(Codes(SearchCodeTable(FactoryTable(), u"heart chronic diastolic")), expected);
    EXPECT_EQ(Codes(SearchCodeTable(FactoryTable(), u"Diastolic, HEART;chronic")), expected);
    CodeSearchResult diabetes = SearchCodeTable(FactoryTable(), u"type 2 diabetes without complications");
    EXPECT_EQ(Codes(diabetes), (Codes_{u"E11.9", u"E11.A"}));
    EXPECT_EQ(diabetes.rows[0].wording, u"Type 2 diabetes mellitus without complications");
}

TEST(FactoryCodeTableTest, NoMatchAndAFullList) {
    CodeSearchResult none = SearchCodeTable(FactoryTable(), u"heart xyzzy");
    EXPECT_TRUE(none.rows.empty());
    EXPECT_EQ(none.found, 0u);
    EXPECT_EQ(CodeSearchMessage(none), u"");
    CodeSearchResult fracture = SearchCodeTable(FactoryTable(), u"fracture");
    EXPECT_EQ(fracture.rows.size(), CodeSearchResult::kMaxRows);
    EXPECT_EQ(fracture.found, 2070u);  // grep -ic fracture
    EXPECT_EQ(CodeSearchMessage(fracture), u"Only the first 100/2070 items are displayed.");
    CodeSearchResult empty = SearchCodeTable(FactoryTable(), u" ,; ");
    EXPECT_TRUE(empty.noWords);
    EXPECT_EQ(CodeSearchMessage(empty), u"Insert a key word before");
}

TEST(CodeTableTest, LfCrlfAndUtf16GiveTheSameRows) {
    std::u16string crlf = u"I50.0;Heart failure, congestive\r\nI10,Essential hypertension\r\n"
                          u"R00.0\tÉtat tachycardique, cœur";
    std::u16string lf = ReplaceAll(crlf, u"\r\n", u"\n");
    CodeTable a = DecodeCodeTable(ToUtf8(crlf));
    CodeTable b = DecodeCodeTable(ToUtf8(lf));
    CodeTable c = DecodeCodeTable(Utf16Le(crlf));
    EXPECT_EQ(c.encoding, CodeTableEncoding::Utf16);
    for (const CodeTable* t : {&a, &b, &c}) {
        CodeSearchResult heart = SearchCodeTable(*t, u"heart failure");
        ASSERT_EQ(heart.rows.size(), 1u);
        EXPECT_EQ(heart.rows[0].code, u"I50.0");
        EXPECT_EQ(heart.rows[0].wording, u"Heart failure, congestive");
        CodeSearchResult etat = SearchCodeTable(*t, u"ÉTAT CŒUR");
        ASSERT_EQ(etat.rows.size(), 1u);
        EXPECT_EQ(etat.rows[0].code, u"R00.0");
        EXPECT_EQ(etat.rows[0].wording, u"État tachycardique, cœur");
        EXPECT_EQ(Codes(SearchCodeTable(*t, u"i10")), (Codes_{u"I10"}));
    }
}

TEST(CodeTableTest, EightBitIsUtf8WhenValidElseWindows1252) {
    CodeTable utf8 = DecodeCodeTable("\xEF\xBB\xBFR00;\xC3\x89tat \xE2\x82\xAC");
    EXPECT_EQ(utf8.encoding, CodeTableEncoding::Utf8);
    EXPECT_EQ(utf8.text, u"r00;état €");
    CodeTable cp1252 = DecodeCodeTable("R00;\xC9tat \x80");
    EXPECT_EQ(cp1252.encoding, CodeTableEncoding::Windows1252);
    EXPECT_EQ(cp1252.text, u"r00;état €");
}

TEST(CodeTableTest, SizeLimitAtItsEdge) {
    std::string line = "A00;aaaa\r\n";  // 10 bytes
    std::string exact;
    while (exact.size() + line.size() <= CodeTable::kMaxBytes - 8) exact += line;
    exact += "Z99;last";
    exact.insert(4, std::string(CodeTable::kMaxBytes - exact.size(), 'b'));
    // exactly 5,000,000 bytes, no final break
    ASSERT_EQ(exact.size(), CodeTable::kMaxBytes);
    CodeTable whole = DecodeCodeTable(exact);
    EXPECT_FALSE(whole.truncated);
    EXPECT_EQ(Codes(SearchCodeTable(whole, u"last")), (Codes_{u"Z99"}));
    // One byte more: the first 5,000,000 bytes, less the line the limit cut.
    CodeTable cut = DecodeCodeTable(exact + "s");
    EXPECT_TRUE(cut.truncated);
    EXPECT_TRUE(SearchCodeTable(cut, u"last").rows.empty());
    EXPECT_EQ(SearchCodeTable(cut, u"aaaa").found, SearchCodeTable(whole, u"aaaa").found);
}

TEST(CodeTableTest, LoadingAsksForTheDefaultTableAndReportsTheLimit) {
    MemoryFileSystem files;
    ScriptedMessages messages;
    std::u16string path = u"\\Storage\\Missing.txt";
    CodeTable table;
    messages.Queue(BoxAnswer::No);
    EXPECT_FALSE(LoadCodeTable(files, messages, path, table));
    EXPECT_TRUE(path.empty());
    ASSERT_EQ(messages.boxes.size(), 1u);
    EXPECT_EQ(messages.boxes[0].text,
              u"The file <\\Storage\\Missing.txt> can not be opened.\r\nDo you wish to open the "
              u"default table ICD10 ?");
    EXPECT_EQ(messages.boxes[0].caption, u"Open ICD10 ?");

    path = u"\\Storage\\Missing.txt";
    messages.Queue(BoxAnswer::Yes);
    EXPECT_FALSE(LoadCodeTable(files, messages, path, table));
    EXPECT_EQ(messages.boxes.back().text, u"The default table ICD10 can't be found on your computer");
    EXPECT_FALSE(table.loaded);

    files.AddFile(u"\\My Documents\\ICD10.txt", "I10\tEssential hypertension\n");
    path = u"\\Storage\\Missing.txt";
    messages.Queue(BoxAnswer::Yes);
    EXPECT_TRUE(LoadCodeTable(files, messages, path, table));
    EXPECT_EQ(path, u"\\My Documents\\ICD10.txt");
    EXPECT_EQ(table.title, u"ICD10");
    EXPECT_EQ(SearchCodeTable(table, u"hypertension").rows.size(), 1u);

    files.AddFile(u"\\Big.csv", std::string(CodeTable::kMaxBytes + 10, 'a'));
    path = u"\\Big.csv";
    size_t before = messages.boxes.size();
    EXPECT_TRUE(LoadCodeTable(files, messages, path, table));
    EXPECT_TRUE(table.truncated);
    ASSERT_EQ(messages.boxes.size(), before + 1);
    EXPECT_EQ(messages.boxes.back().text,
              u"Your database is greater as 5Mb. Only the first 5 Mb are loaded.");
}

TEST(DiagnosisCodeTest, CodeInBracketsTakenCutAndReplaced) {
    EXPECT_EQ(CodeInDiagnosis(u"Pneumonia (J18.9)"), u"J18.9");
    EXPECT_EQ(CodeInDiagnosis(u"Fracture (S72.0!)"), u"S72.0");
    EXPECT_EQ(CodeInDiagnosis(u"(J18.9) pneumonia"), u"");  // not after the first character
    EXPECT_EQ(CodeInDiagnosis(u"Pneumonia (J18.9"), u"");
    EXPECT_EQ(DiagnosisWithCode(u"Pneumonia (J18.9)", u"J18.0"), u"Pneumonia (J18.0)");
    EXPECT_EQ(DiagnosisWithCode(u"Pneumonia  ", u"J18.9"), u"Pneumonia (J18.9)");
    EXPECT_EQ(DiagnosisWithoutCode(u"Pneumonia (J18.9)"), u"Pneumonia");
    EXPECT_EQ(DiagnosisWithoutCode(u"("), u"(");
    EXPECT_EQ(DiagnosisWords(u"Heart-failure, acute/chronic (I50.9)?"),
              (std::vector<std::u16string>{u"Heart", u"failure", u"acute", u"chronic", u"(I50",
                                           u"9)"}));
    EXPECT_TRUE(DiagnosisWords(u" , ").empty());
    EXPECT_EQ(TableTitle(u"\\My Documents\\ICD10.txt"), u"ICD10");
    EXPECT_EQ(CodeRowOf(u"k35.80,unspecified acute appendicitis").code, u"K35.80");
}

}  // namespace
}  // namespace pondrel
