// Fragments: the pieces a segment's markup is parsed into (text runs,
// paragraph breaks, clickable markers, links and picture areas), and the
// paragraph format the paragraph fragments carry.
//
// A fragment holds segment-local ranges, never text: it reads its characters
// through its segment, which owns the whole chain and deletes it. A fragment
// asked for text without a segment is an assertion ("gfrag").
#pragma once

#include <cstdint>

#include "base/object/AString.h"

class ADataRun;
class AExportContext;
class AFragmentArea;
class AExportWriter;
class AFragmentRef;
class ASegment;

// Three 16-bit words: format bits (bits 0-3 a horizontal field, 4-7 a vertical
// alignment field, single bits 0x100 0x200 0x400 0x800 0x8000), two values.
struct AParagraphFormat {
    uint16_t bits;
    int16_t first;
    int16_t second;

    AParagraphFormat() : bits(0), first(0), second(0) {}
    AParagraphFormat(uint16_t b, int16_t f) : bits(b), first(f), second(0) {}
    // Takes the other's fields where this one leaves them unset.
    void merge(const AParagraphFormat& other);
};

// A segment-local range, end excluded.
struct ALocalRange {
    long start;
    long end;
};

class AFragment {
public:
    // Flag bits.
    static const uint16_t kHighlighted = 1;
    static const uint16_t kPressed = 2;

    // Appends itself after previous when given.
    AFragment(ASegment* segment, AFragment* previous, ALocalRange text, uint16_t flags, ALocalRange name,
              uint16_t linkKind);
    virtual ~AFragment();
    AFragment(const AFragment&) = delete;
    AFragment& operator=(const AFragment&) = delete;

    // The run after previous (null: the first), or null when none is left;
    // the caller owns the run.
    virtual ADataRun* nextDataRun(ADataRun* previous, bool cutAtBlanks);
    // The area of an area fragment (the caller deletes it), else null.
    virtual AFragmentArea* makeArea() { return nullptr; }
    // The reference of a paragraph fragment (caller releases it), else null.
    virtual AFragmentRef* makeReference();
    // Cuts the fragment at a position and answers the second piece (this
    // fragment itself when nothing was cut).
    virtual AFragment* splitAt(long position);
    virtual ALocalRange wordRangeAt(long position, const char* separators);
    virtual long nextPosition(long p) { return p + 1; }
    virtual long previousPosition(long p) { return p - 1; }
    virtual AString getText(ALocalRange range);
    // Writes the range through the writer (plain text, runs, clickables).
    virtual void exportTo(AExportWriter* writer, ALocalRange range, const AExportContext& context);
    virtual bool isClickable() const { return false; }
    virtual bool isTable() const { return false; }
    virtual AString getOwnText();
    virtual AString getName();
    virtual AString getValue();

    AString rawText(ALocalRange range);
    AString plainText(ALocalRange range);
    ALocalRange wordAt(long position);
    ALocalRange nameExtent();
    AFragment* firstOfName();
    // Gives fragment the range [position, this end) and links it after this.
    void insertAfter(AFragment* fragment, long position);
    // Deletes every fragment after this one.
    void deleteFollowing();
    // Undoes the constructor's link when a derived constructor fails.
    void detachFromPrevious() {
        if (previous_ && previous_->next_ == this)
            previous_->next_ = nullptr;
        previous_ = nullptr;
    }
    void setHighlighted(bool on) { setFlagBits(flags_, kHighlighted, on); }
    void setFlag2(bool on) { setFlagBits(flags_, kPressed, on); }
    static void setFlagBits(uint16_t& word, uint16_t bits, bool on) {
        word = on ? static_cast<uint16_t>(word | bits) : static_cast<uint16_t>(word & ~bits);
    }
    // Deletes a chain from its first fragment, without recursion.
    static void deleteChain(AFragment* first);

    ASegment* segment() const { return segment_; }
    AFragment* next() const { return next_; }
    AFragment* previous() const { return previous_; }
    ALocalRange textRange() const { return text_; }
    ALocalRange nameRange() const { return name_; }
    uint16_t linkKind() const { return linkKind_; }
    uint16_t flags() const { return flags_; }
    int16_t hValue() const { return hValue_; }
    void setHValue(int16_t h) { hValue_ = h; }

protected:
    ASegment* checkedSegment(long line) const;

    ALocalRange name_;
    AString cachedName_;
    ASegment* segment_;  // not owned
    AFragment* next_;    // not owned: the segment owns the chain
    AFragment* previous_;
    ALocalRange text_;
    uint16_t linkKind_;
    uint16_t flags_;
    int16_t hValue_;
};

class AParagraphFragment : public AFragment {
public:
    AParagraphFragment(ASegment* segment, AFragment* previous, long position, uint16_t flags, ALocalRange name,
                       uint16_t linkKind);
    AFragmentRef* makeReference() override;
    // "\r\n", or nothing for the paragraph that begins its segment.
    AString getText(ALocalRange range) override;
    void exportTo(AExportWriter* writer, ALocalRange range, const AExportContext& context) override;

    AParagraphFormat format;
};

class ATextFragment : public AFragment {
public:
    ATextFragment(ASegment* segment, AFragment* previous, ALocalRange text, uint16_t flags, ALocalRange name,
                  uint16_t linkKind, int16_t style, int16_t colour);
    ADataRun* nextDataRun(ADataRun* previous, bool cutAtBlanks) override;
    AFragment* splitAt(long position) override;
    ALocalRange wordRangeAt(long position, const char* separators) override;
    AString getText(ALocalRange range) override { return rawText(range); }
    void exportTo(AExportWriter* writer, ALocalRange range, const AExportContext& context) override;

    int16_t style() const { return style_; }
    int16_t colour() const { return colour_; }

private:
    // After the text: one run for the bitmap the model names after the
    // fragment's name, when the model resolves bitmap names.
    ADataRun* bitmapRun(long start);

    int16_t style_;
    int16_t colour_;
};

class AClickableFragment : public AFragment {
public:
    AClickableFragment(ASegment* segment, AFragment* previous, ALocalRange text, uint16_t flags, ALocalRange name,
                       uint16_t linkKind, int16_t number, uint16_t clickFlags);
    ADataRun* nextDataRun(ADataRun* previous, bool cutAtBlanks) override;
    bool isClickable() const override { return true; }
    void exportTo(AExportWriter* writer, ALocalRange range, const AExportContext& context) override;

    int16_t number() const { return number_; }
    uint16_t clickFlags() const { return clickFlags_; }

private:
    int16_t number_;
    uint16_t clickFlags_;
};

class ALinkFragment : public AClickableFragment {
public:
    ALinkFragment(ASegment* segment, AFragment* previous, ALocalRange text, uint16_t flags, ALocalRange name,
                  uint16_t linkKind, int16_t number, uint16_t clickFlags, const AString& target);
    AString getOwnText() override { return AString(); }
    AString getName() override { return target_; }
    AString getValue() override { return target_; }
    // "(" + the target's top byte + ")".
    void exportTo(AExportWriter* writer, ALocalRange range, const AExportContext& context) override;

    const AString& target() const { return target_; }

private:
    AString target_;
};

struct AAreaRect {
    long left, top, right, bottom;
};

class AAreaFragment : public AFragment {
public:
    AAreaFragment(ASegment* segment, AFragment* previous, ALocalRange text, uint16_t flags, ALocalRange name,
                  uint16_t linkKind, const AAreaRect& rect);
    AFragmentArea* makeArea() override;
    const AAreaRect& rect() const { return rect_; }

private:
    AAreaRect rect_;
};
