#pragma once

#include <string_view>
#include <vector>

namespace pondrel {

// The commands of the main menu.
enum class MenuCommand {
    NewPatient,
    ClearCheckBoxes,
    SaveAll,
    OpenAll,
    CloseOne,
    FilesManager,
    QuickLoad,
    Preferences,
    EditShortcuts,
    EditWindows,  // opens or closes the windows editor
    Undo,
    Cut,
    Copy,
    Paste,
    Help,
    About,
    Exit,
    Separator,  // only removes the selection
};

struct MenuEntry {
    std::u16string_view text;
    MenuCommand command;
};

// The main menu's 21 entries in order; "Ed windows" reads "Close Ed Win" while the windows
// editor is open.
std::vector<MenuEntry> MainMenuEntries(bool windowsEditorOpen);

inline constexpr std::u16string_view kMenuSeparator = u"-------------------------";

}  // namespace pondrel
