// pondrel-tool labels FILE: prints what the program takes from a labels file, one value a line.
// pondrel-tool labels-build SOURCE OUT: lays out the readable source of a labels file as the
// UTF-16 "Labels.txt".

#include <cstdio>
#include <string>

#include "labels/LabelsFile.h"
#include "labels/LabelsFormat.h"
#include "labels/LabelsSource.h"
#include "labels/LabelsWriter.h"
#include "platform/HostFileSystem.h"
#include "platform/Text.h"
#include "tool/HostFiles.h"
#include "tool/ToolCommand.h"
#include "tool/ValueEscaping.h"

namespace pondrel::tool {

namespace {

const char* EncodingName(LabelsEncoding encoding) {
    switch (encoding) {
        case LabelsEncoding::Utf16:
            return "UTF-16LE";
        case LabelsEncoding::Utf16NoMark:
            return "UTF-16LE without mark";
        case LabelsEncoding::Utf16BigEndian:
            return "UTF-16BE";
        case LabelsEncoding::Utf8:
            return "UTF-8";
        case LabelsEncoding::EightBit:
            return "8-bit (Windows-1252)";
    }
    return "?";
}

const char* LayoutName(LabelsLayout layout) {
    switch (layout) {
        case LabelsLayout::Current:
            return "current";
        case LabelsLayout::Version300:
            return "3.00 (converted)";
        case LabelsLayout::Version230:
            return "2.30 (converted)";
        case LabelsLayout::Before230:
            return "before 2.30 (converted)";
        case LabelsLayout::NotLabels:
            return "not a labels file";
    }
    return "?";
}

template <size_t N>
void PrintValues(const char* name, const std::array<std::u16string, N>& values) {
    for (size_t i = 0; i < N; ++i) {
        std::printf("%s %zu: %s\n", name, i, EscapedValue(values[i]).c_str());
    }
}

const char* Shape(const SectionShape& shape) {
    if (!shape.found) return "missing";
    return shape.intact ? "intact" : "damaged";
}

int RunLabels(const std::vector<std::string>& args);
int RunLabelsBuild(const std::vector<std::string>& args);

const ToolCommand kLabels{"labels", "labels FILE",
                          "prints the captions, shortcut lists and words a labels file gives",
                          RunLabels};
const ToolCommand kLabelsBuild{"labels-build", "labels-build SOURCE OUT",
                               "lays out a UTF-8 labels source as the UTF-16 labels file",
                               RunLabelsBuild};

int RunLabels(const std::vector<std::string>& args) {
    if (args.size() != 1) return UsageError(kLabels);
    std::string bytes;
    if (!ReadHostFile(args[0], kLabelsMaxBytes + 1, bytes)) {
        std::fprintf(stderr, "pondrel-tool: can't read %s\n", args[0].c_str());
        return 1;
    }
    bool cut = bytes.size() > kLabelsMaxBytes;
    if (cut) bytes.resize(kLabelsMaxBytes);
    LabelsInterpretation result = InterpretLabelsBytes(bytes);
    std::printf("encoding: %s\n", EncodingName(result.encoding));
    std::printf("layout: %s\n", LayoutName(result.layout));
    if (result.layout == LabelsLayout::NotLabels) {
        std::fprintf(stderr, "pondrel-tool: %s holds no field record\n", args[0].c_str());
        return 1;
    }
    const LabelsReadResult& read = result.read;
    std::printf("cut at the read limit: %s\n", cut ? "yes" : "no");
    std::printf("field records: %d\n", read.fieldRecords);
    std::printf("section captions: %d, %s\n", read.sectionCaptions.items,
                Shape(read.sectionCaptions));
    std::printf("plain text: %d, %s\n", read.plainText.items, Shape(read.plainText));
    std::printf("date: %d, %s\n", read.date.items, Shape(read.date));
    std::printf("rewrite on load: %s\n", result.newText && !cut    ? "yes"
                                         : result.writeBackRefused ? "refused"
                                                                   : "no");
    const Labels& labels = read.labels;
    for (int field = 0; field < kLabelsFieldCount; ++field) {
        std::printf("field %d caption: %s\n", field, EscapedValue(labels.captions[field]).c_str());
        std::printf("field %d shortcuts: %s\n", field,
                    EscapedValue(labels.shortcutLists[field]).c_str());
    }
    PrintValues("section", labels.sectionCaptions);
    PrintValues("label", labels.uiLabels);
    PrintValues("weekday", labels.weekdayNames);
    PrintValues("month", labels.monthNames);
    PrintValues("age word", labels.ageWords);
    PrintValues("short month", labels.shortMonthNames);
    return 0;
}

int RunLabelsBuild(const std::vector<std::string>& args) {
    if (args.size() != 2) return UsageError(kLabelsBuild);
    std::string source;
    if (!ReadHostFile(args[0], 4 * kLabelsMaxBytes, source)) {
        std::fprintf(stderr, "pondrel-tool: can't read %s\n", args[0].c_str());
        return 1;
    }
    Labels labels;
    Error error;
    if (!CompileLabelsSource(source, labels, &error) || !CheckLabels(labels, &error)) {
        std::fprintf(stderr, "pondrel-tool: %s: %s\n", args[0].c_str(), error.message.c_str());
        return 1;
    }
    std::string bytes = EncodeLabelsText(ComposeLabelsText(labels));
    if (bytes.size() > kLabelsMaxBytes) {
        std::fprintf(stderr, "pondrel-tool: the labels file would exceed %zu bytes\n",
                     kLabelsMaxBytes);
        return 1;
    }
    if (!WriteHostFile(args[1], bytes, &error)) {
        std::fprintf(stderr, "pondrel-tool: can't write %s\n", error.message.c_str());
        return 1;
    }
    return 0;
}

}  // namespace

}  // namespace pondrel::tool
