#pragma once

#include <deque>
#include <filesystem>
#include <optional>
#include <string>

#include "platform/FileDialogs.h"

class QWidget;

namespace pondrel {

// The platform's open and save dialogues as Qt file dialogues over the device folder: they start
// in the device folder asked for and give back device paths; a file chosen outside the device
// folder is refused (as cancelled).
class QtFileDialogs final : public FileDialogs {
public:
    // `deviceRoot` is the host folder of the device's root folder ("" when the device is not a
    // host folder: the dialogues then always answer Cancel).
    explicit QtFileDialogs(std::filesystem::path deviceRoot) : m_root(std::move(deviceRoot)) {}

    void SetParent(QWidget* parent) { m_parent = parent; }

    std::optional<std::u16string> AskOpenFile(const FileDialogRequest& request) override;
    std::optional<std::u16string> AskSaveFile(const FileDialogRequest& request) override;

    // Test hook: the next dialogue is not shown and answers this device path (none: Cancel).
    void QueueAnswer(std::optional<std::u16string> answer) {
        m_answers.push_back(std::move(answer));
    }

    // The device path of a host file inside the device folder; none outside it.
    std::optional<std::u16string> DevicePathOf(const std::filesystem::path& host) const;

private:
    std::optional<std::u16string> Ask(const FileDialogRequest& request, bool save);

    std::filesystem::path m_root;
    QWidget* m_parent = nullptr;
    std::deque<std::optional<std::u16string>> m_answers;
};

}  // namespace pondrel
