// A text renderer printed page by page through its layer's renderer printer
// to the CUPS printer "PDF", read back with pdftotext: every paragraph once,
// in order, across the page breaks; a forced break starts a new page.
#include <gtest/gtest.h>

#include <string>

#include "docengine/render/ARendererViews.h"
#include "docengine/render/ATextRenderer.h"
#include "framework/display/APrintRange.h"
#include "framework/printing/APrinter.h"
#include "framework/printing/APrinterSetup.h"
#include "tests/framework/clusters/ClusterTestSupport.h"
#include "tests/framework/printing/PrintTestSupport.h"
#include "tests/support/TestHooks.h"

namespace {

APrinterSetup* PdfSetup() {
    for (int i = 0; i < 50; ++i) {
        if (APrinterSetup* setup = APrinterSetup::current())
            return setup;
        Sleep(100);
    }
    return nullptr;
}

// A layer whose document title names the print job.
class TitledLayer : public ARendererLayer {
public:
    using ARendererLayer::ARendererLayer;
    void documentTitle(AString& out) override { out = AString(title.c_str()); }
    std::string title;
};

// Paragraphs "Paragraphe 1." to "Paragraphe n.", each followed by filler words.
std::string Article(int n, int forcedBreakAt) {
    std::string text;
    for (int i = 1; i <= n; ++i) {
        if (i == forcedBreakAt)
            text += "/.";
        text +=
            "Paragraphe " + std::to_string(i) + ". Le texte continue avec des mots ordinaires pour remplir la page.\n";
    }
    return text;
}

// The paragraph numbers in the text, in order: "1,2,3".
std::string Numbers(const std::string& text) {
    std::string out;
    size_t at = 0;
    const std::string key = "Paragraphe ";
    while ((at = text.find(key, at)) != std::string::npos) {
        at += key.size();
        size_t end = text.find('.', at);
        out += (out.empty() ? "" : ",") + text.substr(at, end - at);
    }
    return out;
}

}  // namespace

TEST_F(PrintTest, AnArticlePrintedPageByPageComesBackWholeAndInOrder) {
    if (!PdfSetup()) {
        ASSERT_FALSE(PrinterRequired()) << "no printer \"PDF\"";
        GTEST_SKIP() << "no printer \"PDF\"";
    }
    struct Row {
        int paragraphs;
        int forcedBreakAt;
        const char* what;
    } rows[] = {{120, 0, "article"}, {6, 4, "forced"}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        auto* window = Open<TestWindow>(app, ARect(0, 0, 300, 200), "#background:255,255,255");
        auto* view = Shown(Open<ARendererView>(window, int16_t(7), Frame(0, 0, 300, 200)));
        auto* layer = Shown(Open<TitledLayer>(view, int16_t(8), ASizeSpec::fill));
        layer->title = JobName(row.what);
        ATextRenderer* renderer = new ATextRenderer(layer);
        renderer->addRef();
        std::string text = Article(row.paragraphs, row.forcedBreakAt);
        renderer->setTextModel(text.c_str(), nullptr);
        layer->setRenderer(renderer);
        APrinter* printer = makePrinter();
        printer->printPages(layer, APrintRange{0, 99, 1, 1, 0});
        std::string pdf = PrintedPdf(layer->title);
        ASSERT_FALSE(pdf.empty()) << "no PDF for " << layer->title;
        std::string pages = RunOnHost("pdfinfo '" + pdf + "' | sed -n 's/^Pages: *//p'");
        std::string all = RunOnHost("pdftotext -enc UTF-8 '" + pdf + "' -");
        std::string expected = Numbers(text);
        EXPECT_EQ(expected, Numbers(all)) << "nothing lost or doubled at the page breaks";
        if (row.forcedBreakAt) {
            EXPECT_EQ("2\n", pages);
            std::string second = RunOnHost("pdftotext -enc UTF-8 -f 2 -l 2 '" + pdf + "' -");
            EXPECT_EQ("4,5,6", Numbers(second)) << "the forced break opens page 2";
        } else {
            EXPECT_EQ("3\n", pages);
        }
        renderer->release();
        AComponent* made = window;
        DeleteComponent(made);
    }
}
