#include <cstdio>
#include <optional>
#include <regex>
#include <string>

#include "journal/Ages.h"
#include "labels/LabelsFile.h"
#include "labels/LabelsFormat.h"
#include "platform/Text.h"
#include "records/PatientRecord.h"
#include "tool/HostFiles.h"
#include "tool/ToolCommand.h"
#include "tool/ValueEscaping.h"

namespace pondrel::tool {
namespace {

int RunAge(const std::vector<std::string>& args);
const ToolCommand kAge{"age", "age BIRTH NOW [--gestation TEXT] [--hour TEXT] [--labels FILE]",
                       "prints the calendar, short and long ages of a birth date at a moment",
                       RunAge};

// "YYYY-MM-DD" with 00 for an empty day or month, as the texts of the birth date fields.
bool ParseBirth(const std::string& text, std::u16string& day, std::u16string& month,
                std::u16string& year) {
    std::smatch m;
    static const std::regex kDate(R"((\d{1,4})-(\d{2})-(\d{2}))");
    if (!std::regex_match(text, m, kDate)) return false;
    auto field = [](const std::string& digits) {
        return digits == "00" ? std::u16string() : ToText(std::stoi(digits));
    };
    year = FromUtf8(m[1].str());
    month = field(m[2].str());
    day = field(m[3].str());
    return true;
}

std::optional<DateTime> ParseNow(const std::string& text) {
    std::smatch m;
    static const std::regex kMoment(R"((\d{4})-(\d{2})-(\d{2})T(\d{2}):(\d{2}))");
    if (!std::regex_match(text, m, kMoment)) return std::nullopt;
    DateTime now{std::stoi(m[1].str()), std::stoi(m[2].str()), std::stoi(m[3].str()),
                 std::stoi(m[4].str()), std::stoi(m[5].str()), 0};
    if (!IsValid(now)) return std::nullopt;
    return now;
}

int RunAge(const std::vector<std::string>& args) {
    std::vector<std::string> positional;
    std::u16string gestation;
    std::u16string hour;
    std::string labelsPath = PONDREL_RESOURCES_DIR "/Labels.txt";
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--gestation" || arg == "--hour" || arg == "--labels") {
            if (i + 1 == args.size()) return UsageError(kAge, arg + " needs a value");
            const std::string& value = args[++i];
            if (arg == "--gestation") gestation = FromUtf8(value);
            if (arg == "--hour") hour = FromUtf8(value);
            if (arg == "--labels") labelsPath = value;
        } else {
            positional.push_back(arg);
        }
    }
    if (positional.size() != 2) return UsageError(kAge);
    PatientRecord record;
    std::u16string day, month, year;
    if (!ParseBirth(positional[0], day, month, year)) {
        return UsageError(kAge, "BIRTH is YYYY-MM-DD (00 for an empty day or month)");
    }
    const std::optional<DateTime> now = ParseNow(positional[1]);
    if (!now) return UsageError(kAge, "NOW is YYYY-MM-DDTHH:MM, a real date and time");
    std::string bytes;
    if (!ReadHostFile(labelsPath, kLabelsMaxBytes, bytes)) {
        std::fprintf(stderr, "pondrel-tool age: cannot open %s\n", labelsPath.c_str());
        return 1;
    }
    const AgeWords words = AgeWords::From(InterpretLabelsBytes(bytes).read.labels);
    record.SetField(4, day);
    record.SetField(5, month);
    record.SetField(6, year);
    record.SetField(203, gestation);
    record.SetField(204, hour);
    PrintValueLine("calendarAge", IdentityAge(record, *now, words));
    PrintValueLine("shortAge", ShortAge(record, *now, words));
    PrintValueLine("longAge", LongAge(record, *now, words));
    return 0;
}

}  // namespace
}  // namespace pondrel::tool
