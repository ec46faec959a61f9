#include "labels/CodeTable.h"

#include "labels/LabelsReader.h"
#include "platform/DeviceFileSystem.h"
#include "platform/Error.h"
#include "platform/Text.h"
#include "platform/UserMessages.h"

namespace pondrel {

namespace {

unsigned char Byte(std::string_view bytes, size_t i) {
    return static_cast<unsigned char>(bytes[i]);
}

bool IsTrimmed(char16_t c) { return c == u' ' || c == u'\t'; }

std::u16string TrimBlanks(std::u16string_view text) {
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && IsTrimmed(text[begin])) ++begin;
    while (end > begin && IsTrimmed(text[end - 1])) --end;
    return std::u16string(text.substr(begin, end - begin));
}

// The "(" that opens the code of a diagnosis: after the first character.
size_t CodeOpening(std::u16string_view diagnosis) {
    return diagnosis.size() < 2 ? std::u16string_view::npos : diagnosis.find(u'(', 1);
}

}  // namespace

CodeTable DecodeCodeTable(std::string_view bytes) {
    CodeTable table;
    if (bytes.size() > CodeTable::kMaxBytes) {
        table.truncated = true;
        bytes = bytes.substr(0, CodeTable::kMaxBytes);
    }
    std::u16string text;
    if (bytes.size() >= 2 && Byte(bytes, 0) == 0xFF && Byte(bytes, 1) == 0xFE) {
        table.encoding = CodeTableEncoding::Utf16;
        text.reserve(bytes.size() / 2);
        for (size_t i = 2; i + 1 < bytes.size(); i += 2) {
            text += static_cast<char16_t>(Byte(bytes, i) | (Byte(bytes, i + 1) << 8));
        }
    } else {
        if (bytes.size() >= 3 && Byte(bytes, 0) == 0xEF && Byte(bytes, 1) == 0xBB &&
            Byte(bytes, 2) == 0xBF) {
            bytes.remove_prefix(3);
        }
        // A cut file ends with a part of a line (and perhaps of a character): it goes.
        if (table.truncated) {
            size_t lastBreak = bytes.find_last_of("\r\n");
            bytes = bytes.substr(0, lastBreak == std::string_view::npos ? 0 : lastBreak + 1);
        }
        if (IsValidUtf8(bytes)) {
            table.encoding = CodeTableEncoding::Utf8;
            text = FromUtf8(bytes);
        } else {
            table.encoding = CodeTableEncoding::Windows1252;
            text = DecodeWindows1252(bytes);
        }
    }
    if (table.truncated && table.encoding == CodeTableEncoding::Utf16) {
        size_t lastBreak = text.find_last_of(CodeTable::kLineEnds);
        text.resize(lastBreak == std::u16string::npos ? 0 : lastBreak + 1);
    }
    table.text = FoldCase(text);
    table.loaded = true;
    return table;
}

std::u16string TableTitle(std::u16string_view path) {
    size_t slash = path.find_last_of(u"\\/");
    std::u16string_view name = slash == std::u16string_view::npos ? path : path.substr(slash + 1);
    size_t dot = name.rfind(u'.');
    if (dot != std::u16string_view::npos && dot > 0) name = name.substr(0, dot);
    return std::u16string(name);
}

bool LoadCodeTable(DeviceFileSystem& files, UserMessages& messages, std::u16string& path,
                   CodeTable& table) {
    table = CodeTable();
    std::string bytes;
    bool opened = !path.empty() && files.FileExists(path) &&
                  files.ReadFile(path, CodeTable::kMaxBytes + 1, bytes);
    if (!opened) {
        BoxAnswer answer = messages.ShowBox(
            u"The file <" + path +
                u"> can not be opened.\r\nDo you wish to open the default table ICD10 ?",
            u"Open ICD10 ?", BoxButtons::YesNo, BoxIcon::Question);
        if (answer != BoxAnswer::Yes) {
            path.clear();
            return false;
        }
        path = std::u16string(CodeTable::kDefaultPath);
        bytes.clear();
        if (!files.FileExists(path) || !files.ReadFile(path, CodeTable::kMaxBytes + 1, bytes)) {
            messages.ShowBox(u"The default table ICD10 can't be found on your computer",
                             u"Open ICD10 ?", BoxButtons::Ok, BoxIcon::Warning);
            path.clear();
            return false;
        }
    }
    table = DecodeCodeTable(bytes);
    table.title = TableTitle(path);
    if (table.truncated) {
        messages.ShowBox(u"Your database is greater as 5Mb. Only the first 5 Mb are loaded.",
                         u"Open", BoxButtons::Ok, BoxIcon::Warning);
    }
    return true;
}

std::u16string CodeTableNotice() {
    return u"ICD-10 code table: ICD-10-CM FY2026, National Center for Health Statistics / "
           u"Centers for Medicare & Medicaid Services (public domain in the US).";
}

CodeRow CodeRowOf(std::u16string_view line) {
    CodeRow row;
    size_t separator = line.find_first_of(CodeTable::kCodeSeparators);
    std::u16string_view code = line.substr(0, separator);
    std::u16string_view wording =
        separator == std::u16string_view::npos ? std::u16string_view() : line.substr(separator + 1);
    row.code = TrimBlanks(code);
    for (char16_t& c : row.code) c = UpperCase(c);
    row.wording = TrimBlanks(wording);
    if (!row.wording.empty()) row.wording[0] = UpperCase(row.wording[0]);
    return row;
}

CodeSearchResult SearchCodeTable(const CodeTable& table, std::u16string_view words) {
    CodeSearchResult result;
    std::vector<std::u16string> keyWords = KeyWords(words);
    if (keyWords.empty()) {
        result.noWords = true;
        return result;
    }
    std::vector<EntrySpan> lines = SearchEntries(table.text, CodeTable::kLineEnds, keyWords);
    result.found = lines.size();
    for (size_t i = 0; i < lines.size() && i < CodeSearchResult::kMaxRows; ++i) {
        result.rows.push_back(
            CodeRowOf(std::u16string_view(table.text).substr(lines[i].start, lines[i].length)));
    }
    return result;
}

std::u16string CodeSearchMessage(const CodeSearchResult& result) {
    if (result.noWords) return u"Insert a key word before";
    if (result.rows.size() >= CodeSearchResult::kMaxRows) {
        return Format(u"Only the first %d/%d items are displayed.",
                      {static_cast<long long>(CodeSearchResult::kMaxRows),
                       static_cast<long long>(result.found)});
    }
    return {};
}

std::u16string CodeInDiagnosis(std::u16string_view diagnosis) {
    size_t open = CodeOpening(diagnosis);
    if (open == std::u16string_view::npos) return {};
    size_t close = diagnosis.find(u')', open + 1);
    if (close == std::u16string_view::npos) return {};
    std::u16string code(diagnosis.substr(open + 1, close - open - 1));
    while (!code.empty() && (code.back() == u'!' || code.back() == u')')) code.pop_back();
    return TrimBlanks(code);
}

std::u16string DiagnosisWithoutCode(std::u16string_view diagnosis) {
    size_t open = CodeOpening(diagnosis);
    if (open != std::u16string_view::npos) diagnosis = diagnosis.substr(0, open);
    return TrimRightSpaces(diagnosis);
}

std::u16string DiagnosisWithCode(std::u16string_view diagnosis, std::u16string_view code) {
    return DiagnosisWithoutCode(diagnosis) + u" (" + std::u16string(code) + u")";
}

std::vector<std::u16string> DiagnosisWords(std::u16string_view diagnosis) {
    static constexpr std::u16string_view kCuts = u" ,-/;+.";
    static constexpr std::u16string_view kTrailing = u", ;-?!/+.";
    std::vector<std::u16string> words;
    size_t start = 0;
    while (start <= diagnosis.size()) {
        size_t end = diagnosis.find_first_of(kCuts, start);
        if (end == std::u16string_view::npos) end = diagnosis.size();
        std::u16string_view part = diagnosis.substr(start, end - start);
        while (!part.empty() && kTrailing.find(part.back()) != std::u16string_view::npos) {
            part.remove_suffix(1);
        }
        if (!part.empty()) words.emplace_back(part);
        start = end + 1;
    }
    return words;
}

}  // namespace pondrel
