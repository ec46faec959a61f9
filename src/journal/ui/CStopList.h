#pragma once

#include <QObject>

#include <functional>
#include <optional>
#include <vector>

#include "journal/EditorRefresh.h"
#include "journal/TreatmentStops.h"

class QWidget;

namespace pondrel {

class CPopupList;

// The stop list of the problem panel's 's' buttons (Medicine, Attitude, Examinations): pressing
// a button commits and opens the list of what runs (treatments, or actions for the other two),
// pressing it again closes it; choosing a row writes the stop, or shows why it is refused, and
// shows the list again without the stopped row. An empty list is not shown.
class CStopList final : public QObject {
    Q_OBJECT
public:
    // `stops` must outlive this object; the list shows over `page`.
    CStopList(TreatmentStops& stops, QWidget* page);

    // `placeBeside(button)` gives the rectangle, in the page, of the section the list opens
    // beside; `done(result)` gets each choice's result, to refresh the panel and put the caret.
    void SetPlacement(std::function<QRect(StopButton)> placeBeside) {
        m_placeBeside = std::move(placeBeside);
    }
    void SetChosen(std::function<void(const TreatmentStops::Result&)> done) {
        m_done = std::move(done);
    }
    void SetCommitted(std::function<void(const EditorRefresh&)> committed) {
        m_committed = std::move(committed);
    }

    // The button was pressed.
    void Toggle(StopButton button);
    void Close();
    bool IsOpen() const;
    CPopupList* List() const { return m_list; }

private:
    // Fills and shows the list; false (and hidden) when nothing runs.
    bool Show(StopButton button);
    void Choose(int row);

    TreatmentStops& m_stops;
    QWidget* m_page;
    CPopupList* m_list;
    std::optional<StopButton> m_button;  // whose list is shown
    std::vector<TreatmentStops::Row> m_rows;
    std::function<QRect(StopButton)> m_placeBeside;
    std::function<void(const TreatmentStops::Result&)> m_done;
    std::function<void(const EditorRefresh&)> m_committed;
};

}  // namespace pondrel
