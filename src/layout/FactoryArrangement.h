#pragma once

// The factory arrangement of the form, designed in code: what "Initial position.wnd" and
// "Default position.wnd" of the factory installation hold (pondrel-tool wnd-factory writes them),
// and what the form uses when neither file can be read. Also the factory layout of the free
// fields 100 to 119.

#include <string>
#include <vector>

#include "layout/Arrangement.h"

namespace pondrel {

// The pages follow an admission: identity, vital signs, reason for admission and history,
// family history and habits, review of systems, general examination, heart and vessels, lungs
// and abdomen, neurology, admission examinations, diagnosis and plan, discharge, then three
// pages for the numbered fields a department names itself ("Window 1" ...). Fields 86 to 93,
// 98, 198 and 199 have pages of their own and are hidden here.
Arrangement FactoryArrangement();

// Controls of page 0 that are not field windows, in coordinates of the page's band; the factory
// arrangement leaves their places free.
struct PageZeroControls {
    Rect recordNavigation{0, 19, 240, 39};
    Rect civility{2, 43, 33, 60};
    Rect selForm{188, 189, 238, 206};
    Rect iconCaption{2, 213, 40, 225};
    Rect iconPicker{42, 209, 238, 229};
    Rect pageButtons{2, 234, 238, 288};  // buttons of the offered pages 1 to 18
};

// A window of a page with a layout of its own, in coordinates of the page's band.
struct FixedPlacement {
    int field = 0;
    Rect window;
    Rect caption;
};

// The identity page (page 30): the 20 identity fields 120 to 139, two or three to a row with
// their captions above, and its other controls.
std::vector<FixedPlacement> IdentityPageLayout();
struct IdentityPageControls {
    Rect civility{2, 60, 33, 77};
    Rect ageCaption{2, 81, 30, 93};
    Rect ageText{32, 81, 238, 93};
};

// The factory layout of the free fields: fields 100 to 109 on page 28, 110 to 119 on page 29,
// all shown, with empty page titles and positions. Rectangles are relative to the reference line
// of the free-field pages.
FreeFieldLayout FactoryFreeFieldLayout();
// The same as the item text the "Restore default settings" entry reads: "¢PatientCustom¢",
// the 40 rectangles as "left,top,right,bottom¢", then two empty items.
std::u16string FactoryFreeFieldText();
// A free-field layout never arranged (every rectangle zero, as the preferences hold it before
// the user arranges anything) is shown with the factory layout.
bool IsUnarrangedFreeFieldLayout(const FreeFieldLayout& layout);

}  // namespace pondrel
