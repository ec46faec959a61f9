#pragma once

#include <array>
#include <optional>
#include <vector>

#include "layout/Arrangement.h"  // kFormPageCount: pages 0 to 18, arranged by the user

namespace pondrel {

inline constexpr int kPageCount = 39;
inline constexpr int kNeutralPageIcon = 36;
inline constexpr int kTasksPage = 19;
inline constexpr int kProblemsPage = 20;
inline constexpr int kDaySummaryPage = 21;

// The pages of the main form in the order they are offered, and the previous / next page
// rules. Form pages (0 to 18) have an "A" flag: a page whose flag is 0 is offered only while the
// windows editor is open. Page 0 and the pages 19 to 38 are always offered.
class PageNavigation {
public:
    // The pages after the form pages, in their order (the two free-field pages 28 and 29 at
    // their usual place).
    static constexpr std::array<int, kPageCount - kFormPageCount> kPagesAfterForm{
        19, 27, 20, 21, 22, 38, 23, 24, 36, 25, 34, 35, 26, 28, 29, 30, 31, 32, 33, 37};

    PageNavigation();

    // The "A" flags of the form pages 0 to 18 (non-zero: offered).
    void SetFormPageFlags(const std::array<int, kFormPageCount>& flags);
    void SetWindowsEditorOpen(bool open);
    bool WindowsEditorOpen() const { return m_editorOpen; }
    // The positions (from 1, in the page list of the offered pages) the user gave the two
    // free-field pages 28 and 29; 0 leaves a page at its usual place.
    void SetFreeFieldPagePositions(int first, int second);

    // The offered pages, in order.
    const std::vector<int>& Order() const { return m_order; }
    bool IsOffered(int page) const;
    // A form page other than page 0 whose "A" flag is 0.
    bool IsHiddenFormPage(int page) const;
    // Position of `page` in Order(), none when it is not offered.
    std::optional<int> PositionOf(int page) const;

    // The page shown; any page 0 to 38 may be shown (a page button of the form can bring a
    // hidden form page forward), others are ignored.
    void SetCurrent(int page);
    int Current() const { return m_current; }

    // The page the previous / next page commands go to, none when they do nothing (first or
    // last position). Hidden form pages are passed over while the windows editor is closed.
    std::optional<int> Next() const;
    std::optional<int> Previous() const;

    // The icon of a page in the page list: its page number, the neutral icon for a hidden form
    // page (listed only while the windows editor is open).
    int IconOf(int page) const;

    // Height of the page list for `itemCount` items, three to a row: (count / 3 + 1) x 21, at
    // most 290.
    static int PageListHeight(int itemCount);

private:
    // Place of a page in the full order (form pages 0 to 18, then kPagesAfterForm, with the
    // free-field pages where the user put them).
    int RankOf(int page) const;
    int PageAtRank(int rank) const;
    void Rebuild();

    std::array<int, kFormPageCount> m_flags{};
    bool m_editorOpen = false;
    std::vector<int> m_order;
    std::array<int, kPageCount> m_full{};
    std::array<int, 2> m_freePositions{};
    int m_current = 0;
};

}  // namespace pondrel
