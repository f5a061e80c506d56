// Result-list panes: key queries, the count line and the header command.
#include "app/lists/LRPane.h"

#include <cstdlib>
#include <new>
#include <string>

#include "app/lists/AListApp.h"
#include "app/lists/ALayoutClient.h"
#include "app/state/ASVLoSearchState.h"
#include "app/state/AppState.h"
#include "base/object/AStringList.h"
#include "docengine/styles/AStyleSheet.h"
#include "framework/clusters/AStaticItem.h"
#include "framework/components/ALayoutLoader.h"
#include "framework/controls/AIconButton.h"
#include "framework/graphics/AImage.h"
#include "framework/graphics/ATextStyle.h"
#include "search/facade/ALoSimple.h"
#include "search/facade/ALoVect.h"

SV_IMPLEMENT_CLASS(LRPane, 0, ListPane)
SV_IMPLEMENT_CLASS(LRNbResPane, 0, LRPane)

void LRPane::readFrom(AMemoryStream& stream) {
    ListPane::readFrom(stream);
    ALayoutLoader::readEndMark(stream, "layout", 800);
}

void LRPane::setUpItems() {
    ListPane::setUpItems();
    if (hasItem(kIconCommand))
        iconButton = CheckAlloc(itemAs<AIconButton>(kIconCommand), "layout", 849);
    if (!hasItem(kListAreaId))
        ThrowAssert("layout", 852);
    listArea = CheckAlloc(itemAs<AStaticItem>(kListAreaId), "layout", 851);
}

void LRPane::detachItems() {
    ListPane::detachItems();
    ReleaseAndNull(lo);
    iconButton = nullptr;
    listArea = nullptr;
}

void LRPane::bindActions() {
    ListPane::bindActions();
    addAction(kIconCommand, this, kIconCommand, nullptr);
}

ACommand* LRPane::doCommand(int16_t id, long argument) {
    if (id != kIconCommand)
        return ListPane::doCommand(id, argument);
    if (client)
        client->toggle();
    return noChangeCommand();
}

int16_t LRPane::commandStatus(int16_t id, long argument) {
    if (id != kIconCommand)
        return ListPane::commandStatus(id, argument);
    int16_t status = client && client->canToggle() ? 1 : 2;
    return static_cast<int16_t>(client && client->shown ? status | 4 : status);
}

void LRPane::setIcon(int16_t id) {
    if (!iconButton || id <= 0)
        return;
    auto frames = static_cast<uint16_t>(AIconButton::frameCount(iconButton->itemFlags()));
    iconButton->setIcon(AImageSpec(static_cast<uint16_t>(id), frames, 0, false));
}

void LRPane::setLo(ALo* list) {
    AssignRef(lo, list);
}

void LRPane::splitKey(const char* key, long* n, long* m) {
    ARefHold<AStringList> fields(new AStringList(key ? key : "", ':'));
    *n = atoi(fields->at(0));
    *m = atol(fields->at(1));
}

int16_t LRPane::runQuery(const char* key) {
    long n = 0, m = 0;
    splitKey(key, &n, &m);
    if (m == -1)
        return 0;
    ReleaseAndNull(lo);
    AString text = AListApp::current().getLinkRecord(n, m);
    setLo(CheckAlloc(new (std::nothrow) ALoSimple(text.c_str()), "layout", 943));
    return 1;
}

void LRNbResPane::readFrom(AMemoryStream& stream) {
    LRPane::readFrom(stream);
    ALayoutLoader::readEndMark(stream, "layout", 950);
}

void LRNbResPane::setUpItems() {
    LRPane::setUpItems();
    countItem = CheckAlloc(itemAs<AStaticText>(kCountId), "layout", 966);
    countItem->setTransparent(true);
    ATextStyle* env = countItem->ownDisplayEnv();
    normalColour = env ? env->foreColor() : RGB(0, 0, 0);
    AStyleSheet* sheet = AListApp::current().getStyleSheet(3);
    if (!sheet)
        ThrowAssert("layout", 973);
    highlightColour = sheet->getColor(10);
    showResultCount(-1, 0);
}

void LRNbResPane::detachItems() {
    countItem = nullptr;
    LRPane::detachItems();
}

int16_t LRNbResPane::runQuery(const char* key) {
    long n = 0, m = 0;
    splitKey(key, &n, &m);
    if (m == -1)
        return 0;
    if (m == -2) {
        fromSearch = 1;
        AppState* state = currentState();
        ASVLoSearchState* search = state ? state->getSearchState() : nullptr;
        ReleaseAndNull(lo);
        ALo* results = search ? search->getTextResults() : nullptr;
        if (!results)
            return 0;
        setLo(CheckAlloc(new (std::nothrow) ALoScore(*results, 1), "layout", 1059));
        return 1;
    }
    if (m >= 0) {
        fromSearch = 0;
        ReleaseAndNull(lo);
        AString text = AListApp::current().getLinkRecord(n, m);
        setLo(CheckAlloc(new (std::nothrow) ALoSimple(text.c_str()), "layout", 1067));
    }
    return 1;
}

void LRNbResPane::showResultCount(long n, int16_t highlight) {
    if (countItem) {
        if (ATextStyle* env = countItem->ownDisplayEnv()) {
            ATextStyle coloured(*env);
            coloured.setForeColor(highlight ? highlightColour : normalColour);
            countItem->setDisplayEnv(coloured);
        }
        std::string text = n <= 0 ? std::string("Aucun document \xE0 afficher")
                                  : std::to_string(n) + " Document" + (n > 1 ? "s" : "");
        countItem->setText(text.c_str());
    }
    count = n;
    AListApp::current().setResultCount(n);
}
