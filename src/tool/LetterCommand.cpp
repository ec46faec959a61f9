// pondrel-tool letter KIND FILE.pdr OUT.rtf [--template T.rtf] [--day YYYY-MM-DD]: fills a letter
// template from a patient file as the program does and writes the RTF.

#include <cstdio>
#include <string>

#include "documents/DocumentFiles.h"
#include "documents/LetterData.h"
#include "documents/RtfFormat.h"
#include "documents/TemplateDocuments.h"
#include "documents/TemplateFiller.h"
#include "journal/JournalDays.h"
#include "settings/SettingsValues.h"
#include "platform/Clock.h"
#include "platform/HostFileSystem.h"
#include "platform/Text.h"
#include "records/PatientRecord.h"
#include "tool/HostFiles.h"
#include "tool/JournalArguments.h"
#include "tool/PatientFileEdit.h"
#include "tool/SummarySupport.h"
#include "tool/ToolCommand.h"

namespace pondrel::tool {
namespace {

int RunLetter(const std::vector<std::string>& args);
const ToolCommand kLetter{
    "letter", "letter KIND FILE.pdr OUT.rtf [--template T.rtf] [--day YYYY-MM-DD]",
    "fills a letter template (KIND: admission, out, template) from a patient file as the program "
    "does, with the factory template of the kind unless --template names one, on the day given "
    "(default today), in the words and date order of the device the file lies in, and writes the "
    "RTF",
    RunLetter};

int Fail(const std::string& reason) {
    std::fprintf(stderr, "pondrel-tool letter: %s\n", reason.c_str());
    return 1;
}

int RunLetter(const std::vector<std::string>& args) {
    std::vector<std::string> positional;
    std::string templatePath;
    std::optional<DayNumber> day;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--template" || arg == "--day") {
            if (i + 1 == args.size()) return UsageError(kLetter, arg + " needs a value");
            const std::string& value = args[++i];
            if (arg == "--template") {
                templatePath = value;
            } else {
                day = ParseDayDateArgument(value);
                if (!day) return UsageError(kLetter, "--day takes a date YYYY-MM-DD");
            }
        } else {
            positional.push_back(arg);
        }
    }
    if (positional.size() != 3) return UsageError(kLetter);
    const std::string& kind = positional[0];
    size_t limit = kTemplateDocumentLimit;
    if (kind == "admission") {
        limit = kAdmissionTemplateLimit;
        if (templatePath.empty()) {
            templatePath = PONDREL_RESOURCES_DIR "/" + ToUtf8(kAdmissionTemplate);
        }
    } else if (kind == "out") {
        limit = kOutLetterTemplateLimit;
        if (templatePath.empty()) {
            templatePath = PONDREL_RESOURCES_DIR "/" + ToUtf8(kOutLetterTemplate);
        }
    } else if (kind == "template") {
        if (templatePath.empty()) return UsageError(kLetter, "KIND template needs --template");
    } else {
        return UsageError(kLetter, "KIND is admission, out or template");
    }

    PatientRecord record;
    if (!LoadHostPatient(positional[1], record)) return 1;
    // The words and the date order of the device the patient file lies in, as the program on
    // that device would write the letter (the factory installation's when it lies in none).
    const SummarySettings settings =
        LoadSummarySettings(DeviceOf(positional[1]), record.Field(202));
    const Labels& labels = settings.labels;
    const DateOrder order = DateOrderOf(settings.preferences.regional.dateOrder);

    // The letter is written as on the given day: that day is "today" for the stay and the ages.
    SystemClock clock;
    DateTime now = clock.Now();
    if (day) now = WithTimeOf(*day, now);
    const LetterDays days = DaysOnOpening(record, labels, now);
    const TemplateData data = MakeTemplateData(record, labels, order, now, days);

    HostFileSystem files(FolderOf(templatePath));
    const std::optional<std::u16string> templateName = DeviceNameOf(templatePath);
    if (!templateName) return 1;
    const TemplateFill fill = FillTemplate(files, *templateName, limit, data);
    switch (fill.failure) {
        case TemplateFailure::None:
            break;
        case TemplateFailure::NotFound:
            return Fail("cannot open " + templatePath);
        case TemplateFailure::TooBig:
            return Fail("template too big: it must stay below " + std::to_string(limit) + " bytes");
        case TemplateFailure::Damaged:
            return Fail("damaged template: a group is not closed or a \"}\" closes nothing");
        case TemplateFailure::ResultTooBig:
            return Fail("the filled letter would reach " + std::to_string(kTemplateResultLimit) +
                        " bytes");
    }
    if (record.Field(2).empty() || record.Field(3).empty()) {
        return Fail("the patient has no last or first name: the program does not save the letter");
    }
    if (fill.codes == 0) std::fprintf(stderr, "pondrel-tool letter: the template holds no code\n");
    if (fill.unfinishedCode) {
        std::fprintf(stderr,
                     "pondrel-tool letter: a code without its closing \"#\" was left as it "
                     "stands\n");
    }
    if (!WriteHostFile(positional[2], MarkedDocument(fill.bytes, record))) {
        return Fail("cannot write " + positional[2]);
    }
    return 0;
}

}  // namespace
}  // namespace pondrel::tool
