#include "ui/pages/DisplayPreferences.h"

#include "documents/PrintFolderClearing.h"
#include "platform/Platform.h"
#include "ui/pages/PageHost.h"

namespace pondrel {

void DisplayPreferences::AddPreferencesDialogues(CPreferencesDlg::PluggedDialogues& dialogues) {
    dialogues.emplace_back(QStringLiteral("clearPrintFolderButton"),
                           [this](PreferencesEdit& /*edit*/, QWidget* /*parent*/) {
                               Platform& platform = m_view.GetPlatform();
                               ClearPrintFolder(platform.files, platform.messages);
                           });
}

}  // namespace pondrel
