#pragma once

#include <QObject>
#include <QElapsedTimer>
#include <QPointer>

#include <functional>
#include <map>
#include <string>

#include "labels/ShortcutList.h"
#include "platform/ui/CPopupList.h"

class QKeyEvent;
class QWidget;

namespace pondrel {

struct Labels;

// The pop-up shortcut lists of a page's fields, and the keyboard rules of those fields. Each
// field's edit widget (QPlainTextEdit or QLineEdit) is attached with its field number; then:
//  - a double tap on the field, F4 or Ctrl+Space opens its list beside it, and closes it again;
//  - a tap on a row (or Return on the current row) inserts it at the caret (ShortcutList);
//    the focus stays in the field, so typing goes on while the list is open; Up, Down, Page Up,
//    Page Down, Return and Escape go to the list while it is open;
//  - typed reserved characters are refused, a lower-case letter at the start of a line becomes a
//    capital, and Enter in a bulleted field starts a new bulleted line.
// Every change reaches the field as an edit of the user, through the widget's own signals, so the
// page's rules (read only, commits) apply to it as to typing; fieldChanged() follows each row
// that may have changed a field (the task page stores its lines then).
//
// One-line edits (every QLineEdit, and the edits SetOneLine names) keep one line: Enter is left
// to the widget, and a row or a paste that brings line breaks brings blanks instead.
class CShortcutLists final : public QObject {
    Q_OBJECT
public:
    // `labels` must outlive this object; the lists show over `page`.
    CShortcutLists(const Labels& labels, QWidget* page);
    ~CShortcutLists() override;

    // `edit` must stay alive while attached (it is forgotten when destroyed). Field 200 takes no
    // list.
    void Attach(QWidget* edit, int field);
    // The property an attached edit carries its field number in.
    static constexpr const char* kFieldProperty = "pondrelField";
    // The record fields the lists read (usual drugs, past history, quick notes).
    void SetSources(std::function<ShortcutSources()> sources) { m_sources = std::move(sources); }
    // Stores new quick notes (field 198) after a quick-note row moved a line; without it the
    // lists offer no quick notes.
    void SetQuickNotesStore(std::function<void(const std::u16string&)> store) {
        m_storeQuickNotes = std::move(store);
    }
    // Called before a list opens: the page closes its other pop-up lists.
    void SetOpening(std::function<void()> opening) { m_opening = std::move(opening); }
    // Called after a row changed a field (the To do field refreshes its task lines).
    void SetInserted(std::function<void(QWidget* edit, int field)> inserted) {
        m_inserted = std::move(inserted);
    }
    // The widget the list of `edit` shows over, for edits spread over several pages; without
    // it, the page given to the constructor.
    void SetPageOf(std::function<QWidget*(QWidget* edit)> pageOf) { m_pageOf = std::move(pageOf); }
    // Which attached multi-line widgets are one-line edits.
    void SetOneLine(std::function<bool(const QWidget* edit)> oneLine) {
        m_oneLine = std::move(oneLine);
    }
    bool IsOneLine(const QWidget* edit) const;

    // Opens the list of the attached field `edit`, or closes it when it is open.
    void Toggle(QWidget* edit);
    void Close();
    bool IsOpen() const;
    CPopupList* List() const { return m_list; }
    const ShortcutList& Shortcuts() const { return m_shortcuts; }

signals:
    // A row was chosen that may have changed the text of `edit`.
    void fieldChanged(QWidget* edit, int field);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* EditOf(QObject* watched) const;
    bool KeyPressed(QWidget* edit, int field, QKeyEvent* key);
    ShortcutSources Sources() const;
    void Show();
    void Choose(int row);

    ShortcutList m_shortcuts;
    QWidget* m_page;
    QPointer<CPopupList> m_list;
    std::map<QWidget*, int> m_fields;        // attached edits and their field numbers
    std::map<QObject*, QWidget*> m_watched;  // edits and their viewports
    QWidget* m_edit = nullptr;               // the field whose list is open
    std::function<ShortcutSources()> m_sources;
    std::function<void(const std::u16string&)> m_storeQuickNotes;
    std::function<void()> m_opening;
    std::function<void(QWidget*, int)> m_inserted;
    std::function<QWidget*(QWidget*)> m_pageOf;
    std::function<bool(const QWidget*)> m_oneLine;
    // The field last double-clicked and when: a third click soon after selects its text.
    QWidget* m_doubleClicked = nullptr;
    QWidget* m_swallowDoubleClick = nullptr;
    QElapsedTimer m_sinceDoubleClick;
};

}  // namespace pondrel
