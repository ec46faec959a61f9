#include "ui/pages/FreeFieldControls.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "labels/Labels.h"
#include "journal/ui/CSectionEdit.h"
#include "layout/ui/CFieldWindows.h"
#include "mainform/MainFormController.h"
#include "platform/Platform.h"
#include "platform/ui/CPopupList.h"
#include "platform/ui/QtText.h"
#include "records/ui/ReservedCharacters.h"
#include "settings/Preferences.h"
#include "ui/pages/PageHost.h"
#include "ui/pages/FieldPages.h"

namespace pondrel {

namespace editor = windows_editor;

namespace {

constexpr int kTitleWidth = 150;
constexpr int kTitleHeight = 15;
constexpr int kRowTop = 270;
constexpr int kRowHeight = 18;

QFont Pixels(QFont font, int pixels) {
    font.setPixelSize(pixels);
    return font;
}

}  // namespace

FreeFieldControls::FreeFieldControls(PageHost& view, FieldPages& pages)
    : QObject(&view.Widget()), m_view(view), m_pages(pages) {
    m_dragger = new CWindowDragger(this);
    for (size_t i = 0; i < m_controls.size(); ++i) Build(i);
    m_list = new CPopupList(&view.Widget());
    m_list->setObjectName(QStringLiteral("freeFieldList"));
    m_list->setFont(Pixels(m_list->font(), 10));
    m_list->SetClosesOnFocusOut(true);
    m_list->hide();
    connect(m_list, &CPopupList::chosen, this, [this](int row) { OnChosen(row); });
}

void FreeFieldControls::Build(size_t index) {
    const int page = FieldPages::kFreeFieldPages[index];
    QWidget* band = m_view.Page(page);
    PageControls& c = m_controls[index];
    c.title = new QLineEdit(band);
    c.title->setObjectName(QStringLiteral("freeTitle%1").arg(page));
    c.title->setGeometry(2, 1, kTitleWidth, kTitleHeight);
    QFont bold = Pixels(c.title->font(), 11);
    bold.setBold(true);
    c.title->setFont(bold);
    c.title->setPlaceholderText(QStringLiteral("Title"));
    connect(c.title, &QLineEdit::textEdited, this, [this, index](const QString& text) {
        m_pages.FreeTexts()[index] = ToU16(text);
        SettingsChanged();
    });
    // The title edit is the page's title.
    if (auto* label = band->findChild<QLabel*>(QStringLiteral("pageTitle%1").arg(page))) {
        label->hide();
    }

    c.edit =
        new QCheckBox(index == 0 ? QStringLiteral("Edit menu") : QStringLiteral("Edit mode"), band);
    c.edit->setObjectName(QStringLiteral("freeEdit%1").arg(page));
    // A box and its words a fingertip hits: a little taller than the title beside it.
    c.edit->setGeometry(kTitleWidth + 6, 0, 240 - kTitleWidth - 8, kTitleHeight + 2);
    c.edit->setFont(Pixels(c.edit->font(), 10));
    c.edit->setFocusPolicy(Qt::NoFocus);

    c.row = new QWidget(band);
    c.row->setObjectName(QStringLiteral("freeTools%1").arg(page));
    c.row->setGeometry(0, kRowTop, 240, kRowHeight);
    c.row->setAutoFillBackground(true);
    c.row->setStyleSheet(QStringLiteral("QWidget#freeTools%1 { background: #fff3c4; }").arg(page));
    int left = 2;
    static constexpr const char* kModes[4] = {"M", "S", "H", "P"};
    static constexpr editor::DragMode kModeOf[3] = {editor::DragMode::Move, editor::DragMode::Size,
                                                    editor::DragMode::Hide};
    for (size_t i = 0; i < 4; ++i) {
        auto* b = new QPushButton(QString::fromLatin1(kModes[i]), c.row);
        b->setObjectName(QStringLiteral("freeMode%1%2").arg(QString::fromLatin1(kModes[i])).arg(page));
        b->setGeometry(left, 1, 16, kRowHeight - 2);
        b->setFont(Pixels(b->font(), 9));
        b->setStyleSheet(QStringLiteral("QPushButton { padding: 0; }"));
        b->setCheckable(true);
        b->setFocusPolicy(Qt::NoFocus);
        left += 17;
        if (i == 3) {
            // "P": the page's drawing area with its buttons shown (pressed) or hidden.
            c.drawing = b;
            connect(b, &QPushButton::clicked, this, [this, index](bool shown) {
                m_view.GetPreferences().freeFieldDrawings[index] = shown ? 1 : 0;
                m_pages.GroupsChanged();
            });
            continue;
        }
        c.modes[i] = b;
        const editor::DragMode mode = kModeOf[i];
        connect(b, &QPushButton::clicked, this, [this, index, mode](bool on) {
            SetMode(index, on ? mode : editor::DragMode::None);
        });
    }
    auto* add = new QPushButton(QStringLiteral("Add"), c.row);
    add->setObjectName(QStringLiteral("freeAdd%1").arg(page));
    add->setGeometry(left + 4, 1, 40, kRowHeight - 2);
    add->setFont(Pixels(add->font(), 10));
    add->setStyleSheet(QStringLiteral("QPushButton { padding: 0; }"));
    add->setFocusPolicy(Qt::NoFocus);
    connect(add, &QPushButton::clicked, this, [this, index] { ShowAddList(index); });
    auto* caption = new QLabel(QStringLiteral("N\u00b0"), c.row);
    caption->setGeometry(left + 52, 1, 18, kRowHeight - 2);
    caption->setFont(Pixels(caption->font(), 10));
    c.position = new QLineEdit(c.row);
    c.position->setObjectName(QStringLiteral("freePosition%1").arg(page));
    c.position->setGeometry(left + 70, 1, 30, kRowHeight - 2);
    c.position->setFont(Pixels(c.position->font(), 10));
    connect(c.position, &QLineEdit::textEdited, this, [this, index](const QString& text) {
        const std::u16string kept = editor::PagePositionText(ToU16(text));
        m_pages.FreeTexts()[2 + index] = kept;
        if (ToQString(kept) != m_controls[index].position->text()) {
            m_controls[index].position->setText(ToQString(kept));
        }
        SettingsChanged();
    });
    // The title and the position are typed like any field: no reserved character.
    RefuseReservedCharacters(c.title);
    RefuseReservedCharacters(c.row);
    connect(c.edit, &QCheckBox::toggled, this, [this, index](bool shown) {
        if (!shown) SetMode(index, editor::DragMode::None);
        m_controls[index].row->setVisible(shown);
        m_view.GetPreferences().freeFields.options[index] = shown ? 1 : 0;
    });
    c.title->show();
    c.edit->show();
    c.row->hide();
}

void FreeFieldControls::ShowSettings() {
    const Preferences& p = m_view.GetPreferences();
    for (size_t i = 0; i < m_controls.size(); ++i) {
        PageControls& c = m_controls[i];
        c.title->setText(ToQString(m_pages.FreeTexts()[i]));
        c.position->setText(ToQString(m_pages.FreeTexts()[2 + i]));
        c.edit->setChecked(p.freeFields.options[i] == 1);
        c.row->setVisible(p.freeFields.options[i] == 1);
        c.drawing->setChecked(p.freeFieldDrawings[i] != 0);
    }
    m_view.Controller().Navigation().SetFreeFieldPagePositions(
        editor::PagePositionText(m_pages.FreeTexts()[2]).empty()
            ? 0
            : editor::PagePosition(m_pages.FreeTexts()[2]),
        editor::PagePositionText(m_pages.FreeTexts()[3]).empty()
            ? 0
            : editor::PagePosition(m_pages.FreeTexts()[3]));
}

void FreeFieldControls::SettingsChanged() {
    m_pages.StoreArrangement(m_view.GetPreferences());
    ShowSettings();
    m_view.RebuildPageOrder();
}

void FreeFieldControls::SetMode(size_t index, editor::DragMode mode) {
    static constexpr editor::DragMode kModeOf[3] = {editor::DragMode::Move, editor::DragMode::Size,
                                                    editor::DragMode::Hide};
    for (size_t p = 0; p < m_controls.size(); ++p) {
        for (size_t i = 0; i < 3; ++i) {
            if (m_controls[p].modes[i]) m_controls[p].modes[i]->setChecked(p == index && kModeOf[i] == mode);
        }
    }
    m_dragger->SetMode(mode, mode == editor::DragMode::None ? CWindowDragger::Page{}
                                                            : DragPage(index));
}

CWindowDragger::Page FreeFieldControls::DragPage(size_t index) {
    const int page = FieldPages::kFreeFieldPages[index];
    const int first = editor::FirstFreeFieldOf(page);
    const int shift = kFreeFieldReference - PageTop(page);
    CFieldWindows& windows = m_pages.Windows();
    CWindowDragger::Page drag;
    drag.fieldAt = [this, &windows, page, first](const QWidget* widget) {
        for (const QWidget* w = widget; w && w != m_view.Page(page); w = w->parentWidget()) {
            for (int field = first; field < first + kFreeFields / 2; ++field) {
                if (!windows.IsShown(field)) continue;
                if (windows.Edit(field) == w || windows.Caption(field) == w) return field;
            }
        }
        return -1;
    };
    drag.window = [&windows](int field) -> QWidget* { return windows.Edit(field); };
    drag.caption = [&windows](int field) -> QWidget* { return windows.Caption(field); };
    drag.store = [this, shift](int field, const editor::WindowAndCaption& placed) {
        const size_t i = static_cast<size_t>(field - kFreeFieldFirst);
        auto unshift = [shift](const Rect& r) {
            return Rect{r.left, r.top - shift, r.right, r.bottom - shift};
        };
        m_pages.FreeFields().windows[i].rect = unshift(placed.window);
        m_pages.FreeFields().captions[i].rect = unshift(placed.caption);
        m_pages.PlaceFreeFields();
        SettingsChanged();
    };
    drag.hide = [this](int field) {
        editor::HideFreeField(m_pages.FreeFields(), field);
        m_pages.PlaceFreeFields();
        SettingsChanged();
    };
    return drag;
}

void FreeFieldControls::ShowAddList(size_t index) {
    m_listPage = index;
    const int page = FieldPages::kFreeFieldPages[index];
    m_entries = editor::FreeFieldAddList(m_pages.FreeFields(), page, [this](int field) {
        return m_view.GetLabels().Caption(field);
    });
    std::vector<std::u16string> rows;
    for (const editor::ListEntry& entry : m_entries) rows.push_back(entry.text);
    m_list->SetRows(rows);
    const int height = editor::FreeFieldAddListHeight(rows.size());
    m_list->setGeometry(2, kRowTop - height, 180, height);
    m_list->show();
    m_list->raise();
    m_list->setFocus(Qt::OtherFocusReason);
}

void FreeFieldControls::OnChosen(int row) {
    m_list->hide();
    if (row < 0 || static_cast<size_t>(row) >= m_entries.size()) return;
    const editor::ListEntry& entry = m_entries[static_cast<size_t>(row)];
    if (entry.field >= 0) {
        editor::ShowFreeField(m_pages.FreeFields(), entry.field);
    } else if (editor::RestoreFreeFields(m_pages.FreeFields(), m_view.GetPlatform().messages)) {
        m_pages.FreeTexts() = {};
    } else {
        return;
    }
    m_pages.PlaceFreeFields();
    SettingsChanged();
}

}  // namespace pondrel
