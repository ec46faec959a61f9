#pragma once

// What pondrel-tool summary reads besides the patients: the words and settings of the
// installation the patients belong to, and the patients of a device folder.

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "documents/RecordSummarySources.h"
#include "journal/JournalWords.h"
#include "labels/Labels.h"
#include "layout/Arrangement.h"
#include "records/PatientRecord.h"
#include "platform/Clock.h"
#include "settings/Preferences.h"
#include "settings/SettingsValues.h"

namespace pondrel::tool {

// The labels, the preferences and the field arrangement of an installation folder, as the
// program would read them at start-up; nothing is written. What cannot be read keeps the
// program's built-in values (the labels' built-in words, default preferences, the factory
// arrangement).
struct SummarySettings {
    Labels labels = Labels::Defaults();
    Preferences preferences;
    Arrangement arrangement;
    std::u16string origin;  // where the settings came from, for the notes on stderr
};

// The words, date order and summary sources of an installation's settings, as the summaries
// and the documents built from them use them.
struct SummaryWords {
    SummarySettings settings;
    JournalWords words;
    DateOrder order;
    std::unique_ptr<RecordSummarySources> sources;
    std::unique_ptr<SummaryContext> context;

    SummaryWords(SummarySettings loaded, Clock& clock)
        : settings(std::move(loaded)),
          words(JournalWordsFrom(settings.labels)),
          order(DateOrderOf(settings.preferences.regional.dateOrder)) {
        sources = std::make_unique<RecordSummarySources>(words, AgeWords::From(settings.labels),
                                                         order, clock);
        context = std::make_unique<SummaryContext>(
            SummaryContext{settings.labels, words, order, *sources});
    }
};

// The device folder a host path belongs to: the path itself when it is a folder, else the
// folder holding "My Documents" when the file lies in its active folder or its archives. Empty
// when there is none.
std::filesystem::path DeviceOf(const std::filesystem::path& path);

// The settings of the device's installation folder (found as the program finds it), or of the
// factory installation shipped with the tool when `device` is empty or holds no installation.
// `patientForm` names the patient's own arrangement (field 202).
SummarySettings LoadSummarySettings(const std::filesystem::path& device,
                                    std::u16string_view patientForm);

// Every patient file of the device's active folder, in the order of their names. A file that
// cannot be read is left out with a note on stderr.
std::vector<std::unique_ptr<PatientRecord>> LoadActivePatients(const std::filesystem::path& device);

// HTML text as UTF-8 bytes a browser shows right whatever encoding it assumes: every character
// beyond ASCII is written as a numeric character reference.
std::string AsciiHtml(std::u16string_view html);

}  // namespace pondrel::tool
