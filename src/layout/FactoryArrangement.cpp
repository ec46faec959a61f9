#include "layout/FactoryArrangement.h"

#include <algorithm>
#include <array>

#include "platform/Text.h"
#include "records/ItemEncoding.h"

namespace pondrel {

namespace {

constexpr int kTop = 20;        // first row of a page, under its title
constexpr int kRow = 19;        // one-line rows: a 17-pixel window and 2 pixels apart
constexpr int kLine = 17;       // one-line window
constexpr int kCaption = 12;    // caption height
constexpr int kRight = 238;     // right edge of the windows
constexpr int kHiddenTop = 40;  // where hidden windows come back on a page ("Add")

// Lays out the windows of one page; y values are relative to the top of the page's band.
class PageBuilder {
public:
    PageBuilder(Arrangement& a, int page, std::u16string_view name, std::u16string_view button)
        : m_a(a), m_page(page) {
        PageLayout& layout = m_a.pages[static_cast<size_t>(page)];
        layout.aFlag = 1;
        layout.name = name;
        if (page > 0) layout.buttonText = button;
    }

    // A caption from captionLeft to windowLeft - 2 beside a window from windowLeft to
    // windowRight, `height` high, at y. Beside a multi-line window the caption has room for a
    // second line.
    void Beside(int field, int captionLeft, int windowLeft, int windowRight, int y,
                int height = kLine) {
        const int captionHeight =
            height > kLine ? std::min(2 * kCaption + 2, height - 3) : kCaption;
        Put(field, {windowLeft, y, windowRight, y + height},
            {captionLeft, y + 3, windowLeft - 2, y + 3 + captionHeight});
    }
    // A caption above a window, both from left to right; the window is `height` high.
    void Above(int field, int left, int right, int y, int height) {
        Put(field, {left, y + kCaption, right, y + kCaption + height},
            {left, y, right, y + kCaption});
    }
    // One-line rows with the captions on the left, from `y` down.
    int Rows(std::initializer_list<int> fields, int captionWidth, int y = kTop) {
        for (int field : fields) {
            Beside(field, 2, 2 + captionWidth + 2, kRight, y);
            y += kRow;
        }
        return y;
    }
    // Two-line rows (multi-line windows of 32 pixels) with the captions on the left.
    int TallRows(std::initializer_list<int> fields, int captionWidth, int y = kTop) {
        for (int field : fields) {
            Beside(field, 2, 2 + captionWidth + 2, kRight, y, 32);
            y += 34;
        }
        return y;
    }
    // Windows with their captions above, `height` high, one under the other.
    int Blocks(std::initializer_list<int> fields, int height, int y = kTop) {
        for (int field : fields) {
            Above(field, 2, kRight, y, height);
            y += kCaption + height + 3;
        }
        return y;
    }

private:
    void Put(int field, Rect window, Rect caption) {
        FieldLayout& layout = m_a.fields[static_cast<size_t>(field)];
        const int top = PageTop(m_page);
        layout.window = {window.left, window.top + top, window.right, window.bottom + top};
        layout.caption = {caption.left, caption.top + top, caption.right, caption.bottom + top};
        layout.layoutValue = m_page;
        PageLayout& page = m_a.pages[static_cast<size_t>(m_page)];
        page.fieldList += ToText(field) + u",";
    }

    Arrangement& m_a;
    int m_page;
};

void IdentityPage(Arrangement& a) {
    PageBuilder p(a, 0, u"Identity", u"");
    // Under the record navigation (y 19 to 39). The civility button stands left of the names.
    p.Beside(2, 36, 90, kRight, 43);
    p.Beside(3, 36, 90, kRight, 62);
    // Birth date: day, month, year.
    p.Beside(4, 36, 48, 70, 81);
    p.Beside(5, 76, 90, 112, 81);
    p.Beside(6, 118, 130, 170, 81);
    p.Beside(15, 2, 36, kRight, 100);
    p.Above(7, 2, 78, 119, kLine);
    p.Above(8, 82, 158, 119, kLine);
    p.Above(95, 162, kRight, 119, kLine);
    p.Beside(94, 2, 52, 118, 151);
    p.Beside(200, 122, 170, kRight, 151);
    p.Beside(60, 2, 70, kRight, 170);
    // The "Sel form" button stands right of the arrangement name.
    p.Beside(202, 2, 70, 186, 189);
}

void VitalSignsPage(Arrangement& a) {
    PageBuilder p(a, 1, u"Vital signs", u"Vitals");
    p.Rows({9, 10, 11, 12, 13, 14, 203, 204, 205, 206, 207, 208}, 148);
}

void AdmissionPage(Arrangement& a) {
    PageBuilder p(a, 2, u"Admission", u"Admission");
    int y = p.Rows({1, 59}, 70);
    p.Blocks({61, 62, 63, 64}, 40, y + 1);
}

void HabitsPage(Arrangement& a) {
    PageBuilder p(a, 3, u"Habits", u"Habits");
    int y = p.Blocks({65, 66}, 34);
    y = p.Rows({67, 68}, 66, y);
    p.Blocks({69, 70}, 34, y + 1);
}

void SystemsPage(Arrangement& a) {
    PageBuilder p(a, 4, u"Systems", u"Systems");
    p.TallRows({71, 72, 73, 74, 75, 76, 77, 78}, 70, 18);
}

void GeneralExamPage(Arrangement& a) {
    PageBuilder p(a, 5, u"Gen. exam", u"General");
    int y = p.Rows({16, 17, 18, 19, 21, 22, 23, 24, 25, 26, 27}, 86);
    p.Blocks({58}, 34, y);
}

void HeartPage(Arrangement& a) {
    PageBuilder p(a, 6, u"Heart", u"Heart");
    // Blood pressure: systolic "/" diastolic on one row.
    p.Beside(40, 2, 90, 150, kTop);
    p.Beside(41, 154, 164, kRight, kTop);
    int y = p.Rows({42, 43, 44}, 86, kTop + kRow);
    y = p.Blocks({45}, 34, y);
    p.Rows({34, 35, 36, 37, 38, 39}, 86, y);
}

void LungsAbdomenPage(Arrangement& a) {
    PageBuilder p(a, 7, u"Lungs, abd.", u"Lungs");
    int y = p.Rows({46, 47, 48, 49}, 86);
    y = p.TallRows({50}, 86, y);
    y = p.Rows({51, 52, 53}, 86, y);
    y = p.TallRows({54}, 86, y);
    p.Rows({55, 56, 57}, 86, y);
}

void NeurologyPage(Arrangement& a) {
    PageBuilder p(a, 8, u"Neurology", u"Neuro");
    p.TallRows({28, 29, 30, 31, 32, 33}, 76);
}

void ExamsPage(Arrangement& a) {
    PageBuilder p(a, 9, u"Adm. exams", u"Exams");
    p.TallRows({79, 80, 81, 82, 83, 84, 20, 85}, 70, 18);
}

void PlanPage(Arrangement& a) {
    PageBuilder p(a, 10, u"Diag., plan", u"Plan");
    p.Blocks({96, 97}, 110);
}

void DischargePage(Arrangement& a) {
    PageBuilder p(a, 11, u"Discharge", u"Discharge");
    p.Blocks({99, 141, 142}, 68);
}

// The numbered fields a department gives a caption of its own, two columns of 13 rows a page.
void MorePages(Arrangement& a) {
    std::vector<int> fields{201};
    for (int field = 143; field <= 197; ++field) fields.push_back(field);
    for (int field = 209; field <= 229; ++field) fields.push_back(field);
    constexpr int kPerPage = 26;
    for (int i = 0; i < 3; ++i) {
        const int page = 12 + i;
        const std::u16string name = u"More " + ToText(i + 1);
        PageBuilder p(a, page, name, name);
        for (int k = 0; k < kPerPage; ++k) {
            const size_t index = static_cast<size_t>(i * kPerPage + k);
            if (index >= fields.size()) break;
            const int column = k / 13;
            const int left = column == 0 ? 2 : 121;
            p.Beside(fields[index], left, left + 56, left + 117, kTop + (k % 13) * kRow);
        }
    }
}

// Pages 15 to 18 hold the drawing areas of the body pictures (DrawingPlacement.cpp) and no
// window; their "P" flag shows the areas.
void DrawingPages(Arrangement& a) {
    static constexpr std::u16string_view kNames[4][2] = {
        {u"Skin", u"Skin"},
        {u"Auscultation", u"Auscult."},
        {u"Abdomen, status", u"Abdomen"},
        {u"Chest film", u"Chest film"},
    };
    for (int i = 0; i < 4; ++i) {
        PageBuilder p(a, 15 + i, kNames[i][0], kNames[i][1]);
        a.pages[static_cast<size_t>(15 + i)].pFlag = 1;
    }
}

}  // namespace

Arrangement FactoryArrangement() {
    Arrangement a;
    // Every window starts hidden near the top of page 0, where "Add" brings it back.
    for (int field = 1; field < kFieldNumbers; ++field) {
        if (!IsArrangedField(field)) continue;
        FieldLayout& layout = a.fields[static_cast<size_t>(field)];
        const int top = PageTop(0) + kHiddenTop;
        layout.window = {70, top, kRight, top + kLine};
        layout.caption = {2, top + 3, 68, top + 3 + kCaption};
        layout.layoutValue = -1;
    }
    IdentityPage(a);
    VitalSignsPage(a);
    AdmissionPage(a);
    HabitsPage(a);
    SystemsPage(a);
    GeneralExamPage(a);
    HeartPage(a);
    LungsAbdomenPage(a);
    NeurologyPage(a);
    ExamsPage(a);
    PlanPage(a);
    DischargePage(a);
    MorePages(a);
    DrawingPages(a);
    return a;
}

std::vector<FixedPlacement> IdentityPageLayout() {
    std::vector<FixedPlacement> placements;
    // Captions above their windows: a row is 12 + 17 pixels and 1 apart.
    auto put = [&](int field, int left, int right, int y) {
        placements.push_back({field,
                              {left, y + kCaption, right, y + kCaption + kLine},
                              {left, y, right, y + kCaption}});
    };
    put(120, 2, 118, 18);
    put(121, 122, kRight, 18);
    // The civility button stands left of the birth date.
    put(122, 36, 86, 48);
    put(123, 90, 146, 48);
    put(124, 150, 200, 48);
    // Under the age line, three columns.
    constexpr int kColumns[][2] = {{2, 78}, {81, 158}, {161, kRight}};
    int field = 125;
    for (int y = 96; field <= 139; y += 30) {
        for (const auto& column : kColumns) {
            if (field > 139) break;
            put(field++, column[0], column[1], y);
        }
    }
    return placements;
}

namespace {

// The factory rectangles of the free fields and of their captions, relative to the reference
// line of the free-field pages.
constexpr std::array<Rect, 20> kFactoryFreeWindows{{
    {51, 6, 144, 22},    {51, 24, 144, 40},   {51, 42, 144, 58},   {51, 59, 144, 75},
    {51, 79, 231, 107},  {51, 110, 231, 138}, {51, 140, 231, 168}, {51, 170, 231, 198},
    {51, 200, 231, 228}, {159, 19, 231, 76},  {51, 297, 144, 313}, {51, 314, 144, 330},
    {51, 332, 144, 348}, {51, 350, 144, 366}, {51, 372, 231, 400}, {51, 404, 231, 432},
    {51, 434, 231, 462}, {51, 463, 231, 491}, {51, 493, 231, 521}, {159, 309, 231, 366},
}};
constexpr std::array<Rect, 20> kFactoryFreeCaptions{{
    {1, 8, 46, 19},    {0, 24, 45, 35},   {0, 42, 45, 53},   {0, 59, 45, 70},
    {0, 79, 45, 90},   {0, 110, 45, 121}, {0, 140, 45, 151}, {0, 170, 45, 181},
    {1, 200, 46, 211}, {159, 6, 231, 17}, {0, 298, 45, 309}, {0, 316, 45, 327},
    {0, 334, 45, 345}, {0, 352, 45, 363}, {0, 374, 45, 385}, {0, 405, 45, 416},
    {0, 435, 45, 446}, {0, 464, 45, 475}, {1, 495, 46, 506}, {159, 295, 231, 306},
}};

std::u16string RectItem(const Rect& r) {
    return ToText(r.left) + u"," + ToText(r.top) + u"," + ToText(r.right) + u"," +
           ToText(r.bottom) + kItemEnd;
}

}  // namespace

FreeFieldLayout FactoryFreeFieldLayout() {
    FreeFieldLayout layout;
    for (size_t i = 0; i < kFactoryFreeWindows.size(); ++i) {
        layout.windows[i] = {kFactoryFreeWindows[i], 1};
        layout.captions[i] = {kFactoryFreeCaptions[i], 1};
    }
    return layout;
}

std::u16string FactoryFreeFieldText() {
    std::u16string text = std::u16string(1, kItemEnd) + u"PatientCustom" + kItemEnd;
    for (const Rect& r : kFactoryFreeWindows) text += RectItem(r);
    for (const Rect& r : kFactoryFreeCaptions) text += RectItem(r);
    text += kItemEnd;
    text += kItemEnd;
    return text;
}

bool IsUnarrangedFreeFieldLayout(const FreeFieldLayout& layout) {
    for (size_t i = 0; i < layout.windows.size(); ++i) {
        if (!(layout.windows[i].rect == Rect{}) || !(layout.captions[i].rect == Rect{})) {
            return false;
        }
    }
    return true;
}

}  // namespace pondrel
