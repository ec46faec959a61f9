#pragma once

// The rich-text display of the letter previews: RTF bytes read by RtfTextReader, shown at a zoom
// in percent, wrapped to the display's width, read only.

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

private:
    void Render();

    std::string m_bytes;
    int m_zoom = 100;
};

}  // namespace pondrel
