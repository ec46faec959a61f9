#include "ui/app/PondrelApplication.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QSessionManager>
#include <QScreen>
#include <QTimer>

#include <chrono>
#include <cstdio>

#include "platform/Text.h"
#include "startup/InstallationFinder.h"
#include "ui/frame/CCorvaneView.h"
#include "ui/frame/CMainFrame.h"
#include "ui/app/CStartUpPicture.h"
#include "ui/app/TerminationSignals.h"

namespace pondrel {

namespace {

// Both windows stand where the handheld's screen would be: centred on the desktop.
void PlaceOnScreen(QWidget& window, int top) {
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return;
    QRect area = screen->availableGeometry();
    QPoint origin =
        area.center() - QPoint(CStartUpPicture::kWidth / 2, CStartUpPicture::kHeight / 2);
    window.move(origin.x(), origin.y() + top);
}

}  // namespace

PondrelApplication::PondrelApplication(const ProgramOptions& options)
    : m_options(options),
      m_files(options.device),
      m_registry(options.device / "registry.txt"),
      m_platform{m_files, m_registry, m_clock, m_messages, m_timers} {}

PondrelApplication::~PondrelApplication() {
    m_signals.reset();
    m_timers.StopAll();
    m_messages.SetNoticeTarget(nullptr);
    m_messages.SetParent(nullptr);
    m_frame.reset();
    m_picture.reset();
}

bool PondrelApplication::InitInstance() {
    // From now on an end from outside saves the doctor's work like Exit does.
    m_signals = std::make_unique<TerminationSignals>([this](int signal) { EndBySignal(signal); });
    QObject::connect(qGuiApp, &QGuiApplication::commitDataRequest, m_signals.get(),
                     [this](QSessionManager&) { SaveForSessionEnd(); });
    QObject::connect(qApp, &QCoreApplication::aboutToQuit, m_signals.get(),
                     [this] { SaveIfQuitWhileOpen(); });

    InstallationFinder finder(m_files, m_registry);
    std::optional<std::u16string> installation = finder.Find();
    if (!installation) {
        // On the terminal first: the box waits for an answer.
        const std::string device = m_options.device.string();
        if (std::filesystem::is_directory(m_options.device)) {
            std::fprintf(stderr,
                         "pondrel: Start error: no installation folder (holding Labels.txt) in "
                         "the device folder %s\n",
                         device.c_str());
        } else {
            std::fprintf(stderr, "pondrel: Start error: the device folder %s does not exist\n",
                         device.c_str());
        }
        std::fprintf(stderr, "pondrel: prepare one with: pondrel-tool init-device %s\n",
                     device.c_str());
        std::fflush(stderr);
        m_messages.ShowBox(std::u16string(InstallationFinder::kStartErrorText),
                           std::u16string(InstallationFinder::kStartErrorCaption), BoxButtons::Ok,
                           BoxIcon::Error);
        return false;
    }
    m_folders.installation = *installation;

    m_picture = std::make_unique<CStartUpPicture>(m_files, m_folders);
    PlaceOnScreen(*m_picture, 0);
    m_picture->show();

    m_frame = std::make_unique<CMainFrame>(m_platform, m_folders, m_document);
    CCorvaneView* view = m_frame->View();
    m_messages.SetParent(m_frame.get());
    m_messages.SetNoticeTarget([view](const std::u16string& text, int ms, bool warning) {
        view->ShowNotice(text, ms, warning);
    });
    view->SetStartUpPictureCloser([this] {
        if (m_picture) m_picture->close();
    });
    view->SetStartUpFinished([this](bool started) {
        if (!started) {
            // Start-up stopped and said why: nothing of the doctor's is loaded yet.
            m_frame->CloseWithoutSaving();
            QCoreApplication::exit(1);
            return;
        }
        if (m_options.measureStartUp) {
            // The first page, painted now; then the program quits without saving anything
            // (the timers stop with the frame, so no backup is taken either).
            m_frame->repaint();
            const auto elapsed = std::chrono::steady_clock::now() - m_options.started;
            std::printf(
                "pondrel: first page shown after %lld ms\n",
                static_cast<long long>(
                    std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count()));
            std::fflush(stdout);
            m_frame->CloseWithoutSaving();
            QCoreApplication::exit(0);
            return;
        }
        if (m_started) m_started();
    });
    PlaceOnScreen(*m_frame, 0);
    m_frame->show();
    m_picture->raise();
    return true;
}

// ---- Ending from outside -----------------------------------------------------------------------

bool PondrelApplication::SaveUnattended() {
    if (!m_frame) return true;
    const bool wasUnattended = m_messages.Unattended();
    m_messages.SetUnattended(true);
    const MainFormController::UnattendedSave result =
        m_frame->View()->Controller().SaveUnattended();
    for (const std::u16string& line : result.unsaved) {
        std::fprintf(stderr, "pondrel: not saved: %s\n", ToUtf8(line).c_str());
    }
    std::fflush(stderr);
    m_messages.SetUnattended(wasUnattended);
    return result.saved;
}

void PondrelApplication::EndBySignal(int signal) {
    if (m_ending) return;
    m_ending = true;
    std::fprintf(stderr, "pondrel: %s received: saving, then ending\n",
                 TerminationSignals::Name(signal));
    // Whatever still runs before the event loop ends has nobody to answer it either.
    m_messages.SetUnattended(true);
    const bool saved = SaveUnattended();
    if (m_frame) m_frame->CloseWithoutSaving();
    if (m_picture) m_picture->close();
    QCoreApplication::exit(saved ? 0 : 1);
}

void PondrelApplication::SaveForSessionEnd() {
    if (m_ending) return;
    SaveUnattended();
}

void PondrelApplication::SaveIfQuitWhileOpen() {
    if (m_ending || !m_frame || !m_frame->isVisible()) return;
    m_ending = true;
    m_messages.SetUnattended(true);
    SaveUnattended();
    m_frame->CloseWithoutSaving();
}

}  // namespace pondrel
