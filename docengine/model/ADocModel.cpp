// The base document model: parsers, separators, selection, parent and child
// models, and the operations segments and parsers call.
#include "docengine/model/ADocModel.h"

#include <algorithm>
#include <cstring>

#include "base/procedural/AError.h"
#include "docengine/model/AExpandTree.h"
#include "docengine/model/AFragParser.h"
#include "docengine/model/AHiliteRangeMap.h"
#include "docengine/model/ASegment.h"
#include "docengine/model/ASegParser.h"

const char ADocModel::kWordSeparators[] =
    " \t\n\r"
    "!\"#$%&'()*+,./:;<=>?@[\\]^_`{|}"
    "\x82\x84\x85\x88\x89\x8B\x91\x92\x93\x94\x95\x98\x9B\xA6\xA8\xAA\xAB\xAC\xB0\xB1\xB4\xB7\xB8\xBA\xBB\xBF";

static_assert(sizeof ADocModel::kWordSeparators - 1 == 60, "the separator table holds 60 bytes");

namespace {

long CapacityFor(long count) {
    return (count / 100) * 100 + 100;
}

}  // namespace

bool AFindActionFragment::test(AFragment* fragment) {
    if (!fragment)
        ThrowAssert("gmodel", 234);
    return (fragment->linkKind() & 0xFFF) == kind_;
}

bool AFindAnchorFragment::test(AFragment* fragment) {
    if (!fragment)
        ThrowAssert("gmodel", 251);
    return AFindActionFragment::test(fragment) && _stricmp(fragment->getName().c_str(), name_.c_str()) == 0;
}

ADocModel::ADocModel() : ADocModel(nullptr, nullptr) {}

ADocModel::ADocModel(ASegParser* segParser, AFragParser* fragParser)
    : fragParser_(nullptr),
      segParser_(nullptr),
      separators_(kWordSeparators),
      selection_(nullptr),
      parent_(nullptr),
      parentOffset_(0),
      resolver_(nullptr),
      children_(nullptr),
      childCount_(0),
      childCapacity_(0) {
    AssignRef(fragParser_, fragParser);
    AssignRef(segParser_, segParser);
    selection_ = CheckAlloc(new ATextPosition[2], "gmodel", 344);
}

ADocModel::~ADocModel() {
    if (parent_)
        parent_->forgetChild(this);
    for (long i = 0; i < childCount_; ++i)
        children_[i].child->setParent(nullptr, 0);
    delete[] children_;
    delete[] selection_;
    ReleaseAndNull(resolver_);
    ReleaseAndNull(segParser_);
    ReleaseAndNull(fragParser_);
}

void ADocModel::setFragParser(AFragParser* parser) {
    AssignRef(fragParser_, parser);
}

void ADocModel::copySettingsFrom(const ADocModel& source) {
    separators_ = source.separators_;
    filter_ = source.filter_;
    setBitmapResolver(source.resolver_);
}

ADocModel* ADocModel::clone() {
    ADocModel* copy = CheckAlloc(new ADocModel(segParser_, fragParser_), "gmodel", 383);
    copy->copySettingsFrom(*this);
    return copy;
}

ASegment* ADocModel::getSegmentAt(long source, bool findStart) {
    if (!segParser_)
        ThrowAssert("gmodel", 413);
    return segParser_->makeSegment(this, source, findStart);
}

long ADocModel::getLength() {
    if (!segParser_)
        ThrowAssert("gmodel", 428);
    return segParser_->getLength();
}

void ADocModel::changed(long start, long end, long argument, long code) {
    invalidate(start, end, true);
    notify(code, argument);
}

void ADocModel::resolvePositionsIn(ASegment* segment) {
    if (!selection_)
        return;
    selection_[0].resolve(segment);
    selection_[1].resolve(segment);
}

void ADocModel::selectionToSource() {
    if (!selection_)
        return;
    selection_[0].toSource(this);
    selection_[1].toSource(this);
}

void ADocModel::selectionFromSource(long start, long end) {
    if (!selection_)
        return;
    selection_[0].fromSource(this, start, end);
    selection_[1].fromSource(this, start, end);
}

AExpandNode* ADocModel::nodeAt(long position) {
    AExpandTree* tree = getExpandTree();
    return tree ? tree->nodeStartingAt(position) : nullptr;
}

void ADocModel::setExpandTree(AExpandTree* tree) {
    delete tree;
}

bool ADocModel::findMarker(long start, long end, long* position, long* value) {
    AHiliteRangeMap* map = getAttachment();
    if (!map || !map->findInRange(start, end))
        return false;
    *position = map->hitStart();
    *value = map->hitEnd();
    return true;
}

void ADocModel::setParent(ADocModel* parent, long offset) {
    parent_ = parent;
    parentOffset_ = offset;
    if (parent_) {
        delete[] selection_;
        selection_ = nullptr;
    } else if (!selection_) {
        selection_ = CheckAlloc(new ATextPosition[2], "gmodel", 344);
    }
}

long ADocModel::fromParent(long position) {
    return sourceToPosition(parent_->positionToSource(position) - parentOffset_);
}

long ADocModel::toParent(long position) {
    return parent_->sourceToPosition(positionToSource(position) + parentOffset_);
}

ATextPosition ADocModel::GetSelectionStart() {
    if (parent_)
        return ATextPosition(fromParent(parent_->GetSelectionStart().position()));
    return selection_ ? selection_[0] : ATextPosition(0);
}

ATextPosition ADocModel::GetSelectionEnd() {
    if (parent_)
        return ATextPosition(fromParent(parent_->GetSelectionEnd().position()));
    return selection_ ? selection_[1] : ATextPosition(0);
}

ADocRange ADocModel::GetSelection() {
    return ADocRange{GetSelectionStart().position(), GetSelectionEnd().position()};
}

void ADocModel::setSelection(const ATextPosition& start, const ATextPosition& end, long argument) {
    ADocRange current = GetSelection();
    if (start.position() == current.start && end.position() == current.end)
        return;
    if (parent_) {
        parent_->setSelection(ADocRange{toParent(start.position()), toParent(end.position())}, argument);
    } else {
        selection_[0] = start;
        selection_[1] = end;
        selection_[0].resolveIn(this);
        selection_[1].resolveIn(this);
    }
    notify(2, argument);
}

void ADocModel::setSelection(ADocRange range, long argument) {
    setSelection(ATextPosition(range.start), ATextPosition(range.end), argument);
}

ALocalRange ADocModel::selectionInSegment(ASegment* segment) {
    if (!segment)
        ThrowAssert("gmodel", 560);
    long after = segment->text().length() + 1;
    ATextPosition start = GetSelectionStart();
    ATextPosition end = GetSelectionEnd();
    auto endPart = [&]() -> long {
        if (end.isResolvedIn(segment))
            return end.local();
        if (end.position() < segment->docStart())
            return -1;
        if (end.position() < segment->docEnd())
            return segment->fromDocument(end.position());
        return after;
    };
    if (start.position() < segment->docStart())
        return ALocalRange{-1, endPart()};
    bool inside = start.position() < segment->docEnd();
    if (!start.isResolvedIn(segment) && !inside)
        return ALocalRange{after, after};
    long a = start.isResolvedIn(segment) ? start.local() : segment->fromDocument(start.position());
    return ALocalRange{a, endPart()};
}

long ADocModel::childIndexAfter(long position) const {
    long low = 0, high = childCount_;
    while (low < high) {
        long mid = (low + high) / 2;
        if (children_[mid].end > position)
            high = mid;
        else
            low = mid + 1;
    }
    return low;
}

void ADocModel::setChildCount(long count) {
    long capacity = CapacityFor(count);
    if (capacity != childCapacity_) {
        ChildRecord* grown = CheckAlloc(new ChildRecord[capacity], "cbinary", 377);
        if (childCount_ > 0)
            memcpy(grown, children_, sizeof(ChildRecord) * static_cast<size_t>(std::min(childCount_, count)));
        delete[] children_;
        children_ = grown;
        childCapacity_ = capacity;
    }
    childCount_ = count;
}

void ADocModel::addChild(ADocModel* child, long start, long end) {
    if (!child || start > end)
        ThrowAssert("gmodel", 880);
    long i = childIndexAfter(start);
    bool replace = i < childCount_ && children_[i].start == start && children_[i].end == end;
    if (!replace && ((i < childCount_ && children_[i].start < end) || (i > 0 && children_[i - 1].end > start)))
        ThrowAssert("cbinary", 341);
    child->setParent(this, start);
    if (AHiliteRangeMap* map = getAttachment()) {
        AHiliteRangeMap* part = map->extract(start, end);
        ARefHold<AHiliteRangeMap> hold(part ? part : CheckAlloc(new AHiliteRangeMap, "gmodel", 887));
        child->setAttachment(hold.get());
    }
    if (replace) {
        children_[i].child = child;
        return;
    }
    long count = childCount_;
    setChildCount(count + 1);
    memmove(children_ + i + 1, children_ + i, sizeof(ChildRecord) * static_cast<size_t>(count - i));
    children_[i] = ChildRecord{start, end, child};
}

void ADocModel::removeChild(ADocModel* child) {
    if (!child)
        ThrowAssert("gmodel", 900);
    long offset = child->getParentOffset();
    long i = childIndexAfter(offset);
    bool contains = i < childCount_ && children_[i].start <= offset && offset < children_[i].end;
    if (!contains && (i >= childCount_ || children_[i].start != offset))
        ThrowAssert("gmodel", i < childCount_ ? 904 : 907);
    memmove(children_ + i, children_ + i + 1, sizeof(ChildRecord) * static_cast<size_t>(childCount_ - i - 1));
    children_[childCount_ - 1] = ChildRecord{0, 0, nullptr};
    setChildCount(childCount_ - 1);
    child->setParent(nullptr, 0);
}

void ADocModel::forgetChild(ADocModel* child) {
    for (long i = 0; i < childCount_; ++i) {
        if (children_[i].child == child) {
            memmove(children_ + i, children_ + i + 1, sizeof(ChildRecord) * static_cast<size_t>(childCount_ - i - 1));
            setChildCount(childCount_ - 1);
            return;
        }
    }
}

ADocModel* ADocModel::getChildAt(long position) {
    long i = childIndexAfter(position);
    if (i < childCount_ && children_[i].start <= position)
        return children_[i].child;
    return nullptr;
}

long ADocModel::findPosition(AFindFragmentFun* test, long start, long limit) {
    AFragment* found = findFragment(test, start, limit);
    if (!found)
        return -1;
    ASegment* segment = found->segment();
    long position = segment->getStart();
    segment->unlock();
    return position;
}

ADocRange ADocModel::firstMarkedRange() {
    if (getMarkCount() > 0)
        return getMarkRange(0);
    return ADocRange{-1, -1};
}

ASegment* ADocModel::nextSegment(ASegment* segment) {
    return segment ? getSegmentAt(segment->getEnd(), true) : nullptr;
}

ASegment* ADocModel::previousSegment(ASegment* segment) {
    return segment ? getSegmentAt(segment->getStart() - 1, true) : nullptr;
}

ADocRange ADocModel::hitRangeAt(long source) {
    ASegment* segment = getSegmentAt(source, true);
    if (!segment)
        return ADocRange{0, 0};
    segment->lock();
    ADocRange result{0, 0};
    try {
        AFragment* first = segment->load();
        ADocModel* child = getChildAt(source);
        if (child) {
            result = child->hitRangeAt(source - child->getParentOffset());
        } else if (source >= segment->getStart() && source < segment->getEnd()) {
            long local = segment->localOfSource(source);
            AFragment* f = first;
            while (f && f->textRange().end <= local && f->next())
                f = f->next();
            long a = f ? f->textRange().start : local;
            long b = local;
            for (; f && (f->flags() & AFragment::kHighlighted); f = f->next())
                b = f->textRange().end;
            result = ADocRange{segment->toDocument(a), segment->toDocument(b)};
        }
    } catch (...) {
        segment->unlock();
        throw;
    }
    segment->unlock();
    return result;
}

void ADocModel::setBitmapResolver(ABitmapNameResolver* resolver) {
    AssignRef(resolver_, resolver);
}

AString ADocModel::resolveBitmapName(const AString& name) {
    return resolver_ ? resolver_->resolve(name) : name;
}
