#include "ui/pages/DrawingPages.h"

#include <QPainter>
#include <QPixmap>
#include <QPushButton>

#include "layout/ArrangementFiles.h"
#include "layout/DrawingPlacement.h"
#include "mainform/MainFormController.h"
#include "platform/Platform.h"
#include "records/PatientRecord.h"
#include "records/WorkingFolders.h"
#include "ui/pages/FieldPages.h"
#include "ui/pages/PageHost.h"
#include "ui/seams/DevicePicture.h"

namespace pondrel {

namespace {

constexpr int kFullNoticeMs = 4000;

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
        const int area = p.area;
        connect(c.buttons[0], &QPushButton::clicked, this, [this] { NextWidth(); });
        connect(c.buttons[1], &QPushButton::clicked, this, [this] { NextColour(); });
        connect(c.buttons[2], &QPushButton::clicked, this, [this, area] { Clear(area); });
        if (p.page == FieldPages::kFreeFieldPages[0] || p.page == FieldPages::kFreeFieldPages[1]) {
            // The tool row of the free-field page stays over the strip when it shows.
            for (QPushButton* b : c.buttons) b->lower();
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
    if (record && record->sex != m_pictureSex && m_pictureSex >= 0) LoadPictures();
    for (int area = 1; area <= 8; ++area) {
        if (CDrawingArea* a = Area(area)) {
            a->ShowDrawing(record ? &record->drawings[static_cast<size_t>(area - 1)] : nullptr);
        }
    }
}

void DrawingPages::PageShown(int /*page*/) {
    ShowGroups();
}

void DrawingPages::LoadPictures() {
    const int sex = m_record ? m_record->sex : 1;
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

}  // namespace pondrel
