#include "settings/PreferencesReader.h"

#include <optional>

#include "platform/Text.h"
#include "records/ItemEncoding.h"
#include "settings/ArrangementItems.h"
#include "settings/ListRowIcons.h"
#include "settings/Preferences.h"
#include "settings/PreferencesFormat.h"

namespace pondrel {

namespace format = preferences_format;

bool PreferencesReadResult::OlderLayout() const {
    return version < format::kCurrentVersion;
}

namespace {

constexpr size_t kNone = std::u16string_view::npos;

// The items of one section: the text between `begin` and `end`, each item ended by "¢". A
// fragment without its "¢" at the end (a cut file) is not an item.
class Items {
public:
    Items(std::u16string_view text, size_t begin, size_t end)
        : m_text(text.substr(0, end)), m_pos(begin) {}

    std::optional<std::u16string_view> Next() {
        if (m_pos >= m_text.size()) return std::nullopt;
        size_t stop = m_text.find(kItemEnd, m_pos);
        if (stop == kNone) {
            m_pos = m_text.size();
            return std::nullopt;
        }
        std::u16string_view item = m_text.substr(m_pos, stop - m_pos);
        m_pos = stop + 1;
        return item;
    }
    void Text(std::u16string& target) {
        if (auto item = Next()) target.assign(*item);
    }
    void Int(int& target) {
        if (auto item = Next()) target = ParseInt(*item);
    }
    // Several numbers separated by "," in one item; none when the item is missing.
    std::optional<std::vector<int>> IntList() {
        auto item = Next();
        if (!item) return std::nullopt;
        std::vector<int> numbers;
        std::vector<std::u16string> parts = Split(*item, u',');
        if (!parts.empty() && parts.back().empty()) parts.pop_back();  // after the last ","
        for (const std::u16string& part : parts) numbers.push_back(ParseInt(part));
        return numbers;
    }
    void RectItem(Rect& target) {
        if (auto n = IntList()) {
            int* fields[] = {&target.left, &target.top, &target.right, &target.bottom};
            for (size_t i = 0; i < 4 && i < n->size(); ++i) *fields[i] = (*n)[i];
        }
    }
    void FreeFieldItem(FreeFieldRect& target) {
        if (auto n = IntList()) {
            int* fields[] = {&target.rect.left, &target.rect.top, &target.rect.right,
                             &target.rect.bottom, &target.visible};
            for (size_t i = 0; i < 5 && i < n->size(); ++i) *fields[i] = (*n)[i];
            if (n->size() == 4) target.visible = 1;  // the factory form has no visibility
        }
    }
    // Hands the rest of the section to a reader of its own, which returns where it stopped.
    template <typename ReadFrom>
    void ReadWith(ReadFrom read) {
        m_pos = read(m_text, m_pos);
    }
    // Rows of a list, up to `maxRows`. The first empty row (the filler the writer puts after the
    // last row) or an incomplete one ends the list.
    template <typename Row>
    std::vector<Row> Rows(size_t maxRows) {
        std::vector<Row> rows;
        while (rows.size() < maxRows) {
            Row row;
            bool empty = true;
            for (std::u16string& column : row.columns) {
                auto item = Next();
                if (!item) return rows;
                column.assign(*item);
                if (!column.empty()) empty = false;
            }
            if (empty) break;
            rows.push_back(std::move(row));
        }
        return rows;
    }

private:
    std::u16string_view m_text;
    size_t m_pos;
};

// Position just after `count` items from `begin`; none when the text has fewer.
size_t SkipItems(std::u16string_view text, size_t begin, size_t count) {
    size_t pos = begin;
    for (size_t i = 0; i < count; ++i) {
        size_t stop = text.find(kItemEnd, pos);
        if (stop == kNone) return kNone;
        pos = stop + 1;
    }
    return pos;
}

// Where the section that starts at `begin` ends, that is where `marker` stands: after
// `expectedItems` items in a file written by the program, otherwise the first occurrence after
// `begin`. None when the marker is missing.
size_t FindMarker(std::u16string_view text, size_t begin, size_t expectedItems,
                  std::u16string_view marker) {
    size_t expected = SkipItems(text, begin, expectedItems);
    if (expected != kNone && text.substr(expected).starts_with(marker)) return expected;
    // A mail list longer than its fixed count ends with an empty row right before the marker
    // (a mail's text may hold the marker's words, never an empty row).
    if (!marker.starts_with(kItemEnd)) {
        std::u16string closed(kMailColumns, kItemEnd);
        closed += marker;
        if (size_t after = text.find(closed, begin); after != kNone) return after + kMailColumns;
    }
    // The markers that begin with "¢" start with the end of an empty item: the section's own
    // last item ends just before them.
    return text.find(marker, begin);
}

bool IsPermutation(const std::vector<int>& order, size_t size) {
    if (order.size() != size) return false;
    std::vector<bool> seen(size, false);
    for (int value : order) {
        if (value < 0 || static_cast<size_t>(value) >= size || seen[value]) return false;
        seen[value] = true;
    }
    return true;
}

int ZeroOrOne(int value) {
    return value == 1 ? 1 : 0;
}

class Reader {
public:
    Reader(std::u16string_view text, Preferences& p, PreferencesReadResult& result)
        : m_text(text), m_p(p), m_result(result) {}

    void Run(size_t begin);

private:
    // Reads the section from `begin` to its end marker with `read`; returns where the next
    // section begins, or none (the marker is missing: the reading stops).
    template <typename ReadSection>
    size_t Section(size_t begin, size_t expectedItems, std::u16string_view endMarker,
                   PreferencesSection next, ReadSection read) {
        size_t end = FindMarker(m_text, begin, expectedItems, endMarker);
        Items items(m_text, begin, end == kNone ? m_text.size() : end);
        m_sectionClosed = end != kNone;
        read(items);
        if (end == kNone) {
            m_result.status = PreferencesReadResult::Status::SectionMissing;
            m_result.missingSection = next;
            return kNone;
        }
        return end + endMarker.size();
    }

    void Head(Items& items);
    void OlderHead(Items& items);
    void VectorPictures(Items& items);
    void FreeFieldsAndInbox(Items& items);
    void TemplatesAndPosition(Items& items);
    void FieldLayouts(Items& items);
    void Other(Items& items);

    bool Older() const { return m_result.OlderLayout(); }
    // Rows a mail list may have: all of an Inbox or Outbox closed by its marker, only the fixed
    // count when the marker is missing (what follows is another section's items).
    size_t MailRowLimit(size_t fixedCount) const {
        return m_sectionClosed ? kMaxStoredMailRows : fixedCount;
    }

    std::u16string_view m_text;
    bool m_sectionClosed = false;
    Preferences& m_p;
    PreferencesReadResult& m_result;
};

void Reader::Head(Items& items) {
    if (auto widths = items.IntList()) {
        for (size_t i = 0; i < widths->size() && i < kPatientListColumns; ++i) {
            m_p.columnWidths[i] = (*widths)[i];
        }
    }
    if (auto order = items.IntList(); order && IsPermutation(*order, kPatientListColumns)) {
        std::copy(order->begin(), order->end(), m_p.columnOrder.begin());
    }
    if (auto sort = items.IntList()) {
        if (sort->size() > 0) m_p.sortColumn = (*sort)[0];
        if (sort->size() > 1) m_p.sortDirection = (*sort)[1];
    }
    if (m_p.sortColumn < 0 || m_p.sortColumn >= kPatientListColumns) m_p.sortColumn = 0;
    if (m_p.sortDirection != 0) m_p.sortDirection = 1;
}

// The older layout keeps 14 columns: widths, positions, sort column, direction and the list's
// display mode in one item.
void Reader::OlderHead(Items& items) {
    constexpr size_t kOlderColumns = kPatientListColumns - 1;
    auto numbers = items.IntList();
    if (!numbers) return;
    const std::vector<int>& n = *numbers;
    for (size_t i = 0; i < kOlderColumns && i < n.size(); ++i) m_p.columnWidths[i] = n[i];
    if (n.size() >= 2 * kOlderColumns) {
        std::vector<int> order(n.begin() + kOlderColumns, n.begin() + 2 * kOlderColumns);
        if (IsPermutation(order, kOlderColumns)) {
            order.push_back(kOlderColumns);
            std::copy(order.begin(), order.end(), m_p.columnOrder.begin());
        }
    }
    size_t at = 2 * kOlderColumns;
    if (n.size() > at) m_p.sortColumn = n[at];
    if (n.size() > at + 1) m_p.sortDirection = n[at + 1];
    if (n.size() > at + 2) m_p.listDisplayMode = n[at + 2];
    if (m_p.sortColumn < 0 || m_p.sortColumn >= static_cast<int>(kOlderColumns)) m_p.sortColumn = 0;
    if (m_p.sortDirection != 0) m_p.sortDirection = 1;
}

void Reader::VectorPictures(Items& items) {
    for (VectorPicture& picture : m_p.vectorPictures) {
        items.Text(picture.drawing);
        items.Text(picture.name);
    }
}

void Reader::FreeFieldsAndInbox(Items& items) {
    for (FreeFieldRect& window : m_p.freeFields.windows) items.FreeFieldItem(window);
    for (FreeFieldRect& caption : m_p.freeFields.captions) items.FreeFieldItem(caption);
    for (std::u16string& text : m_p.freeFields.pageTexts) items.Text(text);
    for (int& option : m_p.freeFields.options) items.Int(option);
    items.Int(m_p.general.autoSaveInterval);
    if (m_p.general.autoSaveInterval < 0) m_p.general.autoSaveInterval = 0;
    items.Text(m_p.wireless.userName);
    items.Text(m_p.wireless.password);
    items.Int(m_p.wireless.channel);
    items.Text(m_p.wireless.serverAddress);
    items.Int(m_p.wireless.serverPort);
    m_p.inbox = items.Rows<MailRow>(MailRowLimit(kInboxRows));
    for (MailRow& row : m_p.inbox) row.icon = InboxIcon(row.columns[MailRow::kState]);
}

void Reader::TemplatesAndPosition(Items& items) {
    items.Text(m_p.friends);
    items.Text(m_p.recentTemplates);
    if (auto item = items.Next()) {
        PreferencesReader::SplitTemplateItem(*item, m_p.lastTemplatePath, m_p.lastTemplateOption);
    }
    items.Int(m_p.currentPatientPosition);
}

void Reader::FieldLayouts(Items& items) {
    const int firstNotStored = Older() ? format::kFirstFieldMissingInOlderLayout : kAllFieldsStored;
    for (int field = firstNotStored; field < kFieldNumbers; ++field) {
        m_p.fieldLayouts[field] = {{70, 200, 230, 250}, {1, 200, 67, 211}, -1};
    }
    items.ReadWith([&](std::u16string_view text, size_t pos) {
        return ReadArrangementItems(text, pos, m_p.fieldLayouts, m_p.pages, firstNotStored).end;
    });
}

void Reader::Other(Items& items) {
    items.Int(m_p.startCount);
    items.Text(m_p.icdTablePath);
    items.Int(m_p.regional.dateOrder);
    items.Int(m_p.regional.units);
    for (Rect& rect : m_p.controlRects) items.RectItem(rect);
    items.Text(m_p.examTitles);
    items.Text(m_p.locationList);
    items.Text(m_p.selectedLocation);
    items.Int(m_p.quickNotes);
    NetworkOptions& n = m_p.network;
    for (int* option : {&n.connectAtStart, &n.reconnectAfterStandby, &n.periodicSynchronisation,
                        &n.synchroniseAtConnection, &n.importAllAtConnection}) {
        items.Int(*option);
    }
    items.Text(n.synchronisationPeriod);
    items.Int(m_p.item48);
    for (BigSummaryParagraph& paragraph : m_p.bigSummary) {
        if (auto item = items.Next()) {
            paragraph.description = ReplaceAll(*item, u"|", std::u16string(1, kItemEnd));
        }
    }
    for (BigSummaryParagraph& paragraph : m_p.bigSummary) items.Text(paragraph.title);
    items.Int(m_p.examGraphCurvesShown);
    if (!Older()) {
        items.Int(m_p.general.newFolderType);
        items.Int(m_p.general.ageOnSummaries);
        // Added later: a file without them keeps a plain connection.
        int encrypted = 0;
        items.Int(encrypted);
        m_p.wireless.encrypted = encrypted == 1;
        items.Text(m_p.wireless.certificateFile);
        // Added later still: without them both drawing areas of the free-field pages show.
        for (int& flag : m_p.freeFieldDrawings) {
            int read = 1;
            items.Int(read);
            flag = read == 0 ? 0 : 1;
        }
    }
}

void Reader::Run(size_t begin) {
    using S = PreferencesSection;
    const size_t headItems = Older() ? 3 : 5;
    size_t pos = Section(begin, headItems, format::kDessinImage, S::DessinImage, [&](Items& items) {
        if (Older()) {
            OlderHead(items);
        } else {
            Head(items);
        }
        if (auto pane = items.IntList(); pane && !pane->empty()) m_p.bottomRightPane = (*pane)[0];
        if (auto colours = items.IntList()) {
            ColourSettings& c = m_p.colours;
            int* fields[] = {&c.captionRed,     &c.captionGreen,  &c.captionBlue,
                             &c.captionChoice,  &c.backgroundRed, &c.backgroundGreen,
                             &c.backgroundBlue, &c.backgroundFlag};
            for (size_t i = 0; i < 8 && i < colours->size(); ++i) *fields[i] = (*colours)[i];
        }
    });
    if (pos == kNone) return;
    pos = Section(pos, 2 * kVectorPictureSlots, format::kPatientCustom, S::PatientCustom,
                  [&](Items& items) { VectorPictures(items); });
    if (pos == kNone) return;
    const size_t freeFieldItems = 2 * kFreeFields + kFreeFieldCaptions + kFreeFieldOptions + 1 + 5;
    pos = Section(pos, freeFieldItems + kInboxRows * kMailColumns, format::kOutbox, S::Outbox,
                  [&](Items& items) { FreeFieldsAndInbox(items); });
    if (pos == kNone) return;
    pos = Section(pos, kOutboxRows * kMailColumns, format::kSentItems, S::SentItems,
                  [&](Items& items) {
                      m_p.outbox = items.Rows<MailRow>(MailRowLimit(kOutboxRows));
                      for (MailRow& row : m_p.outbox) {
                          row.icon = OutboxIcon(row.columns[MailRow::kState]);
                      }
                  });
    if (pos == kNone) return;
    // All the sent items the file holds are read: reading back only 20 of the 100 rows written
    // lost the older sent mails at every restart.
    pos = Section(pos, kSentItemsRows * kMailColumns, format::kActiveFiles, S::ActiveFiles,
                  [&](Items& items) {
                      m_p.sentItems = items.Rows<MailRow>(kSentItemsRows);
                      for (MailRow& row : m_p.sentItems) {
                          row.icon = SentItemsIcon(row.columns[MailRow::kState]);
                      }
                  });
    if (pos == kNone) return;
    pos = Section(
        pos, kActiveFileRows * kActiveFileColumns, format::kServerFiles, S::ServerFiles,
        [&](Items& items) { m_p.activeFiles = items.Rows<ActiveFileRow>(kActiveFileRows); });
    if (pos == kNone) return;
    pos = Section(pos, kServerFileRows * kServerFileColumns, format::kOtherSocket, S::OtherSocket,
                  [&](Items& items) {
                      m_p.serverFiles = items.Rows<ServerFileRow>(kServerFileRows);
                      MarkServerFiles(m_p.serverFiles, m_p.activeFiles, m_p.wireless.userName);
                  });
    if (pos == kNone) return;
    pos = Section(pos, 4, format::kCEditRect, S::CEditRect,
                  [&](Items& items) { TemplatesAndPosition(items); });
    if (pos == kNone) {
        m_p.fieldLayoutsRead = false;
        return;
    }
    const size_t arrangementItems =
        ArrangementItemCount(Older() ? format::kFirstFieldMissingInOlderLayout : kAllFieldsStored);
    // Fields 1 to 229 but 100 to 119 are 209; a file holding one more arrangement (210, from
    // field 0) has it first: it is passed over so that the others fall on their fields.
    const size_t withFieldZero = SkipItems(m_text, pos, arrangementItems + 3);
    const bool skipFieldZero =
        withFieldZero != kNone && m_text.substr(withFieldZero).starts_with(format::kOther);
    pos = Section(pos, arrangementItems + (skipFieldZero ? 3 : 0), format::kOther, S::Other,
                  [&](Items& items) {
                      if (skipFieldZero) {
                          for (int i = 0; i < 3; ++i) items.Next();
                      }
                      FieldLayouts(items);
                  });
    m_p.fieldLayoutsRead = true;
    if (pos == kNone) return;
    Items items(m_text, pos, m_text.size());
    Other(items);
}

}  // namespace

void PreferencesReader::SplitTemplateItem(std::u16string_view item, std::u16string& path,
                                          int& option) {
    size_t dot = item.find(u'.');
    if (dot != kNone && dot + 4 < item.size()) {
        std::u16string_view rest = item.substr(dot + 4);
        int value = ParseInt(rest);
        if (ToText(value) == rest) {
            path.assign(item.substr(0, dot + 4));
            option = value;
            return;
        }
    }
    if (!item.empty() && item.back() >= u'0' && item.back() <= u'9') {
        path.assign(item.substr(0, item.size() - 1));
        option = item.back() - u'0';
        return;
    }
    path.assign(item);
    option = 0;
}

PreferencesReadResult PreferencesReader::Read(std::u16string_view text, Preferences& p) {
    PreferencesReadResult result;
    size_t hash = text.find(u'#');
    size_t begin = 0;
    if (hash != kNone && hash <= 5) {
        result.versionMark.assign(text.substr(0, hash));
        result.version = result.versionMark.empty() ? 0 : ParseInt(text.substr(1, hash - 1));
        begin = hash + 1;
    }
    if (result.version > format::kCurrentVersion) {
        result.status = PreferencesReadResult::Status::NewerVersion;
        return result;
    }
    Reader(text, p, result).Run(begin);

    // Values that only make sense in their range.
    if (p.selectedLocation.empty()) p.selectedLocation = std::u16string(kAllDepartment);
    if (p.quickNotes != 0) p.quickNotes = 1;
    if (p.item48 < 60) p.item48 = 100;
    p.regional.dateOrder = ZeroOrOne(p.regional.dateOrder);
    p.regional.units = ZeroOrOne(p.regional.units);
    p.general.newFolderType = ZeroOrOne(p.general.newFolderType);
    p.general.ageOnSummaries = ZeroOrOne(p.general.ageOnSummaries);
    return result;
}

}  // namespace pondrel
