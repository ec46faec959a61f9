#pragma once

// The named vectorial pictures of the drawing areas 5, 7 and 8: the list their "I" button opens,
// the copy of a picture into the record's drawing, and the rules of the "Vectorial picture"
// dialogue. Each of the three areas has a set of ten slots in the preferences (item 8); a slot
// with an empty name is free.

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "settings/Preferences.h"
#include "settings/ReadyPictures.h"

namespace pondrel {

using PictureSlots = std::array<VectorPicture, kPicturesPerSet>;

// The picture set of drawing area `area`: 0, 1, 2 for the areas 5, 7, 8; none for the others.
std::optional<int> PictureSetOf(int area);
// The ten slots of set `set` (0..5) of the preferences, and the same written back.
PictureSlots SlotsOf(const Preferences& preferences, int set);
void StoreSlots(Preferences& preferences, int set, const PictureSlots& pictures);

inline constexpr std::u16string_view kPicturePreferencesRow = u"-Preferences-";

// The list of the "I" button: the named slots in slot order, then "-Preferences-".
struct PictureList {
    std::vector<std::u16string> rows;
    std::vector<int> rowSlots;  // the slot of each row before the last
    // The shape of the list in pixels of the form: each column 5 pixels per character of the
    // longest row plus one (at most 150) wide; two columns from 7 rows on; 11 pixels per row
    // plus 3 high, at most 7 rows a column.
    int columnWidth = 0;
    int columns = 1;
    int height = 0;
};
PictureList PictureListOf(const PictureSlots& pictures);

// A picture as the record's drawing takes it: read as any drawing text (what is unusable is
// clamped or skipped), written again, and cut after the last whole stroke that keeps it within
// the drawing budget.
struct PictureCopy {
    std::u16string drawing;
    size_t strokesCut = 0;    // strokes left out for the budget
    bool repaired = false;    // the reader clamped or skipped something
};
PictureCopy PictureForDrawing(std::u16string_view picture);

// A box the dialogue shows: its text and caption.
struct PictureMessage {
    std::u16string text;
    std::u16string caption;
};

// Why `name` cannot name a picture: empty (blanks only), or holding a character the formats
// reserve ("¢", "|", "¦", "§", "¬", "#"); none when it can.
std::optional<PictureMessage> PictureNameRefusal(std::u16string_view name);

// The "Vectorial picture" dialogue without its widgets: a copy of an area's ten slots and the
// current picture (the record's drawing of the area), the names listed and the one selected.
class VectorPictureEditor {
public:
    VectorPictureEditor(const PictureSlots& pictures, std::u16string currentPicture);

    // The names listed: the named slots in slot order.
    std::vector<std::u16string> Names() const;
    // The row selected (-1: none); the first row when the dialogue opens.
    int Selected() const { return m_selected; }
    void Select(int row);

    // "Add": stores the current picture under `name` in the first free slot and selects it.
    // The box to show, whether it worked or not; `added` tells which.
    PictureMessage Add(std::u16string_view name, bool& added);
    // "Delete": empties the selected slot; the row before it is selected (the new first row
    // when the first was deleted).
    void Delete();
    // "Rename": the selected slot takes `name`; nothing for an empty name or no selection. A box
    // when the name is refused.
    std::optional<PictureMessage> Rename(std::u16string_view name);
    // "Save on": the question to ask first (none without a selection), then the replacement of
    // the selected slot's picture by the current one (false: no slot selected).
    std::optional<PictureMessage> SaveOnQuestion() const;
    bool SaveOn();

    // Whether the current picture was stored by "Add" or "Save on".
    bool Saved() const { return m_saved; }
    const PictureSlots& Slots() const { return m_slots; }

private:
    // The slot of row `row`; -1 when out of range.
    int SlotOfRow(int row) const;
    bool Listed(std::u16string_view name) const;

    PictureSlots m_slots;
    std::u16string m_current;
    int m_selected = -1;
    bool m_saved = false;
};

}  // namespace pondrel
