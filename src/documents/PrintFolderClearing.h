#pragma once

// "Clear print folder" of the Preferences: every plain file of "\My Documents\PD_PrintDoc" is
// deleted — never a sub-folder, never a file outside it — and the user is told how many were
// deleted and how many could not be.

#include <string_view>

namespace pondrel {

class DeviceFileSystem;
class UserMessages;

struct FolderClearing {
    bool listed = false;  // the folder could be read
    int deleted = 0;
    int failed = 0;
};

// Deletes the plain files of `folder`; counts them.
FolderClearing ClearPlainFiles(DeviceFileSystem& files, std::u16string_view folder);

// The whole command on the print folder: the question, the clearing, the result box. Returns
// what was done (nothing when the user cancelled).
FolderClearing ClearPrintFolder(DeviceFileSystem& files, UserMessages& messages);

}  // namespace pondrel
