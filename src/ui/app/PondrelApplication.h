#pragma once

#include <functional>
#include <memory>

#include "platform/FileRegistry.h"
#include "platform/HostFileSystem.h"
#include "platform/Platform.h"
#include "records/CCorvaneDoc.h"
#include "records/WorkingFolders.h"
#include "ui/app/ProgramOptions.h"
#include "ui/seams/QtTimers.h"
#include "ui/seams/QtUserMessages.h"

namespace pondrel {

class CMainFrame;
class CStartUpPicture;
class TerminationSignals;

// The application object: the platform seams over the device folder, the installation folder,
// the start-up picture, the document (CCorvaneDoc) and the main frame. Create it after the
// QApplication and destroy it before.
//
// However the program ends, the doctor's work is saved: closing the main window saves as Exit
// does (with its questions); SIGTERM, SIGINT and SIGHUP, the end of the desktop session and a
// quit that comes without the window being closed save the same way with nobody to answer
// (boxes go to stderr, a record that cannot be written is named there).
class PondrelApplication {
public:
    explicit PondrelApplication(const ProgramOptions& options);
    ~PondrelApplication();
    PondrelApplication(const PondrelApplication&) = delete;
    PondrelApplication& operator=(const PondrelApplication&) = delete;

    // Finds the installation folder, then shows the start-up picture and the main frame; the
    // form starts up when it is first shown. False, after the "Start error" box, when there is
    // no installation folder: the program ends.
    bool InitInstance();

    // Called once start-up has shown the first page.
    void SetStartedHandler(std::function<void()> started) { m_started = std::move(started); }

    // A termination signal arrived: saves with nobody to answer, closes the frame and ends the
    // event loop (status 0, or 1 when a record could not be saved).
    void EndBySignal(int signal);
    // The desktop session is ending (Qt's commit-data request): saves with nobody to answer;
    // the program goes on running until it is told to end.
    void SaveForSessionEnd();
    // The event loop is about to end: when the main window was not closed (and so did not
    // save), saves with nobody to answer and closes it.
    void SaveIfQuitWhileOpen();

    Platform& GetPlatform() { return m_platform; }
    QtUserMessages& Messages() { return m_messages; }
    QtTimers& Timers() { return m_timers; }
    const WorkingFolders& Folders() const { return m_folders; }
    CCorvaneDoc& Document() { return m_document; }
    CMainFrame* Frame() const { return m_frame.get(); }
    CStartUpPicture* Picture() const { return m_picture.get(); }

private:
    // Saves every record and the preferences with boxes sent to stderr; true when every record
    // in use was written.
    bool SaveUnattended();

    ProgramOptions m_options;
    HostFileSystem m_files;
    FileRegistry m_registry;
    SystemClock m_clock;
    QtUserMessages m_messages;
    QtTimers m_timers;
    Platform m_platform;
    WorkingFolders m_folders;

    // The document: the loaded patient folders, for the life of the program.
    CCorvaneDoc m_document{m_clock};

    std::unique_ptr<CStartUpPicture> m_picture;
    std::unique_ptr<CMainFrame> m_frame;
    std::unique_ptr<TerminationSignals> m_signals;
    std::function<void()> m_started;
    bool m_ending = false;
};

}  // namespace pondrel
