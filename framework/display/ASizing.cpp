// Sizing rules, their resolution in a layout pass, and the pending layouts.
#include "framework/display/ASizing.h"

#include "base/object/AMemoryStream.h"
#include "base/procedural/AError.h"
#include "base/procedural/AOutStream.h"
#include "framework/display/ADisplayComponent.h"
#include "framework/display/ADisplayServices.h"

namespace {

int32_t Coord(const ARect& r, int index) {
    switch (index) {
        case 0:
            return r.left();
        case 1:
            return r.top();
        case 2:
            return r.right();
        default:
            return r.bottom();
    }
}

void Store(int32_t out[4], const ARect& r) {
    for (int i = 0; i < 4; ++i)
        out[i] = Coord(r, i);
}

// Extreme layout values wrap to 32 bits instead of overflowing.
int32_t Wrap(int64_t v) {
    return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(v)));
}

ARect RectOf(const int32_t c[4]) {
    return ARect(c[0], c[1], c[2], c[3]);
}

ASizeSpec MakeFill() {
    ASizeSpec rule;
    for (AEdge& e : rule.edges)
        e.set(0, 0x3030, 0);
    return rule;
}

}  // namespace

const ASizeSpec ASizeSpec::zero;
const ASizeSpec ASizeSpec::fill = MakeFill();

ASizeSpec::ASizeSpec(const ARect& rect) {
    for (int i = 0; i < 4; ++i)
        edges[i].set(Coord(rect, i), 0, 0);
}

ASizeSpec ASizeSpec::fromEdges(const AEdge& left, const AEdge& top, const AEdge& right, const AEdge& bottom) {
    ASizeSpec rule;
    rule.edges[0] = left;
    rule.edges[1] = top;
    rule.edges[2] = right;
    rule.edges[3] = bottom;
    return rule;
}

void ASizeSpec::read(AMemoryStream& stream) {
    for (AEdge& e : edges)
        e.read(stream);
}

bool ASizeSpec::isAbsolute() const {
    for (const AEdge& e : edges) {
        if (e.attachment() != 0)
            return false;
    }
    return true;
}

int32_t ASizeSpec::fixedExtent(int index) const {
    const AEdge& first = edges[index];
    const AEdge& second = edges[index ^ 2];
    uint16_t kind = first.attachment();
    if (kind == 0x4000 && first.aux != second.aux)
        return -1;
    if (kind != second.attachment())
        return -1;
    // 64-bit: extents of extreme layout values must not overflow.
    int64_t s = (index & 2) ? -1 : 1;
    int64_t p1 = first.resolve(0, 0, index, 0) * s;
    int64_t p2 = second.resolve(0, 0, index ^ 2, 0) * s;
    int64_t extent;
    int pair = ((first.mode & AEdge::kPlacementMask) << 8) | (second.mode & AEdge::kPlacementMask);
    switch (pair) {
        case 0x0000:
        case 0x4040:
        case 0x2030:
        case 0x3020:
            extent = p2 - p1;
            break;
        case 0x0010:
            extent = p2;
            break;
        case 0x1000:
            extent = -p1;
            break;
        default:
            return -1;
    }
    return Wrap(extent);
}

ARect ASizeSpec::absoluteFrame() const {
    if (!isAbsolute())
        ThrowAssert("fresize", 195);
    ASizingContext context;
    return context.computeFrame(*this);
}

ARect ASizeSpec::naturalFrame() const {
    if (isAbsolute())
        return absoluteFrame();
    int32_t w = fixedWidth();
    int32_t h = fixedHeight();
    if (w == -1)
        w = 500;
    if (h == -1)
        h = 500;
    return ARect(Wrap(-500 - int64_t(w)), Wrap(-500 - int64_t(h)), -500, -500);
}

ARect ASizer::frameIn(ASizingContext* context) {
    if (!context)
        ThrowAssert("fresize", 242);
    return context->frameOfSizer(*this);
}

ASizingContext::ASizingContext() : parent_(), flow_(), previous_(), scratch_(), owner_(nullptr) {}

int32_t ASizingContext::resolveEdge(const AEdge& edge, int index, int32_t partner) {
    ARect r = referenceRect(edge);
    int32_t result = edge.resolve(Coord(r, index), Coord(r, index ^ 2), index, partner);
    if (edge.mode & AEdge::kFlow)
        scratch_[index] = result;
    return result;
}

void ASizingContext::resolvePair(const ASizeSpec& rule, int index, int32_t out[4]) {
    const AEdge& first = rule.edges[index];
    const AEdge& second = rule.edges[index ^ 2];
    if ((first.mode & AEdge::kPlacementMask) == 0x10) {
        out[index ^ 2] = resolveEdge(second, index ^ 2, 0);
        out[index] = resolveEdge(first, index, out[index ^ 2]);
    } else {
        out[index] = resolveEdge(first, index, 0);
        out[index ^ 2] = resolveEdge(second, index ^ 2, out[index]);
    }
}

ARect ASizingContext::computeFrame(const ASizeSpec& rule) {
    int32_t out[4] = {0, 0, 0, 0};
    resolvePair(rule, 0, out);
    resolvePair(rule, 1, out);
    return RectOf(out);
}

void ASizingContext::begin(ADisplayComponent* owner) {
    if (!owner)
        ThrowAssert("fresize", 330);
    owner_ = owner;
    ARect r = ownerRect();
    // The parent rectangle holds the interior with its corners swapped, so
    // that placement b measures from the side on which the edge lies.
    Store(parent_, ARect(r.right(), r.bottom(), r.left(), r.top()));
    Store(flow_, RectOf(parent_));
    Store(previous_, r);
}

ARect ASizingContext::place(ADisplayComponent* child) {
    if (!child)
        ThrowAssert("fresize", 340);
    if (ASizer* sizer = child->sizer()) {
        Store(scratch_, RectOf(flow_));
        Store(previous_, sizer->frameIn(this));
        Store(flow_, RectOf(scratch_));
    } else {
        Store(previous_, child->getFrame());
    }
    return RectOf(previous_);
}

ARect ASizingContext::rectOf(ADisplayComponent* component) {
    if (!component)
        ThrowAssert("fresize", 357);
    ARect r = component->getLocalBounds();
    if (component != owner_ && owner_)
        r = owner_->screenToLocal(component->localToScreen(r));
    return r;
}

ARect ASizingContext::ownerRect() {
    return rectOf(owner_);
}

ARect ASizingContext::siblingRect(const AEdge& edge, ADisplayComponent* sibling) {
    (void)edge;
    return rectOf(sibling);
}

ARect ASizingContext::referenceRect(const AEdge& edge) {
    switch (edge.attachment()) {
        case 0x3000:
            return RectOf(flow_);
        case 0x2000:
            return RectOf(previous_);
        case 0x4000:
            if (ADisplayComponent* sibling = findSibling(edge.aux))
                return siblingRect(edge, sibling);
            return RectOf(parent_);
        default:
            return RectOf(parent_);
    }
}

ADisplayComponent* ASizingContext::findSibling(uint16_t id) {
    if (!id || !owner_)
        return nullptr;
    AComponent* found = owner_->findById(static_cast<int16_t>(id), 0);
    return found ? static_cast<ADisplayComponent*>(found->castTo(&ADisplayComponent::classRecord)) : nullptr;
}

ASizingScope::ASizingScope(ASizingContext* context, ADisplayComponent* owner) : context_(context) {
    if (!context_)
        ThrowAssert("fresize", 439);
    try {
        context_->begin(owner);
    } catch (...) {
        DeleteAndNull(context_);
        throw;
    }
}

ASizingScope::~ASizingScope() {
    if (!context_)
        return;
    // Nothing may leave a destructor: a failing end is logged, the context still goes.
    try {
        context_->end();
    } catch (...) {
        CurrentErrorStream().writeString("#ASizingScope::~ASizingScope() : the pass did not end\n");
    }
    DeleteAndNull(context_);
}

void APendingLayouts::add(ADisplayComponent* component) {
    set_.add(component);
    component->setFlag(AComponent::kInResizeManager, 1);
}

void APendingLayouts::remove(ADisplayComponent* component) {
    component->setFlag(AComponent::kInResizeManager, 0);
    set_.remove(component);
}

ADisplayComponent* APendingLayouts::layoutRoot(ADisplayComponent* component) {
    ADisplayComponent* last = nullptr;
    for (ADisplayComponent* c = component; c && !c->isSettled(); c = c->getDisplayParent())
        last = c;
    return last;
}

void APendingLayouts::forget(ADisplayComponent* component) {
    if (set_.contains(component))
        remove(component);
    roots_.remove(component);
}

void APendingLayouts::flush() {
    while (!set_.empty()) {
        auto* c = static_cast<ADisplayComponent*>(set_.first());
        if (!c)
            ThrowAssert("fresize", 482);
        if (ADisplayComponent* r = layoutRoot(c))
            roots_.add(r);
        remove(c);
    }
    // A root that one layout deletes leaves roots_ before its turn.
    while (!roots_.empty()) {
        auto* r = static_cast<ADisplayComponent*>(roots_.first());
        if (!r)
            ThrowAssert("fresize", 511);
        roots_.remove(r);
        r->updateLayout();
    }
}

void APendingLayouts::layoutNow(ADisplayComponent* component) {
    if (ADisplayComponent* r = layoutRoot(component))
        r->updateLayout();
    if (set_.contains(component))
        set_.remove(component);
}
