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

}  // namespace pondrel
