// The article view: the article road, its links, notes, hits and saved position.
#include "panes/content/article/DocKycfPane.h"

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <new>
#include <string>

#include "app/frame/Frame1.h"
#include "app/lists/AListApp.h"
#include "app/lists/ASVDocBitmapSupplier.h"
#include "app/prefs/APrefManager.h"
#include "app/state/ABaseState.h"
#include "app/state/ASVLoSearchState.h"
#include "app/state/AppState.h"
#include "base/object/AFilteredFile.h"
#include "base/procedural/AError.h"
#include "base/procedural/AOutStream.h"
#include "docengine/hilite/AHighlighter.h"
#include "docengine/hilite/AHiliteSet.h"
#include "docengine/model/ADocModel.h"
#include "docengine/model/ALaidOutDocModel.h"
#include "docengine/render/AHitNavigator.h"
#include "docengine/render/ARendererViews.h"
#include "docengine/render/ATextRenderer.h"
#include "framework/app/AApp.h"
#include "framework/app/ACursor.h"
#include "framework/clusters/AStaticItem.h"
#include "framework/components/AActionTable.h"
#include "framework/components/ALayoutLoader.h"
#include "panes/content/article/AContentApp.h"
#include "panes/content/article/ArticleLink.h"
#include "panes/content/article/DockLCRPane.h"
#include "panes/docks/workspace/ASVMarkerCallBack.h"
#include "search/facade/ASearchBase.h"
#include "search/facade/KyTextMatch.h"

SV_IMPLEMENT_CLASS(DocKycfPane, 0, SearchPane)

namespace {

const int16_t kHiliteBase = 1, kFigureBase = 5;
// The navigator of a new article: derived from the model's highlighter,
// stepping from the selection, selecting the hit it shows.
const uint16_t kNavigatorFlags = 0x121;

template <class T>
T* ItemOf(AItemCluster* cluster, int16_t id, long line) {
    AClusterItem* item = cluster->findItem(id, false);
    return CheckAlloc(item ? static_cast<T*>(item->castTo(&T::classRecord)) : nullptr, "DocKycfPane", line);
}

void Log(const char* what, long docNo, const AError* error) {
    AOutStream& log = CurrentErrorStream();
    log.writeString("#Article ").writeString(std::to_string(docNo).c_str()).writeString(": ").writeString(what);
    if (error)
        log.writeString(" (").writeString(error->className()).writeString(")");
    log.writeString("\n");
}

}  // namespace

const char* HighlightSeparators() {
    // The document model's word separators (the typographic quotes and
    // apostrophe among them) and the search's own (no-break space, hyphen).
    static const std::string all = [] {
        std::string s = ADocModel::kWordSeparators;
        for (const char* p = kWordSeparators; *p; ++p)
            if (s.find(*p) == std::string::npos)
                s += *p;
        return s;
    }();
    return all.c_str();
}

AHighlighter* NewSearchHighlighter(ASVLoSearchState* search, ASearchBase* hilite) {
    AString words = search ? search->getHighlightWords() : AString();
    if (words.empty() || !hilite)
        return nullptr;
    // The parser folds the article's characters through the base's filter
    // before it asks the set: the words are folded the same way, line by line.
    AFilter filter = hilite->getFilterCopy();
    std::string folded;
    std::string all = words.c_str();
    for (size_t start = 0; start <= all.size();) {
        size_t end = std::min(all.find('\n', start), all.size());
        if (!folded.empty())
            folded += '\n';
        folded += filter.apply(all.c_str() + start, static_cast<long>(end - start)).c_str();
        start = end + 1;
    }
    ARefHold<AHiliteSet> set(CheckAlloc(
        new (std::nothrow) AHiliteSet(folded.c_str(), HighlightSeparators(), filter), "DocKycfPane", 140));
    return CheckAlloc(new (std::nothrow) AHighlighter(set.get(), nullptr), "DocKycfPane", 142);
}

long DocKycfPane::readFontDeltaMax(const char* text) {
    char* end = nullptr;
    long value = text ? std::strtol(text, &end, 10) : 0;
    return end != text && value > 0 ? value : 2;
}

void DocPrefCallback::prefsChanged(APrefManager& manager) {
    if (*pane_)
        (*pane_)->applyPreferences(manager);
}

DocKycfPane::~DocKycfPane() {
    if (prefSlot_)
        *prefSlot_ = nullptr;
    ReleaseAndNull(bitmapSupplier_);
}

void DocKycfPane::readFrom(AMemoryStream& stream) {
    SearchPane::readFrom(stream);
    ALayoutLoader::readEndMark(stream, "DocKycfPane", 60);
}

void DocKycfPane::attachItems() {
    SearchPane::attachItems();
    getFrame()->setArticlePane(this);
    switcher_ = DockLCRPane::linkPane(this, DockLCRPane::kDocKycf, "DocKycfPane", 82);
}

void DocKycfPane::setUpItems() {
    SearchPane::setUpItems();
    AContentApp& app = AContentApp::current();
    articleView_ = ItemOf<ARendererView>(this, kArticleView, 100);
    articlePart_ = ItemOf<AStaticItem>(this, kArticlePart, 101);
    iconImages_[0] = ItemOf<AStaticImage>(this, kIconType4, 102);
    iconImages_[1] = ItemOf<AStaticImage>(this, kIconType3, 103);
    outlineView_ = ItemOf<ARendererView>(this, kOutlineView, 104);
    outlinePart_ = ItemOf<AStaticItem>(this, kOutlinePart, 105);
    articleView_->addLink(this);
    articleView_->setTransparentFlag(true);

    ASearchBase* hilite = app.getBase(kHiliteBase);
    if (!hilite)
        ThrowAssert("DocKycfPane", 113);
    bitmapSupplier_ = CheckAlloc(new (std::nothrow) ASVDocBitmapSupplier(""), "DocKycfPane", 114);
    bitmapSupplier_->addRef();
    bitmapSupplier_->addSource("M", hilite, 1, 9);
    ASearchBase* figures = app.getBase(kFigureBase);
    if (!figures)
        ThrowAssert("DocKycfPane", 119);
    bitmapSupplier_->addSource("F", figures, 5, 5);
    AAppTextRenderer* renderer = app.createTextRenderer(articleView_, bitmapSupplier_, 0);
    APrefManager* preferences = app.prefManager();
    if (preferences && renderer) {
        if (!prefSlot_) {
            prefSlot_ = std::make_shared<DocKycfPane*>(this);
            preferences->addCallBack(CheckAlloc(new (std::nothrow) DocPrefCallback(prefSlot_), "DocKycfPane", 108));
        }
        applyPreferences(*preferences);
    }
    if (renderer)
        renderer->options = static_cast<uint16_t>((renderer->options | 0x40) & ~0x4);
    app.createStyledListRenderer(outlineView_, 0, 7);
    outlineView_->addLink(this);
    outlinePart_->setVisible(false);
    hasHits_ = 0;
    skipSync_ = 0;
    fontDeltaMax_ = readFontDeltaMax(app.configString("FONT_DELTA_SIZE").c_str());
    const int16_t tips[][2] = {{1237, 10}, {1238, 11}, {1239, 12}, {kOutlineFold, 21}, {kOutlineUnfold, 22}};
    for (const auto& tip : tips)
        setItemHelp(tip[0], 6007, tip[1], 0);
}

void DocKycfPane::detachItems() {
    if (AAppTextRenderer* renderer = articleRenderer()) {
        if (ANoteManager* notes = AContentApp::current().notes())
            ForgetNotes(*notes, *renderer);
    }
    SearchPane::detachItems();
    ReleaseAndNull(bitmapSupplier_);
}

void DocKycfPane::bindActions() {
    SearchPane::bindActions();
    addAction(kArticleView, this, kArticleView, nullptr);
    addAction(kOutlineView, this, kOutlineView, nullptr);
    addActionRange(kSplitFirst, this, kSplitFirst, kSplitLast, nullptr);
    addAction(kOutlineFold, this, kOutlineFold, nullptr);
    addAction(kOutlineUnfold, this, kOutlineUnfold, nullptr);
}

// The button's index in the split range (0..2), or -1.
static int16_t SplitIndex(long argument) {
    AActionRecord* record = ActionRecordOf(argument);
    return record ? record->f3 : -1;
}

ACommand* DocKycfPane::doCommand(int16_t id, long argument) {
    switch (id) {
    case kArticleView: goToDocument(); break;
    case kOutlineView: outlineClicked(); break;
    case kSplitFirst: setSplitMode(SplitIndex(argument)); break;
    case kOutlineFold:
    case kOutlineUnfold: {
        ARenderer* outline = outlineRenderer();
        if (auto* model = outline ? dynamic_cast<ALaidOutDocModel*>(outline->model()) : nullptr) {
            AViewMeasureLock measuring(outlineView_);
            id == kOutlineFold ? model->collapseAll(0) : model->expandAll(0);
            outline->relayoutFrom(0, true);
        }
        break;
    }
    default: return SearchPane::doCommand(id, argument);
    }
    return noChangeCommand();
}

int16_t DocKycfPane::commandStatus(int16_t id, long argument) {
    switch (id) {
    case kArticleView:
    case kOutlineView:
    case kOutlineFold:
    case kOutlineUnfold: return 1;
    case kSplitFirst: return SplitIndex(argument) == splitMode_ ? 5 : 1;
    default: return SearchPane::commandStatus(id, argument);
    }
}

AAppTextRenderer* DocKycfPane::articleRenderer() const {
    ARenderer* renderer = articleView_ ? articleView_->renderer() : nullptr;
    return dynamic_cast<AAppTextRenderer*>(renderer);
}

ARenderer* DocKycfPane::getHitView() {
    return articleRenderer();
}

int16_t DocKycfPane::isPaneWanted() {
    ADocState* doc = docState();
    return doc && doc->fDocType == 0;
}

// ---- The article road -------------------------------------------------------

void DocKycfPane::updatePane() {
    AppState* state = currentState();
    ADocState* doc = docState();
    AContentApp& app = AContentApp::current();
    ASVLoSearchState* search = state ? state->getSearchState() : nullptr;
    long docNo = state ? state->getDocNo() : -1;
    if (doc && doc->fUserInfo.slot(kSplitKey) > 0)
        splitMode_ = static_cast<int16_t>(std::min(2L, doc->fUserInfo.slot(kSplitKey) - 1));
    applySplitMode();
    for (AStaticImage* image : iconImages_)
        image->setVisible(false);
    bool shown = false;
    // Laying out, finding the first hit and saving the position measure text
    // outside painting.
    AViewMeasureLock measuring(articleView_);
    if (docNo >= 0 && app.isTextDoc(docNo) && articleRenderer()) {
        hasHits_ = 0;
        ARefHold<AHighlighter> held(NewSearchHighlighter(search, app.getBase(kHiliteBase)));
        // Before the layout, which takes them: the article is laid out once.
        if (held.get())
            applyViewStyles(doc ? static_cast<int16_t>(doc->fUserInfo.slot(kHiliteOffKey)) : 0);
        shown = showArticle(docNo, held.get());
        if (shown) {
            positionArticle(held.get());
            if (doc)
                loadOutline(!doc->fNew);
            int16_t icon = app.getDocIconType(docNo);
            iconImages_[0]->setVisible(icon == 4);
            iconImages_[1]->setVisible(icon == 3);
        }
    }
    if (!shown)
        showEmpty();
    if (Frame1* frame = getFrame()) {
        frame->setDocumentView(articleView_);
        frame->setTextView(articleView_, 1);
    }
    announce();
    if (doc)
        doc->clearFlags();
}

bool DocKycfPane::showArticle(long docNo, AHighlighter* highlighter) {
    AContentApp& app = AContentApp::current();
    AAppTextRenderer* renderer = articleRenderer();
    ADocRefInfo info = app.getDocRefInfo(docNo);
    ASearchBase* base = app.getBase(info.fDocBase);
    if (!base) {
        Log("base absente", docNo, nullptr);
        return false;
    }
    try {
        bitmapSupplier_->startArticle(docNo);
        AString text;
        if (base->readRecord(info.fDocBaseNo, info.fRecord, 0, &text))
            renderer->setLaidOutTextModel(text, nullptr);
        else
            renderer->setLaidOutStreamModel(base->readToStream(info.fDocBaseNo, info.fRecord, 0), nullptr);
        auto* model = dynamic_cast<ALaidOutDocModel*>(renderer->model());
        if (!model) {
            Log("mod\xE8le absent", docNo, nullptr);
            return false;
        }
        if (app.getDocIconType(docNo) == 26 || !mediaHidden_)
            model->expandAll(0);
        else
            model->collapseAll(0);
        renderer->enableTables('#');
        getFrame()->setFindPane(this);
        // The main window's print and export commands act on the article shown.
        getFrame()->setActivePrintPane(this);
        getFrame()->setActiveExportPane(this);
        // The highlighter and the notes each tell the model's views to lay
        // out and count hits again: told once, after both, and not to the
        // last article's navigator, which would count them for nothing.
        renderer->setHitNavigator(nullptr);
        model->beginChange();
        try {
            if (highlighter)
                model->setHighlighter(highlighter);
            showNotes(docNo);
        } catch (...) {
            model->endChange();
            throw;
        }
        model->endChange();
        // The navigator follows the search's highlighter; the find-in-page
        // set of SearchPane takes the model only when the reader finds a word.
        renderer->setHitNavigator(
            CheckAlloc(new (std::nothrow) AModelHitNavigator(renderer, kNavigatorFlags), "DocKycfPane", 170));
        renderer->menuCallBack = AContentApp::current().selContextMenu(true);
        renderer->layOut();
        if (highlighter) {
            highlighter->scanAll(model);
            hasHits_ = highlighter->hitCount() > 0;
        }
    } catch (const AError& error) {
        Log("illisible", docNo, &error);
        return false;
    }
    return true;
}

void DocKycfPane::positionArticle(AHighlighter* highlighter) {
    AAppTextRenderer* renderer = articleRenderer();
    ADocState* doc = docState();
    if (!doc)
        return;
    if (doc->fNew) {
        AHitNavigator* navigator = renderer->hitNavigator();
        bool shown = false;
        // A new state that names a position (a "C" link) opens there rather than at a hit.
        if (Pix asked = doc->fUserInfo.seek(kItemKey)) {
            long last = std::max(0L, renderer->model()->getPositionCount() - 1);
            renderer->scrollToPosition(std::min(std::max(0L, doc->fUserInfo.numberOf(asked)), last));
            shown = true;
        } else if (hasHits_ && highlighter && navigator && doc->fUserInfo.slot(kHiliteOffKey) == 0)
            shown = navigator->canShowCurrentHit() ? navigator->showCurrentHit() : navigator->showFirstHit();
        if (!shown)
            renderer->scrollToPosition(0);
        saveState(doc);
        return;
    }
    // A saved position beyond the article's end (a shorter record since) is its last line.
    long last = std::max(0L, renderer->model()->getPositionCount() - 1);
    long& top = doc->fUserInfo.slot(kTopKey);
    top = std::min(top, last);
    AListApp::current().restoreListPosition(renderer, doc, kTopKey, kSelectedKey, 0, 1);
}

void DocKycfPane::showEmpty() {
    hasHits_ = 0;
    if (AAppTextRenderer* renderer = articleRenderer()) {
        renderer->setModel(nullptr);
        renderer->layOut();
    }
    if (AppState* state = currentState())
        state->fTemporaire = 1;
}

void DocKycfPane::announce() {
    queueUpdate(0);
    if (switcher_) {
        for (DockLCRPane::Link link : {DockLCRPane::kDockTopKycf, DockLCRPane::kDockTopLeftImg}) {
            if (SVPane* pane = switcher_->link(link))
                pane->queueUpdate(0);
        }
        if (SVPane* left = switcher_->link(DockLCRPane::kDockLeft))
            left->notifyChangeAll();
    }
}

void DocKycfPane::saveState(ABaseState* part) {
    SearchPane::saveState(part);
    AAppTextRenderer* renderer = articleRenderer();
    if (!renderer || !part || !renderer->model())
        return;
    AListApp::current().saveListPosition(renderer, part, kTopKey, kSelectedKey);
    part->fUserInfo.slot(kItemKey) = renderer->currentItem();
}

void DocKycfPane::showNotes(long docNo) {
    ANoteManager* notes = AContentApp::current().notes();
    AAppTextRenderer* renderer = articleRenderer();
    if (notes && renderer)
        ShowNotes(*notes, *renderer, docNo, this);
}

void DocKycfPane::addNote() {
    if (AAppTextRenderer* renderer = articleRenderer())
        renderer->noteCommand(-1);
}

bool DocKycfPane::answersEditCommands() {
    AAppTextRenderer* renderer = articleRenderer();
    return renderer && renderer->model();
}

void DocKycfPane::goToPosition(long position) {
    if (AAppTextRenderer* renderer = articleRenderer())
        renderer->scrollToPosition(position);
}

// ---- Links -------------------------------------------------------------------

void DocKycfPane::goToDocument() {
    AAppTextRenderer* renderer = articleRenderer();
    if (renderer && renderer->getHitKind() == 3)
        followLink(renderer->getHitName().c_str());
}

void DocKycfPane::followLink(const char* target) {
    ArticleLink link = ArticleLink::parse(target);
    AContentApp& app = AContentApp::current();
    AppState* state = currentState();
    switch (link.kind) {
    case ArticleLink::kSearch: app.openExtendedSearch(link.text.c_str()); break;
    case ArticleLink::kPosition: app.showDocumentAt(link.number); break;
    case ArticleLink::kPlay: app.playDocument(link.number); break;
    case ArticleLink::kAuthor: app.openAuthor(link.number, state ? state->getDocNo() : -1); break;
    case ArticleLink::kDocument: goToLinkedDocument(link); break;
    default: break;
    }
}

void DocKycfPane::goToLinkedDocument(const ArticleLink& link) {
    AContentApp& app = AContentApp::current();
    AppState* cur = currentState();
    long n = link.number;
    if (app.docIsMedia(n)) {
        long frame = link.frame;
        // A frame the document does not have opens its first.
        if (frame >= app.getDocRefInfo(n).fNbFrame)
            frame = 0;
        app.openMediaWindow(n, static_cast<int16_t>(frame), 0);
        return;
    }
    if (cur && n == cur->getDocNo())
        return;
    ADocState* doc = cur ? cur->getDocState() : nullptr;
    int16_t kind = app.getDocKind(n, doc ? doc->fDocType : 0);
    AppState* state = getFrame()->makeNavState(1, 0, cur && cur->hasRightCadenas() ? 1 : 0, 1, -1, kind, -1);
    if (state->getDocState() && state->getDocState()->fDocType == 2 && cur)
        state->setUserInfo(kLinkedFromKey, cur->getDocNo());
    state->setDocNo(n);
    state->fLink = 1;
    goToState(state);
}

// ---- Hits --------------------------------------------------------------------

int16_t DocKycfPane::hasNextHit() {
    AAppTextRenderer* renderer = articleRenderer();
    AHitNavigator* navigator = renderer ? renderer->hitNavigator() : nullptr;
    return hasHits_ && navigator && navigator->hasNextHit();
}

int16_t DocKycfPane::hasPreviousHit() {
    AAppTextRenderer* renderer = articleRenderer();
    AHitNavigator* navigator = renderer ? renderer->hitNavigator() : nullptr;
    return hasHits_ && navigator && navigator->hasPreviousHit();
}

ACommand* DocKycfPane::stepHit(bool next) {
    AApp* app = AApp::current();
    if (!(next ? hasNextHit() : hasPreviousHit())) {
        if (app)
            app->beep(0);
        return noChangeCommand();
    }
    std::unique_ptr<AOwnerCursorGuard> wait;
    if (app)
        wait.reset(new (std::nothrow) AOwnerCursorGuard(app, 0x101, 7));
    AHitNavigator* navigator = articleRenderer()->hitNavigator();
    if (next)
        navigator->showNextHit();
    else
        navigator->showPreviousHit();
    queueUpdate(0);
    getFrame()->queueUpdate(0);
    return noChangeCommand();
}

ACommand* DocKycfPane::goToNextHit() {
    return stepHit(true);
}

ACommand* DocKycfPane::goToPreviousHit() {
    return stepHit(false);
}
