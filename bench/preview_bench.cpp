// The print preview dialogue on a document of about 1 MB (the size of the largest admission
// letter): from its opening until the first screen of the document is drawn, and the switch to
// the whole-page view ("Page") with its drawing. The document is the factory print model
// followed by bulleted items of bold labels, accented letters and escapes, as the summary files
// write them.

#include <benchmark/benchmark.h>

#include <QImage>
#include <QPushButton>
#include <QTextDocument>

#include <string>

#include "documents/FactoryModels.h"
#include "documents/WardDocuments.h"
#include "documents/ui/CPrintPreviewDlg.h"
#include "documents/ui/CRtfView.h"

namespace pondrel {
namespace {

// About `bytes` of RTF: the print model as its file holds it (0xAC for the backslash), then
// paragraphs until the size is reached.
std::string PreviewDocument(size_t bytes) {
    std::string rtf;
    for (const auto& [name, model] : FactoryModels()) {
        if (name != kPrintModel) continue;
        for (char c : model) rtf += static_cast<unsigned char>(c) == 0xAC ? '\\' : c;
    }
    // The model ends inside an open group, which the summary files' first fragment closes.
    rtf += "{\\pntxtb (}{\\pntxta )}}\\pard\\plain \\s15\\ql {\\b Doe John 1.2.1950}";
    for (int item = 0; rtf.size() < bytes; ++item) {
        rtf += "\\par {\\listtext\\pard\\plain\\f3 \\'b7\\tab}\\pard \\ql \\fi-360\\li720 {\\b Status "
               ": }{Patient ";
        rtf += std::to_string(item);
        rtf += " febrile, caf\\'e9 au lait spots, 12\\u8364? per dose, blood pressure 120/80 "
               "mmHg, heart sounds regular, no murmur, lungs clear on both sides.}";
    }
    rtf += "\\par }}";
    return rtf;
}

const std::string& Document() {
    static const std::string document = PreviewDocument(1'000'000);
    return document;
}

// Opening the dialogue and drawing what it shows first, the wait cursor included.
void BM_PreviewOneMegabyte(benchmark::State& state) {
    const std::string& rtf = Document();
    QImage target(240, 269, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        CPrintPreviewDlg dialog(rtf);
        dialog.show();
        dialog.render(&target);
        benchmark::DoNotOptimize(target.bits());
    }
    state.counters["kbytes"] = static_cast<double>(rtf.size()) / 1000.0;
    CPrintPreviewDlg shown(rtf);
    state.counters["kchars_shown"] =
        static_cast<double>(shown.View()->document()->characterCount()) / 1000.0;
}
BENCHMARK(BM_PreviewOneMegabyte)->Unit(benchmark::kMillisecond);

// "Page" on the open dialogue: the document again at 35 %, drawn.
void BM_PreviewPageView(benchmark::State& state) {
    CPrintPreviewDlg dialog(Document());
    dialog.show();
    auto* page = dialog.findChild<QPushButton*>(QStringLiteral("printPreviewPage"));
    auto* full = dialog.findChild<QPushButton*>(QStringLiteral("printPreviewFull"));
    QImage target(240, 269, QImage::Format_ARGB32_Premultiplied);
    bool paged = false;
    for (auto _ : state) {
        (paged ? full : page)->click();
        paged = !paged;
        dialog.render(&target);
        benchmark::DoNotOptimize(target.bits());
    }
    state.counters["zoom"] = dialog.View()->Zoom();
}
BENCHMARK(BM_PreviewPageView)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace pondrel
