// The printer: forwarding to the printed component, the print command, the
// job over its copies and pages, and the copy guard.
#include "framework/printing/APrinter.h"

#include "base/procedural/AError.h"
#include "base/procedural/SystemSeams.h"
#include "framework/app/ACursor.h"
#include "framework/graphics/ADisplayLock.h"
#include "framework/graphics/AFont.h"
#include "framework/graphics/AGraphicDisplay.h"
#include "framework/printing/APrintCalls.h"
#include "framework/printing/APrintDialog.h"
#include "framework/printing/APrintJob.h"
#include "framework/printing/APrinterSetup.h"

SV_IMPLEMENT_CLASS(APrinter, 145, ADisplayComponent)

namespace {

void QueryDefaultPrinter() {
    APrinterSetup::current();
}

// The graphic display finds the default printer through us the first time
// printing is asked about (the display layer sits below printing).
struct DefaultPrinterHook {
    DefaultPrinterHook() { ADisplayContext::setDefaultPrinterQuery(&QueryDefaultPrinter); }
} gDefaultPrinterHook;

}  // namespace

// The printed component for one entry call (cleared however the call ends),
// and the printer sized to the set-up's page.
class APrinter::Session {
public:
    Session(APrinter& printer, ADisplayComponent* component) : printer_(printer) {
        // Printing displays are made in the display context: it exists from here on.
        ADisplayContext::instance();
        printer.printed_ = component;
        if (APrinterSetup* setup = printer.printerSetup()) {
            if (setup->dc())
                printer.setSizeSpec(ASizeSpec(setup->PrinterPageSize()), false);
        }
    }
    ~Session() { printer_.printed_ = nullptr; }
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

private:
    APrinter& printer_;
};

APrinter::APrinter() = default;

APrinter::~APrinter() {
    delete font_;
}

void APrinter::attachItems() {
    ADisplayComponent::attachItems();
    font();
}

void APrinter::detachItems() {
    delete font_;
    font_ = nullptr;
    ADisplayComponent::detachItems();
}

_AFont* APrinter::font() {
    if (!font_)
        font_ = new AFont(AFontSpec("Times", 10, 0));
    return font_->body();
}

ADisplayComponent* APrinter::requirePrinted(long line) {
    if (!printed_)
        ThrowAssert("fprinter", line);
    return printed_;
}

const APrinterInfo* APrinter::canPrint() {
    if (!printed_)
        return ADisplayComponent::canPrint();
    APrinterSetup* setup = printerSetup();
    return setup ? setup->info() : nullptr;
}

void APrinter::documentTitle(AString& out) {
    requirePrinted(300)->documentTitle(out);
}

APrinterSetup* APrinter::printerSetup() {
    APrinterSetup* own = requirePrinted(310)->printerSetup();
    return own ? own : APrinterSetup::current();
}

long APrinter::firstPage() {
    return requirePrinted(320)->firstPage();
}

bool APrinter::pageAvailable(const APrintRange& range, long page) {
    return printed_ ? printed_->pageAvailable(range, page) : false;
}

bool APrinter::preparePart(long part) {
    return printed_ ? printed_->preparePart(part) : false;
}

void APrinter::beginPrinting(const ARect& body) {
    if (printed_)
        printed_->beginPrinting(body);
}

void APrinter::endPrinting() {
    if (printed_)
        printed_->endPrinting();
}

void APrinter::cancelPrinting() {
    if (printed_)
        printed_->cancelPrinting();
}

long APrinter::pageOrientation(long page) {
    return requirePrinted(330)->pageOrientation(page);
}

void APrinter::drawPage(const ARect& body, long page, bool draw) {
    if (!printed_)
        return;
    if (!draw) {
        printed_->drawPage(body, page, false);
        return;
    }
    AClipLock clip{ARegion(body)};
    printed_->drawPage(body, page, true);
}

void APrinter::headerText(AString& out) {
    requirePrinted(340)->headerText(out);
}

void APrinter::pageLabelFormat(AString& out) {
    requirePrinted(350)->pageLabelFormat(out);
}

void APrinter::footerText(AString& out) {
    requirePrinted(360)->footerText(out);
}

long APrinter::pageCount() {
    ADisplayComponent* printed = requirePrinted(370);
    ARect body = bodyRect();
    APrintMeasureLock lock(this);
    return printed->countPages(body);
}

ACommand* APrinter::printWithDialog(ADisplayComponent* component) {
    Session session(*this, component);
    APrintRangeDialog dialog(this);
    if (dialog.run()) {
        APrintRange range = dialog.makeRange();
        if (progress_) {
            runJob(range);
        } else {
            AWaitCursor wait;
            runJob(range);
        }
    } else {
        printCancelled();
    }
    return noChangeCommand();
}

// A component that does not count its pages prints its first.
ACommand* APrinter::printAllPages(ADisplayComponent* component) {
    // Without a component there is no page to print and no set-up to ask.
    if (!component)
        return noChangeCommand();
    long count = 0;
    {
        Session session(*this, component);
        firstPage();
        count = pageCount();
    }
    auto last = static_cast<int16_t>(count > 0 && count <= 0x7FFF ? count - 1 : 0);
    return printPages(component, APrintRange{0, last, 1, 1, static_cast<int16_t>(count > 0 ? 1 : 0)});
}

ACommand* APrinter::printPages(ADisplayComponent* component, const APrintRange& range) {
    Session session(*this, component);
    firstPage();
    pageCount();
    if (!pageTarget_ && !progress_) {
        AWaitCursor wait;
        runJob(range);
    } else {
        runJob(range);
    }
    return noChangeCommand();
}

ACommand* APrinter::runJob(const APrintRange& range) {
    {
        APrintJob job(this);
        job.showProgress();
        for (int copy = 0; copy < range.collatedCopies && canContinue(); ++copy)
            runCopy(range, job);
        bool open = job.started();
        if (!job.finish(cancelled_ != 0) && open && !cancelled_)
            ok_ = 0;
        if (!ok_) {
            AString text = FrameworkString(128, 11, "Probl\xE8me lors de l'impression");
            SeamMessageBox(PrintCalls().ownerWindow(), text.c_str(), PrintingCaption().c_str(), MB_ICONHAND);
        }
    }
    return noChangeCommand();
}

void APrinter::runCopy(const APrintRange& range, APrintJob& job) {
    requirePrinted(380);
    printCopy(range, job);
}

void APrinter::printCopy(const APrintRange& range, APrintJob& job) {
    APrintCopyGuard guard(*this);
    long page = firstPage();
    long part = 0;
    bool go = preparePart(0) && pageAvailable(range, page);
    while (go && canContinue()) {
        setUpPage(page);
        if (page < range.firstPage) {
            skipPage(page);
        } else {
            for (int i = 0; i < range.copiesOfEach && canContinue(); ++i) {
                ok_ = job.beginPage();
                if (ok_) {
                    APrintPageLock lock(job);
                    ok_ = lock.printAndEnd(page);
                }
            }
        }
        ++page;
        go = pageAvailable(range, page);
        if (!go && page <= range.lastPage)
            go = preparePart(++part);
    }
}

void APrinter::setUpPage(long page) {
    long orientation;
    {
        APrintMeasureLock lock(this);
        orientation = pageOrientation(page);
    }
    ok_ = printerSetup()->requestOrientation(static_cast<int16_t>(orientation));
    if (!ok_ || !pageTarget_)
        return;
    ARect printable = printableRect();
    ARect paper = paperRect();
    if (AGraphicDisplay::printScalingMode & 1) {
        APrinterSetup* setup = printerSetup();
        printable = printable.scaled(setup->screenResolution(), setup->printerResolution());
        paper = paper.scaled(setup->screenResolution(), setup->printerResolution());
    }
    pageDC_ = pageTarget_->preparePage(static_cast<int16_t>(page), printable, paper, &pageReady_);
    ok_ = pageDC_ != nullptr;
}

void APrinter::beginCopy() {
    ARect body = bodyRect();
    APrintMeasureLock lock(this);
    beginPrinting(body);
}

void APrinter::endCopy() {
    APrintMeasureLock lock(this);
    endPrinting();
}

void APrinter::printCancelled() {
    cancelPrinting();
}

void APrinter::printPage(long page) {
    ARect body = bodyRect();
    ARect header = headerRect();
    ARect footer = footerRect();
    drawHeader(header, page);
    drawPage(body, page, true);
    drawFooter(footer, page);
}

void APrinter::skipPage(long page) {
    ARect body = bodyRect();
    APrintMeasureLock lock(this);
    if (printed_)
        printed_->drawPage(body, page, false);
}

APrintCopyGuard::APrintCopyGuard(APrinter& printer) : printer_(printer) {
    printer_.beginCopy();
}

APrintCopyGuard::~APrintCopyGuard() {
    try {
        printer_.endCopy();
    } catch (...) {
    }
}

void PrinterSetUpForApp() {
    if (!APrinterSetup::current()) {
        MessageBeep(0);
        ShowNoPrinterMessage();
        return;
    }
    APrintSetupDialog dialog(nullptr);
    dialog.runAndAdopt();
}
