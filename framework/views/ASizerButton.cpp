// Sizer buttons and their helpers.
#include "framework/views/ASizerButton.h"

#include <cstdlib>

#include "base/object/AMemoryStream.h"
#include "base/procedural/AError.h"
#include "framework/clusters/AItemCluster.h"
#include "framework/components/ACommand.h"
#include "framework/components/ALayoutLoader.h"
#include "framework/graphics/AImage.h"

SV_IMPLEMENT_CLASS(ASizerButton, 0, AIconButton)
SV_IMPLEMENT_CLASS(ASizerButtonBehavior, 0, ABehavior)
SV_IMPLEMENT_CLASS(ABoundingBox, 0, ASizerGroup)
SV_IMPLEMENT_CLASS(ASizeConstraintSetter, 0, AComponent)
SV_IMPLEMENT_CLASS(ASizerButtonNodeAdder, 0, AComponent)
SV_IMPLEMENT_CLASS(ASizerButtonConstrainer, 0, AComponent)

static const int32_t kNoLimit = 0x7FFFFFFF;

// Queues the deletion of a layout-only helper: the set-up walk is still running.
static void DeleteLater(AComponent* component, long line) {
    component->perform(CheckAlloc(new (std::nothrow) ADeleteComponentCmd(1, component), "fsizbut", line));
}

ASizerButton::ASizerButton(AComponent* parent, int16_t id, const ASizeSpec& rule, uint16_t beforeId, uint16_t afterId,
                           bool horizontal, bool vertical, const ARect& limits)
    : AIconButton(parent, id, rule, 0, ""),
      beforeId_(beforeId),
      afterId_(afterId),
      limits_(limits),
      horizontal_(horizontal ? 1 : 0),
      vertical_(vertical ? 1 : 0) {}

void ASizerButton::readFrom(AMemoryStream& stream) {
    AIconButton::readFrom(stream);
    beforeId_ = uint16_t(stream.readShort());
    afterId_ = uint16_t(stream.readShort());
    twinId_ = uint16_t(stream.readShort());
    ghostId_ = uint16_t(stream.readShort());
    horizontal_ = stream.readShort() ? 1 : 0;
    vertical_ = stream.readShort() ? 1 : 0;
    int32_t l = stream.readShort(), t = stream.readShort(), r = stream.readShort(), b = stream.readShort();
    limits_ = ARect(l, t, r, b);
    ALayoutLoader::readEndMark(stream, "fsizbut", 120);
}

void ASizerButton::attachItems() {
    AIconButton::attachItems();
    setBoundary(boundary_);
}

void ASizerButton::setBoundary(const ARect& boundary) {
    boundary_ = boundary;
    if (boundary_.right() == 0)
        boundary_.second.x = kNoLimit;
    if (boundary_.bottom() == 0)
        boundary_.second.y = kNoLimit;
}

void ASizerButton::addPane(ADisplayComponent* pane, uint16_t side) {
    for (const Attachment& a : panes_)
        if (a.pane == pane)
            return;
    panes_.push_back({pane, APoint(0, 0), side});
    ++(side ? beforeCount_ : afterCount_);
}

void ASizerButton::addPaneById(uint16_t id, uint16_t side) {
    if (id == 0)
        return;
    AComponent* c = sendToId(int16_t(id), 1);
    if (!c)
        ThrowAssert("fsizbut", 400);
    addPane(CheckAlloc(dynamic_cast<ADisplayComponent*>(c), "fsizbut", 401), side);
}

void ASizerButton::setUpItems() {
    AIconButton::setUpItems();
    addPaneById(beforeId_, 1);
    addPaneById(afterId_, 0);
    if (AComponent* t = twinId_ ? sendToId(int16_t(twinId_), 1) : nullptr) {
        twin_ = CheckAlloc(dynamic_cast<ADisplayComponent*>(t), "fsizbut", 72);
        twin_->setSizeSpec(getSizeSpec(), true);
    }
    if (AComponent* g = ghostId_ ? sendToId(int16_t(ghostId_), 1) : nullptr) {
        ghost_ = CheckAlloc(dynamic_cast<ADisplayComponent*>(g), "fsizbut", 81);
        ghost_->setVisible(false);
        placeGhost();
    }
    AItemCluster* cluster = owner() ? owner() : enclosingCluster();
    if (!panes_.empty() && (horizontal_ || vertical_) && cluster) {
        AObject::completeNew(CheckAlloc(new (std::nothrow) ASizerButtonBehavior(cluster, id()), "fsizbut", 89));
        if (dynamic_cast<ASizerButton*>(twin_))
            AObject::completeNew(
                CheckAlloc(new (std::nothrow) ASizerButtonBehavior(cluster, int16_t(twinId_)), "fsizbut", 93));
    }
}

void ASizerButton::detachItems() {
    panes_.clear();
    beforeCount_ = afterCount_ = 0;
    AIconButton::detachItems();
}

void ASizerButton::recordOffsets() {
    ARect s = getFrame();
    for (Attachment& a : panes_) {
        ARect f = a.pane->getFrame();
        a.offset = a.side ? f.second - s.second : f.first - s.first;
    }
}

void ASizerButton::computeDragBounds() {
    ADisplayComponent* parent = getDisplayParent();
    APoint size = parent ? parent->getContentSize() : APoint(0, 0);
    ARect b(0, 0, size.x, size.y);
    if (beforeCount_ > 0) {
        if (horizontal_)
            b.first.x += limits_.left();
        if (vertical_)
            b.first.y += limits_.top();
    }
    if (afterCount_ > 0) {
        if (horizontal_)
            b.second.x -= limits_.right();
        if (vertical_)
            b.second.y -= limits_.bottom();
    }
    b.intersect(boundary_);
    dragBounds_ = b;
}

void ASizerButton::moveTo(const APoint& p) {
    ARect f = getFrame();
    ARect r(p, p + getSize());
    if (!(r.left() >= dragBounds_.left() && r.top() >= dragBounds_.top() && r.right() <= dragBounds_.right() &&
          r.bottom() <= dragBounds_.bottom()))
        r.fitInside(dragBounds_);
    APoint d = r.first - f.first;
    ASizeSpec rule = getSizeSpec();
    if (horizontal_) {
        rule.edges[0].value += d.x;
        rule.edges[2].value += d.x;
    }
    if (vertical_) {
        rule.edges[1].value += d.y;
        rule.edges[3].value += d.y;
    }
    setSizeSpec(rule, true);
}

void ASizerButton::layOutPanes() {
    ASizeSpec s = getSizeSpec();
    for (const Attachment& a : panes_) {
        ASizeSpec p = a.pane->getSizeSpec();
        int h = a.side ? 2 : 0, v = a.side ? 3 : 1;
        if (horizontal_)
            p.edges[h].value = s.edges[h].value + a.offset.x;
        if (vertical_)
            p.edges[v].value = s.edges[v].value + a.offset.y;
        a.pane->setSizeSpec(p, true);
    }
    if (twin_)
        twin_->setSizeSpec(s, true);
    if (ADisplayComponent* parent = getDisplayParent())
        parent->relayout();
}

void ASizerButton::placeGhost() {
    if (!ghost_)
        return;
    ASizeSpec s = getSizeSpec(), g = ghost_->getSizeSpec();
    if (beforeCount_ > 0) {
        if (horizontal_)
            g.edges[2] = s.edges[2];
        if (vertical_)
            g.edges[3] = s.edges[3];
    } else if (afterCount_ > 0) {
        if (horizontal_)
            g.edges[0] = s.edges[0];
        if (vertical_)
            g.edges[1] = s.edges[1];
    }
    ghost_->setSizeSpec(g, true);
}

void ASizerButton::applyPosition(const APoint& p) {
    recordOffsets();
    computeDragBounds();
    moveTo(p);
    placeGhost();
    layOutPanes();
}

ACommand* ASizerButton::mouseDown(AMouseEvent& event) {
    press_ = event.where;
    return AIconButton::mouseDown(event);
}

void ASizerButton::trackStart() {
    AIconButton::trackStart();
    recordOffsets();
    computeDragBounds();
    if (ghost_)
        ghost_->setVisible(true);
}

void ASizerButton::trackMove(const APoint& where, bool moved) {
    AIconButton::trackMove(where, moved);
    if (!moved)
        return;
    moveTo(getFrame().first + (where - press_));
    placeGhost();
    // With a twin the panes wait for the end of the drag.
    if (!twin_)
        layOutPanes();
    else if (ADisplayComponent* parent = getDisplayParent())
        parent->relayout();
}

void ASizerButton::trackEnd(const APoint& where) {
    if (ghost_)
        ghost_->setVisible(false);
    layOutPanes();
    queueUpdate(101);
    AIconButton::trackEnd(where);
}

void ASizerButtonBehavior::bindActions() {
    ABehavior::bindActions();
    if (AComponent* cluster = getParent())
        cluster->addAction(command_, this, command_, nullptr);
}

ACommand* ASizerButtonBehavior::doCommand(int16_t id, long argument) {
    if (id == command_)
        return noChangeCommand();
    return ABehavior::doCommand(id, argument);
}

int16_t ASizerButtonBehavior::commandStatus(int16_t id, long argument) {
    if (id == command_)
        return 1;
    return ABehavior::commandStatus(id, argument);
}

void ABoundingBox::readFrom(AMemoryStream& stream) {
    ASizerGroup::readFrom(stream);
    ALayoutLoader::readEndMark(stream, "fsizbut", 538);
}

void ABoundingBox::setUpItems() {
    ASizerGroup::setUpItems();
    setMouseTransparentFlag(true);
}

void ASizeConstraintSetter::readFrom(AMemoryStream& stream) {
    AComponent::readFrom(stream);
    index_ = uint16_t(stream.readShort());
    AString mode = stream.readString(-1);
    AString value = stream.readString(-1);
    edge_.mode = uint16_t(std::strtol(mode.c_str(), nullptr, 0));
    edge_.value = int32_t(std::strtol(value.c_str(), nullptr, 0));
    edge_.aux = uint16_t(stream.readShort());
    ALayoutLoader::readEndMark(stream, "fsizbut", 571);
}

void ASizeConstraintSetter::attachItems() {
    AComponent::attachItems();
    if (index_ == 0xFFFF)
        return;
    AComponent* p = findAncestor(&ADisplayComponent::classRecord);
    auto* target = CheckAlloc(dynamic_cast<ADisplayComponent*>(p), "fsizbut", 527);
    ASizeSpec rule = target->getSizeSpec();
    if (index_ <= 3)
        rule.edges[index_] = edge_;
    target->setSizeSpec(rule, true);
}

void ASizeConstraintSetter::setUpItems() {
    AComponent::setUpItems();
    DeleteLater(this, 554);
}

void ASizerButtonNodeAdder::readFrom(AMemoryStream& stream) {
    AComponent::readFrom(stream);
    paneId_ = uint16_t(stream.readShort());
    side_ = uint16_t(stream.readShort());
    ALayoutLoader::readEndMark(stream, "fsizbut", 619);
}

void ASizerButtonNodeAdder::setUpItems() {
    AComponent::setUpItems();
    if (paneId_) {
        AComponent* p = findAncestor(&ASizerButton::classRecord);
        CheckAlloc(dynamic_cast<ASizerButton*>(p), "fsizbut", 604)->addPaneById(paneId_, side_);
    }
    DeleteLater(this, 608);
}

void ASizerButtonConstrainer::readFrom(AMemoryStream& stream) {
    AComponent::readFrom(stream);
    int32_t l = stream.readShort(), t = stream.readShort(), r = stream.readShort(), b = stream.readShort();
    boundary_ = ARect(l, t, r, b);
    ALayoutLoader::readEndMark(stream, "fsizbut", 665);
}

void ASizerButtonConstrainer::attachItems() {
    AComponent::attachItems();
    if (auto* sizer = dynamic_cast<ASizerButton*>(findAncestor(&ASizerButton::classRecord)))
        sizer->setBoundary(boundary_);
}

void ASizerButtonConstrainer::setUpItems() {
    AComponent::setUpItems();
    DeleteLater(this, 652);
}
