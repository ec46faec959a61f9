#pragma once

// The documents saved into the print folder "\My Documents\PD_PrintDoc": their names and how
// they are written. A name is built from record texts, so it is made safe (no folder part, no
// separator, a bounded length). A saved RTF document carries an invisible mark of its patient, so
// that a later save replaces the patient's own document and never the document of another
// patient of the same name, nor a document edited since in a word processor (those are kept,
// and the new document gets a numbered name such as "[Out letter] Doe Jane (2).rtf").

#include <optional>
#include <string>
#include <string_view>

namespace pondrel {

class DeviceFileSystem;
struct Error;
struct PatientRecord;

// At most this many bytes of UTF-8 in a document name, so that the host's 255-byte limit
// leaves room for the temporary names of the atomic write.
inline constexpr size_t kMaxDocumentNameBytes = 200;
// Numbered names tried after the plain one: " (2)" to " (99)".
inline constexpr int kMaxDocumentNumber = 99;

// The name of a template without its folder and without everything from its first ".":
// "Letter" for "\My Documents\Letter.v2.rtf".
std::u16string TemplateBaseName(std::u16string_view path);

// A text made fit for a file name: the characters that separate folders or are refused by file
// systems ("\", "/", ":", "*", "?", '"', "<", ">", "|", control characters) become "_".
std::u16string SafeNamePart(std::u16string_view text);

// "[" + prefix + "] " + last name + " " + first name + ".rtf" (fields 2 and 3), safe and within
// kMaxDocumentNameBytes.
std::u16string DocumentFileName(std::u16string_view prefix, const PatientRecord& record);

// The mark of the patient ("{\*\pondrelpatient ...}", an ignorable group) put before the
// closing brace of an RTF document; other documents are returned unchanged.
std::string MarkedDocument(std::string_view bytes, const PatientRecord& record);
// True when a document carries the mark of this patient.
bool IsDocumentOf(std::string_view bytes, const PatientRecord& record);

// Writes the document into the print folder under `fileName`, or under the first numbered name
// that is free or holds this patient's own earlier document. Returns the name written; none
// when the write failed or every name is taken (the error says which).
std::optional<std::u16string> SaveDocument(DeviceFileSystem& files, std::u16string_view fileName,
                                           std::string_view bytes, const PatientRecord& record,
                                           Error* error = nullptr);

// The whole path of the print folder, and of a document in it, as the doctor finds them on this
// machine: the messages after a save name them.
std::u16string PrintFolderShown(const DeviceFileSystem& files);
std::u16string PrintFileShown(const DeviceFileSystem& files, std::u16string_view fileName);

// Documents that name no patient (the ward documents) carry the mark of their kind instead
// ("{\*\pondreldocument bigsummary}"): a later save replaces only the program's own unedited
// document of that kind.
std::string MarkedKindDocument(std::string_view bytes, std::string_view kind);
std::optional<std::u16string> SaveKindDocument(DeviceFileSystem& files,
                                               std::u16string_view fileName,
                                               std::string_view bytes, std::string_view kind,
                                               Error* error = nullptr);

}  // namespace pondrel
