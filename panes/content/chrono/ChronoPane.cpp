// The chronology screen's centre pane.
#include "panes/content/chrono/ChronoPane.h"

#include <cstdlib>
#include <cstring>
#include <new>
#include <string>

#include "app/frame/Frame1.h"
#include "app/lines/StandardLineGetter.h"
#include "app/lists/ASVEditFilter.h"
#include "app/lists/StandardBitmapSupplier.h"
#include "app/state/ABaseState.h"
#include "app/state/AppState.h"
#include "base/procedural/AError.h"
#include "docengine/model/AIndexedDocModel.h"
#include "docengine/parser/ALineAccessor.h"
#include "docengine/text/AStringReader.h"
#include "framework/components/AActionTable.h"
#include "framework/components/AKindSet.h"
#include "framework/components/ALayoutLoader.h"
#include "framework/controls/AEditBox.h"
#include "framework/controls/AIconButton.h"
#include "framework/views/AScroller.h"
#include "panes/content/article/AContentApp.h"
#include "panes/content/article/DockLCRPane.h"
#include "panes/content/chrono/AChronoEventRenderer.h"
#include "panes/content/chrono/AChronoFragment.h"
#include "panes/content/chrono/AChronoScale.h"
#include "panes/content/chrono/AChronoScaleLayer.h"
#include "panes/content/chrono/AChronoSegParser.h"
#include "panes/content/chrono/AChronoView.h"
#include "panes/content/chrono/LR_Chrono_Evemnt.h"
#include "search/facade/ASearchBase.h"

SV_IMPLEMENT_CLASS(ChronoPane, 0, SVPane)

namespace {

const char kFile[] = "ChronoPane";

const int16_t kChronoBase = 9, kEventTable = 2, kPictureTable = 3, kScaleTable = 5, kBandTable = 6;
const long kTimeLineSheet = 10;
const long kEventKey = 1190;

ASearchBase* ChronoBase(int line) {
    ASearchBase* base = AContentApp::current().getBase(kChronoBase);
    if (!base)
        ThrowAssert("ChronoPane", line);
    return base;
}

}  // namespace

const long ChronoPane::kStripOffsets[kPeriodButtons] = {0, 277, 540, 809, 1099, 1368, 1620, 1877, 2105};

ChronoPane::~ChronoPane() {
    ReleaseAndNull(bitmaps_);
}

void ChronoPane::readFrom(AMemoryStream& stream) {
    SVPane::readFrom(stream);
    ALayoutLoader::readEndMark(stream, "ChronoPane", 60);
}

void ChronoPane::attachItems() {
    SVPane::attachItems();
    CheckAlloc(getFrame(), "ChronoPane", 66);
    switcher_ = DockLCRPane::linkPane(this, DockLCRPane::kChrono, "ChronoPane", 67);
}

AScroller* ChronoPane::scrollerOf(AComponent* item, int line) {
    AComponent* found = item ? item->findAncestor(&AScroller::classRecord) : nullptr;
    return CheckAlloc(found ? static_cast<AScroller*>(found->castTo(&AScroller::classRecord)) : nullptr, "ChronoPane",
                      line);
}

void ChronoPane::setUpItems() {
    SVPane::setUpItems();
    view_ = requiredItem<AChronoView>(kView, kFile, 79);
    yearField_ = requiredItem<AEditBox>(kYearField, kFile, 80);
    yearField_->setFilter(CheckAlloc(new (std::nothrow) ASVEditFilter(yearField_), "ChronoPane", 81));
    view_->addLink(this);
    view_->makeTrackerAt(32, 160, 0);
    stripScroller_ = scrollerOf(requiredItem<AIconButton>(kFirstPeriod, kFile, 88), 89);
    viewScroller_ = scrollerOf(view_, 91);
    for (int16_t id : {kStripBack, kStripForward})
        requiredItem<AIconButton>(id, kFile, 94)->setAutoRepeat(40, 40);
    for (int16_t id : {kViewBack, kViewForward})
        requiredItem<AIconButton>(id, kFile, 95)->setAutoRepeat(20, 20);
    stripPositions_.clear();
    for (long offset : kStripOffsets)
        stripPositions_.append(static_cast<int32_t>(offset));
    ReleaseAndNull(bitmaps_);
    bitmaps_ = CheckAlloc(new (std::nothrow) StandardBitmapSupplier(ChronoBase(113), kPictureTable), "ChronoPane", 114);
    bitmaps_->addRef();
    step_ = std::atol(AContentApp::current().configString("CHRONO_STEP").c_str());
    if (step_ <= 0)
        step_ = kDefaultStep;
    yearField_->setText("");
    setItemHelp(kStripBack, 6007, 51, 0);
    setItemHelp(kStripForward, 6007, 50, 0);
    setItemHelp(kYearSearch, 6007, 52, 0);
    for (int16_t id = kFirstPeriod; id <= kLastPeriod; ++id)
        setItemHelp(id, 6007, 55, 0);
}

void ChronoPane::detachItems() {
    SVPane::detachItems();
    ReleaseAndNull(bitmaps_);
    if (view_ && view_->scaleLayer())
        view_->scaleLayer()->setScale(nullptr);
    scale_.reset();
}

void ChronoPane::bindActions() {
    SVPane::bindActions();
    for (int16_t id : {kStripBack, kStripForward, kInert, kViewBack, kViewForward, kYearSearch, kView, kYearField})
        addAction(id, this, id, nullptr);
    addActionRange(kFirstPeriod, this, kFirstPeriod, kLastPeriod, nullptr);
}

ACommand* ChronoPane::doCommand(int16_t id, long argument) {
    switch (id) {
        case kStripBack:
        case kStripForward:
            stripScroller_->scroll(AScrollRequest{int16_t(id == kStripBack ? 0 : 1), 0}, AScrollRequest{kScrollNoChange, 0},
                                   true);
            break;
        case kViewBack:
        case kViewForward:
            viewScroller_->scroll(AScrollRequest{int16_t(id == kViewBack ? 0 : 1), 0}, AScrollRequest{kScrollNoChange, 0},
                                  true);
            break;
        case kInert:
            break;
        case kYearSearch:
        case kYearField:
            yearSearch();
            break;
        case kView: {
            ARenderer* renderer = view_ ? view_->eventRenderer() : nullptr;
            if (renderer && renderer->getHitKind() == 3)
                openEventDocument(renderer->getHitName().c_str());
            break;
        }
        case kFirstPeriod: {
            long button = ActionRangeIndex(argument);
            // A button without its closing boundary has no period to show.
            if (!periodComplete(button))
                break;
            currentPeriod_ = static_cast<int16_t>(button);
            goToPeriod();
            queueUpdate(0);
            break;
        }
        default:
            return SVPane::doCommand(id, argument);
    }
    return noChangeCommand();
}

int16_t ChronoPane::commandStatus(int16_t id, long argument) {
    switch (id) {
        case kStripBack:
        case kStripForward:
        case kInert:
        case kYearSearch:
        case kView:
        case kYearField:
        case kViewBack:
        case kViewForward:
            return 1;
        case kFirstPeriod: {
            long button = ActionRangeIndex(argument);
            if (!periodComplete(button))
                return 2;
            return button == currentPeriod_ ? 5 : 1;
        }
        default:
            return SVPane::commandStatus(id, argument);
    }
}

int16_t ChronoPane::isPaneWanted() {
    ADocState* doc = docState();
    return doc && doc->fDocType == 7 ? 1 : 0;
}

void ChronoPane::updatePane() {
    ADocState* doc = docState();
    if (!doc || !view_)
        return;
    if (!view_->eventRenderer())
        loadChronology();
    else if (scale_ && step_ != scale_->unit)
        applyStep();
    if (!scale_)
        return;
    long year = doc->fDate != 0 ? doc->fDate : -scale_->offset;
    Pix stored = doc->fUserInfo.seek(kEventKey);
    long index = stored ? static_cast<int16_t>(doc->fUserInfo.numberOf(stored)) : 0;
    goToYear(year, index);
}

void ChronoPane::loadChronology() {
    ASearchBase* base = ChronoBase(113);
    AStyleSheet* sheet = AContentApp::current().getStyleSheet(kTimeLineSheet);
    if (!sheet)
        ThrowAssert("ChronoPane", 464);
    view_->setEventRenderer(nullptr);
    view_->setScale(nullptr);
    scale_.reset(CheckAlloc(new (std::nothrow) AChronoScale(), "ChronoPane", 470));
    scale_->setUnit(step_);
    scale_->parse(base->getText(kScaleTable, 0, 1).c_str());
    periodYears_.clear();
    parsePeriods(base->getRecordCount(kScaleTable) > 1 ? base->getText(kScaleTable, 1, 1).c_str() : "");
    placePeriods();
    view_->setScale(scale_.get());
    view_->setMouseSensitive(0);
    AChronoScaleLayer* layer = view_->scaleLayer();
    if (layer) {
        layer->setStyleSheet(sheet);
        layer->setBackground(base->getRecordCount(kBandTable) > 0 ? base->getText(kBandTable, 0, 1).c_str() : "");
        layer->placeBackground();
        layer->setBitmapSupplier(bitmaps_);
    }
    if (!view_->rendererLayer())
        ThrowAssert("ChronoPane", 499);
    auto* renderer = CheckAlloc(new (std::nothrow) AChronoEventRenderer(view_->rendererLayer()), "ChronoPane", 500);
    renderer->addRef();
    view_->setEventRenderer(renderer);
    renderer->bandHeight = 50;
    renderer->setStyleSheet(sheet);
    renderer->setHitCursors(1, 120, 220);
    renderer->setScale(scale_.get());
    // The event lines, one a record, as one text the segment parser walks.
    StandardLineGetter lines(base, nullptr, kEventTable, 0, 0);
    std::string text;
    for (long n = 0, count = lines.getLineCount(); n < count; ++n) {
        std::string line = lines.getRawLine(n, n).c_str();
        while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
            line.pop_back();
        text += line + "\n";
    }
    auto* reader = CheckAlloc(new (std::nothrow) AStringReader(text.c_str(), static_cast<long>(text.size())),
                              "ChronoPane", 508);
    reader->addRef();
    auto* accessor = new (std::nothrow) ALineAccessor(reader);
    reader->release();
    CheckAlloc(accessor, "ChronoPane", 509)->addRef();
    auto* segments = new (std::nothrow) AChronoSegParser(accessor, scale_.get());
    accessor->release();
    CheckAlloc(segments, "ChronoPane", 511)->addRef();
    auto* fragments = new (std::nothrow) AChronoFragParser('/');
    if (fragments)
        fragments->addRef();
    auto* model = fragments ? new (std::nothrow) AIndexedDocModel(segments, fragments, nullptr) : nullptr;
    segments->release();
    if (fragments)
        fragments->release();
    CheckAlloc(fragments, "ChronoPane", 512);
    CheckAlloc(model, "ChronoPane", 514)->addRef();
    renderer->setModel(model);
    model->release();
    renderer->layOut();
    renderer->release();
    if (viewScroller_)
        viewScroller_->update();
}

void ChronoPane::useScale(AChronoScale* scale) {
    scale_.reset(scale);
    periodYears_.clear();
    periodPositions_.clear();
    stripPositions_.clear();
    for (long offset : kStripOffsets)
        stripPositions_.append(static_cast<int32_t>(offset));
}

void ChronoPane::parsePeriods(const char* text) {
    if (!scale_)
        ThrowAssert("ChronoPane", 415);
    for (const char* p = text ? text : ""; *p;) {
        const char* end = p + std::strcspn(p, "\n\r");
        std::string line(p, end);
        p = *end ? end + 1 : end;
        // CR LF leaves an empty piece: no boundary.
        if (line.empty())
            continue;
        long year = std::atol(line.substr(0, line.find('\t')).c_str()) + scale_->offset;
        // periodAt searches the positions: a year before the last keeps them unordered.
        if (periodYears_.count() > 0 && year < periodYears_.at(periodYears_.count() - 1))
            continue;
        periodYears_.append(static_cast<int32_t>(year));
    }
}

void ChronoPane::placePeriods() {
    if (!scale_)
        ThrowAssert("ChronoPane", 432);
    periodPositions_.clear();
    for (long i = 0; i < periodYears_.count(); ++i)
        periodPositions_.append(static_cast<int32_t>(scale_->yearToPos(periodYears_.at(i))));
}

int16_t ChronoPane::periodAt(long position) const {
    long i = periodPositions_.upperBound(static_cast<int32_t>(position)) - 1;
    if (i < 0)
        i = 0;
    if (i >= periodPositions_.count())
        i = periodPositions_.count() - 1;
    if (i >= stripPositions_.count())
        i = kPeriodButtons - 1;
    return static_cast<int16_t>(i < 0 ? 0 : i);
}

void ChronoPane::goToYear(long year, long index) {
    if (!scale_)
        return;
    currentPosition_ = scale_->yearToPos(year + scale_->offset);
    currentEvent_ = index;
    currentPeriod_ = periodAt(currentPosition_);
    syncViews();
    yearField_->setText(std::to_string(year).c_str());
    if (AChronoScaleLayer* layer = view_->scaleLayer()) {
        layer->markerPosition = currentPosition_;
        layer->showMarker();
    }
    queueUpdate(0);
}

void ChronoPane::syncViews() {
    syncing_ = 1;
    centreStrip();
    if (view_ && view_->eventRenderer())
        view_->showEvent(currentPosition_, currentEvent_);
    dequeueUpdate(0);
    syncing_ = 0;
}

void ChronoPane::centreStrip() {
    if (!stripScroller_ || currentPeriod_ < 0 || currentPeriod_ >= stripPositions_.count())
        return;
    long x = stripPositions_.at(currentPeriod_);
    long w = currentPeriod_ + 1 < stripPositions_.count() ? stripPositions_.at(currentPeriod_ + 1) - x : 0;
    AView* content = stripScroller_->view();
    long v = content ? content->getSize().x : 0;
    x -= (v - w) / 2;
    if (x < 0)
        x = 0;
    stripScroller_->scrollTo(static_cast<int32_t>(x), 0);
}

void ChronoPane::goToPeriod() {
    if (!scale_ || !periodComplete(currentPeriod_))
        return;
    long a = periodYears_.at(currentPeriod_), b = periodYears_.at(currentPeriod_ + 1);
    currentPosition_ = scale_->yearToPos(a + (b - a) / 2);
    syncViews();
}

void ChronoPane::applyStep() {
    if (!scale_ || !view_)
        return;
    scale_->setUnit(step_);
    scale_->refresh(scale_->unit);
    placePeriods();
    if (AChronoScaleLayer* layer = view_->scaleLayer()) {
        layer->reset();
        layer->placeBackground();
    }
    AChronoEventRenderer* renderer = view_->eventRenderer();
    if (!renderer)
        return;
    if (auto* model = dynamic_cast<AIndexedDocModel*>(renderer->model()))
        if (auto* segments = dynamic_cast<AChronoSegParser*>(model->getSegParser()))
            segments->buildPositions();
    renderer->relayoutFrom(0, true);
    if (viewScroller_)
        viewScroller_->update();
}

void ChronoPane::yearSearch() {
    std::string text = yearField_ ? yearField_->getText().c_str() : "";
    size_t colon = text.find(':');
    if (colon != std::string::npos) {
        // A step that is no positive number keeps the previous one: the scale divides by it.
        char* end = nullptr;
        std::string s1 = text.substr(colon + 1);
        long step = std::strtol(s1.c_str(), &end, 10);
        if (end != s1.c_str() && step > 0 && step != step_) {
            step_ = step;
            applyStep();
        }
        text.erase(colon);
    }
    goToYear(std::atol(text.c_str()), -1);
}

void ChronoPane::openEventDocument(const char* text) {
    long n = LR_Chrono_Evemnt::EventDocument(text);
    if (n < 0)
        return;
    AppState* cur = currentState();
    ADocState* doc = docState();
    int16_t kind = AContentApp::current().getDocKind(n, doc ? doc->fDocType : 0);
    AppState* state = getFrame()->makeNavState(1, 0, 0, 1, -1, kind, cur ? cur->getScreenMode() : -1);
    state->setDocNo(n);
    state->fTemporaire = 1;
    goToState(state);
    if (SVPane* dock = switcher_ ? switcher_->link(DockLCRPane::kDockLeftChrono) : nullptr)
        dock->queueUpdate(0);
}

void ChronoPane::linkChanged(AComponent* source, const AKindSet& kinds) {
    SVPane::linkChanged(source, kinds);
    if (!hasFlags(kVisible) || syncing_ || !scale_ || source != view_)
        return;
    long p = view_->getSize().x / 2 + view_->getLocalOrigin().x;
    int16_t i = periodAt(p);
    if (i >= 0 && i < periodPositions_.count() && i != currentPeriod_) {
        currentPeriod_ = i;
        stripScroller_->scrollTo(stripPositions_.at(i), 0);
        queueUpdate(0);
    }
}
