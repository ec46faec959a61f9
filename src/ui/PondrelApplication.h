#pragma once

#include <memory>

#include "platform/FileRegistry.h"
#include "platform/HostFileSystem.h"
#include "platform/Platform.h"
#include "records/CCorvaneDoc.h"
#include "records/WorkingFolders.h"
#include "ui/ProgramOptions.h"
#include "ui/QtTimers.h"
#include "ui/QtUserMessages.h"

namespace pondrel {

class CMainFrame;
class CStartUpPicture;

// The application object: the platform seams over the device folder, the installation folder,
// the start-up picture, the document (CCorvaneDoc) and the main frame. Create it after the
// QApplication and destroy it before.
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

    Platform& GetPlatform() { return m_platform; }
    QtUserMessages& Messages() { return m_messages; }
    QtTimers& Timers() { return m_timers; }
    const WorkingFolders& Folders() const { return m_folders; }
    CCorvaneDoc& Document() { return m_document; }
    CMainFrame* Frame() const { return m_frame.get(); }
    CStartUpPicture* Picture() const { return m_picture.get(); }

private:
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
};

}  // namespace pondrel
