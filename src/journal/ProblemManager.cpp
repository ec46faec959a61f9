#include "journal/ProblemManager.h"

#include <algorithm>
#include <array>
#include <numeric>
#include <utility>

#include "platform/Text.h"
#include "records/PatientFileFormat.h"
#include "records/PatientFileWriter.h"
#include "records/PatientRecord.h"

namespace pondrel {

namespace {

constexpr size_t npos = std::u16string_view::npos;
constexpr std::u16string_view kLineBreak = u"\r\n";

bool IsDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

// The number of a piece's text (after its "§"): one or two digits without a leading zero and
// then "|", the only form a lookup of "§" + number + "|" finds. -1 otherwise.
int PieceNumber(std::u16string_view text, size_t& bodyStart) {
    size_t digits = 0;
    while (digits < text.size() && digits < 3 && IsDigit(text[digits])) ++digits;
    if (digits == 0 || digits > 2 || digits >= text.size() || text[digits] != kJournalFieldSep) {
        return -1;
    }
    if (digits == 2 && text[0] == u'0') return -1;
    bodyStart = digits + 1;
    return ParseInt(text.substr(0, digits));
}

// The sub-fields of a header body: title, differential diagnosis, state, redaction (the
// redaction takes the rest, further "¦" included). `parts` tells how many were present.
struct HeaderParts {
    std::array<std::u16string_view, 4> field;
    int parts = 1;
};

HeaderParts SplitHeader(std::u16string_view body) {
    HeaderParts header;
    size_t start = 0;
    for (size_t i = 0; i < 3; ++i) {
        size_t bar = body.find(kJournalHeaderSep, start);
        if (bar == npos) {
            header.field[i] = body.substr(start);
            return header;
        }
        header.field[i] = body.substr(start, bar - start);
        start = bar + 1;
        header.parts = static_cast<int>(i) + 2;
    }
    header.field[3] = body.substr(start);
    return header;
}

// The six sections of an entry body (what follows "number|"), as the reader splits them, and
// whatever stands after the sixth "|" (nothing in a written journal).
struct EntryParts {
    std::array<std::u16string_view, kSectionCount> sections;
    std::u16string_view tail;
};

EntryParts SplitEntry(std::u16string_view body) {
    EntryParts entry;
    size_t start = 0;
    for (size_t i = 0; i < static_cast<size_t>(kSectionCount); ++i) {
        size_t bar = body.find(kJournalFieldSep, start);
        if (bar == npos) {
            entry.sections[i] = body.substr(start);
            return entry;
        }
        entry.sections[i] = body.substr(start, bar - start);
        start = bar + 1;
    }
    entry.tail = body.substr(start);
    return entry;
}

// Two texts of one problem joined: the second after a line break, without it when either is
// empty.
std::u16string JoinTexts(std::u16string_view first, std::u16string_view second) {
    std::u16string joined(first);
    if (!first.empty() && !second.empty()) joined += kLineBreak;
    joined += second;
    return joined;
}

std::u16string MergeEntryBodies(std::u16string_view first, std::u16string_view second) {
    EntryParts a = SplitEntry(first);
    EntryParts b = SplitEntry(second);
    std::u16string merged;
    merged.reserve(first.size() + second.size() + 2 * kSectionCount);
    for (size_t i = 0; i < static_cast<size_t>(kSectionCount); ++i) {
        merged += JoinTexts(a.sections[i], b.sections[i]);
        merged += kJournalFieldSep;
    }
    // Text past the sixth bar of a damaged entry is no section; it is kept, still past it.
    merged += a.tail;
    merged += b.tail;
    return merged;
}

size_t PieceLength(int number, const std::u16string& body) {
    return 1 + (number < 0 ? 0 : (number < 10 ? 2 : 3)) + body.size();
}

}  // namespace

ProblemManager::ProblemManager(std::u16string_view journal) {
    const size_t headEnd = std::min(journal.find(kJournalDayMark), journal.size());
    auto splitPieces = [](std::u16string_view text, std::vector<Piece>& pieces) {
        // `text` starts with "§"; each "§" opens a piece running to the next one.
        for (size_t at = 0; at < text.size();) {
            size_t next = text.find(kJournalEntryMark, at + 1);
            if (next == npos) next = text.size();
            std::u16string_view piece = text.substr(at + 1, next - at - 1);
            size_t bodyStart = 0;
            Piece result;
            result.number = PieceNumber(piece, bodyStart);
            result.body = std::u16string(result.number < 0 ? piece : piece.substr(bodyStart));
            pieces.push_back(std::move(result));
            at = next;
        }
    };
    std::u16string_view head = journal.substr(0, headEnd);
    const size_t firstMark = std::min(head.find(kJournalEntryMark), head.size());
    m_headPrefix = std::u16string(head.substr(0, firstMark));
    splitPieces(head.substr(firstMark), m_headers);
    for (size_t at = headEnd; at < journal.size();) {
        size_t next = journal.find(kJournalDayMark, at + 1);
        if (next == npos) next = journal.size();
        std::u16string_view block = journal.substr(at, next - at);
        Block result;
        const size_t mark = block.find(kJournalEntryMark);
        result.marked = mark != npos;
        result.opening = std::u16string(block.substr(0, result.marked ? mark : block.size()));
        if (result.marked) splitPieces(block.substr(mark), result.pieces);
        m_blocks.push_back(std::move(result));
        at = next;
    }
    Recount();
}

void ProblemManager::Recount() {
    std::array<bool, kMaxProblems> seen{};
    std::array<bool, kMaxProblems> titled{};
    for (const Piece& piece : m_headers) {
        if (piece.number < 0) continue;
        auto p = static_cast<size_t>(piece.number);
        if (seen[p]) continue;
        seen[p] = true;
        titled[p] = !piece.body.empty() && piece.body[0] != kJournalHeaderSep;
    }
    m_count = 0;
    while (m_count < kMaxProblems && titled[static_cast<size_t>(m_count)]) ++m_count;
}

const ProblemManager::Piece* ProblemManager::Header(int problem) const {
    for (const Piece& piece : m_headers) {
        if (piece.number == problem) return &piece;
    }
    return nullptr;
}

ProblemManager::Piece* ProblemManager::Header(int problem) {
    return const_cast<Piece*>(std::as_const(*this).Header(problem));
}

std::u16string ProblemManager::Title(int problem) const {
    const Piece* header = Listed(problem) ? Header(problem) : nullptr;
    if (!header) return {};
    return std::u16string(SplitHeader(header->body).field[0]);
}

char16_t ProblemManager::State(int problem) const {
    const Piece* header = Listed(problem) ? Header(problem) : nullptr;
    if (!header) return kStateActive;
    HeaderParts parts = SplitHeader(header->body);
    std::u16string_view state = parts.field[2];
    return parts.parts >= 3 && !state.empty() ? state[0] : kStateActive;
}

void ProblemManager::SortPieces(std::vector<Piece>& pieces) {
    // A piece without number stays after the numbered piece it followed.
    std::vector<int> keys(pieces.size());
    int key = -1;
    bool sorted = true;
    for (size_t i = 0; i < pieces.size(); ++i) {
        if (pieces[i].number >= 0) {
            sorted = sorted && pieces[i].number >= key;
            key = pieces[i].number;
        }
        keys[i] = key;
    }
    if (sorted) return;
    std::vector<size_t> order(pieces.size());
    std::iota(order.begin(), order.end(), size_t{0});
    std::stable_sort(order.begin(), order.end(),
                     [&keys](size_t a, size_t b) { return keys[a] < keys[b]; });
    std::vector<Piece> result;
    result.reserve(pieces.size());
    for (size_t i : order) result.push_back(std::move(pieces[i]));
    pieces = std::move(result);
}

void ProblemManager::Renumber(const std::vector<int>& map) {
    auto apply = [&map](std::vector<Piece>& pieces) {
        bool changed = false;
        size_t kept = 0;
        for (size_t i = 0; i < pieces.size(); ++i) {
            Piece& piece = pieces[i];
            if (piece.number >= 0 && static_cast<size_t>(piece.number) < map.size()) {
                const int number = map[static_cast<size_t>(piece.number)];
                changed = changed || number != piece.number;
                if (number < 0) continue;  // removed
                piece.number = number;
            }
            if (kept != i) pieces[kept] = std::move(piece);
            ++kept;
        }
        const bool removed = kept != pieces.size();
        pieces.resize(kept);
        if (changed) SortPieces(pieces);
        return removed;
    };
    apply(m_headers);
    // A day whose last entry went is removed with it; other blocks stay as they were.
    std::erase_if(m_blocks, [&apply](Block& block) {
        return apply(block.pieces) && block.marked && block.pieces.empty();
    });
    m_changed = true;
    Recount();
}

ProblemManager::Outcome ProblemManager::MoveUp(int problem) {
    if (!Listed(problem)) return Outcome::NoSuchProblem;
    if (problem == 0 || m_count < 2) return Outcome::AtTop;
    return MoveDown(problem - 1);
}

ProblemManager::Outcome ProblemManager::MoveDown(int problem) {
    if (!Listed(problem)) return Outcome::NoSuchProblem;
    if (problem >= m_count - 1 || m_count < 2) return Outcome::AtBottom;
    std::vector<int> map(static_cast<size_t>(m_count));
    std::iota(map.begin(), map.end(), 0);
    std::swap(map[static_cast<size_t>(problem)], map[static_cast<size_t>(problem + 1)]);
    Renumber(map);
    return Outcome::Done;
}

ProblemManager::Outcome ProblemManager::SetState(int problem, char16_t state) {
    if (state != kStateActive && state != kStateSolved && state != kStateClosed) {
        return Outcome::BadState;
    }
    Piece* header = Listed(problem) ? Header(problem) : nullptr;
    if (!header) return Outcome::NoSuchProblem;
    HeaderParts parts = SplitHeader(header->body);
    std::u16string body(parts.field[0]);
    body += kJournalHeaderSep;
    body += parts.field[1];
    body += kJournalHeaderSep;
    body += state;
    body += kJournalHeaderSep;
    body += parts.field[3];
    if (body != header->body) {
        header->body = std::move(body);
        m_changed = true;
    }
    return Outcome::Done;
}

ProblemManager::Outcome ProblemManager::Delete(int problem) {
    if (!Listed(problem)) return Outcome::NoSuchProblem;
    std::vector<int> map(static_cast<size_t>(m_count));
    for (int p = 0; p < m_count; ++p) {
        map[static_cast<size_t>(p)] = p < problem ? p : (p == problem ? -1 : p - 1);
    }
    Renumber(map);
    return Outcome::Done;
}

ProblemManager::Outcome ProblemManager::Merge(int first, int second) {
    if (!Listed(first) || !Listed(second)) return Outcome::NoSuchProblem;
    if (first == second) return Outcome::SameProblem;
    const int a = std::min(first, second);
    const int b = std::max(first, second);
    ProblemManager merged = *this;

    // The header of a takes the differential diagnosis and the redaction of b.
    HeaderParts headerB = SplitHeader(merged.Header(b)->body);
    if (!headerB.field[1].empty() || !headerB.field[3].empty()) {
        Piece* headerA = merged.Header(a);
        HeaderParts parts = SplitHeader(headerA->body);
        std::u16string body(parts.field[0]);
        body += kJournalHeaderSep;
        body += JoinTexts(parts.field[1], headerB.field[1]);
        body += kJournalHeaderSep;
        body += State(a);
        body += kJournalHeaderSep;
        body += JoinTexts(parts.field[3], headerB.field[3]);
        headerA->body = std::move(body);
    }
    // Day by day, b's entry joins a's; one of b alone takes a's number below.
    for (Block& block : merged.m_blocks) {
        auto isA = [a](const Piece& piece) { return piece.number == a; };
        auto isB = [b](const Piece& piece) { return piece.number == b; };
        auto entryA = std::find_if(block.pieces.begin(), block.pieces.end(), isA);
        auto entryB = std::find_if(block.pieces.begin(), block.pieces.end(), isB);
        if (entryA == block.pieces.end() || entryB == block.pieces.end()) continue;
        entryA->body = MergeEntryBodies(entryA->body, entryB->body);
        block.pieces.erase(entryB);
    }
    // b's header goes and its entries become a's; the later problems move up one number.
    std::vector<int> headMap(static_cast<size_t>(m_count));
    std::vector<int> blockMap(static_cast<size_t>(m_count));
    for (int p = 0; p < m_count; ++p) {
        headMap[static_cast<size_t>(p)] = p < b ? p : (p == b ? -1 : p - 1);
        blockMap[static_cast<size_t>(p)] = p < b ? p : (p == b ? a : p - 1);
    }
    // The head and the blocks take different numbers for b: renumber them apart.
    std::vector<Block> blocks = std::move(merged.m_blocks);
    merged.m_blocks.clear();
    merged.Renumber(headMap);
    merged.m_blocks = std::move(blocks);
    std::vector<Piece> headers = std::move(merged.m_headers);
    merged.m_headers.clear();
    merged.Renumber(blockMap);
    merged.m_headers = std::move(headers);
    merged.Recount();

    const size_t length = merged.Length();
    if (m_lengthLimit != 0 && length > m_lengthLimit && length > Length()) {
        return Outcome::TooBig;
    }
    *this = std::move(merged);
    m_changed = true;
    return Outcome::Done;
}

size_t ProblemManager::Length() const {
    size_t length = m_headPrefix.size();
    for (const Piece& piece : m_headers) length += PieceLength(piece.number, piece.body);
    for (const Block& block : m_blocks) {
        length += block.opening.size();
        for (const Piece& piece : block.pieces) length += PieceLength(piece.number, piece.body);
    }
    return length;
}

std::u16string ProblemManager::Text() const {
    std::u16string text;
    text.reserve(Length());
    auto append = [&text](const Piece& piece) {
        text += kJournalEntryMark;
        if (piece.number >= 0) {
            text += ToText(piece.number);
            text += kJournalFieldSep;
        }
        text += piece.body;
    };
    text += m_headPrefix;
    for (const Piece& piece : m_headers) append(piece);
    for (const Block& block : m_blocks) {
        text += block.opening;
        for (const Piece& piece : block.pieces) append(piece);
    }
    return text;
}

size_t JournalLengthLimit(const PatientRecord& record) {
    const size_t composed = ComposePatientText(record, SubfolderKeyOf(record)).size();
    const size_t others = composed - std::min(composed, record.problemJournal.size());
    const size_t allowed = kTooBigTextLength - 1;
    return std::max(allowed > others ? allowed - others : 0, record.problemJournal.size());
}

}  // namespace pondrel
