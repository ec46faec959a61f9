#include "settings/PreferencesWriter.h"

#include "platform/Text.h"
#include "records/ItemEncoding.h"
#include "settings/ArrangementItems.h"
#include "settings/Preferences.h"
#include "settings/PreferencesFormat.h"

namespace pondrel {

namespace format = preferences_format;

namespace {

class Composer {
public:
    std::u16string& Text() { return m_text; }

    void Raw(std::u16string_view text) { m_text += text; }
    void Item(std::u16string_view text) {
        for (char16_t c : text) {
            if (c != kItemEnd) m_text += c;
        }
        m_text += kItemEnd;
    }
    void Int(int value) {
        m_text += ToText(value);
        m_text += kItemEnd;
    }
    // Numbers each followed by ",", as one item.
    template <typename Numbers>
    void IntList(const Numbers& numbers) {
        for (int value : numbers) {
            m_text += ToText(value);
            m_text += u',';
        }
        m_text += kItemEnd;
    }
    // "%d,%d,%d,%d" as one item.
    void RectItem(const Rect& r) {
        m_text += ToText(r.left) + u"," + ToText(r.top) + u"," + ToText(r.right) + u"," +
                  ToText(r.bottom);
        m_text += kItemEnd;
    }
    void FreeFieldItem(const FreeFieldRect& f) {
        m_text += ToText(f.rect.left) + u"," + ToText(f.rect.top) + u"," + ToText(f.rect.right) +
                  u"," + ToText(f.rect.bottom) + u"," + ToText(f.visible);
        m_text += kItemEnd;
    }
    // The first `count` rows as they stand, then empty rows up to `count`.
    template <typename Row>
    // The first `count` rows, empty rows after them up to `count`. A list that may grow (the
    // Inbox and Outbox: unread and unsent mail is never dropped) is written whole, and closed by
    // an empty row when it is longer than `count`.
    void Rows(const std::vector<Row>& rows, size_t count, bool mayGrow = false) {
        if (mayGrow && rows.size() > count) count = rows.size() + 1;
        for (size_t i = 0; i < count; ++i) {
            if (i < rows.size()) {
                for (const auto& column : rows[i].columns) Item(column);
            } else {
                for (size_t c = 0; c < Row{}.columns.size(); ++c) m_text += kItemEnd;
            }
        }
    }

private:
    std::u16string m_text;
};

}  // namespace

std::u16string PreferencesWriter::Compose(const Preferences& p) {
    Composer out;
    out.Raw(format::kVersionMark);
    out.IntList(p.columnWidths);
    out.IntList(p.columnOrder);
    out.IntList(std::array<int, 2>{p.sortColumn, p.sortDirection});
    out.IntList(std::array<int, 1>{p.bottomRightPane});
    const ColourSettings& c = p.colours;
    out.IntList(std::array<int, 8>{c.captionRed, c.captionGreen, c.captionBlue, c.captionChoice,
                                   c.backgroundRed, c.backgroundGreen, c.backgroundBlue,
                                   c.backgroundFlag});

    out.Raw(format::kDessinImage);
    for (const VectorPicture& picture : p.vectorPictures) {
        out.Item(picture.drawing);
        out.Item(picture.name);
    }

    out.Raw(format::kPatientCustom);
    for (const FreeFieldRect& window : p.freeFields.windows) out.FreeFieldItem(window);
    for (const FreeFieldRect& caption : p.freeFields.captions) out.FreeFieldItem(caption);
    for (const std::u16string& text : p.freeFields.pageTexts) out.Item(text);
    for (int option : p.freeFields.options) out.Int(option);
    out.Int(p.general.autoSaveInterval);
    out.Item(p.wireless.userName);
    out.Item(p.wireless.password);
    out.Int(p.wireless.channel);
    out.Item(p.wireless.serverAddress);
    out.Int(p.wireless.serverPort);
    out.Rows(p.inbox, kInboxRows, true);
    out.Raw(format::kOutbox);
    out.Rows(p.outbox, kOutboxRows, true);
    out.Raw(format::kSentItems);
    out.Rows(p.sentItems, kSentItemsRows);
    out.Raw(format::kActiveFiles);
    out.Rows(p.activeFiles, kActiveFileRows);
    out.Raw(format::kServerFiles);
    out.Rows(p.serverFiles, kServerFileRows);
    out.Raw(format::kOtherSocket);
    out.Item(p.friends);
    out.Item(p.recentTemplates);
    out.Item(RemoveAll(p.lastTemplatePath, kItemEnd) + ToText(p.lastTemplateOption));
    out.Int(p.currentPatientPosition);

    out.Raw(format::kCEditRect);
    AppendArrangementItems(out.Text(), p.fieldLayouts, p.pages);

    out.Raw(format::kOther);
    out.Int(p.startCount);
    out.Item(p.icdTablePath);
    out.Int(p.regional.dateOrder);
    out.Int(p.regional.units);
    for (const Rect& rect : p.controlRects) out.RectItem(rect);
    out.Item(p.examTitles);
    out.Item(p.locationList);
    out.Item(p.selectedLocation);
    out.Int(p.quickNotes);
    const NetworkOptions& n = p.network;
    for (int option : {n.connectAtStart, n.reconnectAfterStandby, n.periodicSynchronisation,
                       n.synchroniseAtConnection, n.importAllAtConnection}) {
        out.Int(option);
    }
    out.Item(n.synchronisationPeriod);
    out.Int(p.item48);
    for (const BigSummaryParagraph& paragraph : p.bigSummary) {
        out.Item(ReplaceAll(paragraph.description, std::u16string(1, kItemEnd), u"|"));
    }
    for (const BigSummaryParagraph& paragraph : p.bigSummary) out.Item(paragraph.title);
    out.Int(p.examGraphCurvesShown);
    out.Int(p.general.newFolderType);
    out.Int(p.general.ageOnSummaries);
    out.Int(p.wireless.encrypted ? 1 : 0);
    out.Item(p.wireless.certificateFile);
    for (int flag : p.freeFieldDrawings) out.Int(flag);
    return std::move(out.Text());
}

}  // namespace pondrel
