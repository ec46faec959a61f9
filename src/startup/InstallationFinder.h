#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pondrel {

class DeviceFileSystem;
class Registry;
class UserMessages;

// Finds the installation folder: the first candidate folder in which "\Labels.txt" can be read.
// The candidates, in order:
//   1. the registry value "InstallDir" of "SOFTWARE\Apps\Omblane Pondrel";
//   2. "\" + T + "\Pondrel" and 3. "\" + T + "\Omblane Pondrel", T being the registry value
//      "TopDir" of "PMail\Attachments" (the storage card);
//   4. "\Program files\Omblane Pondrel", 5. "\Program files\Pondrel", 6. "\Omblane Pondrel",
//   7. "\Pondrel", 8. "\Programme\Pondrel", 9. the root folder.
// A registry value that is missing, empty, the text "error" or longer than the registry read
// buffer allows is unusable and its candidates are skipped: an unreadable value must not turn
// into the root folder (an empty value followed by "\Labels.txt") or a truncated path.
class InstallationFinder {
public:
    static constexpr std::u16string_view kInstallKey = u"SOFTWARE\\Apps\\Omblane Pondrel";
    static constexpr std::u16string_view kInstallValue = u"InstallDir";
    static constexpr std::u16string_view kCardKey = u"PMail\\Attachments";
    static constexpr std::u16string_view kCardValue = u"TopDir";
    static constexpr std::u16string_view kProbeFile = u"\\Labels.txt";
    // Registry values are read into a buffer of 1000 bytes: at most 499 UTF-16 units and the
    // closing zero.
    static constexpr size_t kRegistryBufferBytes = 1000;

    static constexpr std::u16string_view kStartErrorCaption = u"Start error";
    static constexpr std::u16string_view kStartErrorText =
        u"<Pondrel> main folder not found !\r\nFirst try to install Pondrel in the default "
        u"installation folder of your PocketPC. If it doesn't work, copy the main folder "
        u"<Pondrel> into the directory <\\Program files\\> to have <\\Program files\\Pondrel\\>.";

    // Both must outlive the finder.
    InstallationFinder(DeviceFileSystem& files, Registry& registry);

    // The candidate folders in the order they are tried, each without a trailing "\" ("" for
    // the root folder).
    std::vector<std::u16string> Candidates();

    // The installation folder (as in Candidates()), or none when no candidate holds the probe.
    std::optional<std::u16string> Find();

    // Find(), showing the "Start error" box when nothing is found.
    std::optional<std::u16string> FindOrReport(UserMessages& messages);

private:
    std::optional<std::u16string> UsableValue(std::u16string_view key, std::u16string_view name);
    bool HoldsProbe(std::u16string_view folder);

    DeviceFileSystem& m_files;
    Registry& m_registry;
};

// A device folder written the way the program keeps it: "\" + parts joined by "\", no trailing
// separator, "" for the root folder. "/" is taken as "\".
std::u16string NormalizeFolder(std::u16string_view folder);

}  // namespace pondrel
