#pragma once

// The print preview dialogue: a generated RTF document (the admission letter) shown before the
// user decides to save it. "100%" shows it at 70 %, "Page" at 35 %, "Ok" closes; nothing is saved
// from here.

#include <string>

#include <QDialog>

namespace pondrel {

class CRtfView;

class CPrintPreviewDlg final : public QDialog {
    Q_OBJECT
public:
    static constexpr int kFullZoom = 70;
    static constexpr int kPageZoom = 35;

    CPrintPreviewDlg(std::string rtf, QWidget* parent = nullptr);

    CRtfView* View() const { return m_view; }

protected:
    // Opens on the top of the document, whatever the wrapping at the final size moved.
    void showEvent(QShowEvent* event) override;

private:
    CRtfView* m_view = nullptr;
};

}  // namespace pondrel
