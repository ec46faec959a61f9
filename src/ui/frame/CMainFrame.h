#pragma once

#include <QMainWindow>

namespace pondrel {

class CCommandBar;
class CCorvaneDoc;
class CCorvaneView;
struct Platform;
struct WorkingFolders;

// The main window, the size of the handheld's screen (240 x 320): the main form above, the
// command bar below.
class CMainFrame final : public QMainWindow {
public:
    static constexpr int kWidth = 240;
    static constexpr int kHeight = 320;

    // `platform`, `folders` and `document` must outlive the frame.
    CMainFrame(Platform& platform, const WorkingFolders& folders, CCorvaneDoc& document,
               QWidget* parent = nullptr);
    ~CMainFrame() override;

    CCorvaneView* View() const { return m_view; }
    CCommandBar* CommandBar() const { return m_commandBar; }

    // Closes the frame without saving (the program was asked to stop before it could run).
    void CloseWithoutSaving();

protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    Platform& m_platform;
    CCorvaneView* m_view = nullptr;       // owned by the frame
    CCommandBar* m_commandBar = nullptr;  // owned by the frame
    bool m_saveOnClose = true;
};

}  // namespace pondrel
