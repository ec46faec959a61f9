#pragma once

#include <QObject>

#include "ui/pages/PagePlugin.h"
#include <QPointer>

#include <array>
#include <vector>

#include "layout/WindowsEditor.h"
#include "ui/pages/CWindowDragger.h"

class QCheckBox;
class QLineEdit;
class QPushButton;
class QWidget;

namespace pondrel {

class PageHost;
class CPopupList;
class FieldPages;

// The windows editor of the form pages 0 to 18 ("Ed windows" / "Close Ed Win"): a tool row over
// the page shown with the mode buttons "M", "S", "H" (move, size, hide a window with the stylus;
// at most one pressed), "A" (the page offered in the page list), "P", the page button text, the page
// name, "Add" (hidden windows back on the page) and "Option" (load, save as, restore the factory
// arrangement, close, hide the row). Closing it saves the arrangement for the patient shown.
class CWindowsEditor final : public QObject, public PagePlugin {
public:
    // `view` and `pages` must outlive the editor.
    CWindowsEditor(PageHost& view, FieldPages& pages);

    bool IsOpen() const { return m_open; }
    // Opens the editor on the page shown (refused on pages 19 and above) or closes it.
    void Toggle();
    void Close();
    // The page shown changed: the tool row follows it on the form pages.
    void PageShown(int page) override;
    // "Ed windows" / "Close Ed Win" of the main menu.
    bool RunCommand(MenuCommand command) override;

    QWidget* ToolRow() const { return m_row; }
    CPopupList* List() const { return m_list; }

private:
    enum class ListKind { None, Add, LostWindows, Options };
    void Open();
    void ShowRow(int page);
    void ShowList(ListKind kind);
    void OnChosen(int row);
    void RunOption(windows_editor::Option option);
    void ArrangementChanged();
    // One of "M", "S", "H" pressed or released: the stylus acts on the page's windows.
    void SetMode(windows_editor::DragMode mode);
    CWindowDragger::Page DragPage();

    PageHost& m_view;
    FieldPages& m_pages;
    bool m_open = false;
    int m_page = 0;
    QPointer<QWidget> m_row;
    std::array<QPointer<QPushButton>, 3> m_modes;  // "M", "S", "H"
    CWindowDragger* m_dragger = nullptr;           // a child of the editor
    QPointer<QCheckBox> m_aFlag;
    QPointer<QCheckBox> m_pFlag;
    QPointer<QLineEdit> m_buttonText;
    QPointer<QLineEdit> m_pageName;
    CPopupList* m_list = nullptr;  // a child of the view
    ListKind m_listKind = ListKind::None;
    std::vector<windows_editor::ListEntry> m_entries;
};

}  // namespace pondrel
