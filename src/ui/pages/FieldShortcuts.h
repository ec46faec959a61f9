#pragma once

#include <QObject>

#include <memory>
#include <set>

class QLabel;
class QWidget;

namespace pondrel {

class PageHost;
class CShortcutLists;
class FieldPages;
struct Labels;

// The shortcut lists of the form's field windows (pages 0 to 18, the free-field pages and the
// identity page) and of the other edits of the record's fields that ask for them (the task lines
// of page 19, the quick notes of page 37): a double tap, F4 or Ctrl+Space opens the field's list
// beside its window, over the window's page; rows go in at the caret as typing does, so every
// change takes the field pages' one path (read only, not begun, stored at once). A tap on a
// window's caption toggles the normal word of label 34 (or removes a leading "[c] ").
class FieldShortcuts final : public QObject {
public:
    // `labels` is the view's labels object, which outlives this one (its contents change when
    // the labels file is read again).
    FieldShortcuts(PageHost& view, FieldPages& fields, const Labels& labels);
    ~FieldShortcuts() override;
    FieldShortcuts(const FieldShortcuts&) = delete;
    FieldShortcuts& operator=(const FieldShortcuts&) = delete;

    // Takes in every field window made so far (a window is made when first placed); windows met
    // again are left as they are.
    void AttachWindows();
    // Another edit of `field` (a task line counts as the To do field).
    void Attach(QWidget* edit, int field);

    CShortcutLists& Lists() { return *m_lists; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CaptionTapped(int field);

    PageHost& m_view;
    FieldPages& m_fields;
    const Labels& m_labels;
    CShortcutLists* m_lists;
    std::set<QLabel*> m_captions;
};

}  // namespace pondrel
