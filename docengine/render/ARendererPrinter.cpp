// The renderer printer: header, footer and body bands of each page.
#include "docengine/render/ARendererPrinter.h"

#include "base/procedural/AError.h"

namespace {

// The height a header or footer takes laid out across the page: at most half
// the page when it would fill it.
long BandHeight(const ARect& pageRect, ARenderer* band) {
    band->setFrame(pageRect, false);
    band->layoutAll();
    long h = band->contentHeight();
    long pageHeight = pageRect.second.y - pageRect.first.y;
    return pageHeight <= h ? pageHeight / 2 : h;
}

}  // namespace

ARendererPrinter::~ARendererPrinter() {
    assign(header_, nullptr);
    assign(footer_, nullptr);
    assign(printed_, nullptr);
}

void ARendererPrinter::assign(ARenderer*& slot, ARenderer* value) {
    if (value)
        value->addRef();
    if (slot)
        slot->release();
    slot = value;
}

bool ARendererPrinter::layoutHeader(const ARect& pageRect) {
    if (header_ && (header_->state & RendererBits::kLaidOut))
        return true;
    body_ = pageRect;
    if (header_)
        body_.first.y = headerRect(pageRect, header_).second.y;
    return false;
}

bool ARendererPrinter::layoutFooter(const ARect& pageRect) {
    if (footer_ && (footer_->state & RendererBits::kLaidOut))
        return true;
    if (footer_) {
        ARect f = footerRect(pageRect, footer_);
        body_.second.y -= f.second.y - f.first.y;
    }
    return false;
}

void ARendererPrinter::setPageRect(const ARect& rect) {
    page_ = rect;
    layoutHeader(rect);
    layoutFooter(body_);
}

void ARendererPrinter::reset() {
    assign(printed_, nullptr);
    lastPage_ = -1;
}

long ARendererPrinter::prepare(const ARect& pageRect, ARenderer* renderer) {
    page_ = pageRect;
    layoutHeader(pageRect);
    layoutFooter(body_);
    if (!printed_ && renderer)
        setRenderer(renderer);
    return printed_ ? printed_->preparePrint(innerRect(), selectionOnly) : 0;
}

void ARendererPrinter::printPage(const ARect& pageRect, long page, bool draw) {
    bool headerStale = header_ && !(header_->state & RendererBits::kLaidOut);
    bool footerStale = footer_ && !(footer_->state & RendererBits::kLaidOut);
    if (!(pageRect == page_) || headerStale || footerStale) {
        page_ = pageRect;
        if (header_ && !headerStale)
            header_->invalidateLayout();
        if (footer_ && !footerStale)
            footer_->invalidateLayout();
        layoutHeader(pageRect);
        layoutFooter(body_);
    }
    if (header_ && draw)
        drawHeader(header_);
    if (footer_ && draw)
        footer_->draw(footer_->frame());
    if (printed_)
        printed_->printPage(innerRect(), page, draw, selectionOnly, lastPage_);
    lastPage_ = page;
}

bool ARendererPrinter::hasMorePages() {
    return printed_ && printed_->hasMorePages(selectionOnly);
}

bool ARendererPrinter::acceptRenderer(bool flag, ARenderer* renderer) {
    if (flag || !renderer)
        return false;
    if (!printed_)
        setRenderer(renderer);
    return true;
}

ARect ARendererPrinter::headerRect(const ARect& pageRect, ARenderer* header) {
    long h = BandHeight(pageRect, header);
    ARect r(pageRect.first.x, pageRect.first.y, pageRect.second.x, static_cast<int32_t>(pageRect.first.y + h));
    header->setFrame(r, false);
    return r;
}

void ARendererPrinter::drawHeader(ARenderer* header) {
    header->draw(header->frame());
}

ARect ARendererPrinter::footerRect(const ARect& pageRect, ARenderer* footer) {
    long h = BandHeight(pageRect, footer);
    ARect r(pageRect.first.x, static_cast<int32_t>(pageRect.second.y - h), pageRect.second.x, pageRect.second.y);
    footer->setFrame(r, false);
    return r;
}

ARenderer* ARendererPrinter::makePrintedRenderer(ARenderer* renderer) {
    if (!renderer)
        ThrowAssert("grender", 1560);
    return renderer->makeDetachedCopy(innerRect(), true, nullptr);
}

long ARendererPrinter::nextPageKind(long page) {
    return printed_ ? printed_->pageKind(page, lastPage_) : 0;
}

void ARendererPrinter::setRenderer(ARenderer* renderer) {
    if (!renderer) {
        assign(printed_, nullptr);
        return;
    }
    ARenderer* copy = makePrintedRenderer(renderer);
    if (!copy)
        ThrowAssert("grender", 1600);
    assign(printed_, copy);
}

void ARendererPrinter::setHeader(ARenderer* renderer) {
    ARenderer* copy = renderer ? renderer->makeDetachedCopy(ARect(), true, nullptr) : nullptr;
    if (renderer && !copy)
        ThrowAssert("grender", 1620);
    assign(header_, copy);
}

void ARendererPrinter::setFooter(ARenderer* renderer) {
    ARenderer* copy = renderer ? renderer->makeDetachedCopy(ARect(), true, nullptr) : nullptr;
    if (renderer && !copy)
        ThrowAssert("grender", 1630);
    assign(footer_, copy);
}

ARect ARendererPrinter::innerRect() const {
    return ARect(static_cast<int32_t>(body_.first.x + margins[0]), static_cast<int32_t>(body_.first.y + margins[1]),
                 static_cast<int32_t>(body_.second.x - margins[2]), static_cast<int32_t>(body_.second.y - margins[3]));
}
