#pragma once

#include <QWidget>

#include <functional>

#include "platform/DateTime.h"

class QPushButton;

namespace pondrel {

class ExamGraph;

// The graph window of the exam page: paints the exam graph's scene with its own code (lines,
// polylines, texts) and carries the "Zoom" button, shown while the graph may show the growth
// curves. A tap on the window asks the page to enlarge or shrink it.
class CExamGraphWnd final : public QWidget {
    Q_OBJECT
public:
    static constexpr int kZoomCommand = 7530;

    // `graph` must outlive the window. `now` gives the moment the graph is drawn for.
    CExamGraphWnd(const ExamGraph& graph, std::function<DateTime()> now, QWidget* parent = nullptr);

    // The graph's data changed: the button follows and the window repaints.
    void Refresh();
    QPushButton* ZoomButton() const { return m_zoom; }

    // "Zoom" was pressed (the owner toggles the option and refreshes).
    void SetZoomHandler(std::function<void()> handler) { m_onZoom = std::move(handler); }
    // The window was tapped.
    void SetTapHandler(std::function<void()> handler) { m_onTap = std::move(handler); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void PlaceZoom();

    const ExamGraph& m_graph;
    std::function<DateTime()> m_now;
    QPushButton* m_zoom = nullptr;
    std::function<void()> m_onZoom;
    std::function<void()> m_onTap;
};

}  // namespace pondrel
