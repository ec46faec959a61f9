#pragma once

#include <array>
#include <vector>

#include <QObject>
#include <QPointer>

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

// The controls of the two free-field pages 28 and 29 besides their windows: the page title (its
// name in the page list), the "Edit menu" / "Edit mode" check button and the tool row it shows:
// "M", "S", "H" (move, size, hide a window with the stylus), "P" (the page's drawing area and
// its buttons shown or hidden, kept in the preferences), "Add" (the page's
// hidden windows, and "Restore default settings") and "N°", the page's position in the page
// list. The titles and positions are items 12 of the preferences, the check buttons items 13.
class FreeFieldControls final : public QObject {
public:
    // `view` and `pages` must outlive the controls.
    FreeFieldControls(PageHost& view, FieldPages& pages);

    // Shows the titles, positions and check buttons the preferences hold.
    void ShowSettings();
    CPopupList* List() const { return m_list; }

private:
    struct PageControls {
        QPointer<QLineEdit> title;
        QPointer<QCheckBox> edit;
        QPointer<QWidget> row;
        QPointer<QLineEdit> position;
        std::array<QPointer<QPushButton>, 3> modes;  // "M", "S", "H"
        QPointer<QPushButton> drawing;               // "P"
    };
    // A mode of page `index` pressed or released (None: every mode off).
    void SetMode(size_t index, windows_editor::DragMode mode);
    CWindowDragger::Page DragPage(size_t index);
    void Build(size_t index);
    void ShowAddList(size_t index);
    void OnChosen(int row);
    void SettingsChanged();

    PageHost& m_view;
    FieldPages& m_pages;
    std::array<PageControls, 2> m_controls;
    CPopupList* m_list = nullptr;  // a child of the view
    CWindowDragger* m_dragger = nullptr;  // a child of the controls
    size_t m_listPage = 0;
    std::vector<windows_editor::ListEntry> m_entries;
};

}  // namespace pondrel
