// The base of the room panes of the left dock: the room's banner (picture
// by room and tab), six choice levels (a label item 2031-2036 with the
// chosen label and value), the popup callback that turns a popup choice
// into a level choice, the popup texts by item id, the key text that the
// room's result lists show (the layout pane's text) and the online key.
// The letter panes derive from it, fill the list members and the level
// items, and refresh; the base itself refreshes nothing.
//
// Left part keys: 1146 the shown mask, 1147 the key text, and for level k
// (1-6) 1145 + 4k its item number, 1146 + 4k its label, 1147 + 4k its value.
//
// Owns the popup callback (one reference, released at detach or replacement)
// and the popup texts; the lists, items, frame and centre are not owned. A
// missing frame or banner, or a banner of another class, fails the
// allocation check ("DockLeftSallePane").
#pragma once

#include "app/lists/ALayoutPane.h"
#include "app/popup/APopupTreeCallBack.h"
#include "base/object/ALongDic.h"

class ALeftState;
class AStaticImage;
class AStaticText;
class DockLCRPane;
class DockLeftSallePane;
class Frame1;
class LRSalle_DVD;
class LRSalle_NET;
class ListPane;
class SalleIndexPrec;

// The enclosing room pane of a list; none fails the allocation check with the list's file and line.
DockLeftSallePane* EnclosingRoomPane(AComponent* list, const char* file, int line);
// A room state shown for the first time: its left part is new and not a
// copy (a copied part keeps its original's new flag).
bool IsFirstShowing(const ALeftState* left);

class DockLeftSallePane : public ALayoutPane {
    SV_DECLARE_CLASS(DockLeftSallePane)
public:
    enum : int16_t { kBannerId = 2001, kFirstLevelId = 2031, kIndexId = 2110, kSearchId = 2301 };
    enum : int16_t { kDiscId = 2030, kNetId = 2040, kLevels = 6 };
    enum : int16_t { kMaskKey = 1146, kKeyKey = 1147, kIndexFirstKey = 1140, kIndexLastKey = 1141 };

    struct Level {
        AStaticText* item = nullptr;  // not owned
        AString label;
        AString value;
    };

    DockLeftSallePane();
    ~DockLeftSallePane() override;
    void readFrom(AMemoryStream& stream) override;
    void attachItems() override;
    void setUpItems() override;
    void detachItems() override;

    void updatePane() override {}
    // Left part, a dock mode, screen mode 4 and no page tab.
    int16_t isPaneWanted() override;
    // Shown with a left part: the banner of the room and tab.
    void setPaneVisible(int16_t visible) override;
    // Mask, key text and the non-empty level texts; the layout pane's own is not called.
    void saveState(ABaseState* part) override;
    // The key text: 1 when it changed (the online key is then emptied).
    int16_t setPaneText(const char* key) override;
    virtual void clearPopupTexts();
    virtual AString getPopupText(int16_t key);
    virtual AString makeListKey() { return AString(); }

    AString getNetKey() const { return netKey; }
    // Shows, resets and refreshes the disc result list.
    void showResultList();
    // The choice at level k (1-6); the fourth argument is not used.
    void setLevel1(const char* label, const char* value, int16_t number, long) { setLevel(1, label, value, number); }
    void setLevel2(const char* label, const char* value, int16_t number, long) { setLevel(2, label, value, number); }
    void setLevel3(const char* label, const char* value, int16_t number, long) { setLevel(3, label, value, number); }
    void setLevel4(const char* label, const char* value, int16_t number, long) { setLevel(4, label, value, number); }
    void setLevel5(const char* label, const char* value, int16_t number, long) { setLevel(5, label, value, number); }
    void setLevel6(const char* label, const char* value, int16_t number, long) { setLevel(6, label, value, number); }
    void setLevel(int16_t k, const char* label, const char* value, int16_t number);
    const Level& level(int16_t k) const { return levels[k - 1]; }
    // The banner picture of room and tab, 0 for none (second: the state's entry 1174).
    static int16_t bannerOf(int16_t room, int16_t tab, long second);
    // Replaces the popup callback (the pane holds one reference on it).
    void setPopupCallBack(APopupTreeCallBack* callBack);
    APopupTreeCallBack* getPopupCallBack() const { return popupCallBack; }
    void setPopupText(int16_t key, const char* popupText) { popupTexts.setString(key, popupText); }

    Frame1* frame = nullptr;            // not owned
    DockLCRPane* lcr = nullptr;         // not owned; null without a centre
    AStaticImage* banner = nullptr;     // item 2001, not owned
    SalleIndexPrec* indexList = nullptr;  // item 2110, not owned
    ListPane* searchList = nullptr;     // item 2301, not owned
    LRSalle_DVD* discList = nullptr;    // item 2030, not owned
    LRSalle_NET* netList = nullptr;     // item 2040, not owned

protected:
    // The level machinery the letter panes share (defined with the chain reading).
    // Record of level k's popup text: 1144 + 4k; its chosen row 1145 + 4k.
    static int16_t recordKey(int16_t k) { return static_cast<int16_t>(1144 + 4 * k); }
    static int16_t rowKey(int16_t k) { return static_cast<int16_t>(1145 + 4 * k); }
    // Wanted for a room of letter with source wanted (-1: any source).
    bool wantedFor(char letter, int16_t wanted);
    // Keeps the level texts 2031.. as the items of levels 1..count, with their help.
    void prepareLevelItems(int16_t count);
    // The popup texts of levels 1..count, each level's record read from the
    // value chosen at the level above; a broken chain leaves the deeper empty.
    void loadChainTexts(int16_t count);
    // Labels and values of levels 1..count from the records of a fresh state.
    void readChainLevels(int16_t count);
    // Key text and levels 1..count as saved with a restored state.
    void restoreSavedLevels(int16_t count);
    void showLevelLabels(int16_t count);
    // 5 when level k's value reads as a non-zero number, else 1.
    int16_t levelStatus(int16_t k) const;
    // The popup of level k under button, reporting through callBack.
    void openLevelPopup(int16_t k, AComponent* button, APopupTreeCallBack* callBack);
    // Stacks the index or main list (fixed when first is the index), the main
    // list and the partner list (hidden) from margin, then the saved mask.
    void placeLists(int32_t margin, ListPane* fixed, ListPane* main, ListPane* partner);
    // The left part, with its saved mask taken when takeMask and the lists
    // placed; null, with nothing done, when there is none.
    ALeftState* startRefresh(bool takeMask);
    // Makes the typed item (null when absent or of another class).
    template <class T>
    T* itemOf(int16_t id) {
        AClusterItem* item = findItem(id, false);
        return item ? static_cast<T*>(item->castTo(&T::classRecord)) : nullptr;
    }

    int16_t source = 0;  // fSalleLR of the variant of a room with several sources
    AString netKey;
    Level levels[kLevels];
    APopupTreeCallBack* popupCallBack = nullptr;  // one reference held
    AStringLongDic popupTexts;
};

// The popup callback of a room level: a chosen row becomes the choice of its level.
class APopupTreeCallBackSallePop : public APopupTreeCallBack {
public:
    APopupTreeCallBackSallePop(AComponent* owner, int16_t level) : APopupTreeCallBack(owner), level_(level) {}
    // The row's label (value) and value (name) go to the level's setter; a
    // level outside 1-6 does nothing; an owner that is no room pane fails the allocation check.
    void itemChosen(const char* value, const char* name, int16_t line, PopupTree* top) override;
    int16_t level() const { return level_; }

private:
    int16_t level_;
};
