#pragma once

#include <string>

#include "platform/DeviceFileSystem.h"

namespace pondrel {

// The device folders the program works in. The installation folder is found at start-up; the
// others are fixed.
struct WorkingFolders {
    // Device path of the installation folder without a trailing "\" ("" for the root folder).
    std::u16string installation = u"\\Program files\\Pondrel";

    static constexpr std::u16string_view kActivePatients = u"\\My Documents\\PD_ActivePatients";
    static constexpr std::u16string_view kArchives = u"\\My Documents\\PD_Archives";
    static constexpr std::u16string_view kPrintDoc = u"\\My Documents\\PD_PrintDoc";
    static constexpr std::u16string_view kMyDocuments = u"\\My Documents";
    // The diagnosis code table the ICD-10 search reads when the preferences name none; the
    // factory table is installed there.
    static constexpr std::u16string_view kCodeTable = u"\\My Documents\\ICD10.txt";
    static constexpr std::u16string_view kCodeTableName = u"ICD10.txt";

    std::u16string Backup() const { return installation + u"\\Backup"; }
    // A support file of the installation folder, e.g. InstallationFile(u"Labels.txt").
    std::u16string InstallationFile(std::u16string_view name) const {
        return JoinPath(installation.empty() ? u"\\" : installation, name);
    }
    static std::u16string ActiveFile(std::u16string_view name) {
        return JoinPath(kActivePatients, name);
    }
};

}  // namespace pondrel
