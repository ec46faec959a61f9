#pragma once

// The rules of the windows editor that need no widgets: opening and closing it, the page's "A"
// flag, name and button text, the "Add" list, the "Option" menu, and the tool row of the two
// free-field pages. What dragging the stylus does in the modes "M", "S" and "H" is the form's.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "layout/Arrangement.h"

namespace pondrel {

class UserMessages;

namespace windows_editor {

inline constexpr std::u16string_view kRefusal =
    u"You can edit only the 18 first pages\r\n\r\n Choose another page";
inline constexpr std::u16string_view kClosedNotice = u"Windows editor closed";
inline constexpr std::u16string_view kOpenCaption = u"Ed windows";
inline constexpr std::u16string_view kCloseCaption = u"Close Ed Win";
inline constexpr std::u16string_view kRestoreLostWindow = u"Restore lost window";
inline constexpr std::u16string_view kRestoreDefault = u"Restore default settings";

// The caption of a field, as the labels file gives it.
using CaptionOf = std::function<std::u16string(int field)>;

// Whether the editor may open on `page` (the form pages 0 to 18); otherwise shows the refusal
// notice (4000 ms, warning).
bool MayOpenOn(int page, UserMessages& messages);
// The notice shown when the editor closes; the caller then saves the arrangement.
void TellClosed(UserMessages& messages);

// A row of a pop-up list of the editor: the field it brings back (-1 for "Restore lost window"
// and "Restore default settings") and its text.
struct ListEntry {
    int field = -1;
    std::u16string text;
    friend bool operator==(const ListEntry&, const ListEntry&) = default;
};

// Fields whose windows "Add" can bring back: those the arrangement places, except the To do
// field (98), the quick notes (198) and the problem redaction (199), which have pages of their
// own.
bool IsOfferedByAdd(int field);
// "Add": the hidden offered fields, each as its number in three digits + ": " + its caption,
// then "Restore lost window".
std::vector<ListEntry> AddList(const Arrangement& arrangement, const CaptionOf& caption);
// "Restore lost window": every offered field, hidden or not.
std::vector<ListEntry> LostWindowList(const CaptionOf& caption);
// Choosing a field of either list: its window and caption go back to their stored rectangles,
// moved to the band of `page`, are shown and put on that page.
void BringBack(Arrangement& arrangement, int field, int page);

// "A" ticked: the page is offered in the page list under its name. Unticked (never page 0):
// the flag is cleared and the name emptied; the page then shows the neutral icon.
void SetOffered(Arrangement& arrangement, int page, bool offered);

enum class Option { LoadAllWindows, SaveAllWindowsAs, RestoreDefaultSettings, Close, Hide };
struct OptionEntry {
    std::u16string_view text;
    Option option;
};
// "Load all windows", "Save all windows As...", "Restore default settings", "Close",
// "Hide 5 seconds".
const std::vector<OptionEntry>& OptionMenu();
// How long "Hide 5 seconds" hides the tool row.
inline constexpr int kHideMilliseconds = 4000;
// The question before the factory arrangement is restored; true on Yes.
bool ConfirmRestore(UserMessages& messages);

// ---- The tool row of the free-field pages 28 and 29 ------------------------------------------

inline constexpr int kMaxPagePosition = 35;

// The free fields of page 28 (100 to 109) or 29 (110 to 119).
int FirstFreeFieldOf(int page);
// "Add" of a free-field page: its hidden fields, each as "Edit %d : " (the field number - 100)
// followed by its caption, then "Restore default settings".
std::vector<ListEntry> FreeFieldAddList(const FreeFieldLayout& layout, int page,
                                        const CaptionOf& caption);
// Height of that list: 11 pixels an entry plus 15, at most 146.
int FreeFieldAddListHeight(size_t entries);
// Shows a free field's window and caption.
void ShowFreeField(FreeFieldLayout& layout, int field);
// Hides them.
void HideFreeField(FreeFieldLayout& layout, int field);
// "Restore default settings" of a free-field page: after the question, the factory free-field
// layout (all 40 windows shown, titles and positions emptied). True when restored.
bool RestoreFreeFields(FreeFieldLayout& layout, UserMessages& messages);
// The position typed into "N°" as kept: digits only, at most 35, "" for none.
std::u16string PagePositionText(std::u16string_view typed);
// The position a free-field page takes in the page list: its number, 35 when empty.
int PagePosition(std::u16string_view text);

}  // namespace windows_editor

}  // namespace pondrel
