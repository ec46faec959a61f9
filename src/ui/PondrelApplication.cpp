#include "ui/PondrelApplication.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>

#include <chrono>
#include <cstdio>

#include "platform/Text.h"
#include "startup/InstallationFinder.h"
#include "ui/CCorvaneView.h"
#include "ui/CMainFrame.h"
#include "ui/CStartUpPicture.h"

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
    m_timers.StopAll();
    m_messages.SetNoticeTarget(nullptr);
    m_messages.SetParent(nullptr);
    m_frame.reset();
    m_picture.reset();
}

bool PondrelApplication::InitInstance() {
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
        }
    });
    PlaceOnScreen(*m_frame, 0);
    m_frame->show();
    m_picture->raise();
    return true;
}

}  // namespace pondrel
