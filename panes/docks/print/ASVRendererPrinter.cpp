// The reader's document printer: passes, print copies and the header rule.
#include "panes/docks/print/ASVRendererPrinter.h"

#include "base/procedural/AError.h"
#include "docengine/model/ADocModel.h"
#include "docengine/render/ARendererViews.h"
#include "docengine/render/ATextRenderer.h"
#include "docengine/styles/AStyleSheet.h"
#include "framework/files/AOptionsInfo.h"
#include "framework/graphics/ADisplayLock.h"
#include "framework/graphics/AGraphicDisplay.h"
#include "panes/docks/print/APrintSources.h"

namespace {

// Holds one reference on a renderer for the length of a block.
class RendererRef {
public:
    explicit RendererRef(ARenderer* r) : r_(r) {
        if (r_)
            r_->addRef();
    }
    ~RendererRef() {
        if (r_)
            r_->release();
    }
    RendererRef(const RendererRef&) = delete;
    RendererRef& operator=(const RendererRef&) = delete;
    ARenderer* get() const { return r_; }

private:
    ARenderer* r_;
};

}  // namespace

void DrawHeaderWithRule(ARenderer* header) {
    ARect r = header->frame();
    ARect clip = r;
    clip.second.y += 4;
    AClipLock lock(ARegion{clip});
    header->draw(r);
    ADisplayContext* context = ADisplayContext::existing();
    AGraphicDisplay* display = context ? context->current() : nullptr;
    if (!display || !display->isDrawable())
        return;
    if (GetDeviceCaps(display->dc(), NUMCOLORS) != 2)
        display->SetForeColor(0);
    int32_t y = r.first.y + (r.second.y - r.first.y) + 3;
    display->DrawLine(APoint(r.first.x, y), APoint(r.second.x, y));
}

ARenderer* ASVRendererPrinter::copyWithText(ARenderer* renderer, const AString& text, bool tables) {
    ARenderer* copy = CheckAlloc(renderer->makeDetachedCopy(ARect(), true, nullptr), "appclass", 120);
    copy->setTextModel(text.c_str(), nullptr);
    if (tables && copy->model())
        copy->enableTables('#');
    return copy;
}

void ASVRendererPrinter::install(PrintPass action, ARenderer* renderer) {
    switch (action) {
    case PrintPass::kSelection: {
        AString text = renderer->model() ? renderer->model()->exportSelection(nullptr, true) : AString();
        RendererRef copy(copyWithText(renderer, text, true));
        setRenderer(copy.get());
        break;
    }
    case PrintPass::kContents: {
        RendererRef copy(copyWithText(renderer, sources_->contentsText(), false));
        setRenderer(copy.get());
        break;
    }
    case PrintPass::kView: {
        RendererRef copy(CheckAlloc(makePrintedRenderer(renderer), "appclass", 150));
        // The copy gets a model of its own: opening or closing the media
        // sections for the paper leaves the article on screen as it is.
        if (ADocModel* own = CopyWithMediaForm(copy.get()->model(), options_->getLong(PrintKey::kWithMedia))) {
            copy.get()->setModel(own);
            own->release();
        }
        copy.get()->relayoutFrom(0, false);
        if (AStyleSheet* sheet = copy.get()->styleSheet()) {
            auto* sized = new AStyleSheet(*sheet);
            sized->addRef();
            if (ApplyTextSize(sized, options_->getLong(PrintKey::kTextSize)))
                copy.get()->setStyleSheet(sized);
            sized->release();
        }
        copy.get()->relayoutFrom(0, false);
        setRenderer(copy.get());
        break;
    }
    case PrintPass::kNotes: {
        RendererRef copy(copyWithText(renderer, sources_->notesText(), false));
        setRenderer(copy.get());
        break;
    }
    case PrintPass::kNothing:
        break;
    }
}

void ASVRendererPrinter::setHeaderText(const AString& text, ADisplayComponent* view, AStyleSheet* sheet) {
    SetPrinterHeaderText(*this, text, view, sheet);
}

void SetPrinterHeaderText(ARendererPrinter& printer, const AString& text, ADisplayComponent* view, AStyleSheet* sheet) {
    if (!sheet)
        if (auto* rv = dynamic_cast<ARendererView*>(view))
            sheet = rv->renderer() ? rv->renderer()->styleSheet() : nullptr;
    // A header without a sheet has no fonts to draw with: printing goes on without it.
    if (!sheet) {
        printer.setHeader(nullptr);
        return;
    }
    RendererRef header(CheckAlloc(new ATextRenderer(view), "appclass", 90));
    header.get()->setStyleSheet(sheet);
    header.get()->setTextModel(text.c_str(), nullptr);
    if (header.get()->model())
        header.get()->enableTables('#');
    printer.setHeader(header.get());
}

int16_t ASVRendererPrinter::preparePass(int16_t pass, ARenderer* renderer) {
    if (!options_ || !sources_)
        ThrowAssert("appclass", 100);
    if (!renderer)
        ThrowAssert("appclass", 101);
    // Key 6 stays set for an article without contents (the print path keeps
    // it): no blank contents page then.
    long withContents = options_->getLong(PrintKey::kWithContents) && !sources_->contentsText().empty();
    PrintPass action = ChoosePrintPass(options_->getLong(PrintKey::kSelectionOnly), pass, withContents,
                                       options_->getLong(PrintKey::kWithNotes));
    if (action == PrintPass::kNothing)
        return 0;
    install(action, renderer);
    return 1;
}

long ASVRendererPrinter::prepare(const ARect& pageRect, ARenderer* renderer) {
    // The base lays the header out (fixing the body) before anything is copied for it.
    ARendererPrinter::prepare(pageRect, nullptr);
    given_ = renderer;
    pass_ = 0;
    passFirstPage_ = 0;
    lastPage_ = -1;
    if (!printedRenderer() && renderer && !preparePass(0, renderer))
        return 0;
    return printedRenderer() ? printedRenderer()->preparePrint(innerRect(), selectionOnly) : 0;
}

bool ASVRendererPrinter::hasMorePages() {
    if (ARendererPrinter::hasMorePages())
        return true;
    // The pass ran out of pages: the next pass, if any, continues the numbering.
    while (given_ && pass_ < 3) {
        ++pass_;
        ARendererPrinter::reset();
        if (!preparePass(pass_, given_))
            return false;
        passFirstPage_ = lastPage_ + 1;
        printedRenderer()->preparePrint(innerRect(), selectionOnly);
        if (ARendererPrinter::hasMorePages())
            return true;
    }
    return false;
}

void ASVRendererPrinter::printPage(const ARect& pageRect, long page, bool draw) {
    ARendererPrinter::printPage(pageRect, page - passFirstPage_, draw);
    lastPage_ = page;
}

void ASVRendererPrinter::reset() {
    ARendererPrinter::reset();
    given_ = nullptr;
    pass_ = 0;
    passFirstPage_ = 0;
    lastPage_ = -1;
}

void ASVRendererPrinter::drawHeader(ARenderer* header) {
    DrawHeaderWithRule(header);
}

ARenderer* ASVRendererPrinter::makePrintedRenderer(ARenderer* renderer) {
    if (!renderer)
        ThrowAssert("appclass", 200);
    // The copy is made in the engine's print mode (option 58), then the view's own value comes back.
    uint16_t kept = renderer->options;
    renderer->options = 58;
    ARenderer* copy = nullptr;
    try {
        copy = renderer->makeDetachedCopy(innerRect(), true, nullptr);
    } catch (...) {
        renderer->options = kept;
        throw;
    }
    renderer->options = kept;
    return copy;
}
