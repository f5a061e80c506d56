// Jobs printed for real through Wine's spooler to the CUPS printer "PDF",
// read back with pdfinfo and pdftotext; the first page of the French
// document is kept as a picture (pdftoppm) in build/artifacts.
#include <cstdlib>
#include <string>

#include "framework/display/APrintRange.h"
#include "framework/printing/APrinter.h"
#include "framework/printing/APrinterSetup.h"
#include "tests/framework/printing/PrintTestSupport.h"
#include "tests/support/TestHooks.h"

namespace {

// The set-up of the default printer, or null (then the test skips unless the run requires the printer).
APrinterSetup* PdfSetup() {
    for (int i = 0; i < 50; ++i) {
        if (APrinterSetup* setup = APrinterSetup::current())
            return setup;
        Sleep(100);
    }
    return nullptr;
}

std::string Host(const std::string& script) {
    return RunOnHost(script);
}

// "Pages:", "Title:" or "Page size:" of pdfinfo, the value only.
std::string Info(const std::string& pdf, const char* field) {
    return Host("pdfinfo '" + pdf + "' | sed -n 's/^" + field + ": *//p'");
}

}  // namespace

#define REQUIRE_PDF_PRINTER()                                                                            \
    do {                                                                                                 \
        if (!PdfSetup()) {                                                                               \
            ASSERT_FALSE(PrinterRequired()) << "no printer \"PDF\"";                                     \
            GTEST_SKIP() << "no printer \"PDF\": tools/setup.sh installs it, tools/test.sh starts CUPS"; \
        }                                                                                                \
    } while (0)

TEST_F(PrintTest, TwelveCollatedPagesReachThePdf) {
    REQUIRE_PDF_PRINTER();
    JobRecorder recorder(true);
    Document* doc = makeDocument(2, &recorder.log);
    doc->title = JobName("collated");
    APrinter* printer = makePrinter();
    printer->printPages(doc, APrintRange{0, 1, 2, 3, 1});
    EXPECT_TRUE(CapturedBoxes().empty());
    EXPECT_EQ("0,0,0,1,1,1,0,0,0,1,1,1", Drawn(recorder.log));
    EXPECT_EQ(12, Count(recorder.log, "StartPage"));
    EXPECT_EQ(1, Count(recorder.log, "StartDoc"));
    std::string pdf = PrintedPdf(doc->title);
    ASSERT_FALSE(pdf.empty()) << "no PDF for " << doc->title;
    EXPECT_EQ("12\n", Info(pdf, "Pages"));
}

TEST_F(PrintTest, AFrenchDocumentComesBackWithHeaderAndFooters) {
    REQUIRE_PDF_PRINTER();
    std::string log;
    Document* doc = makeDocument(0, &log);
    std::string job = JobName("french");
    // The spooler keeps 31 characters of the title: the tail is not the PDF's.
    doc->title = job + "-et-une-suite-qui-depasse-les-31";
    doc->header =
        "Savantorium \xAB"
        "Encyclop\xE9"
        "die\xBB";
    doc->pages = {
        "Le c\x9C"
        "ur de l'\xE9t\xE9 \xE0 Paris.\n\xAB"
        "Bient\xF4t\xBB, dit-il.",
        "Deuxi\xE8me page : \x9C"
        "uvre \xE9"
        "crite.",
        "Troisi\xE8me page, fin du r\xE9"
        "cit."};
    APrinter* printer = makePrinter();
    printer->printPages(doc, APrintRange{0, 2, 1, 1, 1});
    std::string pdf = PrintedPdf(job);
    ASSERT_FALSE(pdf.empty()) << "no PDF for " << job;
    EXPECT_EQ("3\n", Info(pdf, "Pages"));
    EXPECT_EQ(doc->title.substr(0, 31) + "\n", Info(pdf, "Title"));
    for (int page = 1; page <= 3; ++page) {
        SCOPED_TRACE(page);
        std::string text = Host("pdftotext -enc UTF-8 -f " + std::to_string(page) + " -l " + std::to_string(page) +
                                " '" + pdf + "' -");
        EXPECT_NE(std::string::npos, text.find(Utf8(doc->header))) << text;
        EXPECT_NE(std::string::npos, text.find("Page " + std::to_string(page) + "/3")) << text;
        std::string first = doc->pages[page - 1].substr(0, doc->pages[page - 1].find('\n'));
        EXPECT_NE(std::string::npos, text.find(Utf8(first))) << text;
    }
    std::string all = Host("pdftotext -enc UTF-8 '" + pdf + "' -");
    EXPECT_NE(std::string::npos, all.find(Utf8("\xAB"
                                               "Bient\xF4t\xBB")))
        << all;
    std::string png = SV_BINARY_DIR "/artifacts/printed-first-page";
    Host("mkdir -p " SV_BINARY_DIR "/artifacts && pdftoppm -png -r 60 -f 1 -l 1 -singlefile '" + pdf + "' " + png);
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(("Z:" + png + ".png").c_str()));
}

TEST_F(PrintTest, LandscapePagesComeOutLandscape) {
    REQUIRE_PDF_PRINTER();
    std::string log;
    Document* doc = makeDocument(2, &log);
    doc->title = JobName("landscape");
    doc->orientations = {2, 2};
    // Without a page count the label is the document's own format, and
    // conversions other than its first %d are printed as they stand.
    doc->knownCount = false;
    doc->labelFormat = "Feuille %d sur %s %%";
    APrinterSetup* setup = PdfSetup();
    ARect portrait = setup->PrinterPageSize();
    APrinter* printer = makePrinter();
    printer->printPages(doc, APrintRange{0, 1, 1, 1, 1});
    EXPECT_TRUE(CapturedBoxes().empty());
    EXPECT_FALSE(setup->isLandscape()) << "the job puts the orientation back";
    EXPECT_EQ(portrait, setup->PrinterPageSize());
    ASSERT_EQ(2u, doc->bodies.size());
    EXPECT_GT(doc->bodies[0].width(), doc->bodies[0].height());
    std::string pdf = PrintedPdf(doc->title);
    ASSERT_FALSE(pdf.empty()) << "no PDF for " << doc->title;
    EXPECT_EQ("2\n", Info(pdf, "Pages"));
    std::string text = Host("pdftotext -enc UTF-8 '" + pdf + "' -");
    EXPECT_NE(std::string::npos, text.find("Feuille 2 sur %s %")) << text;
    std::string size = Info(pdf, "Page size");
    int w = 0, h = 0;
    ASSERT_EQ(2, sscanf(size.c_str(), "%d x %d", &w, &h)) << size;
    // The driver writes a landscape page as a portrait sheet turned by 90 degrees.
    int turn = atoi(Info(pdf, "Page rot").c_str());
    EXPECT_TRUE((w > h) != (turn % 180 == 90)) << size << ", turned " << turn;
}
