#pragma once

// Icons given to the rows of the mailboxes and the server file list when they are read from the
// preferences file (icons are not stored).

#include <string_view>
#include <vector>

#include "settings/Preferences.h"

namespace pondrel {

int InboxIcon(std::u16string_view state);
int OutboxIcon(std::u16string_view state);
int SentItemsIcon(std::u16string_view state);

// Sets "Imported" ("Yes" when an active-file row has the same patient) and the icon (1 when the
// current user is not empty or equals the user name, else 0) of every server-file row.
void MarkServerFiles(std::vector<ServerFileRow>& serverFiles,
                     const std::vector<ActiveFileRow>& activeFiles, std::u16string_view userName);

}  // namespace pondrel
