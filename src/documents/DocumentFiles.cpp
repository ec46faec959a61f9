#include "documents/DocumentFiles.h"

#include "documents/RtfFormat.h"
#include "platform/DeviceFileSystem.h"
#include "platform/Error.h"
#include "platform/Text.h"
#include "records/PatientRecord.h"
#include "records/WorkingFolders.h"

namespace pondrel {
namespace {

constexpr std::u16string_view kExtension = u".rtf";
constexpr std::string_view kMarkStart = "{\\*\\pondrelpatient ";
constexpr std::string_view kKindMarkStart = "{\\*\\pondreldocument ";
constexpr int kLastNameField = 2;
constexpr int kFirstNameField = 3;
constexpr int kChartNumberField = 200;

bool IsHighSurrogate(char16_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}

// The patient's identity as a mark: the patient file's base name and the chart number, in
// hexadecimal UTF-8, so that the mark is plain ASCII whatever the names hold.
std::string MarkOf(const PatientRecord& record) {
    static constexpr char kHex[] = "0123456789abcdef";
    const std::string identity =
        ToUtf8(PatientBaseName(record) + u"|" + record.Field(kChartNumberField));
    std::string mark(kMarkStart);
    for (unsigned char c : identity) {
        mark += kHex[c >> 4];
        mark += kHex[c & 0x0F];
    }
    return mark + "}";
}

// Position of the closing brace of an RTF document (trailing blanks, line breaks and zero bytes
// after it allowed); none for other documents.
std::optional<size_t> ClosingBrace(std::string_view bytes) {
    if (bytes.empty() || bytes.front() != '{') return std::nullopt;
    size_t end = bytes.find_last_not_of(std::string_view(" \r\n\t\0", 5));
    if (end == std::string_view::npos || bytes[end] != '}') return std::nullopt;
    return end;
}

}  // namespace

std::u16string TemplateBaseName(std::u16string_view path) {
    const size_t slash = path.find_last_of(u"\\/");
    std::u16string_view name = slash == std::u16string_view::npos ? path : path.substr(slash + 1);
    return std::u16string(name.substr(0, name.find(u'.')));
}

std::u16string SafeNamePart(std::u16string_view text) {
    std::u16string out(text);
    for (char16_t& c : out) {
        if (c < 0x20 || c == 0x7F ||
            std::u16string_view(u"\\/:*?\"<>|").find(c) != std::u16string_view::npos) {
            c = u'_';
        }
    }
    return out;
}

std::u16string DocumentFileName(std::u16string_view prefix, const PatientRecord& record) {
    std::u16string stem = SafeNamePart(u"[" + std::u16string(prefix) + u"] " +
                                       TrimRightSpaces(record.Field(kLastNameField)) + u" " +
                                       TrimRightSpaces(record.Field(kFirstNameField)));
    // Every character takes at least one byte: no need to measure more than the limit.
    if (stem.size() > kMaxDocumentNameBytes) stem.resize(kMaxDocumentNameBytes);
    while (!stem.empty() && ToUtf8(stem).size() + kExtension.size() > kMaxDocumentNameBytes) {
        stem.pop_back();
    }
    if (!stem.empty() && IsHighSurrogate(stem.back())) stem.pop_back();  // never half a character
    return stem + std::u16string(kExtension);
}

namespace {

std::string WithMark(std::string_view bytes, const std::string& mark) {
    std::optional<size_t> brace = ClosingBrace(bytes);
    if (!brace) return std::string(bytes);
    std::string marked(bytes.substr(0, *brace));
    marked += mark;
    marked += bytes.substr(*brace);
    return marked;
}

// The mark of a document that names no patient: its kind, letters and digits only.
std::string KindMark(std::string_view kind) {
    std::string mark(kKindMarkStart);
    for (char c : kind) {
        if ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) mark += c;
    }
    return mark + "}";
}

// The document goes under `fileName`, or under the first numbered name that is free or holds a
// document carrying the same mark (the program's own, unedited since).
std::optional<std::u16string> SaveWithMark(DeviceFileSystem& files, std::u16string_view fileName,
                                           std::string_view bytes, const std::string& mark,
                                           Error* error) {
    std::u16string_view stem = fileName;
    if (stem.size() >= kExtension.size() &&
        EqualsIgnoreCase(stem.substr(stem.size() - kExtension.size()), kExtension)) {
        stem.remove_suffix(kExtension.size());
    }
    const std::string marked = WithMark(bytes, mark);
    for (int number = 1; number <= kMaxDocumentNumber; ++number) {
        const std::u16string name = number == 1 ? std::u16string(fileName)
                                                : std::u16string(stem) + u" (" + ToText(number) +
                                                      u")" + std::u16string(kExtension);
        const std::u16string path = JoinPath(WorkingFolders::kPrintDoc, name);
        if (files.FileExists(path)) {
            std::string existing;
            if (!files.ReadFile(path, kTemplateReadBytes + 4096, existing) ||
                existing.find(mark) == std::string::npos) {
                continue;  // another patient's document, or one edited since: kept
            }
        }
        if (!files.WriteFile(path, marked, error)) return std::nullopt;
        return name;
    }
    Error::Set(error, ErrorKind::Refused,
               "every name for this document is taken by other documents");
    return std::nullopt;
}

}  // namespace

std::string MarkedDocument(std::string_view bytes, const PatientRecord& record) {
    return WithMark(bytes, MarkOf(record));
}

std::string MarkedKindDocument(std::string_view bytes, std::string_view kind) {
    return WithMark(bytes, KindMark(kind));
}

bool IsDocumentOf(std::string_view bytes, const PatientRecord& record) {
    return bytes.find(MarkOf(record)) != std::string_view::npos;
}

std::optional<std::u16string> SaveDocument(DeviceFileSystem& files, std::u16string_view fileName,
                                           std::string_view bytes, const PatientRecord& record,
                                           Error* error) {
    return SaveWithMark(files, fileName, bytes, MarkOf(record), error);
}

std::optional<std::u16string> SaveKindDocument(DeviceFileSystem& files,
                                               std::u16string_view fileName,
                                               std::string_view bytes, std::string_view kind,
                                               Error* error) {
    return SaveWithMark(files, fileName, bytes, KindMark(kind), error);
}

std::u16string PrintFolderShown(const DeviceFileSystem& files) {
    return files.ShownPath(WorkingFolders::kPrintDoc);
}

std::u16string PrintFileShown(const DeviceFileSystem& files, std::u16string_view fileName) {
    return files.ShownPath(JoinPath(WorkingFolders::kPrintDoc, fileName));
}

}  // namespace pondrel
