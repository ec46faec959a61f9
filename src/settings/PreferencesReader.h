#pragma once

#include <string>
#include <string_view>

namespace pondrel {

struct Preferences;

// The sections of the file that start with a marker, in file order.
enum class PreferencesSection {
    None,
    DessinImage,
    PatientCustom,
    Outbox,
    SentItems,
    ActiveFiles,
    ServerFiles,
    OtherSocket,
    CEditRect,
    Other,
};

struct PreferencesReadResult {
    enum class Status {
        Complete,        // every section was found
        SectionMissing,  // reading stopped at `missingSection`; the rest kept its values
        NewerVersion,    // written by a newer program: nothing was taken
    };
    Status status = Status::Complete;
    std::u16string versionMark;  // "v40", "v3.5"; empty when the file has none
    int version = 0;             // 40, 3...
    PreferencesSection missingSection = PreferencesSection::None;

    bool OlderLayout() const;
};

// Reads the decoded text of a preferences file into `preferences`, which should hold the
// defaults: every item the text does not hold keeps the value it had. The reader accepts files of
// the current layout ("v40") and of the older one (below 40, such as "v3.5"), refuses newer ones,
// and stops at a missing section marker, keeping what it read before. Any text is accepted:
// damaged or cut files never make it fail in another way.
//
// Sections are found where a file written by the program has them, counting items; when a
// marker is not there (a file from elsewhere), it is searched for from the start of the section,
// so a text that merely contains a marker (a page named "Other", a mail saying "Outbox=") never
// moves the reading.
class PreferencesReader {
public:
    static PreferencesReadResult Read(std::u16string_view text, Preferences& preferences);

    // Item 27: the last template path followed directly by an integer option. The path ends three
    // characters after its first "." when the rest is a plain integer; otherwise the option is
    // the last digit, so a folder name holding a "." never loses the path.
    static void SplitTemplateItem(std::u16string_view item, std::u16string& path, int& option);
};

}  // namespace pondrel
