// The advanced search pane: the form, the choice popups and the road of a search.
#include "panes/search/advanced/DockLeftRechAVPane.h"

#include <cstdlib>
#include <memory>
#include <new>
#include <string>

#include "app/data/ADataManager.h"
#include "app/frame/Frame1.h"
#include "app/lists/ASVEditFilter.h"
#include "app/popup/PopupTree.h"
#include "app/state/ASVLoSearchState.h"
#include "app/state/AppState.h"
#include "base/procedural/AError.h"
#include "framework/app/AApp.h"
#include "framework/clusters/AStaticItem.h"
#include "framework/components/AKindSet.h"
#include "framework/components/ALayoutLoader.h"
#include "framework/controls/AEditBox.h"
#include "panes/search/advanced/AVQuestion.h"
#include "panes/search/advanced/LR_DVDAV.h"
#include "panes/search/left/ASearchPanesApp.h"
#include "search/facade/ALoVect.h"
#include "search/facade/ASearchBase.h"
#include "search/facade/ASearchRequest.h"

SV_IMPLEMENT_CLASS(AAVExecSearchCmd, 0, ACommand)
SV_IMPLEMENT_CLASS(DockLeftRechAVPane, 0, ALayoutPane)

namespace {

const char kFile[] = "DockLeftRechAVPane";

const char kAllSources[] = "Dans toute l'encyclop\xE9" "die";
const char kAllThemes[] = "Dans tous les th\xE8mes";

template <class T>
T* Child(AItemCluster* pane, int16_t id) {
    AClusterItem* item = pane->findItem(id, false);
    return item ? static_cast<T*>(item->castTo(&T::classRecord)) : nullptr;
}

int MessageBox(const char* text, unsigned style) {
    AApp* app = AApp::current();
    return app ? app->messageBox(text, "", style, nullptr) : 0;
}

// The buttons that insert an operator into the field (kFlexion sits among them but toggles).
bool IsOperatorButton(int16_t id) {
    using P = DockLeftRechAVPane;
    return (id >= P::kEt && id <= P::kBrackets) || id == P::kNear;
}

}  // namespace

APopupTreeCallBackRechAVSource::APopupTreeCallBackRechAVSource(DockLeftRechAVPane* pane)
    : APopupTreeCallBack(pane), pane_(pane) {}

void APopupTreeCallBackRechAVSource::itemChosen(const char* value, const char* name, int16_t line, PopupTree* top) {
    (void)line, (void)top;
    pane_->runSearch(value ? value : "", name ? name : "");
}

APopupTreeCallBackRechAVTheme::APopupTreeCallBackRechAVTheme(DockLeftRechAVPane* pane)
    : APopupTreeCallBack(pane), pane_(pane) {}

void APopupTreeCallBackRechAVTheme::itemChosen(const char* value, const char* name, int16_t line, PopupTree* top) {
    (void)line, (void)top;
    pane_->runSearchIn(value ? value : "", name ? name : "");
}

AAVExecSearchCmd::AAVExecSearchCmd(int16_t action, DockLeftRechAVPane* pane)
    : ACommand(pane, 0, 1), action_(action), pane_(pane) {}

long AAVExecSearchCmd::doIt() {
    if (pane_)
        pane_->execSearch(action_);
    return 0;
}

DockLeftRechAVPane::DockLeftRechAVPane() : sourceLabel(kAllSources), sourceNumber("0"), themeLabel(kAllThemes) {
    textKey = kTextKey;
}

DockLeftRechAVPane::~DockLeftRechAVPane() {
    ReleaseAndNull(sourcesCallBack);
    ReleaseAndNull(themesCallBack);
}

void DockLeftRechAVPane::readFrom(AMemoryStream& stream) {
    ALayoutPane::readFrom(stream);
    ALayoutLoader::readEndMark(stream, kFile, 40);
}

void DockLeftRechAVPane::attachItems() {
    ALayoutPane::attachItems();
    CheckAlloc(getFrame(), kFile, __LINE__);
    loadChoiceTexts();
}

void DockLeftRechAVPane::setUpItems() {
    ALayoutPane::setUpItems();
    ReleaseAndNull(sourcesCallBack);
    ReleaseAndNull(themesCallBack);
    sourcesCallBack = CheckAlloc(new (std::nothrow) APopupTreeCallBackRechAVSource(this), kFile, __LINE__);
    sourcesCallBack->addRef();
    themesCallBack = CheckAlloc(new (std::nothrow) APopupTreeCallBackRechAVTheme(this), kFile, __LINE__);
    themesCallBack->addRef();
    getClients()->margin = 225;
    getClients()->spacing = 10;
    resultList = CheckAlloc(Child<LR_DVDAV>(this, kList), kFile, __LINE__);
    queryField = CheckAlloc(Child<AEditBox>(this, kField), kFile, __LINE__);
    queryField->setMaxLength(128);
    queryField->addLink(this);
    queryField->setFilter(CheckAlloc(new (std::nothrow) ASVEditFilter(queryField), kFile, __LINE__));
    sourceLabelItem = CheckAlloc(Child<AStaticText>(this, kSourceLabel), kFile, __LINE__);
    themeLabelItem = CheckAlloc(Child<AStaticText>(this, kThemeLabel), kFile, __LINE__);
    sourceLabelItem->setTransparentFlag(true);
    themeLabelItem->setTransparentFlag(true);
    flexion = 0;
    setItemHelp(kFlexion, 6007, 42, 0);
    setItemHelp(kGuide, 6007, 56, 0);
}

void DockLeftRechAVPane::detachItems() {
    ReleaseAndNull(sourcesCallBack);
    ReleaseAndNull(themesCallBack);
    freeChoiceTexts();
    queryField = nullptr;
    sourceLabelItem = themeLabelItem = nullptr;
    resultList = nullptr;
    ALayoutPane::detachItems();
}

void DockLeftRechAVPane::bindActions() {
    ALayoutPane::bindActions();
    for (int16_t id : {kField, kSources, kThemes, kSearch, kGuide, kEt, kOu, kSauf, kAny, kStar, kQuotes, kBrackets,
                       kNear, kFlexion})
        addAction(id, this, id, nullptr);
}

ACommand* DockLeftRechAVPane::doCommand(int16_t id, long argument) {
    if (IsOperatorButton(id)) {
        insertOperator(id);
        return noChangeCommand();
    }
    switch (id) {
    case kField:
    case kSearch:
        runSearchCommand();
        return noChangeCommand();
    case kSources:
    case kThemes:
        openChoicePopup(id, findItem(id, false));
        return noChangeCommand();
    case kFlexion:
        flexion = static_cast<int16_t>(1 - flexion);
        invalidate();
        return noChangeCommand();
    case kGuide:
        getFrame()->goToListView();
        return noChangeCommand();
    default:
        return ALayoutPane::doCommand(id, argument);
    }
}

int16_t DockLeftRechAVPane::commandStatus(int16_t id, long argument) {
    if (IsOperatorButton(id))
        return 1;
    switch (id) {
    case kField:
    case kSearch: return 1;
    case kSources: return atol(sourceNumber.c_str()) != 0 ? 5 : 1;
    case kThemes: return themeValue.empty() ? 1 : 5;
    case kFlexion: return flexion == 1 ? 5 : 1;
    case kGuide: {
        AppState* state = currentState();
        ADocState* doc = docState();
        long docNo = state ? state->getDocNo() : -1;
        return doc && doc->fDocType == 1 && docNo < 0 ? 2 : 1;
    }
    default: return ALayoutPane::commandStatus(id, argument);
    }
}

void DockLeftRechAVPane::linkChanged(AComponent* source, const AKindSet& kinds) {
    ALayoutPane::linkChanged(source, kinds);
    if (queryField && source == queryField && kinds.contains(1))
        queryField->selectAll();
}

int16_t DockLeftRechAVPane::isPaneWanted() {
    AppState* state = currentState();
    ALeftState* left = leftState();
    return state && left && state->getScreenMode() == 1 && left->fMode == 2 ? 1 : 0;
}

void DockLeftRechAVPane::saveState(ABaseState* part) {
    if (part && !getPaneText().empty())
        part->setUserTxtInfo(kTextKey, getPaneText().c_str());
}

void DockLeftRechAVPane::arrangeClients() {
    ALayoutClientList* list = getClients();
    if (!list)
        ThrowAssert(kFile, __LINE__);
    list->clear();
    list->addClient(resultList->getClient(), 1, 1, nullptr);
    list->layout();
}

void DockLeftRechAVPane::showLabels() {
    sourceLabelItem->setText(sourceLabel.c_str());
    themeLabelItem->setText(themeLabel.c_str());
}

void DockLeftRechAVPane::updatePane() {
    showResultList();
    ALeftState* left = leftState();
    if (left && (left->fHisto || left->fClone))
        setPaneText(left->getUserTxtInfo(kTextKey).c_str());
    AppState* state = currentState();
    ASVLoSearchState* search = state ? state->getSearchState() : nullptr;
    if (search) {
        queryField->setText(search->getText(5).c_str());
        sourceLabel = search->getText(7);
        sourceNumber = search->getText(8);
        themeLabel = search->getText(9);
        themeValue = search->getText(10);
    } else {
        queryField->setText("");
        sourceNumber = AString("0");
        sourceLabel = AString(kAllSources);
        themeValue = AString();
        themeLabel = AString(kAllThemes);
    }
    showLabels();
    ALayoutPane::updatePane();
    invalidate();
    queryField->becomeTarget();
}

void DockLeftRechAVPane::saveSearchTexts(ASVLoSearchState* search) {
    search->setText(5, queryField ? queryField->getText().c_str() : "");
    search->setText(6, query.c_str());
    search->setText(7, sourceLabel.c_str());
    search->setText(8, sourceNumber.c_str());
    search->setText(9, themeLabel.c_str());
    search->setText(10, themeValue.c_str());
    search->setText(11, flexion ? "1" : "0");
}

void DockLeftRechAVPane::insertOperator(int16_t id) {
    const char* op = nullptr;
    switch (id) {
    case kEt: op = " ET "; break;
    case kOu: op = " OU "; break;
    case kSauf: op = " SAUF "; break;
    case kAny: op = "?"; break;
    case kStar: op = "*"; break;
    case kQuotes: op = "\" \""; break;
    case kBrackets: op = "( )"; break;
    case kNear: op = " P/"; break;
    default: return;
    }
    queryField->replaceSelection(op);
    if (id == kBrackets) {
        // The caret goes back before the closing parenthesis, as a left arrow would put it.
        int32_t start = 0, end = 0;
        queryField->getSelection(start, end);
        if (end > 0)
            queryField->setSelection(end - 1, end - 1);
    }
}

void DockLeftRechAVPane::loadChoiceTexts() {
    // An installation without the texts gives empty popups rather than no reader.
    ADataManager* data = gDataManager;
    ASearchBase* common = data && data->getBaseCount() > 0 ? data->getBase(0) : nullptr;
    ASearchBase* glb = data && data->getBaseCount() > 1 ? data->getBase(1) : nullptr;
    choiceTexts.setString(kSources, common ? common->getText(2, 0, 0).c_str() : "");
    choiceTexts.setString(kThemes, glb ? glb->getText(10, 0, 0).c_str() : "");
}

void DockLeftRechAVPane::freeChoiceTexts() {
    choiceTexts.removeAll();
}

void DockLeftRechAVPane::openChoicePopup(int16_t id, AComponent* button) {
    PopupTree* popup = CheckAlloc(PopupTree::load(getParent(), "PopupTree"), kFile, __LINE__);
    PopupTreeParams params;
    getFrame()->makeMenuParams(params, 1);
    popup->setParams(params);
    APopupTreeCallBack* callBack = id == kSources ? static_cast<APopupTreeCallBack*>(sourcesCallBack) : themesCallBack;
    popup->setUp(this, callBack, "PopupTree", 0x2146, 0);
    popup->fillFromCallBack(choiceTexts.getString(id).c_str());
    popup->setItemFlag(0, 1);
    auto* shown = button ? static_cast<ADisplayComponent*>(button->castTo(&ADisplayComponent::classRecord)) : nullptr;
    popup->openAt(shown ? shown->getScreenBounds() : getScreenBounds());
}

void DockLeftRechAVPane::runSearchCommand() {
    // perform runs the command at once and leaves it to its maker.
    std::unique_ptr<AAVExecSearchCmd> command(CheckAlloc(new (std::nothrow) AAVExecSearchCmd(1, this), kFile, __LINE__));
    perform(command.get());
}

void DockLeftRechAVPane::runSearch(const char* label, const char* number) {
    sourceNumber = AString(number);
    sourceLabel = AString(label);
    sourceLabelItem->setText(label);
    runSearchCommand();
}

void DockLeftRechAVPane::runSearchIn(const char* label, const char* value) {
    themeValue = atol(value) == -1 ? AString() : AString(value);
    themeLabel = AString(label);
    themeLabelItem->setText(label);
    runSearchCommand();
}

void DockLeftRechAVPane::resetResultList() {
    ALayoutClient* client = resultList->getClient();
    if (!client || !client->shown)
        return;
    resultList->resetState(0);
    resultList->updatePane();
}

ASearchRequest* DockLeftRechAVPane::buildAndRunQuery(int16_t channelIndex, int16_t option, int16_t flexionOn,
                                                     const char* queryText, const char* fieldOption) {
    ADataManager* data = gDataManager;
    ASearchChannel* channel = data ? data->getSearchChannel(channelIndex) : nullptr;
    if (!channel)
        ThrowAssert(kFile, __LINE__);
    // An installation whose base has no advanced search form finds nothing.
    ASearchRequest* request = StartSearchRequest(data, channel, channelIndex, option, option);
    if (!request)
        return nullptr;
    Frame1* frame = getFrame();
    frame->showStatusText("  Recherche en cours ...");
    frame->showProgress();
    ASearchPanesApp& app = ASearchPanesApp::current();
    AVQuestionInput in;
    in.fieldCount = request->getItemCount();
    in.flexion = flexionOn;
    in.text = app.expandLigatures(queryText).c_str();
    in.filteredText = app.filterQuery(in.text.c_str()).c_str();
    in.fieldOption = fieldOption ? fieldOption : "";
    in.sourceNumber = atol(sourceNumber.c_str());
    in.themeValue = themeValue.c_str();
    for (const AVQuestionStep& step : ComposeAVQuestion(in)) {
        switch (step.kind) {
        case AVQuestionStep::kSlot: channel->setQuestion(step.first, step.text.c_str()); break;
        case AVQuestionStep::kFieldText: request->setFieldText(step.first, step.text.c_str()); break;
        case AVQuestionStep::kFieldOption: request->setFieldOption(step.first, step.last, 1); break;
        }
    }
    channel->execute();
    return request;
}

void DockLeftRechAVPane::execSearch(int16_t action) {
    query = queryField->getText();
    if (query.empty())
        return;
    ASearchPanesApp& app = ASearchPanesApp::current();
    if (app.isStopWordQuery(query.c_str())) {
        MessageBox(app.configMessage("DLG_STOPWORD").c_str(), 0x20);
        return;
    }
    Frame1* frame = getFrame();
    auto run = [&](const char* words, long* count) {
        AString option = app.proximityOption();
        ASearchRequest* request = buildAndRunQuery(kChannel, 1, flexion, words, option.c_str());
        long n = request ? request->getResultCount(0) : 0;
        *count = n < 0 ? 0 : n;
        return request;
    };
    long count = 0;
    ASearchRequest* request = run(query.c_str(), &count);
    if (request && count == 0) {
        AString chosen = app.proposeSoundAlike(query.c_str());
        if (!chosen.empty()) {
            query = chosen;
            request = run(chosen.c_str(), &count);
        }
    }
    if (count <= 0 || !request) {
        endProgress();
        if (action != 0)
            MessageBox("Recherche infructueuse", 0);
        return;
    }
    auto* scored = CheckAlloc(new (std::nothrow) ALoScore(*request, 1), kFile, __LINE__);
    auto* search = CheckAlloc(new (std::nothrow) ASVLoSearchState(), kFile, __LINE__);
    search->setTextResults(scored);
    search->setQuery(query.c_str());
    saveSearchTexts(search);
    AppState* cur = currentState();
    const int16_t locked = cur && cur->hasDocCadenas() ? 1 : 0;
    if (setPaneText("-2:-2"))
        resetResultList();
    AppState* next = frame->makeNavState(0, locked, locked, 0, 2, 1, -1);
    next->setSearchState(search);
    if (locked)
        next->setDocNo(cur->getDocNo());
    if (!cur || !cur->getSearchState())
        frame->updatePanes();
    goToState(next);
    endProgress();
}

void DockLeftRechAVPane::endProgress() {
    // The progress indicator goes without its text: "Recherche en cours" would stay shown.
    Frame1* frame = getFrame();
    frame->hideProgress();
    frame->showStatusText("");
}
