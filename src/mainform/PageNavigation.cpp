#include "mainform/PageNavigation.h"

#include <algorithm>

namespace pondrel {

PageNavigation::PageNavigation() {
    Rebuild();
}

void PageNavigation::SetFormPageFlags(const std::array<int, kFormPageCount>& flags) {
    m_flags = flags;
    Rebuild();
}

void PageNavigation::SetWindowsEditorOpen(bool open) {
    m_editorOpen = open;
    Rebuild();
}

bool PageNavigation::IsHiddenFormPage(int page) const {
    return page > 0 && page < kFormPageCount && m_flags[static_cast<size_t>(page)] == 0;
}

bool PageNavigation::IsOffered(int page) const {
    if (page < 0 || page >= kPageCount) return false;
    return m_editorOpen || !IsHiddenFormPage(page);
}

std::optional<int> PageNavigation::PositionOf(int page) const {
    auto found = std::find(m_order.begin(), m_order.end(), page);
    if (found == m_order.end()) return std::nullopt;
    return static_cast<int>(found - m_order.begin());
}

void PageNavigation::SetCurrent(int page) {
    if (page >= 0 && page < kPageCount) m_current = page;
}

void PageNavigation::SetFreeFieldPagePositions(int first, int second) {
    m_freePositions = {first, second};
    Rebuild();
}

int PageNavigation::RankOf(int page) const {
    auto found = std::find(m_full.begin(), m_full.end(), page);
    return static_cast<int>(found - m_full.begin());
}

int PageNavigation::PageAtRank(int rank) const {
    return m_full[static_cast<size_t>(rank)];
}

// Walking the full order and passing over what is not offered is the same as stepping one
// position and going on while the page there is hidden; it also works from a hidden form page
// that a page button brought forward.
std::optional<int> PageNavigation::Next() const {
    for (int rank = RankOf(m_current) + 1; rank < kPageCount; ++rank) {
        int page = PageAtRank(rank);
        if (IsOffered(page)) return page;
    }
    return std::nullopt;
}

std::optional<int> PageNavigation::Previous() const {
    for (int rank = RankOf(m_current) - 1; rank >= 0; --rank) {
        int page = PageAtRank(rank);
        if (IsOffered(page)) return page;
    }
    return std::nullopt;
}

int PageNavigation::IconOf(int page) const {
    return IsHiddenFormPage(page) ? kNeutralPageIcon : page;
}

int PageNavigation::PageListHeight(int itemCount) {
    return std::min((std::max(itemCount, 0) / 3 + 1) * 21, 290);
}

void PageNavigation::Rebuild() {
    std::vector<int> full;
    for (int page = 0; page < kFormPageCount; ++page) full.push_back(page);
    full.insert(full.end(), kPagesAfterForm.begin(), kPagesAfterForm.end());
    // A position counts the pages the user sees in the page list, so the free-field page comes
    // in just before the offered page holding that position now (last when there are fewer).
    constexpr std::array<int, 2> kFreeFieldPages{28, 29};
    for (size_t i = 0; i < kFreeFieldPages.size(); ++i) {
        const int position = m_freePositions[i];
        if (position <= 0) continue;
        full.erase(std::find(full.begin(), full.end(), kFreeFieldPages[i]));
        auto at = full.begin();
        for (int seen = 0; at != full.end(); ++at) {
            if (IsOffered(*at) && ++seen == position) break;
        }
        full.insert(at, kFreeFieldPages[i]);
    }
    std::copy(full.begin(), full.end(), m_full.begin());
    m_order.clear();
    for (int rank = 0; rank < kPageCount; ++rank) {
        int page = PageAtRank(rank);
        if (IsOffered(page)) m_order.push_back(page);
    }
}

}  // namespace pondrel
