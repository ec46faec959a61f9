#include "layout/WindowsEditor.h"

#include <algorithm>

#include "layout/FactoryArrangement.h"
#include "platform/Text.h"
#include "platform/UserMessages.h"

namespace pondrel::windows_editor {

namespace {

std::u16string ThreeDigits(int field) {
    std::u16string digits = ToText(field);
    while (digits.size() < 3) digits.insert(digits.begin(), u'0');
    return digits;
}

ListEntry AddEntry(int field, const CaptionOf& caption) {
    return {field, ThreeDigits(field) + u": " + caption(field)};
}

size_t FreeIndex(int field) {
    return static_cast<size_t>(field - kFreeFieldFirst);
}

bool IsFreeField(int field) {
    return field >= kFreeFieldFirst && field < kFreeFieldFirst + kFreeFields;
}

}  // namespace

bool MayOpenOn(int page, UserMessages& messages) {
    if (page >= 0 && page < kFormPages) return true;
    messages.ShowNotice(std::u16string(kRefusal), 4000, true);
    return false;
}

void TellClosed(UserMessages& messages) {
    messages.ShowNotice(std::u16string(kClosedNotice), 2500, false);
}

bool IsOfferedByAdd(int field) {
    return IsPlacedByArrangement(field) && field != 98 && field != 198 && field != 199;
}

std::vector<ListEntry> AddList(const Arrangement& arrangement, const CaptionOf& caption) {
    std::vector<ListEntry> entries;
    for (int field = 1; field < kFieldNumbers; ++field) {
        if (IsOfferedByAdd(field) && !PageOfField(arrangement, field)) {
            entries.push_back(AddEntry(field, caption));
        }
    }
    entries.push_back({-1, std::u16string(kRestoreLostWindow)});
    return entries;
}

std::vector<ListEntry> LostWindowList(const CaptionOf& caption) {
    std::vector<ListEntry> entries;
    for (int field = 1; field < kFieldNumbers; ++field) {
        if (IsOfferedByAdd(field)) entries.push_back(AddEntry(field, caption));
    }
    return entries;
}

void BringBack(Arrangement& arrangement, int field, int page) {
    if (!IsOfferedByAdd(field)) return;
    MoveFieldToPage(arrangement, field, page);
}

void SetOffered(Arrangement& arrangement, int page, bool offered) {
    if (page < 0 || page >= kFormPages) return;
    PageLayout& layout = arrangement.pages[static_cast<size_t>(page)];
    if (offered) {
        layout.aFlag = 1;
        return;
    }
    if (page == 0) return;  // the first page is always offered
    layout.aFlag = 0;
    layout.name.clear();
}

const std::vector<OptionEntry>& OptionMenu() {
    static const std::vector<OptionEntry> kMenu{
        {u"Load all windows", Option::LoadAllWindows},
        {u"Save all windows As...", Option::SaveAllWindowsAs},
        {u"Restore default settings", Option::RestoreDefaultSettings},
        {u"Close", Option::Close},
        {u"Hide 5 seconds", Option::Hide},
    };
    return kMenu;
}

bool ConfirmRestore(UserMessages& messages) {
    return messages.ShowBox(
               u"Do you really want to restore the default position of all windows "
               u"on all pages ?",
               u"Restore ?", BoxButtons::YesNoCancel, BoxIcon::Question) == BoxAnswer::Yes;
}

int FirstFreeFieldOf(int page) {
    return page == kFirstFreeFieldPage ? kFreeFieldFirst : kFreeFieldFirst + kFreeFields / 2;
}

std::vector<ListEntry> FreeFieldAddList(const FreeFieldLayout& layout, int page,
                                        const CaptionOf& caption) {
    std::vector<ListEntry> entries;
    const int first = FirstFreeFieldOf(page);
    for (int field = first; field < first + kFreeFields / 2; ++field) {
        if (layout.windows[FreeIndex(field)].visible == 0) {
            entries.push_back(
                {field, Format(u"Edit %d : ", {field - kFreeFieldFirst}) + caption(field)});
        }
    }
    entries.push_back({-1, std::u16string(kRestoreDefault)});
    return entries;
}

int FreeFieldAddListHeight(size_t entries) {
    return std::min(146, static_cast<int>(entries) * 11 + 15);
}

void ShowFreeField(FreeFieldLayout& layout, int field) {
    if (!IsFreeField(field)) return;
    layout.windows[FreeIndex(field)].visible = 1;
    layout.captions[FreeIndex(field)].visible = 1;
}

void HideFreeField(FreeFieldLayout& layout, int field) {
    if (!IsFreeField(field)) return;
    layout.windows[FreeIndex(field)].visible = 0;
    layout.captions[FreeIndex(field)].visible = 0;
}

bool RestoreFreeFields(FreeFieldLayout& layout, UserMessages& messages) {
    const BoxAnswer answer = messages.ShowBox(
        u"Do you really want to restore the default position of the windows on the two edit "
        u"pages ?",
        u"Restore ?", BoxButtons::YesNoCancel, BoxIcon::Question);
    if (answer != BoxAnswer::Yes) return false;
    const FreeFieldLayout factory = FactoryFreeFieldLayout();
    layout.windows = factory.windows;
    layout.captions = factory.captions;
    layout.pageTexts = {};
    return true;
}

std::u16string PagePositionText(std::u16string_view typed) {
    std::u16string digits;
    for (char16_t c : typed) {
        if (c >= u'0' && c <= u'9' && digits.size() < 2) digits += c;
    }
    if (digits.empty()) return digits;
    return ToText(std::min(ParseInt(digits), kMaxPagePosition));
}

int PagePosition(std::u16string_view text) {
    const std::u16string kept = PagePositionText(text);
    return kept.empty() ? kMaxPagePosition : ParseInt(kept);
}

}  // namespace pondrel::windows_editor
