// Sizer buttons: a thin button between panes that the user drags along one
// or both axes, inside limits, rewriting the facing edge of each attached
// pane's sizing rule so that the parent's layout resizes the panes. With it:
// its behaviour (its command enabled), the bounding box, and three
// layout-only helpers that set an edge, attach a pane or give a boundary,
// then delete themselves.
//
// The sizer owns its attachment records, never the panes, twin or ghost.
// Missing end marks and unknown pane ids are assertions ("fsizbut").
#pragma once

#include <cstdint>
#include <vector>

#include "framework/components/ABehavior.h"
#include "framework/controls/AIconButton.h"
#include "framework/display/ASizerGroup.h"

class ASizerButton : public AIconButton {
    SV_DECLARE_CLASS(ASizerButton)
public:
    ASizerButton() = default;
    ASizerButton(AComponent* parent, int16_t id, const ASizeSpec& rule, uint16_t beforeId, uint16_t afterId,
                 bool horizontal, bool vertical, const ARect& limits);

    // Record: AIconButton's, before id, after id, twin id, ghost id,
    // horizontal, vertical (u16 each), limits left, top, right, bottom (i16 each), FFFF.
    void readFrom(AMemoryStream& stream) override;
    void attachItems() override;
    void setUpItems() override;
    void detachItems() override;
    ACommand* mouseDown(AMouseEvent& event) override;
    void trackStart() override;
    void trackMove(const APoint& where, bool moved) override;
    void trackEnd(const APoint& where) override;

    // Moves the sizer to p (parent coordinates) as a whole drag would.
    void applyPosition(const APoint& p);
    void setLimits(const ARect& margins) { limits_ = margins; }
    ARect getLimits() const { return limits_; }
    // A right or bottom of 0 means no limit.
    void setBoundary(const ARect& boundary);
    const ARect& boundary() const { return boundary_; }
    // Side 1: the pane before the sizer (its right or bottom edge follows);
    // side 0: the pane after it (its left or top edge follows).
    void addPane(ADisplayComponent* pane, uint16_t side);
    void addPaneById(uint16_t id, uint16_t side);
    uint16_t paneCount(uint16_t side) const { return side ? beforeCount_ : afterCount_; }
    const ARect& dragBounds() const { return dragBounds_; }

private:
    struct Attachment {
        ADisplayComponent* pane;  // not owned
        APoint offset;
        uint16_t side;
    };
    void recordOffsets();
    void computeDragBounds();
    void moveTo(const APoint& p);
    void layOutPanes();
    void placeGhost();

    uint16_t beforeId_ = 0;
    uint16_t afterId_ = 0;
    uint16_t twinId_ = 0;
    uint16_t ghostId_ = 0;
    std::vector<Attachment> panes_;
    ADisplayComponent* twin_ = nullptr;   // not owned
    ADisplayComponent* ghost_ = nullptr;  // not owned
    ARect limits_;
    ARect boundary_;
    ARect dragBounds_;
    uint16_t beforeCount_ = 0;
    uint16_t afterCount_ = 0;
    uint16_t horizontal_ = 0;
    uint16_t vertical_ = 0;
    APoint press_;  // the press point, local
};

// Keeps a sizer button's command enabled and handled in its cluster.
class ASizerButtonBehavior : public ABehavior {
    SV_DECLARE_CLASS(ASizerButtonBehavior)
public:
    ASizerButtonBehavior() = default;
    ASizerButtonBehavior(AComponent* cluster, int16_t command) : ABehavior(cluster, 0), command_(command) {}
    void bindActions() override;
    ACommand* doCommand(int16_t id, long argument) override;
    int16_t commandStatus(int16_t id, long argument) override;

private:
    int16_t command_ = 0;
};

// A group whose set-up makes it mouse-transparent (display flag 0x2000).
class ABoundingBox : public ASizerGroup {
    SV_DECLARE_CLASS(ABoundingBox)
public:
    ABoundingBox() = default;
    using ASizerGroup::ASizerGroup;
    // Record: ASizerGroup's, FFFF.
    void readFrom(AMemoryStream& stream) override;
    void setUpItems() override;
};

// Overwrites one edge (0 left .. 3 bottom, 0xFFFF none) of its nearest
// display ancestor's rule when attached; deletes itself once set up.
class ASizeConstraintSetter : public AComponent {
    SV_DECLARE_CLASS(ASizeConstraintSetter)
public:
    ASizeConstraintSetter() = default;
    ASizeConstraintSetter(AComponent* parent, uint16_t index, const AEdge& edge)
        : AComponent(parent, 0), edge_(edge), index_(index) {}
    // Record: AComponent's, index u16, mode text, value text (strtol base 0), aux u16, FFFF.
    void readFrom(AMemoryStream& stream) override;
    void attachItems() override;
    void setUpItems() override;

private:
    AEdge edge_ = {0, 0, 0};
    uint16_t index_ = 0xFFFF;
};

// Attaches one more pane to its sizer-button ancestor, then deletes itself.
class ASizerButtonNodeAdder : public AComponent {
    SV_DECLARE_CLASS(ASizerButtonNodeAdder)
public:
    ASizerButtonNodeAdder() = default;
    ASizerButtonNodeAdder(AComponent* parent, uint16_t paneId, uint16_t side)
        : AComponent(parent, 0), paneId_(paneId), side_(side) {}
    // Record: AComponent's, pane id u16, side u16, FFFF.
    void readFrom(AMemoryStream& stream) override;
    void setUpItems() override;

private:
    uint16_t paneId_ = 0;
    uint16_t side_ = 0;
};

// Gives its sizer-button ancestor a boundary, then deletes itself.
class ASizerButtonConstrainer : public AComponent {
    SV_DECLARE_CLASS(ASizerButtonConstrainer)
public:
    ASizerButtonConstrainer() = default;
    ASizerButtonConstrainer(AComponent* parent, const ARect& boundary) : AComponent(parent, 0), boundary_(boundary) {}
    // Record: AComponent's, left, top, right, bottom (i16 each), FFFF.
    void readFrom(AMemoryStream& stream) override;
    void attachItems() override;
    void setUpItems() override;

private:
    ARect boundary_;
};
