// The application's full-text search, through which the quick search runs,
// the query history, and the application's side of the top dock.
#include <cctype>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "app/frame/Frame1.h"
#include "reader/TheApp.h"
#include "app/state/ASVLoSearchState.h"
#include "app/state/ASiReqSearch.h"
#include "app/state/AppState.h"
#include "base/procedural/AError.h"
#include "docengine/render/ATextRenderer.h"
#include "panes/docks/top/ATopDockApp.h"
#include "search/engine/request/KyRequest.h"
#include "search/facade/ALoFile.h"
#include "search/facade/ALoVect.h"

namespace {

// The full-text base (TEXT) and the keyword base (SVX) of the base table: the
// refinement list reads the keywords the index search finds from SVX.
const short kFullTextChannel = 5;
const short kIndexChannel = 3;
const char* const kOperators[] = {"ET", "OU", "SAUF", "PRES", "CHAMP", "PARAG"};

// The words of a query, operators left out.
std::vector<std::string> QueryWords(const char* query) {
    std::vector<std::string> words;
    std::string word;
    auto flush = [&] {
        bool isOperator = false;
        for (const char* op : kOperators)
            isOperator = isOperator || word == op;
        if (!word.empty() && !isOperator)
            words.push_back(word);
        word.clear();
    };
    for (const char* p = query; *p; ++p) {
        auto c = static_cast<unsigned char>(*p);
        if (std::isalnum(c) || c >= 0xC0)
            word += static_cast<char>(c);
        else
            flush();
    }
    flush();
    return words;
}

class TheAppTopDock : public ATopDockApp {
public:
    explicit TheAppTopDock(TheApp& app) : app_(app) {}
    ASVLoSearchState* runFullTextSearch(int16_t offerOnline, const char* query, int16_t noPhonetic) override {
        return app_.runFullTextSearch(offerOnline, query, noPhonetic);
    }
    ASiReqSearch& queryHistory() override { return app_.queryHistory(); }
    void setSearchStateTexts(ASearchState* search, long value, const char* text4, const char* text3) override {
        app_.setSearchStateTexts(search, value, text4, text3);
    }
    AString getDocTitle(long docNo) override {
        AppDataManager* data = app_.getDataManager();
        return data ? data->getDocTitle(docNo) : AString();
    }
    AString getSalleTitle(int16_t room, AppState* state) override {
        AppDataManager* data = app_.getDataManager();
        return data ? data->getSalleTitle(room, state) : AString();
    }
    int16_t getDocIconType(long docNo) override { return app_.getDocIconType(docNo); }
    bool isCurrentDocIconType26() override { return app_.isCurrentDocIconType26(); }
    ADocRefInfo getDocRefInfo(long docNo) override {
        AppDataManager* data = app_.getDataManager();
        return data ? data->getDocRefInfo(docNo) : ATopDockApp::getDocRefInfo(docNo);
    }
    void fillDocDates(AppState* state) override { app_.fillDocDates(state); }
    ARenderer* createTextRenderer(ARendererView* view, long option) override {
        AAppTextRenderer* renderer = app_.createTextRenderer(view, option);
        renderer->options = static_cast<uint16_t>(renderer->options & ~8u);
        return renderer;
    }
    AStyleSheet* getStyleSheet(long number) override { return app_.getStyleSheet(number); }
    ASearchBase* getBase(int16_t index) override {
        AppDataManager* data = app_.getDataManager();
        return data ? data->getBase(index) : nullptr;
    }
    AString escapeMarkup(const char* text) override { return TheApp::escapeMarkup(text, "/\\{}#"); }
    void openMediaWindow(long docNo, int16_t first, int16_t second) override {
        app_.openMediaWindow(docNo, first, second);
    }

private:
    TheApp& app_;
};

}  // namespace

void TheApp::installTopDock() {
    topDock_.reset(CheckAlloc(new (std::nothrow) TheAppTopDock(*this), "theapp", __LINE__));
    ATopDockApp::install(topDock_.get());
}

void TheApp::removeTopDock() {
    if (topDock_ && &ATopDockApp::current() == topDock_.get())
        ATopDockApp::install(nullptr);
    topDock_.reset();
}

ASiReqSearch& TheApp::queryHistory() {
    if (!queryHistory_)
        queryHistory_.reset(
            CheckAlloc(new (std::nothrow) ASiReqSearch(static_cast<int16_t>(maxSiReq_)), "theapp", __LINE__));
    return *queryHistory_;
}

bool TheApp::isStopWordQuery(const char* query) {
    for (const std::string& word : QueryWords(query ? query : "")) {
        std::string lower;
        for (char c : word)
            lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (!KY_CheckStopWord(lower.c_str()))
            return false;
    }
    return true;
}

long TheApp::runSearchRequest(short channelIndex, const char* text, ALo** out) {
    *out = nullptr;
    AString filtered = filterQuery(text);
    const char* query = filtered.c_str();
    AppDataManager* data = getDataManager();
    // A base the installation does not have is no channel to search.
    if (!data || channelIndex >= data->getBaseCount() || !data->getBase(channelIndex))
        return 0;
    // A base without the search form is not searched (the sample's GLB).
    if (!SelectSearchableChannel(data, channelIndex, 1, 1))
        return 0;
    ASearchChannel* channel = data->getSearchChannel(channelIndex);
    if (!channel || !channel->getRequest())
        return 0;
    channel->setQuestion(1, query);
    long count = channel->execute();
    if (count <= 0)
        return 0;
    ASearchRequest& request = *channel->getRequest();
    if (channelIndex == kFullTextChannel)
        *out = CheckAlloc(new (std::nothrow) ALoScore(request, 1), "theapp", __LINE__);
    else
        *out = CheckAlloc(new (std::nothrow) ALoFile(request), "theapp", __LINE__);
    return count;
}

AString TheApp::proximityOption() {
    APrefManager* prefs = getPrefManager();
    if (!prefs || prefs->getLong(APrefManager::kSpaceOperator) == 0)
        return AString();
    const long distance = prefs->getLong(APrefManager::kProximity);
    return distance > 0 ? AString(("W" + std::to_string(distance)).c_str()) : AString();
}

AString TheApp::proposeSoundAlike(const char* query) {
    if (!phon_ || phon_->search(query) <= 0)
        return AString();
    openPhonetiseur();
    return phon_->getChosenText();
}

ASVLoSearchState* TheApp::runFullTextSearch(int16_t offerOnline, const char* text, int16_t noPhonetic) {
    AString chosen;
    const char* query = text;
    if (!query || !*query)
        return nullptr;
    if (isStopWordQuery(query)) {
        messageBox(configMessage("DLG_STOPWORD").c_str(), "", 0x20, nullptr);
        return nullptr;
    }
    ALo* full = nullptr;
    ALo* index = nullptr;
    long hits = 0;
    try {
        hits += runSearchRequest(kFullTextChannel, query, &full);
    } catch (const AError&) {
        // An engine failure leaves the screen as it was and says so.
        ReleaseAndNull(full);
        ReleaseAndNull(index);
        messageBox("La recherche n'a pas pu aboutir.", "Attention", 0x40, nullptr);
        return nullptr;
    }
    // A base without an index search (the sample's) gives no keywords; the
    // full-text results stand.
    try {
        hits += runSearchRequest(kIndexChannel, query, &index);
    } catch (const AError&) {
        ReleaseAndNull(index);
    }
    if (hits <= 0 && !noPhonetic) {
        // Once: a proposal's own search does not propose again.
        chosen = proposeSoundAlike(query);
        if (!chosen.empty()) {
            ReleaseAndNull(full);
            ReleaseAndNull(index);
            return runFullTextSearch(offerOnline, chosen.c_str(), 1);
        }
    }
    if (Frame1* frame = getFrame())
        frame->hideProgress();
    if (hits <= 0) {
        ReleaseAndNull(full);
        ReleaseAndNull(index);
        if (!offerOnline)
            return nullptr;
        // Yes (6) on "search online?" with a usable service gives a state marked for it.
        if (messageBox(configMessage("DLG_NO_RES").c_str(), "", 0x24, nullptr) != 6 || !checkConnection(""))
            return nullptr;
        auto* online = CheckAlloc(new (std::nothrow) ASVLoSearchState(), "theapp", __LINE__);
        online->setQuery(query);
        online->setNetSearch(1);
        return online;
    }
    auto* search = CheckAlloc(new (std::nothrow) ASVLoSearchState(), "theapp", __LINE__);
    search->setTextResults(static_cast<ALoScore*>(full));
    search->setIndexResults(static_cast<ALoFile*>(index));
    search->setQuery(query);
    setSearchStateTexts(search, 0, query, query);
    return search;
}

void TheApp::setSearchStateTexts(ASearchState* search, long value, const char* text4, const char* text3) {
    (void)value;
    if (!search)
        return;
    search->setText(4, text4 ? text4 : "");
    search->setText(3, text3 ? text3 : "");
}

void TheApp::fillDocDates(AppState* state) {
    ADocState* doc = state ? state->getDocState() : nullptr;
    AppDataManager* data = getDataManager();
    if (!doc || !data)
        return;
    long second = -1;
    doc->fDate = data->getChronoPosition(state->getDocNo(), &second);
    doc->fUserInfo.slot(1190) = second;
}

bool TheApp::isCurrentDocIconType26() {
    Frame1* frame = getFrame();
    AppState* state = frame ? frame->currentState() : nullptr;
    return state && getDocIconType(state->getDocNo()) == 26;
}
