#pragma once

// What the document buttons of the summary pages do, without widgets: "Big summary" and "Small
// summary" of the all-patients page, "Preview", "Save one" and "Save all" of the day summary
// page, "Preview" and "Save" of the problem summary page. Each reads its models from the
// installation folder, builds the document from the records (never from the form), writes it
// into the print folder by its rule and tells the user what happened.

#include <optional>
#include <string>
#include <vector>

#include "documents/SummaryFiles.h"
#include "documents/WardDocuments.h"

namespace pondrel {

class DeviceFileSystem;
class UserMessages;

class SummaryDocumentCommands {
public:
    // Everything must outlive the object. `installationFolder` is a device path without a
    // trailing "\".
    SummaryDocumentCommands(DeviceFileSystem& files, UserMessages& messages,
                            std::u16string installationFolder);

    // True when a file was written.
    bool WriteWardDocument(WardDocumentKind kind, const WardInputs& inputs,
                           const SummaryContext& context);

    // The document for the print preview ("¬" already made "\"); none after a notice.
    std::optional<std::string> DayPreview(const OpenPatient& patient, const SummaryContext& context,
                                          SummaryFileOptions options);
    std::optional<std::string> ProblemPreview(const OpenPatient& patient,
                                              const SummaryContext& context,
                                              SummaryFileOptions options);
    bool SaveDaySummary(const OpenPatient& patient, const SummaryContext& context,
                        SummaryFileOptions options);
    bool SaveProblemSummary(const OpenPatient& patient, const SummaryContext& context,
                            SummaryFileOptions options);
    // Asks first; then writes the day summary file of every patient and reports how many were
    // written and which were not. Returns the number written.
    int SaveAllDaySummaries(const std::vector<const PatientRecord*>& patients, DayNumber day,
                            const SummaryContext& context, SummaryFileOptions options);

private:
    std::optional<std::u16string> PrintModel(bool dayFile);
    void TooBig(std::u16string_view fileName);

    DeviceFileSystem& m_files;
    UserMessages& m_messages;
    std::u16string m_installation;
};

}  // namespace pondrel
