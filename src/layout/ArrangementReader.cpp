#include "layout/ArrangementReader.h"

#include <algorithm>

#include "layout/Arrangement.h"
#include "layout/ArrangementFormat.h"
#include "platform/Text.h"

namespace pondrel {

namespace format = arrangement_format;

namespace {

std::string FieldNote(int field, const char* what) {
    return "field " + std::to_string(field) + ": " + what;
}

bool ClampRect(Rect& rect) {
    bool changed = false;
    for (int* value : {&rect.left, &rect.top, &rect.right, &rect.bottom}) {
        const int clamped = std::clamp(*value, -format::kCoordinateLimit, format::kCoordinateLimit);
        if (clamped != *value) {
            *value = clamped;
            changed = true;
        }
    }
    return changed;
}

int ZeroOrOne(int flag, int page, const char* name, std::vector<std::string>& notes) {
    if (flag == 0 || flag == 1) return flag;
    notes.push_back("page " + std::to_string(page) + ": " + name + " flag " + std::to_string(flag) +
                    " read as 1");
    return 1;
}

void Check(Arrangement& a, std::vector<std::string>& notes) {
    for (int field = 1; field < kFieldNumbers; ++field) {
        if (!IsArrangedField(field)) continue;
        FieldLayout& layout = a.fields[static_cast<size_t>(field)];
        if (ClampRect(layout.window)) notes.push_back(FieldNote(field, "window out of range"));
        if (ClampRect(layout.caption)) notes.push_back(FieldNote(field, "caption out of range"));
        if (layout.layoutValue < format::kHiddenLayoutValue ||
            layout.layoutValue > format::kLastFormPage) {
            notes.push_back(FieldNote(field, "layout value ") + std::to_string(layout.layoutValue) +
                            " out of range, hidden");
            layout.layoutValue = format::kHiddenLayoutValue;
        }
    }
    for (int page = 0; page < kFormPages; ++page) {
        PageLayout& p = a.pages[static_cast<size_t>(page)];
        std::u16string list = FieldListText(FieldListNumbers(p.fieldList));
        if (list != p.fieldList) {
            notes.push_back("page " + std::to_string(page) + ": field list corrected");
            p.fieldList = std::move(list);
        }
        p.aFlag = ZeroOrOne(p.aFlag, page, "A", notes);
        p.pFlag = ZeroOrOne(p.pFlag, page, "P", notes);
    }
}

}  // namespace

ArrangementReadResult ArrangementReader::Read(std::u16string_view text, Arrangement& arrangement) {
    ArrangementReadResult result;
    size_t begin = 0;
    const size_t hash = text.substr(0, format::kVersionSearchLength).find(u'#');
    if (hash == std::u16string_view::npos) {
        result.version = format::kVersionWithoutMark;
    } else {
        std::u16string_view version = text.substr(0, hash);
        if (version.starts_with(u'v') || version.starts_with(u'V')) version.remove_prefix(1);
        result.version = version;
        begin = hash + 1;
    }
    result.versionNumber = ParseInt(result.version);
    if (result.versionNumber > format::kCurrentVersion) {
        result.status = ArrangementReadResult::Status::NewerVersion;
        return result;
    }
    const int firstNotStored = result.versionNumber < format::kCurrentVersion
                                   ? format::kFirstFieldOfCurrentVersion
                                   : kAllFieldsStored;
    Arrangement read = arrangement;
    ArrangementItemsRead items =
        ReadArrangementItems(text, begin, read.fields, read.pages, firstNotStored);
    if (items.itemsMissing > 0) {
        result.status = ArrangementReadResult::Status::Damaged;
        return result;
    }
    Check(read, result.corrections);
    arrangement = std::move(read);
    return result;
}

}  // namespace pondrel
