// Printing displays against the real printer driver: text printed through a
// printer display comes back from the PDF that the CUPS printer "PDF" writes.
#include <string>

#include "framework/graphics/ADisplayLock.h"
#include "framework/graphics/AFont.h"
#include "tests/framework/graphics/GraphicsTestSupport.h"

namespace {

// "Encyclopédie, œuvre, à l'été" in Windows-1252, and as pdftotext gives it in UTF-8.
const char kFrench[] =
    "Encyclop\xE9"
    "die, \x9C"
    "uvre, \xE0 l'\xE9t\xE9";
const char kFrenchUtf8[] =
    "Encyclop\xC3\xA9"
    "die, \xC5\x93"
    "uvre, \xC3\xA0 l'\xC3\xA9t\xC3\xA9";

// The text of the printed job's PDF, once CUPS has written it (60 s at most).
std::string PrintedText(const std::string& jobName) {
    return RunOnHost(
        "for i in $(seq 300); do\n"
        "  f=$(ls -t \"$HOME\"/PDF/" +
        jobName +
        "*.pdf 2>/dev/null | head -n 1)\n"
        "  [ -n \"$f\" ] && pdftotext -enc UTF-8 \"$f\" - 2>/dev/null && break\n"
        "  sleep 0.2\n"
        "done\n");
}

// Without the printer the printing tests skip, unless the run asks for it
// (tools/test.sh starts CUPS and sets SV_REQUIRE_PRINTER).
bool PrinterRequired() {
    return GetEnvironmentVariableA("SV_REQUIRE_PRINTER", nullptr, 0) != 0;
}

class PrinterDC {
public:
    // Wine's spooler has been seen to miss the CUPS printer for a moment after
    // a job; it is asked again for a few seconds before the test gives up.
    PrinterDC() : dc(nullptr) {
        for (int i = 0; i < 50 && !dc; ++i) {
            dc = CreateDCA("WINSPOOL", "PDF", nullptr, nullptr);
            if (!dc)
                Sleep(100);
        }
    }
    ~PrinterDC() {
        if (dc)
            DeleteDC(dc);
    }
    HDC dc;
};

}  // namespace

TEST_F(GraphicsTest, PrintedFrenchTextComesBackFromThePdf) {
    PrinterDC printer;
    if (!printer.dc) {
        ASSERT_FALSE(PrinterRequired()) << "no printer \"PDF\"";
        GTEST_SKIP() << "no printer \"PDF\": tools/setup.sh installs it, tools/test.sh starts CUPS";
    }
    SiteComponent* site = makeSite(app, 1, ARect(0, 0, 2000, 3000));
    ADisplayContext::instance().setPrinter(printer.dc);
    EXPECT_EQ(300, ADisplayContext::instance().printer()->resA.y);
    _AFont::textPlacementMode = 2;
    AFont font(AFontSpec("Arial,14,0"));
    std::string job = "svgraphics-" + std::to_string(GetTickCount());
    DOCINFOA doc = {};
    doc.cbSize = sizeof doc;
    doc.lpszDocName = job.c_str();
    ASSERT_GT(StartDocA(printer.dc, &doc), 0);
    StartPage(printer.dc);
    int32_t printedWidth;
    {
        ADisplayLock lock(site, printer.dc, AGraphicDisplay::kPrinter, nullptr, nullptr);
        printedWidth = font.body()->drawText(APoint(300, 400), kFrench, -1, RGB(0, 0, 0));
        {
            ADrawLock nested(site);
            EXPECT_EQ(nullptr, nested.display()) << "drawing goes to the printer display";
        }
        lock.display()->FrameRect(ARect(250, 250, 1500, 500), 4);
    }
    EndPage(printer.dc);
    EndDoc(printer.dc);
    _AFont::textPlacementMode = 0;
    ADisplayContext::instance().setPrinter(nullptr);
    EXPECT_GT(printedWidth, 500) << "printer pixels";

    std::string text = PrintedText(job);
    EXPECT_NE(std::string::npos, text.find(kFrenchUtf8)) << "pdftotext gave: " << text;
}

TEST_F(GraphicsTest, PrintMeasureLockMeasuresWithThePrinter) {
    PrinterDC printer;
    if (!printer.dc) {
        ASSERT_FALSE(PrinterRequired()) << "no printer \"PDF\"";
        GTEST_SKIP() << "no printer \"PDF\"";
    }
    SiteComponent* site = makeSite(app, 1);
    ADisplayContext::instance().setPrinter(printer.dc);
    AFont font(AFontSpec("Arial,12,0"));
    Canvas canvas(8, 8);
    int32_t screen;
    int32_t printed;
    {
        ADisplayLock lock(site, canvas.dc(), AGraphicDisplay::kOwnDevice, nullptr, nullptr);
        screen = font.body()->measure(kFrench, -1).width;
    }
    {
        APrintMeasureLock lock(site);
        EXPECT_EQ(printer.dc, lock.display()->getMeasureDC());
        printed = font.body()->measure(kFrench, -1).width;
    }
    ADisplayContext::instance().setPrinter(nullptr);
    EXPECT_GT(printed, screen * 2) << "300 dpi against the screen's";
}
