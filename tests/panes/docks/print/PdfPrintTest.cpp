// An article of three pages and the reader's notes printed for real through
// Wine's spooler to the CUPS printer "PDF": the text comes back in order,
// the article before the notes, each page under the header with the title.
// The first page is kept as build/artifacts/printed-article.png.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "framework/display/APrintRange.h"
#include "framework/files/AOptionsInfo.h"
#include "framework/printing/APrinter.h"
#include "panes/docks/print/APrintKeys.h"
#include "panes/docks/print/APrintSources.h"
#include "panes/docks/print/ASVRendererPrinter.h"
#include "docengine/render/ATextRenderer.h"
#include "tests/docengine/render/RenderTestSupport.h"
#include "tests/framework/graphics/GraphicsTestSupport.h"
#include "tests/panes/docks/print/PdfTestSupport.h"

namespace {

class NoteSources : public APrintSources {
public:
    AString contentsText() override { return AString(); }
    AString notesText() override { return AString("Premi\xE8re note du lecteur\nSeconde note du lecteur\n"); }
    AString docTitle() override { return AString("Les volcans"); }
};

std::string ThreePages() {
    std::string text = "D\xE9" "but de l'article sur les volcans\n";
    for (int i = 1; i <= 150; ++i)
        text += "Ligne " + std::to_string(i) + " du texte de l'article\n";
    text += "Fin de l'article\n";
    return text;
}

class PdfPrintTest : public RenderTest {};

TEST_F(PdfPrintTest, TheArticleThenTheNotesReachThePdfUnderTheTitle) {
    // A renderer that draws for real (the fixture's own measures with fixed widths).
    makeView();
    std::string text = ThreePages();
    auto* article = new ATextRenderer(view->rendererLayer());
    article->addRef();
    article->setTextModel(text.c_str(), nullptr);
    view->rendererLayer()->setRenderer(article);
    article->release();
    if (!DefaultPdfPrinter()) {
        ASSERT_EQ(0u, GetEnvironmentVariableA("SV_REQUIRE_PRINTER", nullptr, 0)) << "no printer \"PDF\"";
        GTEST_SKIP() << "no printer \"PDF\": tools/setup.sh installs it, tools/test.sh starts CUPS";
    }
    std::string marker = PdfMarker();
    ALongDicInfo options;
    options.setLong(PrintKey::kWithNotes, 1);
    NoteSources sources;
    auto* printer = new ASVRendererPrinter(&options, &sources);
    view->rendererLayer()->setPrinter(printer);
    printer->setHeaderText(AString("/|Les volcans"), view, nullptr);
    auto* job = new APrinter;
    AObject::completeNew(job);
    app->perform(job->printPages(view->rendererLayer(), APrintRange{0, 99, 1, 1, 0}));
    std::string pdf = WaitForPdf(marker, "Seconde note du lecteur");
    AComponent* gone = job;
    DeleteComponent(gone);
    ASSERT_FALSE(pdf.empty()) << "no PDF arrived";
    std::string all = RunOnHost("pdftotext -enc UTF-8 '" + pdf + "' -");
    size_t start = all.find("but de l'article"), end = all.find("Fin de l'article");
    size_t first = all.find("Premi\xC3\xA8re note"), second = all.find("Seconde note");
    ASSERT_NE(std::string::npos, start) << all;
    EXPECT_LT(start, end);
    EXPECT_LT(end, first) << "the notes follow the article";
    EXPECT_LT(first, second);
    int pages = std::stoi("0" + RunOnHost("pdfinfo '" + pdf + "' | sed -n 's/^Pages: *//p'"));
    EXPECT_GE(pages, 3);
    for (int page = 1; page <= pages; ++page) {
        SCOPED_TRACE(page);
        std::string one = RunOnHost("pdftotext -enc UTF-8 -f " + std::to_string(page) + " -l " +
                                    std::to_string(page) + " '" + pdf + "' -");
        EXPECT_NE(std::string::npos, one.find("Les volcans")) << one;
    }
    KeepFirstPage(pdf, "printed-article");
}

}  // namespace
