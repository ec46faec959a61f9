#pragma once

// The two documents of the whole ward for one day, written into the print folder from the model
// files of the installation folder: the big summary (a table row per patient: identity, the
// problems of the day with their sections, the four paragraphs of the big summary format, what
// runs, the tasks and the recent examinations) and the small summary (one line per bed in room
// order, empty beds included). Every row is built from the records themselves; nothing of the
// form or of any record is changed.

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "documents/RtfMarkup.h"
#include "documents/SummaryInputs.h"
#include "settings/Preferences.h"

namespace pondrel {

class DeviceFileSystem;

enum class WardDocumentKind { Big, Small };

inline constexpr std::u16string_view kBigSummaryModel = u"Summary All Patients.pdt";
inline constexpr std::u16string_view kBigSummaryEvenRowModel = u"AddTable2.pdt";
inline constexpr std::u16string_view kBigSummaryOddRowModel = u"AddTable1.pdt";
inline constexpr std::u16string_view kSmallSummaryModel = u"Sum department.pdt";
inline constexpr std::u16string_view kSmallSummaryLineModel = u"Sum Dep AddLine.pdt";
inline constexpr std::u16string_view kSmallSummaryEndModel = u"Sum Dep End.pdt";
inline constexpr std::u16string_view kPrintModel = u"PrintModel.pdt";

// How a model file was read. A model longer than its limit is refused whole: cut at the limit it
// would end in the middle of a control word or a group.
enum class ModelReadFailure { None, NotFound, TooBig };
struct ModelRead {
    std::u16string text;
    ModelReadFailure failure = ModelReadFailure::None;
    std::u16string name;  // the file name, for the notice
};
ModelRead ReadWholeModel(DeviceFileSystem& files, std::u16string_view folder,
                         std::u16string_view name, size_t maxBytes);

// The three models of one document: the big summary's first, even and odd rows, or the small
// summary's first line, further lines and end. The first failure stops the reading.
struct WardModels {
    std::u16string first;
    std::u16string further;  // big: AddTable2 (2nd, 4th ... row); small: Sum Dep AddLine
    std::u16string last;     // big: AddTable1 (3rd, 5th ... row); small: Sum Dep End
};
struct WardModelsRead {
    std::optional<WardModels> models;
    ModelRead failed;  // the model that could not be read
};
WardModelsRead ReadWardModels(DeviceFileSystem& files, std::u16string_view installationFolder,
                              WardDocumentKind kind);

// A row of the patient list: a patient, or an empty bed with its room name.
struct WardRow {
    const PatientRecord* record = nullptr;
    std::u16string room;
};

struct WardInputs {
    std::vector<WardRow> rows;  // the patient list (the small summary: in room order)
    std::vector<std::u16string> rooms;  // the room names of the room list
    DayNumber day = 0;
    std::array<BigSummaryParagraph, kBigSummaryParagraphs> paragraphs{};
    std::u16string ageLineCaption;  // the caption of the identity page's age line
    std::u16string admissionCaption;
};

enum class WardFailure {
    None,
    Empty,      // "The summary is empty" (big summary without any patient row)
    Corrupted,  // "Summary file corrupted." (a row model lacks the first problem block)
    TooBig,     // the text reached the document limit: "Memory limit"
};

struct WardDocument {
    WardFailure failure = WardFailure::None;
    std::u16string text;   // with the marker for the backslash
    int patientRows = 0;   // rows written for patients
    int emptyBeds = 0;     // small summary lines of empty beds
};

// Stops as soon as the text reaches the document limit, so a ward too big is refused at once.
WardDocument BuildBigSummary(const WardModels& models, const WardInputs& inputs,
                             const SummaryContext& context);
WardDocument BuildSmallSummary(const WardModels& models, const WardInputs& inputs,
                               const SummaryContext& context);

// "[Mon 13 Mar 2006] Big summary all patients.rtf" or "... Small summary all patients.rtf".
std::u16string WardFileName(WardDocumentKind kind, DayNumber day, const JournalWords& words);
// The kind mark that lets a later save replace the program's own unedited document.
std::string_view WardDocumentMark(WardDocumentKind kind);

// The big summary format: the four default pairs ("Default" of its dialogue), and the
// characters its boxes refuse, typed or pasted ("{", "}", "|", "¦", "§", "¬": they would break
// the document or the preferences file; "¢" and "#" stay, the field codes need them).
std::array<BigSummaryParagraph, kBigSummaryParagraphs> DefaultBigSummaryFormat();
bool IsRefusedInBigSummaryFormat(char16_t c);
std::u16string WithoutRefusedFormatCharacters(std::u16string_view text);

// Helpers shared with the day and problem summary files.
// "Mo 13 Mar", "Mon 13 Mar 2006", "Monday, 13 March 2006".
std::u16string WardShortDate(DayNumber day, const JournalWords& words);
std::u16string WardFileDate(DayNumber day, const JournalWords& words);
std::u16string WardLongDate(DayNumber day, const JournalWords& words);
// The punctuation clean-up of summary texts.
std::u16string CleanSummaryText(std::u16string_view text);
// A description of the big summary format with its field codes replaced from `record`.
std::u16string ExpandFieldCodes(std::u16string_view description, const PatientRecord& record,
                                const Labels& labels);
class FieldTextTable;
// The same with the per-field texts of the patient prepared already.
std::u16string ExpandFieldCodesOf(std::u16string_view description, const FieldTextTable& fields);
// The examinations of the latest days with examinations up to `lastDay`, at most `maxDays`
// days, latest first, each day a paragraph led by its date.
RtfMarkup RecentExaminations(const PatientRecord& record, DayNumber lastDay, int maxDays,
                             const JournalWords& words);

}  // namespace pondrel
