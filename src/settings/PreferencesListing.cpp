#include "settings/PreferencesListing.h"

#include "platform/Text.h"
#include "settings/ArrangementItems.h"
#include "settings/Preferences.h"
#include "settings/PreferencesReader.h"

namespace pondrel {

namespace {

class Listing {
public:
    void Line(std::string_view name, std::u16string_view value) {
        m_out += name;
        m_out += '=';
        for (char c : ToUtf8(value)) {
            switch (c) {
            case '\\': m_out += "\\\\"; break;
            case '\r': m_out += "\\r"; break;
            case '\n': m_out += "\\n"; break;
            default: m_out += c;
            }
        }
        m_out += '\n';
    }
    void Line(std::string_view name, int value) { Line(name, ToText(value)); }
    template <typename IntList>
    void Numbers(std::string_view name, const IntList& numbers) {
        std::u16string text;
        for (int value : numbers) {
            if (!text.empty()) text += u',';
            text += ToText(value);
        }
        Line(name, text);
    }
    void RectLine(std::string_view name, const Rect& r) {
        Numbers(name, std::array<int, 4>{r.left, r.top, r.right, r.bottom});
    }
    template <typename ColumnArray>
    void Row(std::string_view name, const ColumnArray& columns) {
        std::u16string text;
        for (size_t i = 0; i < columns.size(); ++i) {
            if (i) text += u'\u00A2';
            text += columns[i];
        }
        Line(name, text);
    }
    template <typename ListRow>
    void Rows(const std::string& list, const std::vector<ListRow>& rows, bool withIcon) {
        Line(list + ".count", static_cast<int>(rows.size()));
        for (size_t i = 0; i < rows.size(); ++i) {
            std::string name = list + "." + std::to_string(i + 1);
            this->Row(name, rows[i].columns);
            if (withIcon) Line(name + ".icon", rows[i].icon);
            if constexpr (requires { rows[i].imported; }) Line(name + ".imported", rows[i].imported);
        }
    }
    std::string Take() { return std::move(m_out); }

private:
    std::string m_out;
};

std::string Numbered(std::string_view prefix, int n, std::string_view suffix = {}) {
    return std::string(prefix) + "." + std::to_string(n) + std::string(suffix);
}

}  // namespace

std::string ListPreferences(const Preferences& p, const PreferencesReadResult& result) {
    Listing out;
    out.Line("version", result.versionMark);
    out.Numbers("columnWidths", p.columnWidths);
    out.Numbers("columnOrder", p.columnOrder);
    out.Line("sortColumn", p.sortColumn);
    out.Line("sortDirection", p.sortDirection);
    out.Line("listDisplayMode", p.listDisplayMode);
    out.Line("bottomRightPane", p.bottomRightPane);
    const ColourSettings& c = p.colours;
    out.Numbers("colours", std::array<int, 8>{c.captionRed, c.captionGreen, c.captionBlue,
                                              c.captionChoice, c.backgroundRed, c.backgroundGreen,
                                              c.backgroundBlue, c.backgroundFlag});
    for (int i = 0; i < kVectorPictureSlots; ++i) {
        out.Row(Numbered("vectorPicture", i + 1),
                std::array<std::u16string, 2>{p.vectorPictures[i].drawing,
                                              p.vectorPictures[i].name});
    }
    for (int i = 0; i < kFreeFields; ++i) {
        const FreeFieldRect& f = p.freeFields.windows[i];
        out.Numbers(Numbered("freeField", kFreeFieldFirst + i),
                    std::array<int, 5>{f.rect.left, f.rect.top, f.rect.right, f.rect.bottom,
                                       f.visible});
    }
    for (int i = 0; i < kFreeFields; ++i) {
        const FreeFieldRect& f = p.freeFields.captions[i];
        out.Numbers(Numbered("freeFieldCaption", kFreeFieldFirst + i),
                    std::array<int, 5>{f.rect.left, f.rect.top, f.rect.right, f.rect.bottom,
                                       f.visible});
    }
    for (int i = 0; i < kFreeFieldCaptions; ++i) {
        out.Line(Numbered("freeFieldText", i + 1), p.freeFields.pageTexts[i]);
    }
    for (int i = 0; i < kFreeFieldOptions; ++i) {
        out.Line(Numbered("freeFieldOption", i + 1), p.freeFields.options[i]);
    }
    out.Line("autoSaveInterval", p.general.autoSaveInterval);
    out.Line("wireless.userName", p.wireless.userName);
    out.Line("wireless.password", p.wireless.password);
    out.Line("wireless.channel", p.wireless.channel);
    out.Line("wireless.serverAddress", p.wireless.serverAddress);
    out.Line("wireless.serverPort", p.wireless.serverPort);
    out.Rows("inbox", p.inbox, true);
    out.Rows("outbox", p.outbox, true);
    out.Rows("sentItems", p.sentItems, true);
    out.Rows("activeFiles", p.activeFiles, false);
    out.Rows("serverFiles", p.serverFiles, true);
    out.Line("friends", p.friends);
    out.Line("recentTemplates", p.recentTemplates);
    out.Line("lastTemplatePath", p.lastTemplatePath);
    out.Line("lastTemplateOption", p.lastTemplateOption);
    out.Line("currentPatientPosition", p.currentPatientPosition);
    out.Line("fieldLayoutsRead", p.fieldLayoutsRead ? 1 : 0);
    ListArrangement(p.fieldLayouts, p.pages, [&](const std::string& name,
                                                  std::u16string_view value) { out.Line(name, value); });
    out.Line("startCount", p.startCount);
    out.Line("icdTablePath", p.icdTablePath);
    out.Line("dateOrder", p.regional.dateOrder);
    out.Line("units", p.regional.units);
    for (int i = 0; i < kControlRects; ++i) {
        out.RectLine(Numbered("controlRect", i + 1), p.controlRects[i]);
    }
    out.Line("examTitles", p.examTitles);
    out.Line("locationList", p.locationList);
    out.Line("selectedLocation", p.selectedLocation);
    out.Line("quickNotes", p.quickNotes);
    out.Line("network.connectAtStart", p.network.connectAtStart);
    out.Line("network.reconnectAfterStandby", p.network.reconnectAfterStandby);
    out.Line("network.periodicSynchronisation", p.network.periodicSynchronisation);
    out.Line("network.synchroniseAtConnection", p.network.synchroniseAtConnection);
    out.Line("network.importAllAtConnection", p.network.importAllAtConnection);
    out.Line("network.synchronisationPeriod", p.network.synchronisationPeriod);
    out.Line("item48", p.item48);
    for (int i = 0; i < kBigSummaryParagraphs; ++i) {
        out.Line(Numbered("bigSummary", i + 1, ".description"), p.bigSummary[i].description);
    }
    for (int i = 0; i < kBigSummaryParagraphs; ++i) {
        out.Line(Numbered("bigSummary", i + 1, ".title"), p.bigSummary[i].title);
    }
    out.Line("examGraphCurvesShown", p.examGraphCurvesShown);
    out.Line("newFolderType", p.general.newFolderType);
    out.Line("ageOnSummaries", p.general.ageOnSummaries);
    out.Line("wireless.encrypted", p.wireless.encrypted ? 1 : 0);
    out.Line("wireless.certificateFile", p.wireless.certificateFile);
    out.Numbers("freeFieldDrawings", p.freeFieldDrawings);
    return out.Take();
}

}  // namespace pondrel
