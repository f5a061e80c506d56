// The renderer base: model link and change chain, settings,
// detached copies and the slash-markup model builders.
#include "docengine/render/ARenderer.h"

#include <windows.h>

#include <cstring>
#include <new>

#include "base/procedural/AError.h"
#include "base/procedural/AddressWord.h"
#include "docengine/kytab/AKytabFragment.h"
#include "docengine/model/ADocModel.h"
#include "docengine/model/AIndexedDocModel.h"
#include "docengine/model/ALaidOutDocModel.h"
#include "docengine/model/ASegment.h"
#include "docengine/parser/AFragParserVariants.h"
#include "docengine/parser/ASegParser.h"
#include "docengine/parser/ATextFragParser.h"
#include "docengine/render/AHitNavigator.h"
#include "docengine/styles/ABitmapSupplier.h"
#include "docengine/styles/AStyleSheet.h"
#include "docengine/text/AReader.h"
#include "docengine/text/AStreamReader.h"
#include "docengine/text/AStringReader.h"
#include "framework/app/AApp.h"
#include "framework/clusters/ACommandItem.h"
#include "framework/display/ADisplayComponent.h"
#include "framework/graphics/ADisplayLock.h"
#include "framework/views/ALayerView.h"
#include "framework/views/AScroller.h"

namespace {

// Holds one reference for the length of a build step.
template <class T>
struct Held {
    explicit Held(T* made) : p(CheckAlloc(made, "grender", 300)) { p->addRef(); }
    ~Held() { p->release(); }
    T* p;
};

bool InRegion(const ARegion& region, const APoint& p) {
    ARect r = region.ownerBounds();
    return !region.isEmpty() && p.x >= r.first.x && p.x < r.second.x && p.y >= r.first.y && p.y < r.second.y;
}

}  // namespace

// --- tracker

ARendererTracker::ARendererTracker(ARenderer* renderer, ADisplayComponent* component, const AMouseEvent& event,
                                   const AHitRecord& record, AScroller* scroller)
    : AScrollingTracker(component, event, scroller), hit(record), renderer_(renderer) {
    if (!renderer_)
        ThrowAssert("grender", 120);
    renderer_->addRef();
}

ARendererTracker::~ARendererTracker() {
    renderer_->release();
}

void ARendererTracker::trackBegin() {
    renderer_->interaction |= RendererBits::kButtonDown;
    renderer_->trackStart(*this);
}

void ARendererTracker::trackStep() {
    renderer_->trackMove(*this);
}

ACommand* ARendererTracker::trackEnd() {
    renderer_->interaction &= static_cast<uint16_t>(~RendererBits::kButtonDown);
    return renderer_->trackEnd(*this);
}

// --- measuring

AViewMeasureLock::AViewMeasureLock(ADisplayComponent* view) {
    HWND window = view ? view->siteWindow() : nullptr;
    if (window && IsWindow(window))
        lock_.reset(new ADrawLock(view));
}

AViewMeasureLock::~AViewMeasureLock() = default;

// --- construction

ARenderer::ARenderer(ADisplayComponent* view, const ARect& frame, ARenderer* parent)
    : frame_(frame), parent_(parent), view_(view) {
    if (!view_)
        ThrowAssert("grender", 140);
    sheet_ = CheckAlloc(new (std::nothrow) AStyleSheet(), "grender", 142);
    sheet_->addRef();
    if (parent_) {
        target_ = parent_->target_;
    } else {
        attachScroller(true);
        auto* layer = dynamic_cast<AViewLayer*>(view_);
        target_ = layer && layer->layerOwner() ? layer->layerOwner() : dynamic_cast<ACommandItem*>(view_);
    }
}

ARenderer::ARenderer(const ARenderer& source, const ARect& frame, long, long, ARenderer* parent)
    : ADependent(), ARefObj(), frame_(frame), parent_(parent), view_(source.view_) {
    if (!source.sheet_)
        ThrowAssert("grender", 170);
    cursors_ = source.cursors_;
    scroller_ = source.scroller_;
    detached_ = source.detached_;
    target_ = source.target_;
    sheet_ = source.sheet_;
    sheet_->addRef();
    copyLook(source);
    fourthColour = source.fourthColour;
    marginH = source.marginH;
    marginV = source.marginV;
    for (int i = 3; i < 5; ++i)
        styleNumbers[i] = source.styleNumbers[i];
    lineFlags = source.lineFlags;
    lineFlags2 = source.lineFlags2;
    model_ = source.model_;
    if (model_) {
        model_->addRef();
        dependOn(model_);
    }
}

ARenderer::~ARenderer() {
    navigator_.reset();
    searchNavigator_.reset();
    if (model_) {
        stopDependingOn(model_);
        model_->release();
    }
    if (sheet_)
        sheet_->release();
    setHelpTextSupplier(nullptr);
    setBitmapSupplier(nullptr);
}

// --- model builders

// The model itself depends on nothing here: the dependency only names who asked.
void ARenderer::install(ADocModel* model, ADependable* dependency) {
    (void)dependency;
    setModel(model);
}

void ARenderer::setTextModel(const char* text, ADependable* dependency) {
    Held<AReader> reader(new (std::nothrow) AStringReader(text ? text : "", -1));
    Held<ASegParser> segments(new (std::nothrow) AReaderSegParser(reader.p));
    Held<AFragParser> fragments(new (std::nothrow) ATextFragParser('/'));
    Held<ADocModel> model(new (std::nothrow) AIndexedDocModel(segments.p, fragments.p, nullptr));
    install(model.p, dependency);
}

void ARenderer::setTextModelAlt(const char* text, ADependable* dependency) {
    Held<AReader> reader(new (std::nothrow) AStringReader(text ? text : "", -1));
    Held<ASegParser> segments(new (std::nothrow) AReaderSegParser(reader.p));
    Held<AFragParser> fragments(new (std::nothrow) ALabelTargetFragParser('/'));
    Held<ADocModel> model(new (std::nothrow) AIndexedDocModel(segments.p, fragments.p, nullptr));
    install(model.p, dependency);
}

void ARenderer::setStreamModel(const AFilteredFile& file, ADependable* dependency) {
    Held<AReader> reader(new (std::nothrow) AStreamReader(file, 0, 0));
    Held<ASegParser> segments(new (std::nothrow) AReaderSegParser(reader.p));
    Held<AFragParser> fragments(new (std::nothrow) ATextFragParser('/'));
    Held<ADocModel> model(new (std::nothrow) AIndexedDocModel(segments.p, fragments.p, nullptr));
    install(model.p, dependency);
}

void ARenderer::setLaidOutStreamModel(const AFilteredFile& file, ADependable* dependency) {
    Held<AReader> reader(new (std::nothrow) AStreamReader(file, 0, 0));
    installLaidOut(reader.p, dependency);
}

void ARenderer::setLaidOutTextModel(const AString& text, ADependable* dependency) {
    Held<AReader> reader(new (std::nothrow) ASharedStringReader(text));
    installLaidOut(reader.p, dependency);
}

void ARenderer::installLaidOut(AReader* reader, ADependable* dependency) {
    Held<ALineBasedParser> segments(new (std::nothrow) ALineSegParser(reader));
    Held<AFragParser> fragments(new (std::nothrow) ATextFragParser('/'));
    Held<ADocModel> model(new (std::nothrow) ALaidOutDocModel(segments.p, fragments.p, nullptr));
    install(model.p, dependency);
}

void ARenderer::setSourceModel(ALineGetter* getter, ADependable* dependency) {
    Held<ASegParser> segments(new (std::nothrow) ASourceSegParser(getter));
    Held<AFragParser> fragments(new (std::nothrow) ALabelTargetFragParser('/'));
    Held<ADocModel> model(new (std::nothrow) AIndexedDocModel(segments.p, fragments.p, nullptr));
    install(model.p, dependency);
}

// --- model and change chain

void ARenderer::setModel(ADocModel* model) {
    invalidateLayout();
    if (model != model_) {
        if (model_) {
            stopDependingOn(model_);
            model_->release();
        }
        model_ = model;
        if (model_) {
            model_->addRef();
            dependOn(model_);
        }
        if (navigator_)
            navigator_->reset();
        if (searchNavigator_)
            searchNavigator_->reset();
        navigatorStep(-1);
    }
    invalidateFrame();
    state &= static_cast<uint16_t>(~(RendererBits::kAttached | RendererBits::kRelayoutAll));
}

void ARenderer::navigatorStep(long code) {
    if (!navigator_ && !parent_ && model_ && model_->getHighlighter())
        navigator_.reset(CheckAlloc(new (std::nothrow) AModelHitNavigator(this, 0), "grender", 620));
    else if (navigator_ && code >= 0)
        navigator_->changed(code);
    if (searchNavigator_ && code >= 0)
        searchNavigator_->changed(code);
}

void ARenderer::changed(ADependable* source, long code, long data) {
    if (!model_ || source != static_cast<ADependable*>(model_))
        return;
    navigatorStep(code);
    if (data != AddressWord(this)) {
        if (code == 6 || code == 201)
            relayoutFrom(6, true);
        else if (!isDetached())
            view_->invalidate();
    }
    notifyTarget(code, false);
}

void ARenderer::notifyTarget(long code, bool alternate) {
    (void)alternate;
    if (target_ && !isDetached())
        target_->notifyOwner(code);
}

void ARenderer::attach() {
    if (state & RendererBits::kAttached)
        return;
    state |= RendererBits::kAttached;
    if (view_->hasFlags(ADisplayComponent::kShown) || (options & RendererBits::kNoFit))
        relayoutFrom(0, true);
}

void ARenderer::relayoutFrom(long code, bool updateView) {
    if (!(state & RendererBits::kAttached))
        return;
    AViewMeasureLock lock(view_);
    layoutFrom(code);
    state |= RendererBits::kLaidOut;
    if (updateView && scroller_ && !isDetached()) {
        scroller_->update();
        notifyTarget(code, false);
    }
}

void ARenderer::setFrame(const ARect& rect, bool relayout) {
    frame_ = rect;
    if (relayout && (state & RendererBits::kAttached))
        relayoutFrom(7, true);
}

void ARenderer::fitToView() {
    setScroll((options & RendererBits::kFitContent) ? view_->getContentSize() : view_->getSize(),
              (state & RendererBits::kLaidOut) != 0);
}

void ARenderer::setScroll(const APoint& size, bool relayout) {
    setFrame(ARect(frame_.first.x, frame_.first.y, frame_.first.x + size.x, frame_.first.y + size.y), relayout);
}

APoint ARenderer::scrollerPageX() {
    AView* v = scroller_ ? scroller_->view() : nullptr;
    return v ? APoint(v->horizontalLineStep(), v->getSize().x) : APoint(0, 0);
}

APoint ARenderer::scrollerPageY() {
    AView* v = scroller_ ? scroller_->view() : nullptr;
    return v ? APoint(v->verticalLineStep(), v->getSize().y) : APoint(0, 0);
}

void ARenderer::attachScroller(bool on) {
    if (!on) {
        scroller_ = nullptr;
        return;
    }
    if (scroller_)
        return;
    auto* layer = dynamic_cast<AViewLayer*>(view_);
    AView* v = layer ? layer->layerOwner() : dynamic_cast<AView*>(view_);
    scroller_ = v ? v->scroller() : nullptr;
}

void ARenderer::setActive(bool active) {
    bool now = (state & RendererBits::kActive) != 0;
    if (now == active)
        return;
    state = active ? static_cast<uint16_t>(state | RendererBits::kActive)
                   : static_cast<uint16_t>(state & ~RendererBits::kActive);
    setFocus(active);
}

void ARenderer::setRelayoutAll(bool on) {
    state = on ? static_cast<uint16_t>(state | RendererBits::kRelayoutAll)
               : static_cast<uint16_t>(state & ~RendererBits::kRelayoutAll);
}

AAnchor ARenderer::layoutUpTo(AAnchor range, long limit) {
    state |= RendererBits::kAttached;
    AAnchor r = layoutRange(range, limit);
    state |= RendererBits::kLaidOut;
    return r;
}

void ARenderer::layOut() {
    if (!(state & RendererBits::kLaidOut)) {
        // Attaching a shown view lays it out already.
        attach();
        if (!(state & RendererBits::kLaidOut))
            relayoutFrom(0, true);
    }
    invalidateFrame();
}

// --- showing indexes (source positions) of the model

void ARenderer::showIndex(long index, uint16_t scrollFlags, long) {
    if (!model_ || index == -1)
        return;
    bool opened = model_->openAt(index, nullptr, 0);
    // Scrolling in the old layout would aim at lines the opening moved.
    if (opened) {
        state &= static_cast<uint16_t>(~RendererBits::kLaidOut);
        relayoutFrom(6, true);
    }
    long position = model_->sourceToPosition(index);
    scrollToRange(position, position + 1, scrollFlags);
    if (scrollFlags & 0x100)
        setCurrentMark(index);
}

bool ARenderer::scrollToIndex(long index, long flags) {
    if (!model_ || index == -1)
        return false;
    showIndex(index, 0x20, flags);
    return true;
}

ADocRange ARenderer::showIndexSpan(ADocRange indexRange, uint16_t flags, long) {
    if (!model_ || indexRange.start == -1)
        return ADocRange{0, 0};
    bool opened = model_->openAt(indexRange.start, nullptr, 0);
    if (indexRange.end > indexRange.start)
        opened = model_->openAt(indexRange.end - 1, nullptr, 0) || opened;
    if (opened) {
        state &= static_cast<uint16_t>(~RendererBits::kLaidOut);
        relayoutFrom(6, true);
    }
    ADocRange range{model_->sourceToPosition(indexRange.start), model_->sourceToPosition(indexRange.end)};
    scrollToRange(range.start, range.end, flags);
    return range;
}

ADocRange ARenderer::showIndexRange(long index, uint16_t flags, long extra) {
    return showIndexSpan(ADocRange{index, index + 1}, flags, extra);
}

bool ARenderer::applyModelChanges(AExpandRecord* changes) {
    if (!model_ || !changes || changes->empty())
        return false;
    if (!model_->restore(changes, 0))
        return false;
    state &= static_cast<uint16_t>(~RendererBits::kLaidOut);
    relayoutFrom(6, true);
    return true;
}

void ARenderer::setCurrentMark(long index) {
    if (!model_)
        return;
    long marked = markedIndex();
    if (marked >= 0)
        model_->markRange(marked, marked + 1, false, 0);
    if (index != -1)
        model_->markRange(index, index + 1, true, 0);
}

void ARenderer::showRange(long start, long length) {
    if (!model_)
        return;
    if (length == -1) {
        showPosition(model_->sourceToPosition(start));
        return;
    }
    ASegment* segment = model_->getSegmentAt(start + length, true);
    if (!segment) {
        showPosition(model_->sourceToPosition(start));
        return;
    }
    segment->lock();
    struct Unlock {
        ASegment* s;
        ~Unlock() { s->unlock(); }
    } unlock{segment};
    setCurrentMark(segment->getStart());
    showPosition(model_->sourceToPosition(length == 0 ? segment->getStart() : start));
}

long ARenderer::currentPosition() {
    ADocRange top{-1, -1};
    return visibleLineRange(true, top) ? top.start : -1;
}

long ARenderer::selectionStart() {
    if (!model_ || model_->getMarkCount() <= 0)
        return -1;
    return model_->getMarkRange(0).start;
}

long ARenderer::selectionEnd() {
    long n = model_ ? model_->getMarkCount() : 0;
    return n > 0 ? model_->getMarkRange(n - 1).end - 1 : -1;
}

ARenderer* ARenderer::topRenderer() {
    ARenderer* r = this;
    while (r->parent_)
        r = r->parent_;
    return r;
}

ARenderer* ARenderer::makeDetachedCopy(const ARect& frame, bool scaled, ARenderer* parent) {
    ARenderer* copy = makeCopy(frame, 1, 1, parent);
    if (copy && scaled) {
        copy->detached_ = true;
        copy->attachScroller(false);
    }
    if (copy && binding_)
        copy->setLineGetter(binding_->getter, scaled ? 2 : 1);
    return copy;
}

// --- focus and highlight

void ARenderer::setFocus(bool active) {
    bool hide =
        !active || (options & (RendererBits::kHideSelection | RendererBits::kPassive | RendererBits::kHideSelection2));
    if ((options & RendererBits::kAlwaysHighlight) || !hide) {
        state |= RendererBits::kHighlightOn;
        showHighlight();
    } else {
        hideHighlight();
        state &= static_cast<uint16_t>(~RendererBits::kHighlightOn);
    }
    if (!(options & RendererBits::kPassive) && !isDetached())
        view_->invalidateClipped(highlightRegion());
}

void ARenderer::toggleHighlight() {
    if (!(state & RendererBits::kHighlightOn))
        return;
    state ^= RendererBits::kHighlightDrawn;
    drawHighlight((state & RendererBits::kHighlightDrawn) != 0);
}

void ARenderer::hideHighlight() {
    if (state & RendererBits::kHighlightDrawn)
        toggleHighlight();
}

void ARenderer::showHighlight() {
    if (!(state & RendererBits::kHighlightDrawn))
        toggleHighlight();
}

// --- events

AScrollingTracker* ARenderer::hitAt(AMouseEvent& event, ADisplayComponent* component) {
    if (!model_)
        return nullptr;
    AHitRecord hit = finishHit(hitRecordAt(event.where));
    return new (std::nothrow) ARendererTracker(this, component ? component : view_, event, hit, scroller_);
}

AHitRecord ARenderer::finishHit(AHitRecord hit) {
    hit.code = hitCodeOf(hit.fragment, hit.run, hit.position);
    hit.kind = hitKindOf(hit.fragment, hit.code);
    return hit;
}

ACommand* ARenderer::moveSelection(uint16_t, uint16_t) {
    return AComponent::passThroughCommand();
}

ACommand* ARenderer::activateHit(const AHitRecord& hit) {
    if (hit.kind == 1 && hit.fragment && (hit.fragment->linkKind() & 0xFFF))
        setHitRecord(hit, true);
    return AComponent::noChangeCommand();
}

ACommand* ARenderer::defaultKey() {
    return AComponent::passThroughCommand();
}

ACommand* ARenderer::mouseMoved(AMouseEvent& event) {
    if (!model_)
        return AComponent::passThroughCommand();
    AHitRecord hit = finishHit(hitRecordAt(event.where));
    showCursorId(cursorFor(cursorKindOf(hit)));
    return AComponent::noChangeCommand();
}

void ARenderer::showCursorId(long id) {
    if (AApp* app = AApp::current())
        app->setCursor(static_cast<int16_t>(id));
    else if (id >= 0x7F00)
        SetCursor(LoadCursorA(nullptr, MAKEINTRESOURCEA(id)));
}

ACommand* ARenderer::doubleClick(AMouseEvent& event, long) {
    if (!model_)
        return AComponent::passThroughCommand();
    AHitRecord hit = finishHit(hitRecordAt(event.where));
    return activateHit(hit);
}

ACommand* ARenderer::rightMouseDown(AMouseEvent&) {
    return AComponent::passThroughCommand();
}

ACommand* ARenderer::keyDown(uint16_t key, uint16_t modifiers) {
    if (key >= 0x25 && key <= 0x28)
        return moveSelection(key, modifiers);
    if (key == VK_RETURN)
        return defaultKey();
    return AComponent::passThroughCommand();
}

// The base's press feedback: kinds other than 4 show the press and act at a release inside.
void ARenderer::trackStart(ARendererTracker& tracker) {
    if (tracker.hit.kind == 4)
        return;
    trackPressed(tracker);
}

void ARenderer::trackMove(ARendererTracker& tracker) {
    if (tracker.hit.kind == 4)
        return;
    bool in = InRegion(tracker.feedback, tracker.current().where);
    if (in != tracker.inside) {
        tracker.inside = in;
        trackInside(tracker, in);
    }
}

ACommand* ARenderer::trackEnd(ARendererTracker& tracker) {
    if (tracker.hit.kind == 4)
        return AComponent::noChangeCommand();
    trackReleased(tracker);
    if (InRegion(tracker.feedback, tracker.current().where))
        return activateHit(tracker.hit);
    return AComponent::noChangeCommand();
}

ACommand* ARenderer::doRendererCommand() {
    return AComponent::noChangeCommand();
}

bool ARenderer::hasSelection(bool whole) {
    if (!model_)
        return false;
    if (whole)
        return model_->getLength() > 0;
    ADocRange r = model_->GetSelection();
    return r.end > r.start;
}

void* ARenderer::exportText(uint32_t format, bool whole) {
    if (format != 1 || !model_)
        return nullptr;
    AString text = whole ? model_->exportText(0, model_->getLength()) : model_->exportSelection(nullptr, false);
    return GlobalBlockOf(text.c_str(), static_cast<size_t>(text.length()), true);
}

void ARenderer::addExportFormats(AFormatList& list) {
    list.insert(list.begin(), 1u);
}

AExportCursor ARenderer::makeExportCursor() {
    AExportCursor cursor(model_, sheet_, nullptr, AString());
    cursor.component = view_;
    cursor.setBitmapSupplier(bitmapSupplier_);
    for (int i = 0; i < 3; ++i)
        cursor.styles[i] = styleNumbers[i];
    return cursor;
}

void* GlobalBlockOf(const void* data, size_t size, bool terminate) {
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, size + (terminate ? 1 : 0));
    char* p = h ? static_cast<char*>(GlobalLock(h)) : nullptr;
    if (!p) {
        if (h)
            GlobalFree(h);
        return nullptr;
    }
    if (size)
        memcpy(p, data, size);
    if (terminate)
        p[size] = 0;
    GlobalUnlock(h);
    return h;
}

long ARenderer::markedIndex() {
    if (!model_ || model_->getMarkCount() <= 0)
        return -1;
    return model_->getMarkRange(0).start;
}

// --- printing questions (line renderers answer them)

long ARenderer::preparePrint(const ARect&, bool) {
    return 0;
}

bool ARenderer::hasMorePages(bool) {
    return false;
}

void ARenderer::printPage(const ARect&, long, bool, bool, long) {}

long ARenderer::pageKind(long, long) {
    return 0;
}

// --- settings

void ARenderer::setStyleSheet(AStyleSheet* sheet) {
    if (sheet == sheet_)
        return;
    if (sheet)
        sheet->addRef();
    if (sheet_)
        sheet_->release();
    sheet_ = sheet;
}

void ARenderer::setHelpTextSupplier(AHelpTextSupplier* supplier) {
    AssignRef(helpSupplier_, supplier);
}

void ARenderer::setBitmapSupplier(ABitmapSupplier* supplier) {
    AssignRef(bitmapSupplier_, supplier);
}

void ARenderer::inheritFromParent() {
    if (!parent_)
        return;
    if (!parent_->binding_)
        copySettingsFrom(*parent_);
    else
        setLineGetter(parent_->binding_->getter, 3);
    setBitmapSupplier(parent_->bitmapSupplier_);
}

AString ARenderer::helpTextAt(const APoint& point) {
    return helpSupplier_ ? helpSupplier_->helpText(finishHit(hitRecordAt(point))) : AString();
}

// --- line binding

ALineBinding::ALineBinding(ARenderer* owner, ALineGetter* source, long sheetStamp)
    : renderer(owner), getter(source), stamp(sheetStamp) {
    getter->addRef();
}

ALineBinding::~ALineBinding() {
    getter->release();
}

void ARenderer::setLineGetter(ALineGetter* getter, long bindOptions) {
    if (!getter) {
        binding_.reset();
        return;
    }
    binding_.reset(new ALineBinding(this, getter, sheet_->changeStamp()));
    if (auto* bound = dynamic_cast<ABoundLineGetter*>(getter))
        bound->bindRenderer(this, bindOptions);
}

void ARenderer::fetchLine(long index) {
    if (!binding_)
        return;
    long stamp = sheet_->changeStamp();
    if (index >= binding_->first && index < binding_->end && stamp == binding_->stamp)
        return;
    auto* bound = dynamic_cast<ABoundLineGetter*>(binding_->getter);
    ADocRange lines = bound ? bound->linesAround(index) : ADocRange{0, binding_->getter->getLineCount()};
    binding_->first = lines.start;
    binding_->end = lines.end;
    binding_->stamp = stamp;
    if (index < lines.start || index >= lines.end)
        ThrowAssert("grender", 470);
}

void ARenderer::enableTables(char separator) {
    AFragParser* parser = model_ ? model_->getFragParser() : nullptr;
    if (!parser)
        ThrowAssert("grender", 480);
    ARefHold<AKytabSubParser> tables(CheckAlloc(new (std::nothrow) AKytabSubParser(separator), "grender", 481));
    parser->setSubParser(tables.get());
}

void ARenderer::copyLook(const ARenderer& source) {
    setHelpTextSupplier(source.helpSupplier_);
    setBitmapSupplier(source.bitmapSupplier_);
    imageStates_ = source.imageStates_;
    options = source.options;
    interaction = source.interaction;
    textColour = source.textColour;
    backColour = source.backColour;
    thirdColour = source.thirdColour;
    sharedStyle = source.sharedStyle;
    for (int i = 0; i < 3; ++i)
        styleNumbers[i] = source.styleNumbers[i];
}

void ARenderer::copySettingsFrom(const ARenderer& source) {
    setStyleSheet(source.sheet_);
    copyLook(source);
    if (source.lineFlags || source.lineFlags2) {
        lineFlags = source.lineFlags;
        lineFlags2 = source.lineFlags2;
    }
}

void ARenderer::invalidateLayout() {
    hit_.reset();
    state &= static_cast<uint16_t>(~RendererBits::kLaidOut);
}

void ARenderer::invalidateFrame() {
    if (!isDetached())
        view_->invalidateRect(frame_);
}
