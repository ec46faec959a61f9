#include "layout/VectorPictures.h"

#include <algorithm>

#include "records/DrawingText.h"
#include "records/ReservedCharacters.h"

namespace pondrel {

namespace {

constexpr int kSetCount = kVectorPictureSlots / kPicturesPerSet;
constexpr int kCharacterWidth = 5;
constexpr int kMaxColumnWidth = 150;
constexpr int kRowHeight = 11;
constexpr int kMaxRows = 7;
constexpr std::u16string_view kInvalidName = u"Invalid name";

std::u16string_view Trimmed(std::u16string_view text) {
    const auto blank = [](char16_t c) { return c == u' ' || c == u'\t'; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    return text;
}

PictureMessage Message(std::u16string_view text, std::u16string_view caption) {
    return {std::u16string(text), std::u16string(caption)};
}

}  // namespace

std::optional<int> PictureSetOf(int area) {
    switch (area) {
        case 5: return 0;
        case 7: return 1;
        case 8: return 2;
        default: return std::nullopt;
    }
}

PictureSlots SlotsOf(const Preferences& preferences, int set) {
    PictureSlots slots{};
    if (set < 0 || set >= kSetCount) return slots;
    std::copy_n(preferences.vectorPictures.begin() + set * kPicturesPerSet, kPicturesPerSet,
                slots.begin());
    return slots;
}

void StoreSlots(Preferences& preferences, int set, const PictureSlots& slots) {
    if (set < 0 || set >= kSetCount) return;
    std::copy(slots.begin(), slots.end(),
              preferences.vectorPictures.begin() + set * kPicturesPerSet);
}

PictureList PictureListOf(const PictureSlots& slots) {
    PictureList list;
    for (int i = 0; i < kPicturesPerSet; ++i) {
        if (slots[static_cast<size_t>(i)].name.empty()) continue;
        list.rows.push_back(slots[static_cast<size_t>(i)].name);
        list.rowSlots.push_back(i);
    }
    list.rows.emplace_back(kPicturePreferencesRow);
    size_t longest = 0;
    for (const std::u16string& row : list.rows) longest = std::max(longest, row.size());
    list.columnWidth = static_cast<int>(
        std::min<size_t>(longest * kCharacterWidth + 1, static_cast<size_t>(kMaxColumnWidth)));
    const int count = static_cast<int>(list.rows.size());
    list.columns = count >= kMaxRows ? 2 : 1;
    const int rows = std::min((count + list.columns - 1) / list.columns, kMaxRows);
    list.height = rows * kRowHeight + 3;
    return list;
}

PictureCopy PictureForDrawing(std::u16string_view picture) {
    PictureCopy copy;
    const DrawingReading reading = ReadDrawing(picture);
    copy.repaired = !reading.notes.empty();
    for (size_t i = 0; i < reading.strokes.size(); ++i) {
        const std::u16string stroke = StrokeText(reading.strokes[i]);
        if (copy.drawing.size() + stroke.size() > kDrawingBudget) {
            copy.strokesCut = reading.strokes.size() - i;
            break;
        }
        copy.drawing += stroke;
    }
    return copy;
}

std::optional<PictureMessage> PictureNameRefusal(std::u16string_view name) {
    name = Trimmed(name);
    if (name.empty()) return Message(u"Specify the name to add before", u"No name");
    if (std::any_of(name.begin(), name.end(), [](char16_t c) { return IsReservedCharacter(c); })) {
        return Message(u"A picture name may not hold any of the characters "
                       u"\u00A2 | \u00A6 \u00A7 \u00AC #",
                       kInvalidName);
    }
    return std::nullopt;
}

VectorPictureEditor::VectorPictureEditor(const PictureSlots& slots, std::u16string currentPicture)
    : m_slots(slots), m_current(std::move(currentPicture)) {
    m_selected = Names().empty() ? -1 : 0;
}

std::vector<std::u16string> VectorPictureEditor::Names() const {
    std::vector<std::u16string> names;
    for (const VectorPicture& slot : m_slots) {
        if (!slot.name.empty()) names.push_back(slot.name);
    }
    return names;
}

void VectorPictureEditor::Select(int row) {
    m_selected = SlotOfRow(row) < 0 ? -1 : row;
}

int VectorPictureEditor::SlotOfRow(int row) const {
    if (row < 0) return -1;
    int seen = 0;
    for (int i = 0; i < kPicturesPerSet; ++i) {
        if (m_slots[static_cast<size_t>(i)].name.empty()) continue;
        if (seen++ == row) return i;
    }
    return -1;
}

bool VectorPictureEditor::Listed(std::u16string_view name) const {
    return std::any_of(m_slots.begin(), m_slots.end(),
                       [&](const VectorPicture& slot) { return slot.name == name; });
}

PictureMessage VectorPictureEditor::Add(std::u16string_view typed, bool& added) {
    added = false;
    if (std::optional<PictureMessage> refusal = PictureNameRefusal(typed)) return *refusal;
    const std::u16string_view name = Trimmed(typed);
    const auto free = std::find_if(m_slots.begin(), m_slots.end(),
                                   [](const VectorPicture& slot) { return slot.name.empty(); });
    if (free == m_slots.end()) {
        return Message(u"First you must free one of the 10 vectorial picture location",
                       u"No place");
    }
    if (Listed(name)) return Message(u"This name already exis. Insert another name", kInvalidName);
    free->name = std::u16string(name);
    free->drawing = m_current;
    m_saved = true;
    added = true;
    const std::vector<std::u16string> names = Names();
    m_selected = static_cast<int>(std::find(names.begin(), names.end(), name) - names.begin());
    return {u"Your actual picture has been saved with the name <" + std::u16string(name) + u">",
            u"Picture has been saved"};
}

void VectorPictureEditor::Delete() {
    const int slot = SlotOfRow(m_selected);
    if (slot < 0) return;
    m_slots[static_cast<size_t>(slot)] = VectorPicture{};
    const int count = static_cast<int>(Names().size());
    m_selected = count == 0 ? -1 : std::clamp(m_selected - 1, 0, count - 1);
}

std::optional<PictureMessage> VectorPictureEditor::Rename(std::u16string_view typed) {
    const int slot = SlotOfRow(m_selected);
    const std::u16string_view name = Trimmed(typed);
    if (slot < 0 || name.empty()) return std::nullopt;
    if (std::optional<PictureMessage> refusal = PictureNameRefusal(name)) return refusal;
    VectorPicture& picture = m_slots[static_cast<size_t>(slot)];
    if (picture.name == name) return std::nullopt;
    if (Listed(name)) return Message(u"This name already exis. Insert another name", kInvalidName);
    picture.name = std::u16string(name);
    return std::nullopt;
}

std::optional<PictureMessage> VectorPictureEditor::SaveOnQuestion() const {
    const int slot = SlotOfRow(m_selected);
    if (slot < 0) return std::nullopt;
    return PictureMessage{u"Do you really want to replace the picture <" +
                              m_slots[static_cast<size_t>(slot)].name + u"> with the new one ?",
                          u"Replace selected picture ?"};
}

bool VectorPictureEditor::SaveOn() {
    const int slot = SlotOfRow(m_selected);
    if (slot < 0) return false;
    m_slots[static_cast<size_t>(slot)].drawing = m_current;
    m_saved = true;
    return true;
}

}  // namespace pondrel
