#include "ui/pages/DrawingPages.h"

#include <algorithm>

#include <QDialog>
#include <QFontMetrics>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>

#include "layout/ArrangementFiles.h"
#include "layout/DrawingPlacement.h"
#include "layout/VectorPictures.h"
#include "layout/ui/CVectorPictureDlg.h"
#include "mainform/MainFormController.h"
#include "platform/Platform.h"
#include "platform/ui/CPopupList.h"
#include "platform/ui/QtText.h"
#include "records/PatientRecord.h"
#include "records/WorkingFolders.h"
#include "ui/pages/FieldPages.h"
#include "ui/pages/PageHost.h"
#include "ui/seams/DevicePicture.h"

namespace pondrel {

namespace {

constexpr int kFullNoticeMs = 4000;
constexpr int kPictureNoticeMs = 4000;
constexpr int kPictureRowHeight = 11;
constexpr int kPictureColumnMax = 150;

// The sex the skin picture is drawn for: the lady's picture for a woman, the other one for a man
// and while the civility is not chosen.
int PictureSex(const PatientRecord& record) {
    return record.sex == 0 ? 0 : 1;
}

QRect ToQRect(const Rect& r) {
    return QRect(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

}  // namespace

// Stands in for the field pages' FormPage of a page with areas: the page shows and lets go of
// its record as before, and the areas follow.
class DrawingPages::Wrapper final : public FormPage {
public:
    Wrapper(DrawingPages& owner, int page, FormPage* inner)
        : m_owner(owner), m_page(page), m_inner(inner) {}
    void ShowRecord(PatientRecord* record) override {
        if (m_inner) m_inner->ShowRecord(record);
        m_owner.ShowRecord(record);
    }
    void Commit() override {
        if (m_inner) m_inner->Commit();
    }
    void Leave() override {
        if (m_inner) m_inner->Leave();
    }
    void Release() override {
        if (m_inner) m_inner->Release();
        m_owner.ShowRecord(nullptr);
    }
    int Page() const { return m_page; }
    FormPage* Inner() const { return m_inner; }

private:
    DrawingPages& m_owner;
    int m_page;
    FormPage* m_inner;
};

DrawingPages::DrawingPages(PageHost& view, FieldPages& fields)
    : QObject(&view.Widget()), m_view(view), m_fields(fields) {
    for (const DrawingPlacement& p : DrawingPlacements()) {
        QWidget* band = view.Page(p.page);
        AreaControls& c = m_areas[static_cast<size_t>(p.area - 1)];
        c.area = new CDrawingArea(p.area, *this, band);
        c.area->setGeometry(ToQRect(p.rect));
        static constexpr const char* kCaptions[3] = {"1", "2", "3"};
        static constexpr const char* kNames[3] = {"drawingWidth%1", "drawingColour%1",
                                                  "drawingClear%1"};
        for (size_t i = 0; i < 3; ++i) {
            auto* b = new QPushButton(QString::fromLatin1(kCaptions[i]), band);
            b->setObjectName(QString::fromLatin1(kNames[i]).arg(p.area));
            b->setGeometry(ToQRect(p.buttons[i]));
            b->setFocusPolicy(Qt::NoFocus);
            QFont font = b->font();
            font.setPixelSize(10);
            b->setFont(font);
            c.buttons[i] = b;
        }
        if (p.pictureButton) {
            c.pictures = new QPushButton(QStringLiteral("I"), band);
            c.pictures->setObjectName(QStringLiteral("drawingPictures%1").arg(p.area));
            c.pictures->setGeometry(ToQRect(*p.pictureButton));
            c.pictures->setFocusPolicy(Qt::NoFocus);
            c.pictures->setFont(c.buttons[0]->font());
        }
        const int area = p.area;
        if (c.pictures) {
            connect(c.pictures, &QPushButton::clicked, this,
                    [this, area] { TogglePictureList(area); });
        }
        connect(c.buttons[0], &QPushButton::clicked, this, [this] { NextWidth(); });
        connect(c.buttons[1], &QPushButton::clicked, this, [this] { NextColour(); });
        connect(c.buttons[2], &QPushButton::clicked, this, [this, area] { Clear(area); });
        if (p.page == FieldPages::kFreeFieldPages[0] || p.page == FieldPages::kFreeFieldPages[1]) {
            // The tool row of the free-field page stays over the strip when it shows.
            for (QPushButton* b : c.buttons) b->lower();
            if (c.pictures) c.pictures->lower();
            c.area->lower();
        }
        bool wrapped = false;
        for (const auto& w : m_wrappers) wrapped = wrapped || w->Page() == p.page;
        if (!wrapped) {
            m_wrappers.push_back(
                std::make_unique<Wrapper>(*this, p.page, view.Controller().PageAt(p.page)));
            view.Controller().SetPage(p.page, m_wrappers.back().get());
        }
    }
    m_pictureList = new CPopupList(&view.Widget());
    m_pictureList->setObjectName(QStringLiteral("pictureList"));
    QFont listFont = m_pictureList->font();
    listFont.setPixelSize(9);
    m_pictureList->setFont(listFont);
    m_pictureList->setFlow(QListView::TopToBottom);
    m_pictureList->setWrapping(true);
    m_pictureList->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_pictureList->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_pictureList->SetClosesOnFocusOut(true);
    m_pictureList->hide();
    connect(m_pictureList, &CPopupList::chosen, this, [this](int row) { PictureChosen(row); });
    m_fields.SetArrangementApplied([this] { ShowGroups(); });
    ShowPen();
    ShowGroups();
    ShowRecord(view.Controller().ShownRecord());
}

DrawingPages::~DrawingPages() {
    m_fields.SetArrangementApplied({});
    for (const auto& w : m_wrappers) m_view.Controller().SetPage(w->Page(), w->Inner());
}

CDrawingArea* DrawingPages::Area(int area) const {
    if (area < 1 || area > 8) return nullptr;
    return m_areas[static_cast<size_t>(area - 1)].area;
}

void DrawingPages::ShowRecord(PatientRecord* record) {
    m_record = record;
    if (record && PictureSex(*record) != m_pictureSex && m_pictureSex >= 0) LoadPictures();
    for (int area = 1; area <= 8; ++area) {
        if (CDrawingArea* a = Area(area)) {
            a->ShowDrawing(record ? &record->drawings[static_cast<size_t>(area - 1)] : nullptr);
        }
    }
}

void DrawingPages::PageShown(int /*page*/) {
    m_pictureList->hide();
    ShowGroups();
}

void DrawingPages::LoadPictures() {
    const int sex = m_record ? PictureSex(*m_record) : 1;
    for (int area = 1; area <= 8; ++area) {
        CDrawingArea* a = Area(area);
        if (!a || (area != 1 && m_pictureSex >= 0)) continue;
        QImage picture;
        // A missing picture leaves the area white; the drawing shows all the same.
        LoadDevicePicture(m_view.GetPlatform().files,
                          m_view.Folders().InstallationFile(DrawingPictureName(area, sex)),
                          picture);
        a->SetPicture(picture);
    }
    m_pictureSex = sex;
}

void DrawingPages::ShowGroups() {
    const Arrangement& arrangement = m_fields.Arrangements().Current();
    for (const DrawingPlacement& p : DrawingPlacements()) {
        bool shown = true;
        if (p.page < kFormPages) {
            shown = arrangement.pages[static_cast<size_t>(p.page)].pFlag != 0;
        } else if (p.page == FieldPages::kFreeFieldPages[0]) {
            shown = m_view.GetPreferences().freeFieldDrawings[0] != 0;
        } else if (p.page == FieldPages::kFreeFieldPages[1]) {
            shown = m_view.GetPreferences().freeFieldDrawings[1] != 0;
        }
        AreaControls& c = m_areas[static_cast<size_t>(p.area - 1)];
        c.area->setVisible(shown);
        for (QPushButton* b : c.buttons) b->setVisible(shown);
        if (c.pictures) c.pictures->setVisible(shown);
        if (!shown && m_listArea == p.area) m_pictureList->hide();
    }
}

bool DrawingPages::MayDraw(int /*area*/) {
    return m_record && m_view.Controller().MayChangeRecord();
}

std::u16string* DrawingPages::Drawing(int area) {
    if (!m_record || area < 1 || area > 8) return nullptr;
    return &m_record->drawings[static_cast<size_t>(area - 1)];
}

void DrawingPages::DrawingFull(int /*area*/) {
    m_view.GetPlatform().messages.ShowNotice(
        u"This drawing is full: clear it, or draw on another picture", kFullNoticeMs, true);
}

void DrawingPages::NextWidth() {
    m_widthCode = (m_widthCode + 1) % kWidthCodeCount;
    ShowPen();
}

void DrawingPages::NextColour() {
    m_colourIndex = (m_colourIndex + 1) % kPenColourCount;
    ShowPen();
}

void DrawingPages::ShowPen() {
    const DrawingColour c = PenColourNow();
    const QColor colour(c.red, c.green, c.blue);
    QPixmap widthIcon(16, 12);
    widthIcon.fill(Qt::transparent);
    {
        QPainter painter(&widthIcon);
        painter.setPen(QPen(Qt::black, PenWidth(m_widthCode), Qt::SolidLine, Qt::FlatCap));
        painter.drawLine(1, 6, 15, 6);
    }
    for (AreaControls& a : m_areas) {
        a.buttons[0]->setIcon(QIcon(widthIcon));
        a.buttons[0]->setIconSize(QSize(12, 9));
        a.buttons[1]->setStyleSheet(
            QStringLiteral("QPushButton { background: %1; color: %2; padding: 0; }")
                .arg(colour.name(), colour.lightness() < 110 ? QStringLiteral("white")
                                                              : QStringLiteral("black")));
    }
}

void DrawingPages::Clear(int area) {
    std::u16string* drawing = Drawing(area);
    if (!drawing || drawing->empty()) return;
    if (!m_view.Controller().MayChangeRecord()) return;
    // The findings go with one tap: ask first.
    if (m_view.GetPlatform().messages.ShowBox(u"Do you really want to clear this drawing ?",
                                              u"Clear drawing", BoxButtons::YesNo,
                                              BoxIcon::Question) != BoxAnswer::Yes) {
        return;
    }
    drawing->clear();
    if (CDrawingArea* a = Area(area)) a->update();
}

void DrawingPages::TogglePictureList(int area) {
    if (m_pictureList->isVisible()) {
        m_pictureList->hide();
        if (m_listArea == area) return;  // a second tap closes the list
    }
    const std::optional<int> set = PictureSetOf(area);
    QPushButton* button = set ? m_areas[static_cast<size_t>(area - 1)].pictures.data() : nullptr;
    if (!button) return;
    const auto list = PictureListOf(SlotsOf(m_view.GetPreferences(), *set));
    m_listArea = area;
    m_listSlots = list.rowSlots;
    m_pictureList->SetRows(list.rows);
    // The shape of the list, wider or higher only where our font needs more room than the
    // handheld's did.
    const QFontMetrics metrics(m_pictureList->font());
    int longest = 0;
    for (const std::u16string& row : list.rows) {
        longest = std::max(longest, metrics.horizontalAdvance(ToQString(row)));
    }
    const int columnWidth = std::max(list.columnWidth, std::min(longest + 8, kPictureColumnMax));
    const int rowHeight = std::max(kPictureRowHeight, metrics.height());
    const int rows = (list.height - 3) / kPictureRowHeight;
    m_pictureList->setGridSize(QSize(columnWidth, rowHeight));
    const int frame = 2 * m_pictureList->frameWidth();
    const QSize size(columnWidth * list.columns + frame,
                     std::max(list.height, rows * rowHeight + frame + 2));
    // Under the button, kept inside the form; above it when there is no room below.
    QWidget& form = m_view.Widget();
    const QPoint top = button->mapTo(&form, QPoint(0, 0));
    QPoint at(top.x(), top.y() + button->height());
    at.setX(std::max(0, std::min(at.x(), form.width() - size.width())));
    if (at.y() + size.height() > form.height()) at.setY(std::max(0, top.y() - size.height()));
    m_pictureList->setGeometry(QRect(at, size));
    m_pictureList->show();
    m_pictureList->raise();
    m_pictureList->setFocus(Qt::OtherFocusReason);
}

void DrawingPages::PictureChosen(int row) {
    m_pictureList->hide();
    if (row < 0) return;
    const size_t index = static_cast<size_t>(row);
    if (index < m_listSlots.size()) {
        ChoosePicture(m_listArea, m_listSlots[index]);
    } else if (index == m_listSlots.size()) {
        EditPictures(m_listArea);
    }
}

bool DrawingPages::ChoosePicture(int area, int slot) {
    const std::optional<int> set = PictureSetOf(area);
    std::u16string* drawing = Drawing(area);
    if (!set || !drawing || slot < 0 || slot >= kPicturesPerSet) return false;
    const VectorPicture picture =
        SlotsOf(m_view.GetPreferences(), *set)[static_cast<size_t>(slot)];
    if (picture.name.empty()) return false;
    // The same refusals as drawing: a record held read only or not begun stays as it is.
    if (!m_view.Controller().MayChangeRecord()) return false;
    const PictureCopy copy = PictureForDrawing(picture.drawing);
    Platform& platform = m_view.GetPlatform();
    // The picture takes the place of the whole drawing: the doctor's findings go only when asked.
    if (!drawing->empty() && *drawing != copy.drawing &&
        platform.messages.ShowBox(u"Do you really want to replace this drawing with the picture <" +
                                      picture.name + u"> ?",
                                  u"Replace drawing", BoxButtons::YesNo,
                                  BoxIcon::Question) != BoxAnswer::Yes) {
        return false;
    }
    *drawing = copy.drawing;
    if (copy.strokesCut > 0) {
        platform.messages.ShowNotice(u"The picture <" + picture.name +
                                         u"> is larger than a drawing may be: its last strokes "
                                         u"were left out",
                                     kPictureNoticeMs, true);
    }
    if (CDrawingArea* a = Area(area)) a->update();
    return true;
}

void DrawingPages::EditPictures(int area) {
    const std::optional<int> set = PictureSetOf(area);
    if (!set) return;
    Preferences& preferences = m_view.GetPreferences();
    const std::u16string* drawing = Drawing(area);
    VectorPictureEditor editor(SlotsOf(preferences, *set), drawing ? *drawing : std::u16string());
    Platform& platform = m_view.GetPlatform();
    CVectorPictureDlg dialog(editor, platform.messages, &m_view.Widget());
    if (dialog.exec() != QDialog::Accepted) {
        platform.messages.ShowNotice(u"You select cancel. Nothing has been modified",
                                     kPictureNoticeMs, true);
        return;
    }
    StoreSlots(preferences, *set, editor.Slots());
    if (!editor.Saved()) {
        platform.messages.ShowNotice(
            u"Your modifications have been processed but you haven't choose to save this picture",
            kPictureNoticeMs);
    }
}

}  // namespace pondrel
