#include "ui/pages/CWindowsEditor.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include "labels/Labels.h"
#include "journal/ui/CSectionEdit.h"
#include "layout/ui/CFieldWindows.h"
#include "layout/ArrangementFiles.h"
#include "mainform/MainFormController.h"
#include "platform/Platform.h"
#include "platform/ui/CPopupList.h"
#include "platform/ui/QtText.h"
#include "records/PatientRecord.h"
#include "records/ui/ReservedCharacters.h"
#include "ui/pages/PageHost.h"
#include "ui/pages/FieldPages.h"
#include "ui/pages/IdentityControls.h"

namespace pondrel {

namespace editor = windows_editor;

namespace {

constexpr int kRowHeight = 17;

QFont Small(QFont font) {
    font.setPixelSize(9);
    return font;
}

}  // namespace

CWindowsEditor::CWindowsEditor(PageHost& view, FieldPages& pages)
    : QObject(&view.Widget()), m_view(view), m_pages(pages) {
    m_row = new QWidget;
    m_row->setObjectName(QStringLiteral("windowsEditor"));
    m_row->setAutoFillBackground(true);
    m_row->setStyleSheet(QStringLiteral("QWidget#windowsEditor { background: #fff3c4; }"));
    int left = 1;
    auto button = [&](const char* text, const char* name, int width, bool checkable) {
        auto* b = new QPushButton(QString::fromLatin1(text), m_row);
        b->setObjectName(QString::fromLatin1(name));
        b->setGeometry(left, 1, width, kRowHeight - 2);
        b->setFont(Small(b->font()));
        b->setStyleSheet(QStringLiteral("QPushButton { padding: 0; }"));
        b->setCheckable(checkable);
        b->setFocusPolicy(Qt::NoFocus);
        left += width + 1;
        return b;
    };
    m_dragger = new CWindowDragger(this);
    static constexpr const char* kModes[3] = {"M", "S", "H"};
    static constexpr editor::DragMode kModeOf[3] = {editor::DragMode::Move, editor::DragMode::Size,
                                                    editor::DragMode::Hide};
    for (size_t i = 0; i < 3; ++i) {
        const QString name = QStringLiteral("editorMode") + QString::fromLatin1(kModes[i]);
        QPushButton* b = button(kModes[i], name.toLatin1().constData(), 13, true);
        m_modes[i] = b;
        const editor::DragMode mode = kModeOf[i];
        connect(b, &QPushButton::clicked, this, [this, mode](bool on) {
            SetMode(on ? mode : editor::DragMode::None);
        });
    }
    m_modes[0]->setToolTip(QStringLiteral("Move a window by dragging it"));
    m_modes[1]->setToolTip(QStringLiteral("Size a window by dragging it"));
    m_modes[2]->setToolTip(QStringLiteral("Hide a window with a tap"));
    auto check = [&](const char* text, const char* name) {
        auto* c = new QCheckBox(QString::fromLatin1(text), m_row);
        c->setObjectName(QString::fromLatin1(name));
        c->setGeometry(left, 1, 26, kRowHeight - 2);
        c->setFont(Small(c->font()));
        c->setFocusPolicy(Qt::NoFocus);
        left += 27;
        return c;
    };
    m_aFlag = check("A", "editorA");
    m_pFlag = check("P", "editorP");
    auto edit = [&](const char* name, int width, const char* placeholder) {
        auto* e = new QLineEdit(m_row);
        e->setObjectName(QString::fromLatin1(name));
        e->setGeometry(left, 1, width, kRowHeight - 2);
        e->setFont(Small(e->font()));
        e->setPlaceholderText(QString::fromLatin1(placeholder));
        left += width + 1;
        return e;
    };
    m_buttonText = edit("editorButtonText", 36, "Button");
    m_pageName = edit("editorPageName", 44, "Name");
    QPushButton* add = button("Add", "editorAdd", 24, false);
    QPushButton* option = button("Option", "editorOption", 240 - left - 1, false);
    // The button text and the page name are typed like any field: no reserved character.
    RefuseReservedCharacters(m_row);

    connect(m_aFlag, &QCheckBox::clicked, this, [this](bool offered) {
        editor::SetOffered(m_pages.Arrangements().Current(), m_page, offered);
        if (m_page == 0) m_aFlag->setChecked(true);
        m_pageName->setText(
            ToQString(m_pages.Arrangements().Current().pages[static_cast<size_t>(m_page)].name));
        ArrangementChanged();
    });
    // "P": the page's drawing areas with their buttons (the pages without any ignore it).
    connect(m_pFlag, &QCheckBox::clicked, this, [this](bool shown) {
        m_pages.Arrangements().Current().pages[static_cast<size_t>(m_page)].pFlag = shown ? 1 : 0;
        ArrangementChanged();
    });
    connect(m_buttonText, &QLineEdit::textEdited, this, [this](const QString& text) {
        m_pages.Arrangements().Current().pages[static_cast<size_t>(m_page)].buttonText =
            ToU16(text);
        ArrangementChanged();
    });
    connect(m_pageName, &QLineEdit::textEdited, this, [this](const QString& text) {
        m_pages.Arrangements().Current().pages[static_cast<size_t>(m_page)].name = ToU16(text);
        ArrangementChanged();
    });
    connect(add, &QPushButton::clicked, this, [this] { ShowList(ListKind::Add); });
    connect(option, &QPushButton::clicked, this, [this] { ShowList(ListKind::Options); });

    m_list = new CPopupList(&view.Widget());
    m_list->setObjectName(QStringLiteral("windowsEditorList"));
    QFont font = m_list->font();
    font.setPixelSize(10);
    m_list->setFont(font);
    m_list->SetClosesOnFocusOut(true);
    m_list->hide();
    connect(m_list, &CPopupList::chosen, this, [this](int row) { OnChosen(row); });
    m_row->hide();
}

void CWindowsEditor::Toggle() {
    if (m_open) {
        Close();
    } else {
        Open();
    }
}

void CWindowsEditor::Open() {
    if (!editor::MayOpenOn(m_view.CurrentPage(), m_view.GetPlatform().messages)) return;
    m_open = true;
    m_view.Controller().Navigation().SetWindowsEditorOpen(true);
    ShowRow(m_view.CurrentPage());
    ArrangementChanged();
}

void CWindowsEditor::Close() {
    if (!m_open) return;
    SetMode(editor::DragMode::None);
    m_open = false;
    m_list->hide();
    m_row->hide();
    m_view.Controller().Navigation().SetWindowsEditorOpen(false);
    editor::TellClosed(m_view.GetPlatform().messages);
    const PatientRecord* record = m_pages.Record();
    m_pages.Arrangements().SaveArrangement(u"", record ? record->Field(202) : std::u16string());
    ArrangementChanged();
}

bool CWindowsEditor::RunCommand(MenuCommand command) {
    if (command != MenuCommand::EditWindows) return false;
    Toggle();
    return true;
}

void CWindowsEditor::PageShown(int page) {
    if (!m_open) return;
    m_list->hide();
    SetMode(editor::DragMode::None);
    if (page >= 0 && page < kFormPages) {
        ShowRow(page);
    } else {
        m_row->hide();
    }
}

void CWindowsEditor::ShowRow(int page) {
    m_page = page;
    const PageLayout& layout = m_pages.Arrangements().Current().pages[static_cast<size_t>(page)];
    m_row->setParent(m_view.Page(page));
    m_row->setGeometry(0, 0, PageHost::kWidth, kRowHeight);
    m_aFlag->setChecked(layout.aFlag != 0);
    m_pFlag->setChecked(layout.pFlag != 0);
    m_buttonText->setText(ToQString(layout.buttonText));
    m_buttonText->setEnabled(page > 0);
    m_pageName->setText(ToQString(layout.name));
    m_row->show();
    m_row->raise();
}

void CWindowsEditor::ShowList(ListKind kind) {
    const auto caption = [this](int field) { return m_view.GetLabels().Caption(field); };
    m_entries.clear();
    std::vector<std::u16string> rows;
    if (kind == ListKind::Options) {
        for (const editor::OptionEntry& entry : editor::OptionMenu()) {
            rows.emplace_back(entry.text);
        }
    } else {
        m_entries = kind == ListKind::Add
                        ? editor::AddList(m_pages.Arrangements().Current(), caption)
                        : editor::LostWindowList(caption);
        for (const editor::ListEntry& entry : m_entries) rows.push_back(entry.text);
    }
    m_listKind = kind;
    m_list->SetRows(rows);
    const int height = m_list->HeightFor(static_cast<int>(rows.size()), 30, 230);
    const int width = kind == ListKind::Options ? 140 : 200;
    m_list->setGeometry(PageHost::kWidth - width, kRowHeight, width, height);
    m_list->show();
    m_list->raise();
    m_list->setFocus(Qt::OtherFocusReason);
}

void CWindowsEditor::OnChosen(int row) {
    m_list->hide();
    if (row < 0) return;
    if (m_listKind == ListKind::Options) {
        const auto& menu = editor::OptionMenu();
        if (static_cast<size_t>(row) < menu.size())
            RunOption(menu[static_cast<size_t>(row)].option);
        return;
    }
    if (static_cast<size_t>(row) >= m_entries.size()) return;
    const editor::ListEntry& entry = m_entries[static_cast<size_t>(row)];
    if (entry.field < 0) {
        ShowList(ListKind::LostWindows);
        return;
    }
    editor::BringBack(m_pages.Arrangements().Current(), entry.field, m_page);
    ArrangementChanged();
}

void CWindowsEditor::RunOption(editor::Option option) {
    ArrangementFiles& files = m_pages.Arrangements();
    switch (option) {
        case editor::Option::LoadAllWindows:
            if (files.OpenArrangement(false)) ArrangementChanged();
            break;
        case editor::Option::SaveAllWindowsAs:
            files.SaveArrangement(u"-1");
            break;
        case editor::Option::RestoreDefaultSettings:
            if (editor::ConfirmRestore(m_view.GetPlatform().messages) &&
                files.OpenArrangement(true)) {
                ArrangementChanged();
            }
            break;
        case editor::Option::Close:
            Close();
            break;
        case editor::Option::Hide:
            m_row->hide();
            QTimer::singleShot(editor::kHideMilliseconds, m_row, [this] {
                if (m_open && m_view.CurrentPage() == m_page) m_row->show();
            });
            break;
    }
}

void CWindowsEditor::SetMode(editor::DragMode mode) {
    static constexpr editor::DragMode kModeOf[3] = {editor::DragMode::Move, editor::DragMode::Size,
                                                    editor::DragMode::Hide};
    for (size_t i = 0; i < m_modes.size(); ++i) m_modes[i]->setChecked(kModeOf[i] == mode);
    m_dragger->SetMode(mode, mode == editor::DragMode::None ? CWindowDragger::Page{} : DragPage());
}

CWindowDragger::Page CWindowsEditor::DragPage() {
    CWindowDragger::Page page;
    CFieldWindows& windows = m_pages.Windows();
    const int number = m_page;
    page.fieldAt = [this, &windows, number](const QWidget* widget) {
        const std::vector<int> fields = FieldsOnPage(m_pages.Arrangements().Current(), number);
        for (const QWidget* w = widget; w && w != m_view.Page(number); w = w->parentWidget()) {
            for (int field : fields) {
                if (windows.Edit(field) == w || windows.Caption(field) == w) return field;
            }
        }
        return -1;
    };
    page.window = [&windows](int field) -> QWidget* { return windows.Edit(field); };
    page.caption = [&windows](int field) -> QWidget* { return windows.Caption(field); };
    page.store = [this, number](int field, const editor::WindowAndCaption& placed) {
        FieldLayout& layout = m_pages.Arrangements().Current().fields[static_cast<size_t>(field)];
        const int top = PageTop(number);
        layout.window = {placed.window.left, placed.window.top + top, placed.window.right,
                         placed.window.bottom + top};
        layout.caption = {placed.caption.left, placed.caption.top + top, placed.caption.right,
                          placed.caption.bottom + top};
        ArrangementChanged();
    };
    page.hide = [this](int field) {
        HideField(m_pages.Arrangements().Current(), field);
        ArrangementChanged();
    };
    return page;
}

void CWindowsEditor::ArrangementChanged() {
    m_pages.ApplyArrangement();
    if (m_open && m_row->isVisible()) ShowRow(m_page);
}

}  // namespace pondrel
