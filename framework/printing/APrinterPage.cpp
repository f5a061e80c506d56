// The printer's page: its rectangles, and the header and footer measured and
// drawn in the printer font.
#include <cstdio>
#include <vector>

#include "base/procedural/AError.h"
#include "framework/graphics/ADisplayLock.h"
#include "framework/graphics/AFont.h"
#include "framework/printing/APrinter.h"
#include "framework/printing/APrinterSetup.h"

namespace {

struct Line {
    long start;
    long length;
    int32_t width;
    int32_t height;
};

Line Measured(_AFont* font, const char* text, long start, long length) {
    if (length == 0) {
        AFontMetrics m = font->metrics();
        return Line{start, 0, 0, m.ascent + m.descent};
    }
    ATextExtent e = font->measure(text + start, length);
    return Line{start, length, e.width, e.height};
}

// The lines of text: broken at CR, LF and CR LF and, with maxWidth >= 0, at a
// space or comma where the run before it is already wider than maxWidth.
std::vector<Line> SplitLines(_AFont* font, const AString& text, int32_t maxWidth) {
    std::vector<Line> lines;
    const char* s = text.c_str();
    long n = text.length();
    long start = 0;
    for (long i = 0; i < n; ++i) {
        char c = s[i];
        if (c == '\r' || c == '\n') {
            lines.push_back(Measured(font, s, start, i - start));
            if (c == '\r' && i + 1 < n && s[i + 1] == '\n')
                ++i;
            start = i + 1;
        } else if (maxWidth >= 0 && (c == ' ' || c == ',')) {
            Line run = Measured(font, s, start, i - start);
            if (run.width > maxWidth) {
                lines.push_back(run);
                start = i + 1;
            }
        }
    }
    if (start < n || lines.empty())
        lines.push_back(Measured(font, s, start, n - start));
    return lines;
}

int32_t TotalHeight(const std::vector<Line>& lines) {
    int32_t total = 0;
    for (const Line& l : lines)
        total += l.height;
    return total;
}

// The page label of a component's format: its first %d takes the number and
// %% gives %; any other conversion is printed as it stands, so that a format
// from a document can never read arguments that are not there.
std::string FormatLabel(const char* format, long number) {
    std::string out;
    bool used = false;
    for (const char* p = format; *p; ++p) {
        if (p[0] == '%' && p[1] == '%') {
            out += '%';
            ++p;
        } else if (p[0] == '%' && p[1] == 'd' && !used) {
            out += std::to_string(number);
            used = true;
            ++p;
        } else {
            out += *p;
        }
    }
    return out;
}

int32_t Centred(const ARect& r, int32_t width) {
    int32_t x = (r.width() - width) / 2;
    return r.left() + (x < 0 ? 0 : x);
}

// A rectangle of the set-up's device in the units that printing measures in.
ARect InPrintUnits(APrinterSetup* setup, const ARect& device) {
    if (AGraphicDisplay::printScalingMode & 2)
        return device.scaled(setup->screenResolution(), setup->printerResolution());
    return device;
}

APrinterSetup* RequiredSetup(APrinter& printer) {
    APrinterSetup* setup = printer.printerSetup();
    if (!setup)
        ThrowAssert("fprinter", 700);
    return setup;
}

}  // namespace

ARect APrinter::printableRect() {
    APrinterSetup* setup = RequiredSetup(*this);
    return InPrintUnits(setup, setup->PrinterPageSize());
}

ARect APrinter::paperRect() {
    APrinterSetup* setup = RequiredSetup(*this);
    return InPrintUnits(setup, setup->PrinterPaperRect());
}

ARect APrinter::headerRect() {
    ARect r = printableRect();
    r.second.y = headerHeight();
    return r;
}

ARect APrinter::footerRect() {
    ARect r = printableRect();
    r.first.y = r.second.y - footerHeight();
    return r;
}

ARect APrinter::bodyRect() {
    ARect printable = printableRect();
    return ARect(printable.left(), headerRect().bottom(), printable.right(), footerRect().top());
}

int32_t APrinter::headerHeight() {
    requirePrinted(760);
    AString text;
    headerText(text);
    if (text.empty())
        return 0;
    APrintMeasureLock lock(this);
    int32_t width = printableRect().width();
    return TotalHeight(SplitLines(font(), text, width - width / 10)) + 5;
}

int32_t APrinter::footerHeight() {
    requirePrinted(780);
    AString text;
    AString format;
    footerText(text);
    pageLabelFormat(format);
    if (text.empty() && format.empty())
        return 0;
    APrintMeasureLock lock(this);
    int32_t total = text.empty() ? 0 : TotalHeight(SplitLines(font(), text, -1));
    if (!format.empty())
        total += Measured(font(), format.c_str(), 0, format.length()).height;
    return total + 5;
}

void APrinter::drawHeader(const ARect& rect, long page) {
    (void)page;
    AString text;
    requirePrinted(800);
    headerText(text);
    if (text.empty())
        return;
    AGraphicDisplay* display = ADisplayContext::instance().current();
    AClipLock clip{ARegion(rect)};
    display->SetForeColor(0);
    int32_t width = printableRect().width();
    int32_t y = rect.top();
    for (const Line& l : SplitLines(font(), text, width - width / 10)) {
        font()->drawTextAtTop(APoint(Centred(rect, l.width), y), text.c_str() + l.start, l.length);
        y += l.height;
    }
    display->DrawLine(APoint(rect.left(), y + 3), APoint(rect.right(), y + 3));
}

void APrinter::drawFooter(const ARect& rect, long page) {
    AString text;
    AString format;
    footerText(text);
    pageLabelFormat(format);
    if (text.empty() && format.empty())
        return;
    ADisplayComponent* printed = requirePrinted(820);
    AGraphicDisplay* display = ADisplayContext::instance().current();
    AClipLock clip{ARegion(rect)};
    display->SetForeColor(0);
    display->DrawLine(APoint(rect.left(), rect.top() + 3), APoint(rect.right(), rect.top() + 3));
    int32_t y = rect.top() + 5;
    if (!format.empty()) {
        long total = printed->countPages(rect);
        // The label's buffer holds 19 characters.
        char label[20];
        if (total != 0)
            snprintf(label, sizeof label, "Page %ld/%ld", page + 1, total);
        else
            snprintf(label, sizeof label, "%s", FormatLabel(format.c_str(), page + 1).c_str());
        Line l = Measured(font(), label, 0, static_cast<long>(strlen(label)));
        font()->drawTextAtTop(APoint(Centred(rect, l.width), y), label, l.length);
        y += l.height;
    }
    if (text.empty())
        return;
    for (const Line& l : SplitLines(font(), text, -1)) {
        font()->drawTextAtTop(APoint(Centred(rect, l.width), y), text.c_str() + l.start, l.length);
        y += l.height;
    }
}
