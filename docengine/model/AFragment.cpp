// Fragments and the paragraph format.
#include "docengine/model/AFragment.h"

#include <algorithm>
#include <cstring>

#include "base/procedural/AError.h"
#include "docengine/model/ADocModel.h"
#include "docengine/model/AFragmentRef.h"
#include "docengine/model/ASegment.h"
#include "docengine/text/MarkupScan.h"

void AParagraphFormat::merge(const AParagraphFormat& other) {
    if (!(bits & 0x0F))
        bits = static_cast<uint16_t>(bits | (other.bits & 0x0F));
    if (!(bits & 0xF0))
        bits = static_cast<uint16_t>(bits | (other.bits & 0xF0));
    bits = static_cast<uint16_t>(bits | (other.bits & 0x8F00));
    if (other.first)
        first = other.first;
    if (other.second)
        second = other.second;
}

AFragment::AFragment(ASegment* segment, AFragment* previous, ALocalRange text, uint16_t flags, ALocalRange name,
                     uint16_t linkKind)
    : name_(name),
      segment_(segment),
      next_(nullptr),
      previous_(previous),
      text_(text),
      linkKind_(linkKind),
      flags_(flags),
      hValue_(0) {
    if (previous_)
        previous_->next_ = this;
}

AFragment::~AFragment() = default;

void AFragment::deleteChain(AFragment* first) {
    while (first) {
        AFragment* next = first->next_;
        delete first;
        first = next;
    }
}

ASegment* AFragment::checkedSegment(long line) const {
    if (!segment_)
        ThrowAssert("gfrag", line);
    return segment_;
}

ADataRun* AFragment::nextDataRun(ADataRun*, bool) {
    return nullptr;
}

AFragmentRef* AFragment::makeReference() {
    return nullptr;
}

AFragment* AFragment::splitAt(long) {
    return this;
}

ALocalRange AFragment::wordRangeAt(long position, const char*) {
    return ALocalRange{position, position};
}

AString AFragment::getText(ALocalRange) {
    return AString();
}

AString AFragment::getOwnText() {
    return rawText(text_);
}

AString AFragment::getName() {
    return rawText(name_);
}

AString AFragment::getValue() {
    return plainText(nameExtent());
}

AString AFragment::rawText(ALocalRange range) {
    return checkedSegment(120)->rawText(range);
}

AString AFragment::plainText(ALocalRange range) {
    return checkedSegment(125)->getText(range);
}

ALocalRange AFragment::wordAt(long position) {
    return checkedSegment(130)->wordAt(this, position);
}

ALocalRange AFragment::nameExtent() {
    return checkedSegment(135)->nameExtent(this);
}

AFragment* AFragment::firstOfName() {
    return checkedSegment(140)->firstOfName(this);
}

void AFragment::insertAfter(AFragment* fragment, long position) {
    fragment->text_ = ALocalRange{position, text_.end};
    text_.end = position;
    fragment->next_ = next_;
    fragment->previous_ = this;
    if (next_)
        next_->previous_ = fragment;
    next_ = fragment;
}

void AFragment::deleteFollowing() {
    deleteChain(next_);
    next_ = nullptr;
}

AParagraphFragment::AParagraphFragment(ASegment* segment, AFragment* previous, long position, uint16_t flags,
                                       ALocalRange name, uint16_t linkKind)
    : AFragment(segment, previous, ALocalRange{position, position}, flags, name, linkKind) {}

AFragmentRef* AParagraphFragment::makeReference() {
    return CheckAlloc(new AFragmentRef(format, this), "gfrag", 210);
}

AString AParagraphFragment::getText(ALocalRange) {
    return previous_ ? AString("\r\n") : AString();
}

ATextFragment::ATextFragment(ASegment* segment, AFragment* previous, ALocalRange text, uint16_t flags, ALocalRange name,
                             uint16_t linkKind, int16_t style, int16_t colour)
    : AFragment(segment, previous, text, flags, name, linkKind), style_(style), colour_(colour) {}

AFragment* ATextFragment::splitAt(long position) {
    if (position < text_.start || position > text_.end - 1)
        return this;
    ATextFragment* piece = CheckAlloc(new ATextFragment(segment_, nullptr, text_, flags_, name_,
                                                        static_cast<uint16_t>(linkKind_ % 4096), style_, colour_),
                                      "gfrag", 360);
    piece->hValue_ = hValue_;
    insertAfter(piece, position);
    return piece;
}

ALocalRange ATextFragment::wordRangeAt(long position, const char* separators) {
    const char* text = checkedSegment(380)->text().c_str();
    long limit = std::min<long>(text_.end, checkedSegment(380)->text().length());
    auto isSeparator = [separators](char c) { return c != 0 && strchr(separators, c) != nullptr; };
    long wordStart = text_.start;
    for (long p = text_.start; p < position && p < limit; ++p) {
        if (isSpecialByte(text[p]))
            ++p;
        else if (isSeparator(text[p]))
            wordStart = p + 1;
    }
    long wordEnd = limit;
    for (long p = position; p < limit; ++p) {
        if (isSpecialByte(text[p])) {
            ++p;
        } else if (isSeparator(text[p])) {
            wordEnd = p;
            break;
        }
    }
    if (wordEnd < wordStart)
        wordEnd = wordStart;
    return ALocalRange{wordStart, wordEnd};
}

AClickableFragment::AClickableFragment(ASegment* segment, AFragment* previous, ALocalRange text, uint16_t flags,
                                       ALocalRange name, uint16_t linkKind, int16_t number, uint16_t clickFlags)
    : AFragment(segment, previous, text, flags, name, linkKind), number_(number), clickFlags_(clickFlags) {}

ALinkFragment::ALinkFragment(ASegment* segment, AFragment* previous, ALocalRange text, uint16_t flags, ALocalRange name,
                             uint16_t linkKind, int16_t number, uint16_t clickFlags, const AString& target)
    : AClickableFragment(segment, previous, text, flags, name, linkKind, number, clickFlags), target_(target) {}

AAreaFragment::AAreaFragment(ASegment* segment, AFragment* previous, ALocalRange text, uint16_t flags, ALocalRange name,
                             uint16_t linkKind, const AAreaRect& rect)
    : AFragment(segment, previous, text, flags, name, linkKind), rect_(rect) {}

AFragmentRef::AFragmentRef(const AParagraphFormat& format, AFragment* fragment) : format_(format), fragment_(fragment) {
    if (fragment_->segment())
        fragment_->segment()->lock();
}

AFragmentRef::~AFragmentRef() {
    if (fragment_->segment())
        fragment_->segment()->unlock();
}
