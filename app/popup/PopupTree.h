// A popup tree: a borderless window loaded from a layout ("PopupTree",
// "PopupSiSearch") that lists items drawn by a list renderer; choosing an
// item with a sub-list opens a second popup beside the clicked row, and so
// on. What the lists hold and what a choice does is asked of a callback.
//
// A popup deletes itself when it loses activation without an open child,
// when its child goes (unless the child was left with Escape), and after a
// choice. The chain holds plain pointers both ways; each popup's destructor
// unhooks it from its parent and deletes its child, so a popup deleted by
// any path is never used after. Owner, callback and linked text are not
// owned; the items and one reference on an outside line getter are.
// A layout that is not a PopupTree, or lacks the view 2071, raises AMemError.
#pragma once

#include <cstdint>
#include <memory>

#include "app/popup/PopupItem.h"
#include "app/popup/PopupTreeParams.h"
#include "docengine/render/ARendererViews.h"
#include "framework/app/AWindow.h"

class AClusterItem;
class AListRenderer;
class ALineGetter;
class APopupTreeCallBack;
class PopupTree;

// The view inside a popup; it hands the arrow, Escape and Return keys to it.
class PopupTreeView : public AStandardView {
    SV_DECLARE_CLASS(PopupTreeView)
public:
    PopupTreeView() = default;
    ACommand* keyToCommand(AKeyEvent& event) override;
    // The enclosing popup (found on demand; raises AMemError when there is none).
    PopupTree* popup();
};

class PopupTree : public AWindow {
    SV_DECLARE_CLASS(PopupTree)
public:
    enum : int16_t { kFrameId = 2070, kViewId = 2071 };
    // The options word.
    enum : int32_t {
        kCentreX = 0x0001,
        kKeepLeft = 0x0002,
        kRightOfAnchor = 0x0004,
        kCentreY = 0x0010,
        kTopOfAnchor = 0x0020,
        kBelowAnchor = 0x0040,
        kShiftLeft = 0x0100,
        kShiftUp = 0x0200,
        kShiftHalf = 0x0400,
        kKyTab = 0x1000,
        kHeadings = 0x2000,
        kMarkItems = 0x4000,
    };
    // Cut from the bottom of the screen so that a popup never covers the task bar.
    static const int32_t kBottomMargin = 22;

    PopupTree() = default;
    ~PopupTree() override;

    // Loads a popup layout under parent; raises AMemError when it is not a PopupTree.
    static PopupTree* load(AComponent* parent, const char* layoutName);

    void childrenLoaded() override;
    void bindActions() override;
    ACommand* doCommand(int16_t id, long argument) override;
    int16_t commandStatus(int16_t id, long argument) override;
    void activate(bool on) override;
    void componentDeleted(AComponent* component) override;
    void destroyContents() override;

    void setParams(const PopupTreeParams& params);
    PopupTreeParams getParams() const { return params_; }
    void setMinWidth(int16_t width) { minWidth_ = width; }
    void setUp(AComponent* owner, APopupTreeCallBack* callBack, const char* layoutName, int32_t options,
               int32_t currentLine);
    // The items become the callback's makeItems of text at the popup's depth.
    void fillFromCallBack(const char* text);
    // Rows come from getter (one reference taken); kytab: cells separated by '*'.
    void setLineGetter(ALineGetter* getter, int16_t kytab);
    void setItems(APopupItemLongDic* items);  // takes them
    void setItemFlag(int16_t item, int16_t mark);
    void setCurrentLine(int32_t line) { currentLine_ = line; }
    // The item that opened the popup (the history button): its text is
    // emptied while the popup shows and given back when it goes. Not owned.
    void setLinkedText(AClusterItem* item);
    void openAt(const ARect& anchor);
    void rebuild();
    // Opens the sub-list of key beside the clicked row; false when there is none.
    bool openSubPopup(const char* key, int32_t line);
    void closeChain();

    // A click on a row: hit kind, the hit's name (the row key) and value, the row.
    void rowClicked(long kind, const char* name, const char* value, int32_t line);
    // The right arrow, Escape and the left arrow in the view.
    bool keyDown(uint16_t key);

    int32_t getItemCount() const { return items_ ? int32_t(items_->count()) : 0; }
    AString getItemText(int16_t item) const;
    PopupTree* rootPopup();
    PopupTree* parentPopup() const { return parent_; }
    PopupTree* childPopup() const { return child_; }
    const APopupItemLongDic* items() const { return items_.get(); }
    int32_t options() const { return options_; }
    int16_t depth() const { return depth_; }
    int32_t currentLine() const { return currentLine_; }
    PopupTreeView* view() const { return view_; }
    AListRenderer* renderer() const;
    // The width of the laid-out rows, in pixels.
    int32_t contentWidth() const;

private:
    void setUpView();
    void place(const ARect& anchor);
    void choose(const char* name, const char* value, int32_t line);
    void goAway();
    void measure();
    void installModel(AListRenderer* r);
    void childGone();

    AComponent* owner_ = nullptr;               // not owned
    APopupTreeCallBack* callBack_ = nullptr;    // not owned
    PopupTreeParams params_;
    std::unique_ptr<APopupItemLongDic> items_;  // null when an outside getter gives the rows
    PopupTree* parent_ = nullptr;               // not owned
    PopupTree* child_ = nullptr;                // deleted with this popup
    PopupTreeView* view_ = nullptr;             // a child
    int16_t depth_ = 0;
    int32_t currentLine_ = 0;
    int32_t options_ = 0;
    int32_t heightDelta_ = 0;
    int32_t widthDelta_ = 0;
    AString layoutName_;
    int16_t activating_ = 0;
    int16_t keepOpen_ = 0;
    int16_t goingAway_ = 0;
    ALineGetter* getter_ = nullptr;  // one reference held
    AClusterItem* linked_ = nullptr;  // not owned; linked, so its deletion is seen
    AString linkedText_;
    bool linkedEmptied_ = false;
    int16_t getterKyTab_ = 0;
    int16_t minWidth_ = 0;
};
