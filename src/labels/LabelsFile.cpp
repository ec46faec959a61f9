#include "labels/LabelsFile.h"

#include "labels/LabelsFormat.h"
#include "labels/LabelsWriter.h"
#include "platform/DeviceFileSystem.h"
#include "platform/UserMessages.h"

namespace pondrel {

namespace {

constexpr std::u16string_view kLoadFailureCaption = u"File load failure 11";
constexpr std::u16string_view kSaveFailureCaption = u"Save failure";
constexpr std::u16string_view kSaveFailureText = u"Conversion of <Labels.txt> file failure !";
constexpr std::u16string_view kRecordMissing = u"Saving error code 1. The operation is canceled.";
constexpr std::u16string_view kRecordNotReplaced =
    u"Saving error code 2. The operation is canceled.";

}  // namespace

LabelsInterpretation InterpretLabelsBytes(std::string_view bytes) {
    LabelsInterpretation result;
    DecodedLabels decoded = DecodeLabelsBytes(bytes);
    result.encoding = decoded.encoding;
    result.layout = DetectLabelsLayout(decoded.text);
    if (result.layout == LabelsLayout::NotLabels) {
        result.read.labels = Labels::Defaults();
        result.text = std::move(decoded.text);
        return result;
    }
    result.text = ConvertLabelsText(decoded.text);
    result.read = ReadLabelsText(result.text);
    bool converted = result.layout != LabelsLayout::Current;
    if (result.read.needsWriteBack) {
        if (std::optional<std::u16string> completed = ComposeWriteBack(result.text, result.read)) {
            result.text = std::move(*completed);
            converted = true;
        } else {
            result.writeBackRefused = true;
        }
    }
    if (converted) result.newText = result.text;
    return result;
}

LabelsFile::LabelsFile(DeviceFileSystem& files, UserMessages& messages,
                       std::u16string installationFolder)
    : m_files(files), m_messages(messages), m_folder(std::move(installationFolder)) {}

std::u16string LabelsFile::Path() const {
    return JoinPath(m_folder.empty() ? u"\\" : m_folder, kLabelsFileName);
}

std::u16string LabelsFile::BackupPath() const {
    return JoinPath(m_folder.empty() ? u"\\" : m_folder, kLabelsBackupName);
}

bool LabelsFile::ReadBytes(std::string& bytes, bool& cut) {
    // One byte more than the limit tells whether the file was cut.
    if (!m_files.ReadFile(Path(), kLabelsMaxBytes + 1, bytes)) return false;
    cut = bytes.size() > kLabelsMaxBytes;
    if (cut) bytes.resize(kLabelsMaxBytes);
    if (bytes.size() / 2 > kLabelsTooBigUnits) {
        m_messages.ShowBox(u"The file labels.txt is too big.", u"", BoxButtons::Ok,
                           BoxIcon::Warning);
    }
    return true;
}

std::optional<LabelsFileText> LabelsFile::ReadText() {
    std::string bytes;
    bool cut = false;
    if (!ReadBytes(bytes, cut)) return std::nullopt;
    DecodedLabels decoded = DecodeLabelsBytes(bytes);
    return LabelsFileText{std::move(decoded.text), decoded.encoding, cut};
}

LabelsLoadOutcome LabelsFile::Load() {
    LabelsLoadOutcome outcome;
    std::string bytes;
    bool cut = false;
    if (!ReadBytes(bytes, cut)) {
        m_messages.ShowBox(
            u"The <<Labels.txt>> file is not found !\r\nIt must be present into "
            u"the folder <<" +
                m_folder + u"\\Labels.txt>>",
            std::u16string(kLoadFailureCaption), BoxButtons::Ok, BoxIcon::Error);
        outcome.status = LabelsLoadStatus::Missing;
        return outcome;
    }

    LabelsInterpretation interpretation = InterpretLabelsBytes(bytes);
    outcome.layout = interpretation.layout;
    outcome.labels = std::move(interpretation.read.labels);
    if (interpretation.layout == LabelsLayout::NotLabels) {
        m_messages.ShowBox(
            u"The <<Labels.txt>> file can't be read: it holds no labels.\r\n"
            u"The program uses its built-in labels and leaves the file unchanged.",
            std::u16string(kLoadFailureCaption), BoxButtons::Ok, BoxIcon::Error);
        outcome.status = LabelsLoadStatus::Unreadable;
        return outcome;
    }
    outcome.status = LabelsLoadStatus::Loaded;
    if (interpretation.writeBackRefused) {
        m_messages.ShowBox(u"New labels can't be saved to the file <Labels.txt>",
                           u"Can't save new labels", BoxButtons::Ok, BoxIcon::Warning);
    }
    // A file cut at the read limit is used as read but never written back: the part beyond
    // the limit would be lost.
    if (!interpretation.newText || cut) return outcome;

    if (!m_files.CopyFile(Path(), BackupPath())) {
        m_messages.ShowBox(std::u16string(kSaveFailureText), std::u16string(kSaveFailureCaption),
                           BoxButtons::Ok, BoxIcon::Error);
        return outcome;
    }
    outcome.rewritten = SaveText(*interpretation.newText);
    return outcome;
}

bool LabelsFile::SaveText(std::u16string_view text) {
    if (!m_files.WriteFile(Path(), EncodeLabelsText(text))) {
        m_messages.ShowBox(std::u16string(kSaveFailureText), std::u16string(kSaveFailureCaption),
                           BoxButtons::Ok, BoxIcon::Error);
        return false;
    }
    return true;
}

std::optional<std::string> LabelsFile::ReadBytesQuietly() {
    std::string bytes;
    if (!m_files.ReadFile(Path(), kLabelsMaxBytes + 1, bytes)) return std::nullopt;
    return bytes;
}

std::u16string LabelsFile::CleanTitle(std::u16string_view title) {
    std::u16string clean;
    for (char16_t c : title) {
        if (c != kSectionMark && c != kItemEndMark) clean += c;
    }
    return clean;
}

LabelsFile::FieldSave LabelsFile::SaveFieldRecord(int field, std::u16string_view oldTitle,
                                                  std::u16string_view title,
                                                  std::u16string_view shortcutList,
                                                  const std::optional<std::string>& readBefore,
                                                  bool keepBackup) {
    const std::u16string caption(kSaveFailureCaption);
    auto fail = [this, &caption](std::u16string_view text) {
        m_messages.ShowBox(std::u16string(text), caption, BoxButtons::Ok, BoxIcon::Error);
        return FieldSave::Failed;
    };
    std::string bytes;
    bool cut = false;
    if (!ReadBytes(bytes, cut)) return fail(kRecordMissing);
    if (cut) {
        return fail(u"The file <Labels.txt> is larger than the program can read: saving it "
                    u"would lose its end. Nothing was saved.");
    }
    if (readBefore) {
        std::string_view before = *readBefore;
        if (before.size() > kLabelsMaxBytes || before != bytes) {
            return fail(u"The file <Labels.txt> was changed by another program since the "
                        u"label editor read it. Nothing was saved.");
        }
    }
    const std::u16string newTitle = CleanTitle(title);
    if (newTitle.empty()) {
        m_messages.ShowBox(u"The title label is empty. You have to write a title.", caption,
                           BoxButtons::Ok, BoxIcon::Warning);
        return FieldSave::KeepEditing;
    }
    DecodedLabels decoded = DecodeLabelsBytes(bytes);
    std::vector<FieldRecordSpan> records = FindFieldRecords(decoded.text);
    if (field < 0 || static_cast<size_t>(field) >= records.size()) return fail(kRecordMissing);
    if (newTitle != oldTitle) {
        for (size_t n = 0; n < records.size(); ++n) {
            if (n != static_cast<size_t>(field) && records[n].caption == newTitle) {
                m_messages.ShowBox(u"The title label already exist. You have to change it or "
                                   u"insert a version tag.",
                                   caption, BoxButtons::Ok, BoxIcon::Warning);
                return FieldSave::KeepEditing;
            }
        }
    }
    std::optional<FieldRecordReplacement> replaced =
        ReplaceFieldRecord(decoded.text, field, newTitle, shortcutList);
    if (!replaced) return fail(kRecordNotReplaced);

    // A file as the program writes it maps unit n of the text to bytes 2 + 2n: the record's
    // bytes are replaced and every other byte stays (an odd closing byte or extra zeros too).
    // Any other file is rewritten whole, in the program's encoding.
    std::string written;
    const std::string encoded = EncodeLabelsText(decoded.text);
    const size_t textBytes = encoded.size() - 2;  // the mark and the text
    const bool programForm = decoded.encoding == LabelsEncoding::Utf16 &&
                             bytes.size() >= textBytes &&
                             bytes.compare(0, textBytes, encoded, 0, textBytes) == 0;
    if (programForm) {
        const std::u16string_view middle =
            std::u16string_view(replaced->text).substr(replaced->begin,
                                                      replaced->newEnd - replaced->begin);
        std::string middleBytes = EncodeLabelsText(middle);
        middleBytes = middleBytes.substr(2, middleBytes.size() - 4);  // no mark, no zero
        written.reserve(bytes.size() + middleBytes.size());
        written.append(bytes, 0, 2 + 2 * replaced->begin);
        written.append(middleBytes);
        written.append(bytes, 2 + 2 * replaced->oldEnd, std::string::npos);
    } else {
        written = EncodeLabelsText(replaced->text);
    }
    // The file as it was stays beside it; one the program did not write is always kept.
    if ((keepBackup || !programForm) && !m_files.WriteFile(BackupPath(), bytes)) {
        return fail(u"Save failure !");
    }
    if (!m_files.WriteFile(Path(), written)) return fail(u"Save failure !");
    return FieldSave::Saved;
}

}  // namespace pondrel
