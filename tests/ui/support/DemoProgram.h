#pragma once

// The program of a GUI test on a device folder with demo patients.

#include <QTest>

#include <filesystem>
#include <memory>

#include "demo/DemoPatients.h"
#include "platform/Clock.h"
#include "platform/HostFileSystem.h"
#include "records/WorkingFolders.h"
#include "ui/frame/CCorvaneView.h"
#include "ui/frame/CMainFrame.h"
#include "ui/app/PondrelApplication.h"

namespace pondrel::test {

// Writes `count` demo patients whose journals end today into the device's active folder; the
// number written.
inline int WriteTodayDemo(const std::filesystem::path& device, int count) {
    HostFileSystem files(device);
    DemoOptions options;
    options.patients = count;
    options.today = SystemClock().Now();
    return WriteDemoPatients(files, WorkingFolders::kActivePatients, options).written;
}

// Starts the program on the device and waits until its start-up has run; null when it could not
// start or a start-up step stopped it.
inline std::unique_ptr<PondrelApplication> StartProgram(const std::filesystem::path& device) {
    ProgramOptions options;
    options.device = device;
    auto program = std::make_unique<PondrelApplication>(options);
    if (!program->InitInstance()) return nullptr;
    CCorvaneView& view = *program->Frame()->View();
    if (!QTest::qWaitFor([&view] { return view.StartUpResult().has_value(); })) return nullptr;
    if (!*view.StartUpResult()) return nullptr;
    return program;
}

}  // namespace pondrel::test
