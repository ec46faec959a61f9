#pragma once

#include <QMainWindow>

namespace pondrel {

class CCorvaneDoc;
class CCorvaneView;
struct Platform;
struct WorkingFolders;

// The main window: the handheld's frame (240 x 296 below the task bar) carrying the main form.
class CMainFrame final : public QMainWindow {
public:
    static constexpr int kWidth = 240;
    static constexpr int kHeight = 296;

    // `platform`, `folders` and `document` must outlive the frame.
    CMainFrame(Platform& platform, const WorkingFolders& folders, CCorvaneDoc& document,
               QWidget* parent = nullptr);

    CCorvaneView* View() const { return m_view; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    Platform& m_platform;
    CCorvaneView* m_view = nullptr;  // owned by the frame
};

}  // namespace pondrel
