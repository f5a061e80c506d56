// Popup trees: set-up of the view, placing, clicks, sub-popups, the chain's
// closing and the keys.
#include "app/popup/PopupTree.h"

#include <new>

#include "app/popup/APopupChoiceCmd.h"
#include "app/popup/APopupTreeCallBack.h"
#include "app/popup/PopupLineGetter.h"
#include "base/procedural/AError.h"
#include "docengine/render/AListRenderer.h"
#include "framework/app/AApp.h"
#include "framework/clusters/AClusterItem.h"
#include "framework/clusters/AStaticItem.h"
#include "framework/components/ACommand.h"
#include "framework/display/AHelpRecord.h"
#include "framework/graphics/ATextStyle.h"

SV_IMPLEMENT_CLASS(PopupTreeView, 0, AStandardView)
SV_IMPLEMENT_CLASS(PopupTree, 0, AWindow)

namespace {

// A list renderer that tells how wide its laid-out rows are. Its rows act as
// links: the release records the row's hit, which the popup reads to choose
// (a row-tracking release would only select the row and tell without a hit).
class PopupListRenderer : public AListRenderer {
public:
    using AListRenderer::AListRenderer;
    bool wantsRowTracking() override { return false; }
    long contentWidth() { return lines() ? lines()->contentWidth() : 0; }
    // A list scrolled to its end shows its last row at the top, not a page of rows.
    void setEndAnchorAtLastLine() {
        lineFlags |= LineFlags::kEndAnchorAtLastLine;
        if (lines())
            lines()->flags1 |= LineFlags::kEndAnchorAtLastLine;
    }
    void setRowSpacing(int32_t height, int32_t gap) {
        if (lines()) {
            lines()->minLineHeight = height;
            lines()->lineSpacing = gap;
        }
    }
};

PopupListRenderer* AsPopupList(ARenderer* renderer) {
    return static_cast<PopupListRenderer*>(renderer);
}

// The item's environment with other colours.
ATextStyle StyleOf(AClusterItem* item, uint32_t back, uint32_t fore) {
    ATextStyle style = item->ownDisplayEnv() ? ATextStyle(*item->ownDisplayEnv())
                                             : ATextStyle(nullptr, RGB(0, 0, 0), RGB(255, 255, 255), 0);
    style.setBackColor(back);
    style.setForeColor(fore);
    return style;
}

}  // namespace

// --- the view

PopupTree* PopupTreeView::popup() {
    for (AComponent* c = getParent(); c; c = c->getParent())
        if (auto* tree = dynamic_cast<PopupTree*>(c))
            return tree;
    return CheckAlloc(static_cast<PopupTree*>(nullptr), "upopup", __LINE__);
}

ACommand* PopupTreeView::keyToCommand(AKeyEvent& event) {
    if (event.down && event.keyCode && popup()->keyDown(event.keyCode))
        return noChangeCommand();
    return AStandardView::keyToCommand(event);
}

// --- making and set-up

PopupTree* PopupTree::load(AComponent* parent, const char* layoutName) {
    AComponent* loaded = AComponent::loadLayout(parent, layoutName, 0);
    auto* popup = dynamic_cast<PopupTree*>(loaded);
    if (!popup && loaded)
        DeleteComponent(loaded);
    return CheckAlloc(popup, "upopup", __LINE__);
}

PopupTree::~PopupTree() {
    if (child_) {
        AComponent* child = child_;
        child_->parent_ = nullptr;
        child_ = nullptr;
        DeleteComponent(child);
    }
    if (parent_ && parent_->child_ == this)
        parent_->childGone();
    if (view_ && view_->renderer())
        view_->renderer()->setModel(nullptr);
    ReleaseAndNull(getter_);
}

// Before the links go: a linked item deleted first has dropped its link, and is left alone.
void PopupTree::destroyContents() {
    AClusterItem* linked = linked_;
    linked_ = nullptr;
    if (linked && hasSource(linked)) {
        linked->removeLink(this);
        if (linkedEmptied_) {
            linked->setText(linkedText_.c_str());
            linked->invalidate();
        }
    }
    AWindow::destroyContents();
}

void PopupTree::setLinkedText(AClusterItem* item) {
    if (linked_ && hasSource(linked_))
        linked_->removeLink(this);
    linked_ = item;
    linkedEmptied_ = false;
    if (item)
        item->addLink(this);
}

void PopupTree::childrenLoaded() {
    AWindow::childrenLoaded();
    view_ = CheckAlloc(dynamic_cast<PopupTreeView*>(findById(kViewId, 0)), "upopup", __LINE__);
    if (!view_->renderer() && view_->rendererLayer()) {
        auto* renderer = CheckAlloc(new (std::nothrow) PopupListRenderer(view_->rendererLayer()), "upopup", __LINE__);
        renderer->listOptions = ListOptions::kTrackAlways | ListOptions::kActivateAnyRow;
        view_->rendererLayer()->setRenderer(renderer);
    }
    setDeleteOnClose(true);
}

void PopupTree::bindActions() {
    AWindow::bindActions();
    if (view_)
        addAction(kViewId, this, kViewId, nullptr);
}

void PopupTree::componentDeleted(AComponent* component) {
    if (component == view_)
        view_ = nullptr;
    AWindow::componentDeleted(component);
}

AListRenderer* PopupTree::renderer() const {
    return view_ ? dynamic_cast<AListRenderer*>(view_->renderer()) : nullptr;
}

int32_t PopupTree::contentWidth() const {
    AListRenderer* r = renderer();
    return r ? int32_t(AsPopupList(r)->contentWidth()) : 0;
}

void PopupTree::setParams(const PopupTreeParams& params) {
    params_ = params;
    if (params.styleSheet && renderer())
        renderer()->setStyleSheet(params.styleSheet);
}

void PopupTree::setUp(AComponent* owner, APopupTreeCallBack* callBack, const char* layoutName, int32_t options,
                      int32_t currentLine) {
    layoutName_ = layoutName ? layoutName : "";
    callBack_ = callBack;
    owner_ = owner;
    currentLine_ = currentLine;
    options_ = options;
}

void PopupTree::fillFromCallBack(const char* text) {
    items_.reset(callBack_ ? callBack_->makeItems(text, depth_) : nullptr);
}

void PopupTree::setItems(APopupItemLongDic* items) {
    items_.reset(items);
}

void PopupTree::setLineGetter(ALineGetter* getter, int16_t kytab) {
    if (getter)
        getter->addRef();
    ReleaseAndNull(getter_);
    getter_ = getter;
    getterKyTab_ = kytab;
}

void PopupTree::setItemFlag(int16_t item, int16_t mark) {
    PopupItem* it = items_ ? items_->item(item) : nullptr;
    if (!it)
        ThrowAssert("upopup", __LINE__);
    it->mark = mark;
}

AString PopupTree::getItemText(int16_t item) const {
    PopupItem* it = items_ ? items_->item(item) : nullptr;
    if (!it)
        ThrowAssert("upopup", __LINE__);
    return it->text;
}

PopupTree* PopupTree::rootPopup() {
    PopupTree* p = this;
    while (p->parent_)
        p = p->parent_;
    return p;
}

void PopupTree::setUpView() {
    depth_ = 0;
    AListRenderer* r = renderer();
    if (!r)
        ThrowAssert("upopup", __LINE__);
    view_->setDisplayEnv(StyleOf(view_, params_.viewBackColor, params_.viewTextColor));
    if (auto* frame = dynamic_cast<AStaticItem*>(findItem(kFrameId, false)))
        frame->setDisplayEnv(StyleOf(frame, params_.frameBackColor, 0));
    r->textColour = params_.rendererColor1;
    r->thirdColour = params_.rendererColor2;
    AsPopupList(r)->setEndAnchorAtLastLine();
    if (params_.rendererColor3 != PopupTreeParams::kNoColour) {
        r->fourthColour = params_.rendererColor3;
        r->marginH = 0;
        r->marginV = 0;
    }
    installModel(r);
    if (params_.rowHeight)
        AsPopupList(r)->setRowSpacing(params_.rowHeight, params_.rowGap);
    if (!(r->state & RendererBits::kAttached))
        r->attach();
    r->setCurrentMark(currentLine_);
    r->setRelayoutAll(true);
    r->layOut();
    // Every row, not only the visible ones: the popup takes the height of all of them.
    r->layoutAll();
    measure();
}

// The rows come from the outside getter or from the items; kytab rows get
// the table sub-parser that turns their '*' into cells.
void PopupTree::installModel(AListRenderer* r) {
    bool kytab;
    if (getter_) {
        r->setSourceModel(getter_, nullptr);
        kytab = getterKyTab_ != 0;
    } else {
        kytab = (options_ & kKyTab) != 0;
        auto* rows = CheckAlloc(new (std::nothrow) PopupLineGetter(this, depth_, kytab ? 1 : 0, callBack_), "upopup",
                                __LINE__);
        rows->addRef();
        r->setSourceModel(rows, nullptr);
        rows->release();
    }
    if (kytab)
        r->enableTables('*');
}

void PopupTree::measure() {
    AListRenderer* r = renderer();
    long width = AsPopupList(r)->contentWidth();
    if (minWidth_ > 0 && width < minWidth_)
        width = minWidth_;
    heightDelta_ = int32_t(r->contentHeight()) - view_->getSize().y;
    widthDelta_ = int32_t(width) - view_->getSize().x;
}

// --- opening and placing

void PopupTree::openAt(const ARect& anchor) {
    if (options_ & kKyTab)
        rebuild();
    if (linked_ && hasSource(linked_) && !linkedEmptied_) {
        linkedText_ = linked_->getText();
        linkedEmptied_ = true;
        linked_->setText("");
        if (AApp* app = AApp::current())
            if (AHelpTips* tips = app->helpBox())
                tips->hideTip();
    }
    setUpView();
    place(anchor);
}

void PopupTree::place(const ARect& anchor) {
    AListRenderer* r = renderer();
    ARect frame = getScreenBounds();
    frame.second.y += heightDelta_ - 2;
    frame.second.x += widthDelta_;
    const int32_t contentW = int32_t(AsPopupList(r)->contentWidth());
    const int32_t contentH = int32_t(r->contentHeight());
    int32_t x = anchor.first.x;
    int32_t y = anchor.first.y;
    if (!(options_ & kKeepLeft)) {
        if (options_ & kRightOfAnchor)
            x = anchor.second.x;
        else if (options_ & kCentreX)
            x = (anchor.first.x + anchor.second.x) / 2;
    }
    if (options_ & kTopOfAnchor)
        y = anchor.first.y;
    else if (options_ & kBelowAnchor)
        y = anchor.second.y;
    else if (options_ & kCentreY)
        y = (anchor.first.y + anchor.second.y) / 2;
    if (options_ & kShiftLeft)
        x -= contentW;
    if (options_ & kShiftUp)
        y -= contentH;
    if (options_ & kShiftHalf) {
        if (!(options_ & kShiftLeft))
            x -= contentW / 2;
        if (!(options_ & kShiftUp))
            y -= contentH / 2;
    }
    frame = ARect(x, y, x + frame.width(), y + frame.height());
    setScreenBounds(frame, false);
    ARect bounds = getContainerRect();
    bounds.second.y -= kBottomMargin;
    frame.fitInside(bounds);
    setScreenBounds(frame, false);
    r->setScroll(APoint(contentW, contentH), false);
    r->layoutAll();
    view_->invalidate();
    showUpdate();
}

void PopupTree::rebuild() {
    AListRenderer* r = renderer();
    if (!r)
        ThrowAssert("upopup", __LINE__);
    AsPopupList(r)->setEndAnchorAtLastLine();
    installModel(r);
    r->setRelayoutAll(true);
    r->layoutAll();
    measure();
    ARect frame = getScreenBounds();
    frame.second.x += widthDelta_ + 15;
    frame.second.y += heightDelta_;
    setScreenBounds(frame, false);
}

// --- clicks and choices

ACommand* PopupTree::doCommand(int16_t id, long argument) {
    if (id != kViewId)
        return AWindow::doCommand(id, argument);
    AListRenderer* r = renderer();
    const AHitRecord* hit = r ? r->hitRecord() : nullptr;
    if (!hit)
        return noChangeCommand();
    rowClicked(r->getHitKind(), r->getHitName().c_str(), r->getHitValue().c_str(),
               int32_t(AListRenderer::rowOfHit(*hit)));
    return noChangeCommand();
}

int16_t PopupTree::commandStatus(int16_t id, long argument) {
    return id == kViewId ? 1 : AWindow::commandStatus(id, argument);
}

void PopupTree::rowClicked(long kind, const char* name, const char* value, int32_t line) {
    if (kind != 3)
        return;
    currentLine_ = line;
    if (getter_) {
        if (callBack_)
            choose(name, value, line);
        return;
    }
    PopupItem* item = items_ ? items_->item(line) : nullptr;
    if (!item)
        return;
    if ((options_ & kHeadings) && item->kind == 0)
        return;
    if (!item->leaf && openSubPopup(name, line))
        return;
    if (callBack_)
        choose(name, value, line);
    else
        closeChain();
}

void PopupTree::choose(const char* name, const char* value, int32_t line) {
    // The chain's deletion is queued first, so the choice runs once it is gone.
    APopupTreeCallBack* callBack = callBack_;
    const int16_t depth = depth_;
    AString nameCopy(name ? name : ""), valueCopy(value ? value : "");
    closeChain();
    APopupChoiceCmd::post(callBack, valueCopy.c_str(), nameCopy.c_str(), int16_t(line), depth);
}

bool PopupTree::openSubPopup(const char* key, int32_t line) {
    if (!callBack_ || !view_)
        return false;
    int32_t options = callBack_->subPopupOptions(key, int16_t(depth_ + 1), options_);
    if (options == -1)
        options = options_;
    ARect anchor = view_->localToScreen(renderer()->rowRect(line));
    std::unique_ptr<APopupItemLongDic> items(callBack_->getItems(key, int16_t(depth_ + 1)));
    if (!items || items->count() == 0)
        return false;
    if (child_) {
        AComponent* old = child_;
        child_->parent_ = nullptr;
        child_ = nullptr;
        DeleteComponent(old);
    }
    PopupTree* child = load(getParent(), layoutName_.c_str());
    child->params_ = params_;
    child->setParams(params_);
    child->setUp(owner_, callBack_, layoutName_.c_str(), options, 0);
    child->minWidth_ = 0;
    child->parent_ = this;
    child->items_ = std::move(items);
    child_ = child;
    child->openAt(anchor);
    child->depth_ = int16_t(depth_ + 1);
    return true;
}

void PopupTree::closeChain() {
    hideUpdate();
    if (parent_) {
        parent_->closeChain();
        return;
    }
    goAway();
}

void PopupTree::goAway() {
    if (goingAway_)
        return;
    goingAway_ = 1;
    hideUpdate();
    perform(new ADeleteComponentCmd(1, this));
}

void PopupTree::childGone() {
    child_ = nullptr;
    if (!keepOpen_ && !(state() & 1))
        goAway();
    keepOpen_ = 0;
}

// --- keys and activation

bool PopupTree::keyDown(uint16_t key) {
    if (key == VK_RIGHT) {
        // The current row acts as a click on it would, whoever feeds the rows.
        if (AListRenderer* r = renderer()) {
            activating_ = 1;
            try {
                r->defaultKey();
            } catch (...) {
                activating_ = 0;
                throw;
            }
            activating_ = 0;
        }
        return true;
    }
    if (key == VK_ESCAPE || (key == VK_LEFT && parent_)) {
        hideUpdate();
        if (parent_) {
            parent_->keepOpen_ = 1;
            parent_->select();
        }
        goAway();
        return true;
    }
    return key == VK_LEFT;
}

void PopupTree::activate(bool on) {
    AWindow::activate(on);
    if (!on && !child_)
        goAway();
}
