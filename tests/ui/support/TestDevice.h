#pragma once

#include <QTemporaryDir>
#include <QtGlobal>

#include <filesystem>

#include "platform/Error.h"
#include "startup/DeviceSetup.h"

namespace pondrel::test {

// A device folder "device" inside `dir`, prepared as `pondrel-tool init-device` does with the
// factory installation of the source tree. Stops the test program when it cannot be made.
inline std::filesystem::path PrepareTestDevice(const QTemporaryDir& dir) {
    DeviceSetup setup;
    setup.resources = PONDREL_RESOURCES_DIR;
    setup.device = std::filesystem::path(dir.path().toStdString()) / "device";
    Error error;
    if (!setup.Run(&error)) qFatal("cannot prepare the device: %s", error.message.c_str());
    return setup.device;
}

}  // namespace pondrel::test
