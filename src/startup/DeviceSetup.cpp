#include "startup/DeviceSetup.h"

#include <algorithm>
#include <system_error>

#include "platform/HostFileSystem.h"
#include "platform/Text.h"
#include "records/WorkingFolders.h"
#include "startup/InstallationFinder.h"
#include "startup/StartUp.h"

namespace pondrel {

namespace fs = std::filesystem;

namespace {

// Factory files relative to the resources folder, sorted, without the README and the sources.
bool ListFactoryFiles(const fs::path& resources, std::vector<fs::path>& files, Error* error) {
    std::error_code ec;
    for (fs::recursive_directory_iterator it(resources, ec), end; !ec && it != end;
         it.increment(ec)) {
        fs::path relative = it->path().lexically_relative(resources);
        if (it.depth() == 0 && relative == DeviceSetup::kResourcesSources && it->is_directory(ec)) {
            it.disable_recursion_pending();
            continue;
        }
        if (!it->is_regular_file(ec)) continue;
        if (relative == DeviceSetup::kResourcesReadme) continue;
        // The code table goes into "My Documents", not into the installation folder.
        if (relative == ToUtf8(WorkingFolders::kCodeTableName)) continue;
        files.push_back(relative);
    }
    if (ec) {
        Error::Set(error, ErrorKind::ReadFailed, resources.string() + ": " + ec.message());
        return false;
    }
    std::sort(files.begin(), files.end());
    return true;
}

std::u16string DevicePath(std::u16string_view folder, const fs::path& relative) {
    std::u16string path(folder);
    for (const fs::path& part : relative) {
        path += u'\\';
        path += FromUtf8(part.string());
    }
    return path;
}

}  // namespace

bool DeviceSetup::Run(Error* error) {
    written.clear();
    kept.clear();
    std::error_code ec;
    if (!fs::is_regular_file(resources / "Labels.txt", ec)) {
        Error::Set(error, ErrorKind::NotFound,
                   "the resources folder " + resources.string() + " holds no Labels.txt");
        return false;
    }
    if (fs::exists(device, ec) && !fs::is_directory(device, ec)) {
        Error::Set(error, ErrorKind::Refused, device.string() + " exists and is not a folder");
        return false;
    }
    if (!force && fs::is_directory(device, ec) && !fs::is_empty(device, ec)) {
        Error::Set(error, ErrorKind::Refused,
                   "the device folder " + device.string() +
                       " is not empty; --force adds the missing factory files without "
                       "replacing anything");
        return false;
    }
    std::vector<fs::path> factory;
    if (!ListFactoryFiles(resources, factory, error)) return false;

    fs::create_directories(device, ec);
    if (ec) {
        Error::Set(error, ErrorKind::CannotOpen, device.string() + ": " + ec.message());
        return false;
    }
    HostFileSystem files(device);
    for (const fs::path& relative : factory) {
        std::u16string target = DevicePath(kInstallation, relative);
        // Parents first: the device file system creates one folder at a time.
        std::u16string folder;
        std::vector<std::u16string> parts = PathParts(target);
        parts.pop_back();
        for (const std::u16string& part : parts) {
            folder += u'\\' + part;
            if (files.FolderExists(folder)) continue;
            if (!files.CreateFolder(folder, error)) return false;
            written.push_back(folder);
        }
        if (files.FileExists(target)) {
            kept.push_back(target);
            continue;
        }
        std::string bytes;
        if (!ReadHostFile(resources / relative, SIZE_MAX, bytes)) {
            Error::Set(error, ErrorKind::ReadFailed,
                       "cannot read " + (resources / relative).string());
            return false;
        }
        if (!files.WriteFile(target, bytes, error)) return false;
        written.push_back(target);
    }

    WorkingFolders folders;
    folders.installation = std::u16string(kInstallation);
    WorkingFoldersOutcome created = CreateWorkingFolders(files, folders);
    for (std::u16string& folder : created.created) written.push_back(std::move(folder));
    if (!created.missing.empty()) {
        const MissingFolder& first = created.missing.front();
        Error::Set(error, ErrorKind::CannotOpen,
                   "cannot create the folder " + ToUtf8(first.path) +
                       (first.reason.empty() ? std::string() : ": " + first.reason));
        return false;
    }

    // The factory diagnosis code table where the ICD-10 search looks for it; a table already
    // there (the user's own) stays.
    if (fs::is_regular_file(resources / ToUtf8(WorkingFolders::kCodeTableName), ec)) {
        std::u16string target(WorkingFolders::kCodeTable);
        if (files.FileExists(target)) {
            kept.push_back(target);
        } else {
            std::string bytes;
            if (!ReadHostFile(resources / ToUtf8(WorkingFolders::kCodeTableName), SIZE_MAX,
                              bytes)) {
                Error::Set(error, ErrorKind::ReadFailed, "cannot read the factory code table");
                return false;
            }
            if (!files.WriteFile(target, bytes, error)) return false;
            written.push_back(target);
        }
    }

    // The registry value that names the installation folder (candidate 1 of the search).
    if (!fs::exists(device / kRegistryFile, ec)) {
        std::string line = ToUtf8(InstallationFinder::kInstallKey) + "\\" +
                           ToUtf8(InstallationFinder::kInstallValue) + "=" + ToUtf8(kInstallation) +
                           "\n";
        if (!files.WriteFile(FromUtf8(kRegistryFile), line, error)) return false;
        written.push_back(u"\\" + FromUtf8(kRegistryFile));
    } else {
        kept.push_back(u"\\" + FromUtf8(kRegistryFile));
    }

    // The result must be a device the program starts on.
    if (!files.FileExists(folders.InstallationFile(u"Labels.txt"))) {
        Error::Set(error, ErrorKind::WriteFailed, "Labels.txt was not installed");
        return false;
    }
    return true;
}

}  // namespace pondrel
