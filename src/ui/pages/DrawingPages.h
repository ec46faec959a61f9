#pragma once

#include <array>
#include <memory>
#include <vector>

#include <QObject>
#include <QPointer>

#include "journal/ui/CDrawingArea.h"
#include "mainform/FormPage.h"
#include "ui/pages/PagePlugin.h"

class QPushButton;

namespace pondrel {

class CPopupList;
class FieldPages;
class PageHost;
struct PatientRecord;

// The eight drawing areas of the form (DrawingPlacements: the form pages 15 to 18 and the
// free-field pages 28 and 29), each with its buttons "1" (pen width), "2" (pen colour) and "3"
// (clear), and for the areas 5, 7 and 8 the button "I" of the named ready-made pictures. The pen
// is shared by every area and lives as long as the form. The areas follow the
// record on screen: the pages they stand on keep their field pages' FormPage, which this piece
// wraps to hear ShowRecord and Release. On the form pages the page's "P" flag shows or hides the
// areas with their buttons; on the free-field pages the "P" button of the page's tool row
// (Preferences::freeFieldDrawings).
class DrawingPages final : public QObject, public PagePlugin, public DrawingAreaHost {
public:
    // Builds the areas in the bands of `view`; after FieldPages, which must outlive this piece.
    DrawingPages(PageHost& view, FieldPages& fields);
    ~DrawingPages() override;
    DrawingPages(const DrawingPages&) = delete;
    DrawingPages& operator=(const DrawingPages&) = delete;

    void Start() override { LoadPictures(); }
    void PageShown(int page) override;

    // DrawingAreaHost
    bool MayDraw(int area) override;
    std::u16string* Drawing(int area) override;
    DrawingColour PenColourNow() const override { return PenColour(m_colourIndex); }
    int WidthCodeNow() const override { return m_widthCode; }
    void DrawingFull(int area) override;

    CDrawingArea* Area(int area) const;
    int ColourIndex() const { return m_colourIndex; }
    // The buttons "1", "2", "3" of an area.
    void NextWidth();
    void NextColour();
    // Empties the drawing of `area`, after asking when it holds something.
    void Clear(int area);
    // Reads the pictures of the installation folder again (at start, and for a patient of the
    // other sex, the skin picture).
    void LoadPictures();
    // The "P" flags of the arrangement in force show or hide the areas of the form pages, those
    // of the preferences the areas of the free-field pages.
    void ShowGroups();

    // The "I" button of area 5, 7 or 8: opens the list of the area's named pictures under the
    // button (then "-Preferences-"), or closes it when it is open.
    void TogglePictureList(int area);
    CPopupList* PictureList() const { return m_pictureList; }
    // Copies the picture of slot `slot` of the area's set into the record's drawing of the area,
    // after asking when the drawing holds something else. False when nothing changed.
    bool ChoosePicture(int area, int slot);
    // "-Preferences-": the "Vectorial picture" dialogue of the area, with the record's drawing of
    // the area as the current picture; its OK gives the area's set the dialogue's slots.
    void EditPictures(int area);

private:
    class Wrapper;
    void ShowRecord(PatientRecord* record);
    void ShowPen();
    void PictureChosen(int row);

    PageHost& m_view;
    FieldPages& m_fields;
    PatientRecord* m_record = nullptr;
    int m_widthCode = 0;
    int m_colourIndex = 0;
    int m_pictureSex = -1;  // the sex the skin picture was loaded for
    struct AreaControls {
        QPointer<CDrawingArea> area;
        std::array<QPointer<QPushButton>, 3> buttons;
        QPointer<QPushButton> pictures;  // "I", areas 5, 7 and 8
    };
    std::array<AreaControls, 8> m_areas;
    std::vector<std::unique_ptr<Wrapper>> m_wrappers;
    CPopupList* m_pictureList = nullptr;  // a child of the view
    int m_listArea = 0;                   // the area whose list is open
    std::vector<int> m_listSlots;         // the slot of each row but the last
};

}  // namespace pondrel
