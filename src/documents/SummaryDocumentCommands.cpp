#include "documents/SummaryDocumentCommands.h"

#include "documents/DocumentFiles.h"
#include "documents/ModelFiller.h"
#include "documents/RtfFormat.h"
#include "platform/DeviceFileSystem.h"
#include "platform/Text.h"
#include "platform/UserMessages.h"

namespace pondrel {
namespace {

constexpr int kNoticeMs = 5000;

std::u16string MissingModel(std::u16string_view name) {
    return u"A file can not be found. Be sure that the file <" + std::u16string(name) +
           u"> exists into the folder <Pondrel>";
}

std::u16string OversizedModel(std::u16string_view name, size_t limit) {
    return u"The model <" + std::u16string(name) + u"> is longer than " +
           ToText(static_cast<long long>(limit)) +
           u" bytes and is not used: cut at that length it would break the document.";
}

}  // namespace

SummaryDocumentCommands::SummaryDocumentCommands(DeviceFileSystem& files, UserMessages& messages,
                                                 std::u16string installationFolder)
    : m_files(files), m_messages(messages), m_installation(std::move(installationFolder)) {}

void SummaryDocumentCommands::TooBig(std::u16string_view fileName) {
    m_messages.ShowBox(u"The file  <<" + std::u16string(fileName) +
                           u">>  is too big.\r\nThe document would be over 500,000 characters: "
                           u"ask the makers of Pondrel to increase the memory for documents.",
                       u"Memory limit");
}

bool SummaryDocumentCommands::WriteWardDocument(WardDocumentKind kind, const WardInputs& inputs,
                                                const SummaryContext& context) {
    const bool big = kind == WardDocumentKind::Big;
    if (big) {
        if (inputs.rows.empty()) {
            m_messages.ShowNotice(u"No records", 3000, true);
            return false;
        }
    }
    const WardModelsRead read = ReadWardModels(m_files, m_installation, kind);
    if (!read.models) {
        const size_t limit =
            read.failed.name == (big ? kBigSummaryModel : kSmallSummaryModel) ? kModelReadBytes
                                                                              : kRowModelReadBytes;
        std::u16string name = read.failed.name;
        if (name == kSmallSummaryLineModel) name = u"\\" + name;
        m_messages.ShowNotice(read.failed.failure == ModelReadFailure::TooBig
                                  ? OversizedModel(read.failed.name, limit)
                                  : MissingModel(name),
                              kNoticeMs, true);
        return false;
    }
    const WardDocument document = big ? BuildBigSummary(*read.models, inputs, context)
                                      : BuildSmallSummary(*read.models, inputs, context);
    const std::u16string fileName = WardFileName(kind, inputs.day, context.words);
    switch (document.failure) {
        case WardFailure::None:
            break;
        case WardFailure::Empty:
            m_messages.ShowNotice(u"The summary is empty", 2000);
            return false;
        case WardFailure::Corrupted:
            m_messages.ShowBox(u"Summary file corrupted.", u"Error 1");
            return false;
        case WardFailure::TooBig:
            TooBig(fileName);
            return false;
    }
    const std::optional<std::string> bytes = ModelDocumentBytes(document.text);
    if (!bytes) {
        TooBig(fileName);
        return false;
    }
    const std::optional<std::u16string> written =
        SaveKindDocument(m_files, fileName, *bytes, WardDocumentMark(kind));
    if (!written) {
        m_messages.ShowNotice(
            big ? u"Big summary not created.\r\n1)Be sure that this folder is present:\r\n  My "
                  u"documents\\PD_PrintDoc.\r\n\r\n2)Look if the file <" +
                      fileName + u"> is not already opened."
                : u"Small summary not created.\r\n1)Be sure that this folder is present:\r\n  My "
                  u"Documents\\PD_PrintDoc\\\r\n\r\n2)Look if the file <" +
                      fileName + u"> is not already opened.",
            kNoticeMs, true);
        return false;
    }
    if (big) {
        m_messages.ShowNotice(
            u"Big summary created.\r\n\r\nFile: " + PrintFileShown(m_files, *written), 6000);
    } else {
        m_messages.ShowNotice(
            u"Small summary created.\r\n\r\nFile:  " + PrintFileShown(m_files, *written), 5000);
    }
    return true;
}

std::optional<std::u16string> SummaryDocumentCommands::PrintModel(bool dayFile) {
    ModelRead read = ReadWholeModel(m_files, m_installation, kPrintModel, kModelReadBytes);
    if (read.failure == ModelReadFailure::TooBig) {
        m_messages.ShowNotice(OversizedModel(kPrintModel, kModelReadBytes), kNoticeMs, true);
        return std::nullopt;
    }
    if (read.failure == ModelReadFailure::NotFound) {
        m_messages.ShowNotice(dayFile ? MissingModel(kPrintModel)
                                      : u"A file can not be found. Be sure that the file "
                                        u"<PrintModel.pdt> exists.",
                              kNoticeMs, true);
        return std::nullopt;
    }
    return std::move(read.text);
}

std::optional<std::string> SummaryDocumentCommands::DayPreview(const OpenPatient& patient,
                                                               const SummaryContext& context,
                                                               SummaryFileOptions options) {
    const std::optional<std::u16string> model = PrintModel(true);
    if (!model) return std::nullopt;
    const std::u16string text = BuildDaySummaryFile(*model, patient, context, options);
    std::optional<std::string> bytes = ModelDocumentBytes(text);
    if (!bytes) TooBig(DaySummaryFileName(*patient.record, patient.currentDay, context.words));
    return bytes;
}

std::optional<std::string> SummaryDocumentCommands::ProblemPreview(const OpenPatient& patient,
                                                                   const SummaryContext& context,
                                                                   SummaryFileOptions options) {
    const std::optional<std::u16string> model = PrintModel(false);
    if (!model) return std::nullopt;
    const std::u16string text = BuildProblemSummaryFile(*model, patient, context, options);
    std::optional<std::string> bytes = ModelDocumentBytes(text);
    if (!bytes) TooBig(ProblemSummaryFileName(*patient.record, patient.currentProblem, context));
    return bytes;
}

bool SummaryDocumentCommands::SaveDaySummary(const OpenPatient& patient,
                                             const SummaryContext& context,
                                             SummaryFileOptions options) {
    const std::optional<std::u16string> model = PrintModel(true);
    if (!model) return false;
    const std::u16string name =
        DaySummaryFileName(*patient.record, patient.currentDay, context.words);
    const SummaryFileSave save = SaveSummaryFile(
        m_files, BuildDaySummaryFile(*model, patient, context, options), *patient.record, name);
    switch (save.failure) {
        case SummaryFileFailure::None:
            m_messages.ShowNotice(
                u"Summary file created. Look in the folder: " + PrintFolderShown(m_files) +
                    u"\r\n\r\nFile: " +
                    save.fileName,
                7000);
            return true;
        case SummaryFileFailure::NoName:
            m_messages.ShowNotice(u"Summary file not created.\r\nYou must enter the name and "
                                  u"birth date of the patient",
                                  kNoticeMs, true);
            return false;
        case SummaryFileFailure::TooBig:
            TooBig(name);
            return false;
        case SummaryFileFailure::NotWritten:
            m_messages.ShowNotice(u"Summary file not created.\r\n1)Be sure that this folder is "
                                  u"present: Mydocuments\\PD_PrintDoc\r\n\r\n2)Look if the file <" +
                                      name + u"> is not already opened.",
                                  kNoticeMs, true);
            return false;
    }
    return false;
}

bool SummaryDocumentCommands::SaveProblemSummary(const OpenPatient& patient,
                                                 const SummaryContext& context,
                                                 SummaryFileOptions options) {
    const std::optional<std::u16string> model = PrintModel(false);
    if (!model) return false;
    const std::u16string name =
        ProblemSummaryFileName(*patient.record, patient.currentProblem, context);
    const SummaryFileSave save = SaveSummaryFile(
        m_files, BuildProblemSummaryFile(*model, patient, context, options), *patient.record,
        name);
    switch (save.failure) {
        case SummaryFileFailure::None:
            m_messages.ShowNotice(u"Summary file has been created\r\n\r\nFile: " +
                                      PrintFileShown(m_files, save.fileName),
                                  6000);
            return true;
        case SummaryFileFailure::NoName:
            m_messages.ShowNotice(u"Summary file not created.\r\nYou must enter the name and "
                                  u"birth date of the patient",
                                  kNoticeMs, true);
            return false;
        case SummaryFileFailure::TooBig:
            TooBig(name);
            return false;
        case SummaryFileFailure::NotWritten:
            m_messages.ShowNotice(u"Summary file not created.\r\n\r\n1)Be sure that this folder "
                                  u"is present:\r\n  Mydocuments\\PD_PrintDoc\r\n\r\n2)Look if "
                                  u"this file is not already open:\r\n  " +
                                      name,
                                  kNoticeMs, true);
            return false;
    }
    return false;
}

int SummaryDocumentCommands::SaveAllDaySummaries(const std::vector<const PatientRecord*>& patients,
                                                 DayNumber day, const SummaryContext& context,
                                                 SummaryFileOptions options) {
    if (m_messages.ShowBox(u"Do you want to save the summaries of all patients for the "
                           u"selected date ?",
                           u"Save summaries of the day", BoxButtons::OkCancel,
                           BoxIcon::Question) != BoxAnswer::Ok) {
        m_messages.ShowNotice(u"Cancel", 2000, true);
        return 0;
    }
    const std::optional<std::u16string> model = PrintModel(true);
    if (!model) return 0;
    const SaveAllResult result =
        pondrel::SaveAllDaySummaries(m_files, *model, patients, day, context, options);
    const int written = static_cast<int>(result.written.size());
    std::u16string text = ToText(written) + (written == 1 ? u" summary file created" :
                                                            u" summary files created");
    text += u".\r\n\r\nLook in the folder: " + PrintFolderShown(m_files);
    if (!result.failed.empty()) {
        text += u"\r\n\r\nNot created (" + ToText(static_cast<long long>(result.failed.size())) +
                u"):";
        for (const auto& [patient, failure] : result.failed) {
            text += u"\r\n" + (patient.empty() ? std::u16string(u"(no name)") : patient);
            if (failure == SummaryFileFailure::NoName) text += u": no name";
            if (failure == SummaryFileFailure::TooBig) text += u": too big";
        }
    }
    m_messages.ShowNotice(text, 7000, !result.failed.empty());
    return written;
}

}  // namespace pondrel
