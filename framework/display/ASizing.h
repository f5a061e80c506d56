// Sizing rules: the four-edge rule of a display component, the holder of a
// relative rule, one layout pass over the children of an owner, and the
// table of components waiting to be laid out again.
//
// Units are the owner's local coordinates (pixels). Rules are values; an
// ASizer is owned by its component, an ASizingContext by its ASizingScope.
// A null owner, child or pending entry is an assertion ("fresize").
#pragma once

#include <cstdint>

#include "base/object/AEdge.h"
#include "base/object/ARect.h"
#include "framework/components/APointerSet.h"

class ADisplayComponent;
class AMemoryStream;
class ASizingContext;

// Edges in the order left, top, right, bottom; index XOR 2 is the partner.
// Record in a layout stream, little-endian, 32 bytes:
//   left (value i32 | mode u16 | aux u16) | top | right | bottom
struct ASizeSpec {
    AEdge edges[4];

    ASizeSpec() : ASizeSpec(ARect()) {}
    // Four absolute edges.
    explicit ASizeSpec(const ARect& rect);
    static ASizeSpec fromEdges(const AEdge& left, const AEdge& top, const AEdge& right, const AEdge& bottom);
    void copy(const ASizeSpec& other) { *this = other; }
    void read(AMemoryStream& stream);

    bool isAbsolute() const;
    // The extent that does not depend on the reference, or -1.
    int32_t fixedWidth() const { return fixedExtent(0); }
    int32_t fixedHeight() const { return fixedExtent(1); }
    // The frame of an absolute rule (a relative one is an assertion).
    ARect absoluteFrame() const;
    // The frame a component takes before its parent places it.
    ARect naturalFrame() const;

    static const ASizeSpec zero;  // absolute, empty at the origin
    static const ASizeSpec fill;  // fills the current flow rectangle

private:
    int32_t fixedExtent(int index) const;
};

// The holder of a component's relative rule.
class ASizer {
public:
    ASizer(ADisplayComponent* owner, const ASizeSpec& rule) : owner_(owner), rule_(rule) {}
    virtual ~ASizer() = default;
    virtual ARect frameIn(ASizingContext* context);
    virtual ARect naturalFrame() { return rule_.naturalFrame(); }

    ADisplayComponent* owner() const { return owner_; }
    ASizeSpec& rule() { return rule_; }

private:
    ADisplayComponent* owner_;  // not owned
    ASizeSpec rule_;
};

// One layout pass over the children of one owner. Rectangles are kept as
// four coordinates indexed like the edges.
class ASizingContext {
public:
    ASizingContext();
    virtual ~ASizingContext() = default;

    virtual ARect frameOfSizer(ASizer& sizer) { return computeFrame(sizer.rule()); }
    virtual ARect computeFrame(const ASizeSpec& rule);
    virtual void begin(ADisplayComponent* owner);
    // The frame of the child, which the caller gives it.
    virtual ARect place(ADisplayComponent* child);
    virtual void end() { owner_ = nullptr; }
    // A component's local bounds in the owner's coordinates.
    virtual ARect rectOf(ADisplayComponent* component);
    virtual ARect ownerRect();
    virtual ARect siblingRect(const AEdge& edge, ADisplayComponent* sibling);
    virtual ARect referenceRect(const AEdge& edge);
    virtual ADisplayComponent* findSibling(uint16_t id);

    ADisplayComponent* owner() const { return owner_; }

protected:
    int32_t resolveEdge(const AEdge& edge, int index, int32_t partner);
    void resolvePair(const ASizeSpec& rule, int index, int32_t out[4]);

    int32_t parent_[4];         // the owner's interior with its corners swapped
    int32_t flow_[4];           // the flow edges written so far
    int32_t previous_[4];       // the previously placed child's frame
    int32_t scratch_[4];        // flow edges written while one child is resolved
    ADisplayComponent* owner_;  // not owned; null outside a pass
};

// Begins a pass at construction; ends it and deletes the context at destruction.
class ASizingScope {
public:
    ASizingScope(ASizingContext* context, ADisplayComponent* owner);
    ~ASizingScope();
    ASizingScope(const ASizingScope&) = delete;
    ASizingScope& operator=(const ASizingScope&) = delete;

private:
    ASizingContext* context_;  // owned
};

// Components waiting for a layout; each flush lays out every distinct
// outermost unsettled ancestor once.
class APendingLayouts {
public:
    void add(ADisplayComponent* component);
    void remove(ADisplayComponent* component);
    // Drops a component that goes away, also from a flush under way.
    void forget(ADisplayComponent* component);
    bool contains(ADisplayComponent* component) const { return set_.contains(component); }
    bool empty() const { return set_.empty(); }
    void flush();
    void layoutNow(ADisplayComponent* component);
    // The last unsettled component on the way up, or null when c is settled.
    static ADisplayComponent* layoutRoot(ADisplayComponent* component);

private:
    APointerSet set_;
    APointerSet roots_;  // the roots a flush under way has still to lay out
};
