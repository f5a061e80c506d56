// The room panes' base: banner, levels, key text, popup texts and the popup callback.
#include "panes/search/rooms/DockLeftSallePane.h"

#include <cstring>

#include "app/frame/Frame1.h"
#include "app/state/AppState.h"
#include "framework/clusters/AStaticItem.h"
#include "framework/components/ALayoutLoader.h"
#include "framework/graphics/AImage.h"
#include "panes/content/article/DockLCRPane.h"
#include "panes/search/rooms/LRSalle_DVD.h"

SV_IMPLEMENT_CLASS(DockLeftSallePane, 0, ALayoutPane)

namespace {

const char kFile[] = "DockLeftSallePane";

template <class T>
T* Enclosing(AComponent* from, const char* file, int line) {
    AComponent* found = from->findAncestor(&T::classRecord);
    return CheckAlloc(found ? static_cast<T*>(found->castTo(&T::classRecord)) : nullptr, file, line);
}

// Banner pictures by room (rows) and tab (columns 1-5); 0 for none.
const int16_t kBanners[9][5] = {
    {1230, 1231, 1232, 0, 0},    {1233, 1234, 1235, 0, 0},    {1250, 1256, 1252, 1251, 0},
    {1236, 1237, 1238, 0, 0},    {1239, 1240, 1241, 1242, 1243}, {0, 1244, 0, 1245, 0},
    {1246, 1247, 0, 0, 0},       {1248, 1249, 0, 0, 0},       {1253, 1254, 0, 0, 0},
};

}  // namespace

bool IsFirstShowing(const ALeftState* left) {
    return left && left->fNew && !left->fClone;
}

DockLeftSallePane* EnclosingRoomPane(AComponent* list, const char* file, int line) {
    return Enclosing<DockLeftSallePane>(list, file, line);
}

DockLeftSallePane::DockLeftSallePane() {
    maskKey = kMaskKey;
    textKey = kKeyKey;
}

DockLeftSallePane::~DockLeftSallePane() {
    ReleaseAndNull(popupCallBack);
}

void DockLeftSallePane::readFrom(AMemoryStream& stream) {
    ALayoutPane::readFrom(stream);
    ALayoutLoader::readEndMark(stream, kFile, 40);
}

void DockLeftSallePane::attachItems() {
    ALayoutPane::attachItems();
    frame = getFrame();
    lcr = DockLCRPane::around(this);
}

void DockLeftSallePane::setUpItems() {
    ALayoutPane::setUpItems();
    AClusterItem* item = findItem(kBannerId, false);
    banner = CheckAlloc(item ? static_cast<AStaticImage*>(item->castTo(&AStaticImage::classRecord)) : nullptr, kFile,
                        70);
}

void DockLeftSallePane::detachItems() {
    ReleaseAndNull(popupCallBack);
    // The texts go with the layout, whether or not the letter pane cleared them.
    clearPopupTexts();
    banner = nullptr;
    ALayoutPane::detachItems();
}

int16_t DockLeftSallePane::isPaneWanted() {
    AppState* state = currentState();
    ALeftState* left = leftState();
    return state && left && left->fExpand != 0 && state->getScreenMode() == 4 && left->fSalleType != 'P' ? 1 : 0;
}

int16_t DockLeftSallePane::bannerOf(int16_t room, int16_t tab, long second) {
    if (room == 7 && second != 0)
        return 1257;
    if (room < 1 || room > 9 || tab < 1 || tab > 5)
        return 0;
    return kBanners[room - 1][tab - 1];
}

void DockLeftSallePane::setPaneVisible(int16_t visible) {
    SVPane::setPaneVisible(visible);
    AppState* state = currentState();
    ALeftState* left = leftState();
    if (!visible || !state || !left || !banner)
        return;
    int16_t id = bannerOf(state->fSalle, left->fMode, state->getUserInfo(1174));
    if (id)
        banner->setImage(AImageSpec(static_cast<uint16_t>(id), 0, 0, false), 0);
}

void DockLeftSallePane::saveState(ABaseState* part) {
    ALayoutClientList* list = getClients();
    savedMask = list ? list->shownMask() : 0;
    if (!part)
        return;
    part->fUserInfo.slot(kMaskKey) = static_cast<long>(savedMask);
    if (!getPaneText().empty())
        part->setUserTxtInfo(kKeyKey, getPaneText().c_str());
    for (int16_t k = 1; k <= kLevels; ++k) {
        const Level& l = levels[k - 1];
        if (!l.label.empty())
            part->setUserTxtInfo(static_cast<int16_t>(1146 + 4 * k), l.label.c_str());
        if (!l.value.empty())
            part->setUserTxtInfo(static_cast<int16_t>(1147 + 4 * k), l.value.c_str());
    }
}

int16_t DockLeftSallePane::setPaneText(const char* key) {
    if (!ALayoutPane::setPaneText(key))
        return 0;
    netKey = AString();
    return 1;
}

void DockLeftSallePane::clearPopupTexts() {
    popupTexts.removeAll();
}

AString DockLeftSallePane::getPopupText(int16_t key) {
    return popupTexts.getString(key);
}

void DockLeftSallePane::setPopupCallBack(APopupTreeCallBack* callBack) {
    if (callBack == popupCallBack)
        return;
    if (callBack)
        callBack->addRef();
    ReleaseAndNull(popupCallBack);
    popupCallBack = callBack;
}

void DockLeftSallePane::showResultList() {
    if (!discList)
        return;
    showClient(discList->getClient());
    discList->resetState(0);
    discList->updatePane();
}

void DockLeftSallePane::setLevel(int16_t k, const char* label, const char* value, int16_t number) {
    if (k < 1 || k > kLevels)
        return;
    Level& l = levels[k - 1];
    l.value = AString(value ? value : "");
    l.label = AString(label ? label : "");
    if (l.item)
        l.item->setText(l.label.c_str());
    ALeftState* left = leftState();
    if (!left)
        return;
    left->fUserInfo.slot(1145 + 4 * k) = number;
    for (int16_t j = static_cast<int16_t>(k + 1); j <= kLevels; ++j)
        left->fUserInfo.slot(1145 + 4 * j) = 0;
    left->fUserInfo.slot(kIndexFirstKey) = 0;
    left->fUserInfo.slot(kIndexLastKey) = 0;
    if (discList)
        discList->resetState(0);
    updatePane();
}

void APopupTreeCallBackSallePop::itemChosen(const char* value, const char* name, int16_t line, PopupTree* top) {
    (void)top;
    AComponent* owner = this->owner();
    auto* pane = CheckAlloc(owner ? static_cast<DockLeftSallePane*>(owner->castTo(&DockLeftSallePane::classRecord))
                                  : nullptr,
                            kFile, 500);
    switch (level_) {
    case 1: pane->setLevel1(value, name, line, 0); break;
    case 2: pane->setLevel2(value, name, line, 0); break;
    case 3: pane->setLevel3(value, name, line, 0); break;
    case 4: pane->setLevel4(value, name, line, 0); break;
    case 5: pane->setLevel5(value, name, line, 0); break;
    case 6: pane->setLevel6(value, name, line, 0); break;
    default: break;
    }
}
