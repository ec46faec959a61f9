// The ICD-10 code search and the quick load search.
//   BM_LoadFactoryTable: the factory table's bytes decoded and folded (aim: 100 ms);
//   BM_SearchTable/<words>: one search in a 5,000,000-byte table (the factory table repeated up
//     to the limit; aim: 30 ms): a common word (many lines), three words, a word found nowhere;
//   BM_QuickLoadKey: one key typed in the quick load dialogue with 10,000 archived names
//     (aim: 10 ms per key).

#include <benchmark/benchmark.h>

#include <fstream>
#include <sstream>
#include <string>

#include "labels/CodeTable.h"
#include "labels/QuickLoad.h"
#include "platform/Text.h"

namespace pondrel {
namespace {

const std::string& FactoryBytes() {
    static const std::string bytes = [] {
        std::ifstream in(PONDREL_FACTORY_CODE_TABLE, std::ios::binary);
        std::ostringstream out;
        out << in.rdbuf();
        return out.str();
    }();
    return bytes;
}

const CodeTable& FullTable() {
    static const CodeTable table = [] {
        std::string bytes;
        while (bytes.size() + FactoryBytes().size() <= CodeTable::kMaxBytes) {
            bytes += FactoryBytes();
        }
        bytes += FactoryBytes().substr(0, CodeTable::kMaxBytes - bytes.size());
        return DecodeCodeTable(bytes);
    }();
    return table;
}

void BM_LoadFactoryTable(benchmark::State& state) {
    for (auto _ : state) {
        CodeTable table = DecodeCodeTable(FactoryBytes());
        benchmark::DoNotOptimize(table.text.data());
    }
    state.counters["bytes"] = static_cast<double>(FactoryBytes().size());
}
BENCHMARK(BM_LoadFactoryTable)->Unit(benchmark::kMillisecond);

void BM_SearchTable(benchmark::State& state) {
    static const char16_t* kWords[] = {u"fracture", u"heart chronic diastolic", u"xyzzyq"};
    const std::u16string words = kWords[state.range(0)];
    const CodeTable& table = FullTable();
    size_t found = 0;
    for (auto _ : state) {
        CodeSearchResult result = SearchCodeTable(table, words);
        found = result.found;
        benchmark::DoNotOptimize(result.rows.data());
    }
    state.counters["found"] = static_cast<double>(found);
    state.counters["chars"] = static_cast<double>(table.text.size());
}
BENCHMARK(BM_SearchTable)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

void BM_QuickLoadKey(benchmark::State& state) {
    static const char16_t* kLast[] = {u"Martin", u"Bernard", u"Dubois", u"Thomas", u"Robert",
                                      u"Richard", u"Petit", u"Durand", u"Leroy", u"Moreau"};
    static const char16_t* kFirst[] = {u"Ann", u"Marie", u"Jean", u"Pierre", u"Louise",
                                       u"Paul", u"Claire", u"Luc", u"Anna", u"Marc"};
    std::vector<std::u16string> files;
    for (int i = 0; i < 10'000; ++i) {
        files.push_back(std::u16string(kLast[i % 10]) + ToText(i / 100) + u"_" + kFirst[(i / 10) % 10] +
                        u"_" + ToText(1920 + i % 90) + u".pdr");
    }
    const ArchiveNames names = ArchiveNamesOf(files);
    static const char16_t* kTyped[] = {u"", u"m", u"ma", u"mar 19"};
    const std::u16string typed = kTyped[state.range(0)];
    size_t shown = 0;
    for (auto _ : state) {
        QuickLoadResult result = SearchArchive(names, typed);
        shown = result.rows.size();
        benchmark::DoNotOptimize(result.rows.data());
    }
    state.counters["shown"] = static_cast<double>(shown);
}
BENCHMARK(BM_QuickLoadKey)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace pondrel

BENCHMARK_MAIN();
