#include "ui/seams/QtFileDialogs.h"

#include <QFileDialog>

#include "platform/HostFileSystem.h"
#include "platform/Text.h"
#include "platform/ui/QtText.h"

namespace pondrel {

namespace {

// "Windows positions(*.wnd)|*.wnd|" as a Qt filter: "Windows positions(*.wnd) (*.wnd)".
QString QtFilter(std::u16string_view filter) {
    std::vector<std::u16string> parts = Split(filter, u'|');
    QStringList filters;
    for (size_t i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].empty()) continue;
        filters << ToQString(parts[i]) + QStringLiteral(" (") + ToQString(parts[i + 1]) +
                       QStringLiteral(")");
    }
    return filters.join(QStringLiteral(";;"));
}

}  // namespace

std::optional<std::u16string> QtFileDialogs::DevicePathOf(const std::filesystem::path& host) const {
    if (m_root.empty()) return std::nullopt;
    std::error_code error;
    const std::filesystem::path root = std::filesystem::weakly_canonical(m_root, error);
    const std::filesystem::path file = std::filesystem::weakly_canonical(host, error);
    if (error) return std::nullopt;
    const std::filesystem::path relative = file.lexically_relative(root);
    if (relative.empty() || relative.native().starts_with("..")) return std::nullopt;
    std::u16string path;
    for (const auto& part : relative) path += u"\\" + FromUtf8(part.string());
    return path;
}

std::optional<std::u16string> QtFileDialogs::Ask(const FileDialogRequest& request, bool save) {
    if (!m_answers.empty()) {
        std::optional<std::u16string> answer = std::move(m_answers.front());
        m_answers.pop_front();
        return answer;
    }
    if (m_root.empty()) return std::nullopt;
    const std::filesystem::path start = HostFileSystem(m_root).HostPath(request.folder);
    const QString folder = QString::fromStdString(start.string());
    QString chosen;
    QFileDialog dialog(m_parent, ToQString(request.title), folder, QtFilter(request.filter));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (!request.extension.empty()) dialog.setDefaultSuffix(ToQString(request.extension));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    chosen = dialog.selectedFiles().front();
    return DevicePathOf(std::filesystem::path(chosen.toStdString()));
}

std::optional<std::u16string> QtFileDialogs::AskOpenFile(const FileDialogRequest& request) {
    return Ask(request, false);
}

std::optional<std::u16string> QtFileDialogs::AskSaveFile(const FileDialogRequest& request) {
    return Ask(request, true);
}

}  // namespace pondrel
