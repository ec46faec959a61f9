#include "mainform/MainMenu.h"

namespace pondrel {

std::vector<MenuEntry> MainMenuEntries(bool windowsEditorOpen) {
    return {
        {u"New patient", MenuCommand::NewPatient},
        {u"Clear check boxes", MenuCommand::ClearCheckBoxes},
        {u"Save all", MenuCommand::SaveAll},
        {u"Open all", MenuCommand::OpenAll},
        {u"Close one", MenuCommand::CloseOne},
        {kMenuSeparator, MenuCommand::Separator},
        {u"Files manager ->", MenuCommand::FilesManager},
        {u"Quick load file", MenuCommand::QuickLoad},
        {kMenuSeparator, MenuCommand::Separator},
        {u"Preferences", MenuCommand::Preferences},
        {u"Ed shortcuts", MenuCommand::EditShortcuts},
        {windowsEditorOpen ? u"Close Ed Win" : u"Ed windows", MenuCommand::EditWindows},
        {kMenuSeparator, MenuCommand::Separator},
        {u"Undo", MenuCommand::Undo},
        {u"Cut", MenuCommand::Cut},
        {u"Copy", MenuCommand::Copy},
        {u"Paste", MenuCommand::Paste},
        {u"Help", MenuCommand::Help},
        {u"About", MenuCommand::About},
        {kMenuSeparator, MenuCommand::Separator},
        {u"Exit", MenuCommand::Exit},
    };
}

}  // namespace pondrel
