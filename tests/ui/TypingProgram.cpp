// The real Pondrel program, which once started types into the Status section of the problems
// page of the patient shown, as a doctor would, then writes "ready" on stdout. The typing is
// committed nowhere yet: the ending tests end this program from outside and look for the text
// in the patient's file. With PONDREL_TYPING_THEN=open-all in the environment it then chooses
// "Open all" and writes "ready" while the question waits for an answer nobody gives.

#include <QTest>
#include <QTimer>

#include <cstdio>

#include "journal/ui/CSectionEdit.h"
#include "ui/frame/CCorvaneView.h"
#include "ui/frame/CMainFrame.h"
#include "ui/app/PondrelApplication.h"
#include "ui/app/PondrelMain.h"

int main(int argc, char** argv) {
    return pondrel::RunPondrel(argc, argv, [](pondrel::PondrelApplication& program) {
        pondrel::CMainFrame& frame = *program.Frame();
        frame.View()->ShowPage(20);
        auto* status = frame.findChild<pondrel::CSectionEdit*>(QStringLiteral("status"));
        if (!status || !status->isEnabled()) {
            std::puts("no status section to type into");
            std::fflush(stdout);
            return;
        }
        frame.activateWindow();
        status->setFocus(Qt::MouseFocusReason);
        QTest::keyClick(status, Qt::Key_End, Qt::ControlModifier);
        QTest::keyClicks(status, QStringLiteral(" typed before the end"));
        if (qEnvironmentVariable("PONDREL_TYPING_THEN") == QStringLiteral("open-all")) {
            // Said from inside the question's own event loop.
            QTimer::singleShot(0, [] {
                std::puts("ready");
                std::fflush(stdout);
            });
            frame.View()->RunMenuCommand(pondrel::MenuCommand::OpenAll);
            return;
        }
        std::puts("ready");
        std::fflush(stdout);
    });
}
