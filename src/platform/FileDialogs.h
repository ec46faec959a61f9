#pragma once

#include <optional>
#include <string>

namespace pondrel {

// What the program asks the platform's open and save dialogues. The filter is written as the
// handheld wrote it, description and pattern separated by "|" ("Windows positions(*.wnd)|*.wnd|").
struct FileDialogRequest {
    std::u16string title;
    std::u16string filter;
    std::u16string extension;  // added to a typed name without one ("wnd"); may be empty
    std::u16string folder;     // device folder the dialogue starts in
};

// The platform's file dialogues. Paths are device paths; none means the user cancelled.
class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    virtual std::optional<std::u16string> AskOpenFile(const FileDialogRequest& request) = 0;
    virtual std::optional<std::u16string> AskSaveFile(const FileDialogRequest& request) = 0;
};

}  // namespace pondrel
