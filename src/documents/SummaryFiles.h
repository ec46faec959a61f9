#pragma once

// The day summary file (the open patient on the current day) and the problem summary file (the
// current problem over its days), built from "PrintModel.pdt" for the print preview or the
// print folder, and "Save all": the day summary file of every patient of the list, built from
// the records without changing any of them or the form.

#include <optional>
#include <string>
#include <vector>

#include "documents/SummaryInputs.h"

namespace pondrel {

class DeviceFileSystem;

struct SummaryFileOptions {
    bool ageOnSummaries = false;  // the age-on-summaries setting
};

// The document text (with the marker for the backslash): the model, the body, "¬par }}".
std::u16string BuildDaySummaryFile(std::u16string_view model, const OpenPatient& patient,
                                   const SummaryContext& context, SummaryFileOptions options);
std::u16string BuildProblemSummaryFile(std::u16string_view model, const OpenPatient& patient,
                                       const SummaryContext& context, SummaryFileOptions options);

// "[SD][Mo 13 Mar 2006] Doe Jane.rtf" and "[SP][Pneumonia bi] Doe Jane.rtf", safe for the
// folder.
std::u16string DaySummaryFileName(const PatientRecord& record, DayNumber day,
                                  const JournalWords& words);
std::u16string ProblemSummaryFileName(const PatientRecord& record, int problem,
                                      const SummaryContext& context);
// The short title of the problem file name.
std::u16string ProblemShortTitle(std::u16string_view title, int problem, int problemCount,
                                 const Labels& labels);

// A summary file is saved only for a patient with a last and a first name.
bool HasSummaryName(const PatientRecord& record);

enum class SummaryFileFailure { None, NoName, TooBig, NotWritten };
struct SummaryFileSave {
    SummaryFileFailure failure = SummaryFileFailure::None;
    std::u16string fileName;  // the name written (possibly numbered), or the one that failed
};
// Writes the document into the print folder under its name; an earlier file of the same name
// is replaced only when it is this patient's own unedited document, otherwise a numbered name
// is taken.
SummaryFileSave SaveSummaryFile(DeviceFileSystem& files, std::u16string_view text,
                                const PatientRecord& record, std::u16string_view fileName);

// "Save all": the day summary file of every patient on `day`. The files written and the
// patients whose file was not (with the reason).
struct SaveAllResult {
    std::vector<std::u16string> written;
    std::vector<std::pair<std::u16string, SummaryFileFailure>> failed;  // patient, reason
};
SaveAllResult SaveAllDaySummaries(DeviceFileSystem& files, std::u16string_view model,
                                  const std::vector<const PatientRecord*>& patients,
                                  DayNumber day, const SummaryContext& context,
                                  SummaryFileOptions options);

}  // namespace pondrel
