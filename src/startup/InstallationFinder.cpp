#include "startup/InstallationFinder.h"

#include "platform/DeviceFileSystem.h"
#include "platform/Registry.h"
#include "platform/UserMessages.h"

namespace pondrel {

std::u16string NormalizeFolder(std::u16string_view folder) {
    std::u16string out;
    for (const std::u16string& part : PathParts(folder)) {
        out += u'\\';
        out += part;
    }
    return out;
}

InstallationFinder::InstallationFinder(DeviceFileSystem& files, Registry& registry)
    : m_files(files), m_registry(registry) {}

std::optional<std::u16string> InstallationFinder::UsableValue(std::u16string_view key,
                                                              std::u16string_view name) {
    std::optional<std::u16string> value = m_registry.Value(key, name);
    if (!value || value->empty() || *value == u"error") return std::nullopt;
    // A value that does not fit the read buffer with its closing zero cannot be read whole.
    if ((value->size() + 1) * sizeof(char16_t) > kRegistryBufferBytes) return std::nullopt;
    return value;
}

std::vector<std::u16string> InstallationFinder::Candidates() {
    std::vector<std::u16string> candidates;
    if (std::optional<std::u16string> installDir = UsableValue(kInstallKey, kInstallValue)) {
        candidates.push_back(NormalizeFolder(*installDir));
    }
    if (std::optional<std::u16string> topDir = UsableValue(kCardKey, kCardValue)) {
        std::u16string card = NormalizeFolder(*topDir);
        if (!card.empty()) {
            candidates.push_back(card + u"\\Pondrel");
            candidates.push_back(card + u"\\Omblane Pondrel");
        }
    }
    for (std::u16string_view fixed :
         {u"\\Program files\\Omblane Pondrel", u"\\Program files\\Pondrel", u"\\Omblane Pondrel",
          u"\\Pondrel", u"\\Programme\\Pondrel", u""}) {
        candidates.emplace_back(fixed);
    }
    return candidates;
}

bool InstallationFinder::HoldsProbe(std::u16string_view folder) {
    // The probe must be readable, not merely present: a read of its first bytes.
    std::string bytes;
    std::u16string path = std::u16string(folder) + std::u16string(kProbeFile);
    return m_files.FileExists(path) && m_files.ReadFile(path, 2, bytes);
}

std::optional<std::u16string> InstallationFinder::Find() {
    for (const std::u16string& candidate : Candidates()) {
        if (HoldsProbe(candidate)) return candidate;
    }
    return std::nullopt;
}

std::optional<std::u16string> InstallationFinder::FindOrReport(UserMessages& messages) {
    std::optional<std::u16string> found = Find();
    if (!found) {
        messages.ShowBox(std::u16string(kStartErrorText), std::u16string(kStartErrorCaption),
                         BoxButtons::Ok, BoxIcon::Error);
    }
    return found;
}

}  // namespace pondrel
