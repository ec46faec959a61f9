#include "settings/ListRowIcons.h"

namespace pondrel {

int InboxIcon(std::u16string_view state) {
    if (state == u"Closed mail") return 4;
    if (state == u"Opened mail" || state == u"Opened mail ") return 5;
    return 3;
}

int OutboxIcon(std::u16string_view state) {
    if (state == u"Wait connection to server" || state == u"Wait server reply" ||
        state == u"Wait server reply ") {
        return 0;
    }
    if (state == u"Server is waiting client connection") return 1;
    if (state == u"Recipient get the mail") return 4;
    return 3;  // the two "Bad transmission..." states and anything else
}

int SentItemsIcon(std::u16string_view state) {
    if (state == u"Message read by the recipient") return 5;
    if (state == u"Recipient get the mail") return 4;
    return 3;
}

void MarkServerFiles(std::vector<ServerFileRow>& serverFiles,
                     const std::vector<ActiveFileRow>& activeFiles, std::u16string_view userName) {
    for (ServerFileRow& row : serverFiles) {
        const std::u16string& patient = row.columns[ServerFileRow::kPatient];
        bool imported = false;
        for (const ActiveFileRow& active : activeFiles) {
            if (active.columns[ActiveFileRow::kPatient] == patient) {
                imported = true;
                break;
            }
        }
        row.imported = imported ? u"Yes" : u"No";
        const std::u16string& user = row.columns[ServerFileRow::kCurrentUser];
        row.icon = (!user.empty() || user == userName) ? 1 : 0;
    }
}

}  // namespace pondrel
