// Segments: their text, chain, locking and position conversions.
#include "docengine/model/ASegment.h"

#include <algorithm>
#include <cstring>

#include "base/procedural/AError.h"
#include "docengine/model/ADocModel.h"
#include "docengine/model/AFragParser.h"

ASegment::ASegment(ADocModel* owner, long start, long end, const AString& text)
    : owner_(owner),
      content_(nullptr),
      start_(start),
      end_(end),
      docStart_(0),
      docEnd_(0),
      text_(text),
      flags_(0),
      ringNext_(nullptr),
      ringPrev_(nullptr) {
    if (owner_) {
        docStart_ = owner_->sourceToPosition(start);
        docEnd_ = owner_->sourceToPosition(end);
        owner_->resolvePositionsIn(this);
        if (owner_->isMarkedStart(start))
            flags_ |= kMarked;
    }
}

ASegment::~ASegment() {
    unlink();
    AFragment::deleteChain(content_);
    content_ = nullptr;
    owner_ = nullptr;
}

AFragment* ASegment::load() {
    if (!content_ && !(flags_ & kLoaded)) {
        if (!owner_ || !owner_->getFragParser())
            ThrowAssert("gsegment", 88);
        content_ = owner_->getFragParser()->parseSegment(this);
        flags_ |= kLoaded;
        didLoad();
    }
    return content_;
}

void ASegment::lock() {
    addRef();
    if (refCount() == (ringNext_ ? 2 : 1))
        attach();
}

void ASegment::unlock() {
    if (refCount() == 1 && ringNext_)
        ThrowAssert("gsegment", 344);
    if (refCount() == (ringNext_ ? 2 : 1))
        detach();
    release();
}

void ASegment::dropOwner() {
    ADocModel* owner = owner_;
    owner_ = nullptr;
    if (owner && !ringNext_ && refCount() > 0)
        owner->release();
}

void ASegment::recomputeDocRange() {
    if (owner_) {
        docStart_ = owner_->sourceToPosition(start_);
        docEnd_ = owner_->sourceToPosition(end_);
    }
}

void ASegment::linkInto(ASegment* other) {
    unlink();
    if (!other) {
        ringNext_ = ringPrev_ = this;
        return;
    }
    ringNext_ = other;
    ringPrev_ = other->ringPrev_;
    ringPrev_->ringNext_ = this;
    other->ringPrev_ = this;
}

void ASegment::unlink() {
    if (!ringNext_)
        return;
    ringPrev_->ringNext_ = ringNext_;
    ringNext_->ringPrev_ = ringPrev_;
    ringNext_ = ringPrev_ = nullptr;
}

const ARangeArray* ASegment::getHighlightRanges() {
    return owner_ ? owner_->highlightRanges() : nullptr;
}

void ASegment::reportHit(long position) {
    if (owner_)
        owner_->hitReported(this, position);
}

void ASegment::didLoad() {
    if (owner_)
        owner_->segmentLoaded(this);
}

AHiliteRangeMap* ASegment::getAttachment() {
    if (isTable() || !owner_)
        return nullptr;
    return owner_->getAttachment();
}

bool ASegment::findMarker(long start, long end, long* position, long* value) {
    if (isTable() || !owner_)
        return false;
    return owner_->findMarker(start, end, position, value);
}

AString ASegment::getText(ALocalRange range) {
    if (!owner_ || range.end <= range.start)
        return AString();
    ALocalRange doc = rangeToDocument(range);
    return owner_->exportText(doc.start, doc.end);
}

void ASegment::attach() {
    if (owner_) {
        owner_->addRef();
        owner_->segmentLocked(this);
    }
}

void ASegment::detach() {
    if (owner_) {
        ADocModel* owner = owner_;
        owner->segmentUnlocked(this);
        owner->release();
    }
}

bool ASegment::isTable() const {
    return text_.length() >= 2 && text_[0] == '/' && text_[1] == '&';
}

bool ASegment::hasTable() const {
    return strstr(text_.c_str(), "/&TABLE") != nullptr;
}

ALocalRange ASegment::rangeToDocument(ALocalRange local) const {
    if (local.end <= local.start)
        return ALocalRange{toDocument(local.start), toDocument(local.start)};
    return ALocalRange{toDocument(local.start), toDocument(local.end - 1) + 1};
}

long ASegment::sourceOf(long local) const {
    if (!owner_)
        ThrowAssert("gsegment", 185);
    return owner_->positionToSource(toDocument(local));
}

long ASegment::localOfSource(long source) const {
    if (!owner_ || source < start_ || source >= end_)
        ThrowAssert("gsegment", 194);
    return fromLocalOffset(owner_->sourceToPosition(source) - docStart_);
}

AString ASegment::rawText(ALocalRange range) const {
    if (range.end > text_.length() || range.start < 0 || range.start > range.end)
        ThrowAssert("gsegment", 205);
    return AString(text_.c_str() + range.start, range.end - range.start);
}

AFragment* ASegment::nextFragment(AFragment* fragment) const {
    if (!fragment)
        ThrowAssert("gsegment", 97);
    return fragment->next();
}

// Widens the word over the neighbours on one side while it reaches the edge
// of the current, non-empty fragment.
static void WidenOver(ALocalRange& word, AFragment* f, bool backward, const char* separators) {
    for (;;) {
        ALocalRange r = f->textRange();
        if (r.start >= r.end || (backward ? word.start != r.start : word.end != r.end))
            return;
        f = backward ? f->previous() : f->next();
        if (!f)
            return;
        ALocalRange more = f->wordRangeAt(backward ? f->textRange().end : f->textRange().start, separators);
        if (more.start >= more.end)
            return;
        word.start = std::min(word.start, more.start);
        word.end = std::max(word.end, more.end);
    }
}

ALocalRange ASegment::wordAt(AFragment* fragment, long position) {
    if (!fragment)
        ThrowAssert("gsegment", 221);
    if (!owner_)
        return fragment->textRange();
    const char* separators = owner_->getWordSeparators().c_str();
    ALocalRange word = fragment->wordRangeAt(position, separators);
    WidenOver(word, fragment, true, separators);
    WidenOver(word, fragment, false, separators);
    return word;
}

static bool SameName(const AFragment* a, const AFragment* b) {
    return a->nameRange().start == b->nameRange().start && a->nameRange().end == b->nameRange().end;
}

ALocalRange ASegment::nameExtent(AFragment* fragment) const {
    if (!fragment)
        ThrowAssert("gsegment", 260);
    ALocalRange extent = fragment->textRange();
    if (fragment->nameRange().end <= 0)
        return extent;
    for (AFragment* f = fragment->previous(); f && SameName(f, fragment); f = f->previous())
        extent.start = std::min(extent.start, f->textRange().start);
    for (AFragment* f = fragment->next(); f && SameName(f, fragment); f = f->next())
        extent.end = std::max(extent.end, f->textRange().end);
    return extent;
}

AFragment* ASegment::firstOfName(AFragment* fragment) const {
    if (!fragment)
        ThrowAssert("gsegment", 279);
    if (fragment->nameRange().end <= 0)
        return nullptr;
    AFragment* first = fragment;
    while (first->previous() && SameName(first->previous(), fragment))
        first = first->previous();
    return first;
}

AString ASegmentSub::getText(ALocalRange range) {
    if (!owner() || range.end <= range.start)
        return AString();
    AString text = ASegment::getText(range);
    long n = text.length();
    while (n > 0 && (text[n - 1] == '\r' || text[n - 1] == '\n'))
        --n;
    text.setLength(n);
    return text;
}
