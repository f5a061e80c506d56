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

std::string ReadWholeFile(const std::string& path) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return "";
    std::string text;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(h, buffer, sizeof buffer, &got, nullptr) && got > 0)
        text.append(buffer, got);
    CloseHandle(h);
    return text;
}

// Runs a shell on the host (Wine starts Unix programs) that waits for the
// printed job's PDF and converts it; answers its text, empty after 60 s.
std::string PrintedText(const std::string& jobName) {
    std::string out = "/tmp/" + jobName + ".txt";
    std::string command = "/bin/sh -c \"for i in $(seq 300); do f=$(ls -t \\\"$HOME\\\"/PDF/" + jobName +
                          "*.pdf 2>/dev/null | head -n 1); if [ -n \\\"$f\\\" ] && pdftotext -enc UTF-8 \\\"$f\\\" " +
                          out + ".part 2>/dev/null; then mv " + out + ".part " + out +
                          "; exit 0; fi; sleep 0.2; done\"";
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi;
    std::vector<char> line(command.begin(), command.end());
    line.push_back('\0');
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return "";
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    std::string text;
    for (int i = 0; i < 600 && text.empty(); ++i) {
        text = ReadWholeFile("Z:" + out);
        if (text.empty())
            Sleep(100);
    }
    DeleteFileA(("Z:" + out).c_str());
    return text;
}

class PrinterDC {
public:
    PrinterDC() : dc(CreateDCA("WINSPOOL", "PDF", nullptr, nullptr)) {}
    ~PrinterDC() {
        if (dc)
            DeleteDC(dc);
    }
    HDC dc;
};

}  // namespace

TEST_F(GraphicsTest, PrintedFrenchTextComesBackFromThePdf) {
    PrinterDC printer;
    if (!printer.dc)
        GTEST_SKIP() << "no printer \"PDF\": tools/setup.sh installs it, tools/test.sh starts CUPS";
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
    if (!printer.dc)
        GTEST_SKIP() << "no printer \"PDF\"";
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
