#pragma once

#include <QWidget>

#include <array>
#include <functional>
#include <string>

#include "journal/TaskList.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace pondrel {

class UserMessages;

// The task panel of the tasks page: 5 to 10 rows, each a text line, a priority button, a done
// check box and a delete button, over a TaskPanelModel. After every key released in a line and
// every click on a button the panel reports its to-do text (Save of the model) through the
// change handler; the page stores it into field 98. Tasks after the tenth are not shown but are
// kept, and a line under the rows says how many there are.
class CTaskPanel final : public QWidget {
    Q_OBJECT
public:
    static constexpr int kRowHeight = 22;

    // `messages` must outlive the panel.
    explicit CTaskPanel(UserMessages& messages, QWidget* parent = nullptr);

    // Shows a to-do text (LoadTasks).
    void Load(std::u16string_view todo);
    // Whether `todo` is the text the rows on screen compose: loading it again would only move
    // the rows (done ones last) under the user's caret.
    bool Shows(std::u16string_view todo) const;
    // The heading of the panel (the "To do" label).
    void SetHeading(const QString& heading);
    void SetChangeHandler(std::function<void(const std::u16string& todo)> handler) {
        m_changed = std::move(handler);
    }
    const TaskPanelModel& Model() const { return m_model; }
    // The text line of row `row` (0 to 9), for the shortcut lists.
    QLineEdit* Line(size_t row) const { return row < m_rows.size() ? m_rows[row].text : nullptr; }
    // A line was changed by other means than its keys (a shortcut row): as after a key.
    void LineChanged(const QWidget* line);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Row {
        QLineEdit* text = nullptr;
        QPushButton* priority = nullptr;
        QCheckBox* done = nullptr;
        QPushButton* remove = nullptr;
    };
    void ShowRows();
    void Changed();

    UserMessages& m_messages;
    TaskPanelModel m_model;
    std::array<Row, TaskPanelModel::kMaxRows> m_rows{};
    QLabel* m_heading = nullptr;
    QLabel* m_hidden = nullptr;
    std::function<void(const std::u16string&)> m_changed;
};

}  // namespace pondrel
