#pragma once

// Everything the preferences file holds, in memory: the settings of the program and the lists it
// keeps between sessions. Members are in the order of their items in the file (see
// docs/preferences-file.md); the owner of each value gives it its meaning, this struct only keeps
// it. A default-constructed Preferences holds the defaults used when an item or a whole section
// is missing from the file.
//
// The file is written from these values, so whoever shows a value keeps it up to date here before
// the preferences are saved: the patient list its column widths, order and sort, the form its
// field arrangement and, for each page, the name its page list shows (or the stored one when the
// list shows none).

#include <array>
#include <string>
#include <vector>

#include "records/LocationList.h"

namespace pondrel {

inline constexpr int kPatientListColumns = 15;
inline constexpr int kVectorPictureSlots = 60;  // 6 sets of 10
inline constexpr int kFreeFields = 20;          // fields 100 to 119
inline constexpr int kFreeFieldFirst = 100;
inline constexpr int kFreeFieldCaptions = 4;
inline constexpr int kFreeFieldOptions = 2;
inline constexpr int kFieldNumbers = 230;  // field numbers 0 to 229
inline constexpr int kFormPages = 19;
inline constexpr int kControlRects = 300;
inline constexpr int kNetworkOptions = 5;
inline constexpr int kBigSummaryParagraphs = 4;

inline constexpr int kMailColumns = 11;
inline constexpr int kActiveFileColumns = 8;
inline constexpr int kServerFileColumns = 7;  // stored; "Imported" is computed on reading
inline constexpr size_t kInboxRows = 20;
inline constexpr size_t kOutboxRows = 20;
// Unread and unsent mail is never dropped: the Inbox and the Outbox may hold more rows than
// their fixed count; the file then closes the list with an empty row. At most this many are read.
inline constexpr size_t kMaxStoredMailRows = 1000;
inline constexpr size_t kSentItemsRows = 100;
inline constexpr size_t kActiveFileRows = 100;
inline constexpr size_t kServerFileRows = 100;

struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    friend bool operator==(const Rect&, const Rect&) = default;
};

// Item 6: caption red, green, blue, caption choice, background red, green, blue, background flag.
struct ColourSettings {
    int captionRed = 0;
    int captionGreen = 0;
    int captionBlue = 0;
    int captionChoice = 0;
    int backgroundRed = 0;
    int backgroundGreen = 0;
    int backgroundBlue = 0;
    int backgroundFlag = 0;
    friend bool operator==(const ColourSettings&, const ColourSettings&) = default;
};

// One slot of the named vectorial pictures (item 8); an empty name marks a free slot.
struct VectorPicture {
    std::u16string drawing;
    std::u16string name;
    friend bool operator==(const VectorPicture&, const VectorPicture&) = default;
};

struct FreeFieldRect {
    Rect rect;
    int visible = 0;
    friend bool operator==(const FreeFieldRect&, const FreeFieldRect&) = default;
};

// Items 10 to 13: the arrangement of the free fields 100 to 119 on their two pages.
struct FreeFieldLayout {
    std::array<FreeFieldRect, kFreeFields> windows{};   // fields 100..119
    std::array<FreeFieldRect, kFreeFields> captions{};  // their captions
    std::array<std::u16string, kFreeFieldCaptions> pageTexts{};
    std::array<int, kFreeFieldOptions> options{};
    friend bool operator==(const FreeFieldLayout&, const FreeFieldLayout&) = default;
};

// Item 15.
struct WirelessSettings {
    std::u16string userName;
    std::u16string password;
    int channel = 0;
    std::u16string serverAddress;
    int serverPort = 0;
    // TLS to the server, its certificate checked against the system's authorities or against
    // the certificate file (PEM) when one is chosen.
    bool encrypted = false;
    std::u16string certificateFile{};
    friend bool operator==(const WirelessSettings&, const WirelessSettings&) = default;
};

// A row of a mailbox (items 16, 18, 20). Column 0 is "Sender" in the inbox, "Destination" in the
// outbox and the sent items. The icon is not stored: the reader derives it from the state.
struct MailRow {
    enum Column {
        kPeer = 0,
        kMessage,
        kState,
        kTimeSending,
        kDateSending,
        kCode,
        kTimeReception,
        kDateReception,
        kTimeRead,
        kDateRead,
        kFlatMessage
    };
    std::array<std::u16string, kMailColumns> columns{};
    int icon = 3;
    friend bool operator==(const MailRow&, const MailRow&) = default;
};

// A row of the handheld's file list as the server view knows it (item 22).
struct ActiveFileRow {
    enum Column {
        kPatient = 0,
        kFileName,
        kCurrentUser,
        kCode,
        kState,
        kDateUpdate,
        kTimeUpdate,
        kInfo
    };
    std::array<std::u16string, kActiveFileColumns> columns{};
    int icon = 0;
    friend bool operator==(const ActiveFileRow&, const ActiveFileRow&) = default;
};

// A row of the server's file list (item 24). `imported` and `icon` are not stored.
struct ServerFileRow {
    enum Column { kPatient = 0, kFileName, kCurrentUser, kCode, kState, kDateUpdate, kTimeUpdate };
    std::array<std::u16string, kServerFileColumns> columns{};
    std::u16string imported = u"No";
    int icon = 0;
    friend bool operator==(const ServerFileRow&, const ServerFileRow&) = default;
};

// Item 30, per field 1 to 229 except 100 to 119.
struct FieldLayout {
    Rect window;
    Rect caption;
    int layoutValue = 0;  // page 0..18, -1 hidden
    friend bool operator==(const FieldLayout&, const FieldLayout&) = default;
};

// Items 31 to 35, per form page 0 to 18.
struct PageLayout {
    int aFlag = 0;
    std::u16string fieldList;  // field numbers, each followed by ","
    std::u16string name;
    std::u16string buttonText;  // pages 1 to 18 only; page 0 has no button
    int pFlag = 0;
    friend bool operator==(const PageLayout&, const PageLayout&) = default;
};

// Items 46 and 47.
struct NetworkOptions {
    int connectAtStart = 0;
    int reconnectAfterStandby = 0;
    int periodicSynchronisation = 0;
    int synchroniseAtConnection = 0;
    int importAllAtConnection = 0;
    std::u16string synchronisationPeriod;  // minutes, as text
    friend bool operator==(const NetworkOptions&, const NetworkOptions&) = default;
};

// Items 49 (descriptions) and 50 (titles).
struct BigSummaryParagraph {
    std::u16string title;
    std::u16string description;
    friend bool operator==(const BigSummaryParagraph&, const BigSummaryParagraph&) = default;
};

// The three general settings (items 14, 52, 53).
struct GeneralSettings {
    int autoSaveInterval = 0;  // minutes; 0 off
    int newFolderType = 0;     // 0 hospitalisation, 1 ambulatory
    int ageOnSummaries = 0;    // 0 no, 1 yes
    friend bool operator==(const GeneralSettings&, const GeneralSettings&) = default;
};

// The two regional settings (items 39, 40).
struct RegionalSettings {
    int dateOrder = 0;  // 0 month first, 1 day first
    int units = 0;      // 0 centimetre and kilogram, 1 inch and pound
    friend bool operator==(const RegionalSettings&, const RegionalSettings&) = default;
};

struct Preferences {
    // Items 2 to 5: the patient list and the problem panel.
    std::array<int, kPatientListColumns> columnWidths{44, 90, 40, 100, 90, 40, 40, 40,
                                                      40, 40, 40, 40,  40, 80, 80};
    std::array<int, kPatientListColumns> columnOrder{0, 1, 2,  3,  4,  5,  6, 7,
                                                     8, 9, 10, 11, 12, 13, 14};
    int sortColumn = 0;
    int sortDirection = 0;
    int bottomRightPane = 0;  // 1 differential diagnosis, 2 Other
    // Item 6.
    ColourSettings colours;
    // Item 8 ("DessinImage" section).
    std::array<VectorPicture, kVectorPictureSlots> vectorPictures{};
    // Items 10 to 13 ("PatientCustom" section).
    FreeFieldLayout freeFields;
    // The "P" flags of the free-field pages 28 and 29 (1: their drawing areas shown), after the
    // last item of the "Other" section; a file without them shows both areas.
    std::array<int, 2> freeFieldDrawings{1, 1};
    // Items 14, 52, 53.
    GeneralSettings general;
    // Item 15.
    WirelessSettings wireless;
    // Items 16 to 24.
    std::vector<MailRow> inbox;
    std::vector<MailRow> outbox;
    std::vector<MailRow> sentItems;
    std::vector<ActiveFileRow> activeFiles;
    std::vector<ServerFileRow> serverFiles;
    // Items 25 to 28.
    std::u16string friends;          // user names, each followed by "|"
    std::u16string recentTemplates;  // template paths, each followed by a digit and "|"
    std::u16string lastTemplatePath;
    int lastTemplateOption = 0;
    int currentPatientPosition = 0;  // counted from 1
    // Items 30 to 35 ("CEdit Rect" section), indexed by field number; fields 0 and 100 to 119
    // are not stored. `fieldLayoutsRead` is false when the file had no such section: the field
    // windows then keep the rectangles of the form as designed.
    bool fieldLayoutsRead = false;
    std::array<FieldLayout, kFieldNumbers> fieldLayouts{};
    std::array<PageLayout, kFormPages> pages{};
    // Items 37 to 53 ("Other" section).
    int startCount = 0;
    std::u16string icdTablePath;
    RegionalSettings regional;
    std::array<Rect, kControlRects> controlRects{};
    std::u16string examTitles;
    std::u16string locationList;
    std::u16string selectedLocation{kAllDepartment};
    int quickNotes = 0;
    NetworkOptions network;
    int item48 = 100;  // kept for its owner; below 60 reads as 100
    std::array<BigSummaryParagraph, kBigSummaryParagraphs> bigSummary{};
    int examGraphCurvesShown = 0;
    // Only in files of the older layout (below version 40); not written.
    int listDisplayMode = 0;

    friend bool operator==(const Preferences&, const Preferences&) = default;
};

// True for the field numbers whose window arrangement item 30 stores.
constexpr bool HasStoredFieldLayout(int field) {
    return field >= 1 && field < kFieldNumbers &&
           (field < kFreeFieldFirst || field >= kFreeFieldFirst + kFreeFields);
}

}  // namespace pondrel
