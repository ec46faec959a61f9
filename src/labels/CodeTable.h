#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "labels/KeyWordSearch.h"
#include "records/WorkingFolders.h"

namespace pondrel {

class DeviceFileSystem;
class UserMessages;
struct Error;

// The diagnosis code table of the ICD-10 search: a text file of one entry per line, a code, a
// separator ("," ";" or a tab) and the wording. Read once, kept folded to lower case so that
// each search is a plain substring search.
enum class CodeTableEncoding { Utf8, Windows1252, Utf16 };

struct CodeTable {
    static constexpr size_t kMaxBytes = 5'000'000;
    static constexpr std::u16string_view kDefaultPath = WorkingFolders::kCodeTable;
    // Line breaks: CRLF as the program writes, LF (and a lone CR) as other tools write.
    static constexpr std::u16string_view kLineEnds = u"\r\n";
    static constexpr std::u16string_view kCodeSeparators = u",;\t";

    std::u16string text;   // folded to lower case
    std::u16string title;  // the file name without folders and extension
    CodeTableEncoding encoding = CodeTableEncoding::Utf8;
    bool truncated = false;  // the file was longer than kMaxBytes
    bool loaded = false;
};

// The table from a file's bytes: UTF-16 little-endian after the mark FF FE; else UTF-8 when the
// bytes are valid UTF-8 (a UTF-8 mark is dropped); else Windows-1252. Bytes beyond kMaxBytes are
// left out, and so is the line they cut.
CodeTable DecodeCodeTable(std::string_view bytes);

// "Doe\ICD10.txt" -> "ICD10".
std::u16string TableTitle(std::u16string_view path);

// Reads the table at `path` with the program's questions and messages: a file that can not be
// opened offers the default table (`path` becomes it on Yes, or empty when there is no table);
// a file beyond the limit is loaded in part, with a message. False when no table was loaded.
bool LoadCodeTable(DeviceFileSystem& files, UserMessages& messages, std::u16string& path,
                   CodeTable& table);

// One row of the result list: the code in upper case, the wording with a capital first letter.
struct CodeRow {
    std::u16string code;
    std::u16string wording;
};

struct CodeSearchResult {
    static constexpr size_t kMaxRows = 100;
    std::vector<CodeRow> rows;  // at most kMaxRows
    size_t found = 0;           // lines found by the last word
    bool noWords = false;       // the words text held no word
};

// The rows a search for `words` shows (no message boxes: see CodeSearchMessages).
CodeSearchResult SearchCodeTable(const CodeTable& table, std::u16string_view words);
// Splits one line of the table into its row.
CodeRow CodeRowOf(std::u16string_view line);

// The notice texts of a search: "Insert a key word before" for no words, the "Only the first
// 100/N items are displayed." box when the list is full; empty when nothing must be said.
std::u16string CodeSearchMessage(const CodeSearchResult& result);

// Where the factory table comes from, for the About box.
std::u16string CodeTableNotice();

// ---- The diagnosis text ---------------------------------------------------------------------
// The code carried by a diagnosis ("Pneumonia (J18.9)" -> "J18.9"): the text between a "("
// after the first character and the next ")", trailing "!" and ")" trimmed; empty when none.
std::u16string CodeInDiagnosis(std::u16string_view diagnosis);
// The diagnosis without its code: cut before the "(" after its first character, trailing
// blanks removed.
std::u16string DiagnosisWithoutCode(std::u16string_view diagnosis);
// The diagnosis with `code` in brackets after it, replacing the code it carried.
std::u16string DiagnosisWithCode(std::u16string_view diagnosis, std::u16string_view code);
// The words of a diagnosis for the "L" list.
std::vector<std::u16string> DiagnosisWords(std::u16string_view diagnosis);

}  // namespace pondrel
