// Events of the chronology: the fragment parser that cuts an event line into
// one fragment per event, and the event fragment with its category, value,
// row and picture, which lays itself out as a picture run and a label run.
//
// An event is seven fields separated by vertical bars:
//   year | category | value | row | large | label | link
// year: decimal (only the line's first event's year counts); category,
// value, row, large: decimal (atol), category, row and large stored in 16
// bits; label: up to the sixth bar, only the text after its first colon when
// it has one; link: the rest of the event, absent when it is empty. Events of
// one line are separated by TAB. A missing bar leaves the fields after it 0,
// the label empty (no runs) and no link. The label is plain text.
#pragma once

#include <cstdint>

#include "docengine/parser/ATextFragParser.h"

class AChronoFragment : public AFragment {
public:
    static const uint16_t kLinkKind = 3;
    static const uint16_t kSelected = AFragment::kHighlighted;  // set by the view
    static const uint16_t kHot = AFragment::kPressed;           // set while hovered

    // label: the text range; link: the name range (empty without a link).
    AChronoFragment(ASegment* segment, AFragment* previous, ALocalRange label, ALocalRange link, uint16_t linkKind);

    // The picture run first, then the label run, then none; none at once for an empty label.
    ADataRun* nextDataRun(ADataRun* previous, bool cutAtBlanks) override;

    AString label() { return getOwnText(); }
    AString link() { return linkKind() ? getName() : AString(); }
    bool hasLabel() const { return text_.end > text_.start; }
    void setFlag(uint16_t bit, bool on) { setFlagBits(flags_, bit, on); }

    long rect[4] = {0, 0, 0, 0};  // left, top, right, bottom of the last hit run
    int16_t category = 0;
    long value = 0;
    long row = 0;
    int16_t picture = 0;
    int16_t labelStyle = 0;
    int16_t labelColour = 0;
    int16_t runsMade = 0;
    int16_t large = 0;
};

class AChronoFragParser : public ATextFragParser {
public:
    explicit AChronoFragParser(char command = '/') : ATextFragParser(command) {}

    // The events of the line, without paragraph or highlight fragments.
    AFragment* parseSegment(ASegment* segment) override;
    // One fragment per TAB-separated event of [p, end).
    const char* parseRange(AFragParseContext& context, const char* p, const char* end) override;

private:
    void parseEvent(AFragParseContext& context, const char* p, const char* end);
};
