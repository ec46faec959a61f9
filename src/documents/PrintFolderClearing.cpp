#include "documents/PrintFolderClearing.h"

#include <string>
#include <vector>

#include "platform/DeviceFileSystem.h"
#include "platform/Text.h"
#include "platform/UserMessages.h"
#include "records/WorkingFolders.h"

namespace pondrel {

namespace {

// A listed name is a plain name: anything else is not deleted.
bool IsPlainName(std::u16string_view name) {
    if (name.empty() || name == u"." || name == u"..") return false;
    for (char16_t c : name) {
        if (c == u'\\' || c == u'/' || c == u':') return false;
    }
    return true;
}

}  // namespace

FolderClearing ClearPlainFiles(DeviceFileSystem& files, std::u16string_view folder) {
    FolderClearing result;
    std::vector<std::u16string> names;
    if (!files.ListFiles(folder, u"*", names)) return result;
    result.listed = true;
    for (const std::u16string& name : names) {
        const std::u16string path = JoinPath(folder, name);
        if (IsPlainName(name) && !files.FolderExists(path) && files.DeleteFile(path)) {
            ++result.deleted;
        } else {
            ++result.failed;
        }
    }
    return result;
}

FolderClearing ClearPrintFolder(DeviceFileSystem& files, UserMessages& messages) {
    if (messages.ShowBox(u"This operation will clear the files into the folder <PD_PrintDoc>.",
                         u"Confirm clear", BoxButtons::OkCancel,
                         BoxIcon::Question) != BoxAnswer::Ok) {
        messages.ShowBox(u"Operation canceled.", u"Cancel");
        return {};
    }
    const FolderClearing result = ClearPlainFiles(files, WorkingFolders::kPrintDoc);
    if (!result.listed) {
        messages.ShowBox(u"The folder <PD_PrintDoc> can not be read. Nothing has been deleted.",
                         u"Clear print folder", BoxButtons::Ok, BoxIcon::Error);
    } else if (result.deleted == 0 && result.failed == 0) {
        messages.ShowBox(u"The folder <PD_PrintDoc> is already empty.", u"Folder already empty");
    } else if (result.failed == 0) {
        messages.ShowBox(Format(u"Operation successful, %d files have been deleted.",
                                {result.deleted}),
                         u"Operation successful");
    } else {
        messages.ShowBox(Format(u"%d files have been deleted, %d files could not be deleted.",
                                {result.deleted, result.failed}),
                         u"Clear print folder", BoxButtons::Ok, BoxIcon::Warning);
    }
    return result;
}

}  // namespace pondrel
