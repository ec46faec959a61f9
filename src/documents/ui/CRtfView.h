#pragma once

// The rich-text display of the letter previews: RTF bytes read by RtfTextReader, shown at a zoom
// in percent, wrapped to the display's width, read only. Dragged with the stylus (or the mouse)
// it scrolls one line for every 12 pixels of movement, as the handheld's display did.

#include <string>

#include <QTextEdit>

namespace pondrel {

class CRtfView final : public QTextEdit {
    Q_OBJECT
public:
    explicit CRtfView(QWidget* parent = nullptr);

    // Shows `bytes` (RTF when they start with "{", plain text otherwise) at `zoomPercent`.
    void SetDocument(std::string bytes, int zoomPercent);
    // Shows the same document at another zoom, scrolled to the top.
    void SetZoom(int zoomPercent);
    int Zoom() const { return m_zoom; }
    void ScrollToTop();
    const std::string& Bytes() const { return m_bytes; }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void Render();

    std::string m_bytes;
    int m_zoom = 100;
    bool m_dragging = false;
    int m_dragStartY = 0;
    int m_dragStartValue = 0;
};

}  // namespace pondrel
