#include "tool/SummarySupport.h"

#include <cstdio>
#include <system_error>

#include "labels/LabelsFile.h"
#include "labels/LabelsFormat.h"
#include "layout/ArrangementFiles.h"
#include "layout/FactoryArrangement.h"
#include "platform/FileDialogs.h"
#include "platform/FileRegistry.h"
#include "platform/HostFileSystem.h"
#include "platform/Text.h"
#include "records/PatientFileLoader.h"
#include "records/WorkingFolders.h"
#include "settings/PreferencesFile.h"
#include "startup/DeviceSetup.h"
#include "startup/InstallationFinder.h"
#include "tool/HostFiles.h"
#include "tool/ValueEscaping.h"

#ifndef PONDREL_RESOURCES_DIR
#define PONDREL_RESOURCES_DIR "resources"
#endif

namespace pondrel::tool {

namespace {

// The tool never asks for a file.
class NoFileDialogs final : public FileDialogs {
public:
    std::optional<std::u16string> AskOpenFile(const FileDialogRequest&) override { return {}; }
    std::optional<std::u16string> AskSaveFile(const FileDialogRequest&) override { return {}; }
};

bool SameName(const std::filesystem::path& path, std::u16string_view name) {
    return EqualsIgnoreCase(FromUtf8(path.filename().string()), name);
}

// Reads what the program reads at start-up from `installation` of `files`.
void ReadInstallation(DeviceFileSystem& files, const std::u16string& installation,
                      std::u16string_view patientForm, SummarySettings& settings) {
    WorkingFolders folders;
    folders.installation = installation;
    std::string bytes;
    if (files.ReadFile(folders.InstallationFile(kLabelsFileName), kLabelsMaxBytes, bytes)) {
        LabelsInterpretation labels = InterpretLabelsBytes(bytes);
        if (labels.layout != LabelsLayout::NotLabels) settings.labels = labels.read.labels;
    }
    ReadPreferencesFile(files, folders.InstallationFile(u"Preferences.pre"), settings.preferences);
    StderrMessages messages;
    NoFileDialogs dialogs;
    ArrangementFiles arrangements(files, messages, dialogs, installation);
    arrangements.UsePatientArrangement(patientForm);
    settings.arrangement = arrangements.Current();
}

}  // namespace

std::filesystem::path DeviceOf(const std::filesystem::path& path) {
    std::error_code error;
    if (std::filesystem::is_directory(path, error)) return path;
    std::filesystem::path folder = std::filesystem::absolute(path, error).parent_path();
    if ((SameName(folder, u"PD_ActivePatients") || SameName(folder, u"PD_Archives")) &&
        SameName(folder.parent_path(), u"My Documents")) {
        return folder.parent_path().parent_path();
    }
    return {};
}

SummarySettings LoadSummarySettings(const std::filesystem::path& device,
                                    std::u16string_view patientForm) {
    SummarySettings settings;
    settings.arrangement = FactoryArrangement();
    if (!device.empty()) {
        HostFileSystem files(device);
        FileRegistry registry(device / DeviceSetup::kRegistryFile);
        if (auto installation = InstallationFinder(files, registry).Find()) {
            ReadInstallation(files, *installation, patientForm, settings);
            settings.origin = FromUtf8(device.string()) + *installation;
            return settings;
        }
    }
    std::filesystem::path factory = FactoryFolder(PONDREL_RESOURCES_DIR);
    std::error_code error;
    if (std::filesystem::is_directory(factory, error)) {
        HostFileSystem files(factory);
        ReadInstallation(files, u"", patientForm, settings);
        settings.origin = FromUtf8(factory.string());
    }
    return settings;
}

std::vector<std::unique_ptr<PatientRecord>> LoadActivePatients(
    const std::filesystem::path& device) {
    std::vector<std::unique_ptr<PatientRecord>> patients;
    HostFileSystem files(device);
    std::vector<std::u16string> names;
    Error error;
    if (!files.ListFiles(WorkingFolders::kActivePatients, u"*.pdr", names, SIZE_MAX, nullptr,
                         &error)) {
        std::fprintf(stderr, "cannot read the active patients folder: %s\n",
                     error.message.c_str());
        return patients;
    }
    for (const std::u16string& name : names) {
        auto record = std::make_unique<PatientRecord>();
        LoadResult result = LoadPatientFile(files, WorkingFolders::ActiveFile(name), *record);
        if (!result.Ok()) {
            std::fprintf(stderr, "left out %s: %s\n", EscapedValue(name).c_str(),
                         LoadFailureReason(result).c_str());
            continue;
        }
        patients.push_back(std::move(record));
    }
    return patients;
}

std::string AsciiHtml(std::u16string_view html) {
    std::string out;
    out.reserve(html.size() + html.size() / 8);
    for (size_t i = 0; i < html.size(); ++i) {
        char32_t c = html[i];
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
            continue;
        }
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < html.size() && html[i + 1] >= 0xDC00 &&
            html[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (html[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = 0xFFFD;  // half a pair
        }
        out += "&#" + std::to_string(static_cast<unsigned long>(c)) + ";";
    }
    return out;
}

}  // namespace pondrel::tool
