#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace pondrel {

struct Arrangement;

struct ArrangementReadResult {
    enum class Status {
        Read,          // the arrangement was read (and checked)
        NewerVersion,  // written by a newer program: nothing was taken
        Damaged,       // the text ends before the arrangement does: nothing was taken
    };
    Status status = Status::Read;
    std::u16string version;  // "40", "3.00"...
    int versionNumber = 0;   // 40, 3...
    // Values the checks had to correct, each as "field 12: layout value 25 out of range".
    std::vector<std::string> corrections;

    bool Ok() const { return status == Status::Read; }
};

// Reads the decoded text of a ".wnd" file. The version is the text before a "#" among the first
// ten characters, without a leading "v"; a text without such a "#" is of version "3.00" and is
// read whole. A version above 40 is refused. Files below version 40 hold no layouts for fields
// 202 to 229: those keep the values `arrangement` had.
//
// Nothing is taken from a text that is refused or that ends before its last item: `arrangement`
// is changed only when the result is Read. The values read are then checked: coordinates are
// kept within +-30000, layout values outside -1..18 hide the window, page field lists keep only
// the numbers of fields 1 to 229 and "A" and "P" flags are 0 or 1; every correction is listed.
class ArrangementReader {
public:
    static ArrangementReadResult Read(std::u16string_view text, Arrangement& arrangement);
};

}  // namespace pondrel
