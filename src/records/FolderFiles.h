#pragma once

// Patient files as files: the listings of the active and archive folders, the subfolders
// (stays) of one file's text, and the changes the files manager makes to such a text. Every
// function here works on texts and names; FilesManager.h writes the results.

#include <string>
#include <string_view>
#include <vector>

#include "platform/DateTime.h"

namespace pondrel {

class DeviceFileSystem;

// One file of a folder: its real name on disk and the name the lists show.
struct FolderEntry {
    std::u16string fileName;     // "Doe_John_1950.pdr"
    std::u16string displayName;  // "Doe John 1950"
};

// The file name with every "_" made a blank, cut before its first ".".
std::u16string DisplayName(std::u16string_view fileName);

// Every "*.pdr" file of `folder`, sorted by display name (ignoring case), then by file name, so
// that two files showing the same name keep a fixed order. False (entries empty) when the folder
// cannot be listed.
bool ListFolder(DeviceFileSystem& files, std::u16string_view folder,
                std::vector<FolderEntry>& entries);

// One subfolder block of a patient text.
struct Stay {
    size_t begin = 0;  // its "¬H"
    size_t end = 0;    // after its "¬E" (or the next "¬H", or the end of the text)
    bool complete = false;  // it has its "¬E"
    std::u16string key;     // after "¬H" up to its first "¢", not included
    std::u16string type;
    std::u16string layout;
    std::u16string admission;  // display dates day.month.year
    std::u16string exit;
    std::u16string titles;  // the title list item, each title followed by "|"
    bool current = false;
};

// The header key of a text: between its first and its second "¢" (not included); none
// without two "¢".
bool HeaderKey(std::u16string_view text, std::u16string& key);

// The subfolder blocks of a patient text in file order (those after its "¬I").
std::vector<Stay> ListStays(std::u16string_view text);

// "Hosp : 1.2.2006 -> 15.2.2006  <Edit>": type, layout, the date range, the edit mark.
std::u16string StayLine(const Stay& stay);
// The part of the line after ": ", without the edit mark.
std::u16string StayRange(const Stay& stay);
// The titles one a line, each after a dash ("-Pneumonia\r\n-Diabetes").
std::u16string TitleBox(std::u16string_view titles);

// Whether another user holds the file on the server: its lock letter (just before the first
// "¢") is "R".
bool HeldByAnotherUser(std::u16string_view text);

// What went wrong in a change of a text; the texts of the boxes are in FilesManager.cpp.
enum class TextChange {
    Done,
    NoStay,       // the stay or its marks are missing
    NoForm,       // the template has no "¬P"
    NoHeader,     // the text has fewer than two "¢"
    LastStay,     // the only stay of the file cannot be deleted
    NoFirstStay,  // no stay left to make current
    TooBig,       // the result would be too big for the reader
    TooManyProblems,  // the combined journal would hold more than 100 problems
};

// Makes stay `index` current (its key into the header).
TextChange ChooseStayText(std::u16string& text, size_t index);

// A new stay before stay `index`, made current: admission and exit `now`, the type given, its
// fields copied (each marked "[c] ") or emptied, the template's problems added to the past
// history.
TextChange NewStayText(std::u16string& text, size_t index, std::u16string_view type, bool blank,
                       const DateTime& now);

// Removes stay `index`. The current stay stays current when it survives; when it is the one
// removed, the first remaining stay becomes current.
TextChange DeleteStayText(std::u16string& text, size_t index);

// The archived text `destination` with the stays of `source` after its own and the journal of
// the source combined into its journal: problems of comparable titles (as in the conversion of
// version 3.00 files) are one problem, and the sections of the same day and problem are joined,
// never replaced. The destination's header, identity, location and current stay stay as they
// were. Both texts in the current layout.
struct MergeCounts {
    int problems = 0;
    int days = 0;
};
TextChange MergeTexts(std::u16string_view source, std::u16string_view destination,
                      std::u16string& merged, MergeCounts* counts = nullptr);

// Where the journal item of a text in the current layout lies (after the 22nd "¢" following
// "¬I", up to the next "¢"); false when the text has no such item before its first stay.
bool FindJournalItem(std::u16string_view text, size_t& begin, size_t& end);

}  // namespace pondrel
