// The factory arrangement: every field of its own has a window, nothing overlaps or leaves its
// page, and the files of the factory installation are what the generator writes.

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "layout/Arrangement.h"
#include "layout/ArrangementWriter.h"
#include "layout/FactoryArrangement.h"
#include "platform/Text.h"

namespace pondrel {
namespace {

bool Overlap(const Rect& a, const Rect& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(FactoryArrangementTest, EveryFieldOfItsOwnHasAWindowOnAPage) {
    const Arrangement a = FactoryArrangement();
    for (int field = 1; field < kFieldNumbers; ++field) {
        const bool ownPage = field == 98 || field == 198 || field == 199;
        if (!IsPlacedByArrangement(field) || ownPage) continue;
        EXPECT_TRUE(PageOfField(a, field).has_value()) << "field " << field;
    }
    for (int field : {86, 87, 93, 98, 198, 199}) EXPECT_FALSE(PageOfField(a, field)) << field;
    // Identity on the first page, as a ward doctor admits a patient.
    for (int field : {2, 3, 4, 5, 6, 15, 7, 8, 95, 94, 60, 200})
        EXPECT_EQ(PageOfField(a, field), 0);
}

TEST(FactoryArrangementTest, WindowsStayInTheirPageAndNeverOverlap) {
    const Arrangement a = FactoryArrangement();
    const PageZeroControls controls;
    for (int page = 0; page < kFormPages; ++page) {
        std::vector<std::pair<int, Rect>> rects;
        for (int field : FieldsOnPage(a, page)) {
            const FieldLayout& layout = a.fields[static_cast<size_t>(field)];
            for (const Rect& r : {layout.window, layout.caption}) {
                const Rect band = InBand(r, page);
                EXPECT_EQ(r.top - band.top, PageTop(page)) << "field " << field;
                EXPECT_GE(band.top, 17) << "field " << field;  // under the page title
                EXPECT_LE(band.bottom, kFormPageHeight) << "field " << field;
                EXPECT_GE(band.left, 0) << "field " << field;
                EXPECT_LE(band.right, kFormWidth) << "field " << field;
                rects.push_back({field, band});
            }
            EXPECT_GE(layout.window.bottom - layout.window.top, kMinWindowHeight) << field;
            EXPECT_GE(layout.caption.bottom - layout.caption.top, kMinCaptionHeight) << field;
            // Beside a multi-line window, a long caption has room for its second line.
            if (layout.window.bottom - layout.window.top >= 32 &&
                layout.caption.right <= layout.window.left) {
                EXPECT_GE(layout.caption.bottom - layout.caption.top, 24) << field;
            }
        }
        if (page == 0) {
            for (const Rect& c :
                 {controls.recordNavigation, controls.civility, controls.selForm,
                  controls.iconCaption, controls.iconPicker, controls.pageButtons}) {
                rects.push_back({0, c});
            }
        }
        for (size_t i = 0; i < rects.size(); ++i) {
            for (size_t j = i + 1; j < rects.size(); ++j) {
                EXPECT_FALSE(Overlap(rects[i].second, rects[j].second))
                    << "page " << page << ": fields " << rects[i].first << " and "
                    << rects[j].first;
            }
        }
        // The page's field list names exactly the fields on it.
        std::vector<int> listed = FieldListNumbers(a.pages[static_cast<size_t>(page)].fieldList);
        std::vector<int> placed = FieldsOnPage(a, page);
        std::sort(listed.begin(), listed.end());
        std::sort(placed.begin(), placed.end());
        EXPECT_EQ(listed, placed) << "page " << page;
    }
}

TEST(FactoryArrangementTest, TheInstalledFilesAreTheGeneratorsOutput) {
    const std::string bytes = ArrangementWriter::Encode(FactoryArrangement());
    // After a change of the design: pondrel-tool wnd-factory resources
    EXPECT_TRUE(Slurp(PONDREL_RESOURCES_DIR "/Initial position.wnd") == bytes);
    EXPECT_TRUE(Slurp(PONDREL_RESOURCES_DIR "/Default position.wnd") == bytes);
}

TEST(FactoryArrangementTest, FreeFieldLayoutOfTheRestoreEntry) {
    const std::u16string text = FactoryFreeFieldText();
    EXPECT_TRUE(text.starts_with(u"\u00A2PatientCustom\u00A251,6,144,22\u00A251,24,144,40\u00A2"));
    EXPECT_TRUE(text.ends_with(u"\u00A21,495,46,506\u00A2159,295,231,306\u00A2\u00A2\u00A2"));
    const FreeFieldLayout layout = FactoryFreeFieldLayout();
    EXPECT_EQ(layout.windows[10].rect, (Rect{51, 297, 144, 313}));
    EXPECT_EQ(layout.captions[9].rect, (Rect{159, 6, 231, 17}));
    for (const FreeFieldRect& r : layout.windows) EXPECT_EQ(r.visible, 1);
    EXPECT_FALSE(IsUnarrangedFreeFieldLayout(layout));
    EXPECT_TRUE(IsUnarrangedFreeFieldLayout(FreeFieldLayout{}));
}

}  // namespace
}  // namespace pondrel
