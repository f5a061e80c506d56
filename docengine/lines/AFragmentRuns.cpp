// The runs the model's text and clickable fragments cut themselves into: the
// line layer defines them, so that the model stays below it.
#include <algorithm>
#include <cstdint>

#include "base/procedural/AError.h"
#include "docengine/lines/ADataRun.h"
#include "docengine/model/ADocModel.h"
#include "docengine/model/AFragment.h"
#include "docengine/model/ASegment.h"
#include "docengine/text/MarkupScan.h"

ADataRun* ATextFragment::nextDataRun(ADataRun* previous, bool cutAtBlanks) {
    bool continues = previous && previous->getFragment() == this;
    long start = continues ? previous->end : text_.start;
    const char* text = checkedSegment(300)->text().c_str();
    long limit = std::min<long>(text_.end, checkedSegment(300)->text().length());
    if (start >= limit)
        return bitmapRun(continues ? previous->end : name_.start);
    long p = start;
    while (p < limit && text[p] != '\t' && !isSpecialByte(text[p]) && !(cutAtBlanks && text[p] == ' '))
        ++p;
    ADataRun* run;
    if (p > start)
        run = new ATextDataRun(this, start, p);
    else if (text[p] == '\t')
        run = new ATabDataRun(this, p, p + 1);
    else if (text[p] == ' ')
        run = new ABlankDataRun(this, p, p + 1);
    else  // a special byte at the fragment's end is a one-byte run, never a pair past it
        run = new ASpecialCharDataRun(this, p, p + 2 <= limit ? p + 2 : p + 1, static_cast<uint8_t>(text[p]));
    return CheckAlloc(run, "gfrag", 330);
}

ADataRun* ATextFragment::bitmapRun(long start) {
    ADocModel* model = segment_ ? segment_->owner() : nullptr;
    if (!model || !model->hasBitmapResolver() || start >= name_.end)
        return nullptr;
    AString resolved = model->resolveBitmapName(getName());
    if (resolved != cachedName_)
        cachedName_ = resolved;
    ABitmapDataRun* run = CheckAlloc(new ABitmapDataRun(this, start, name_.end, 0), "gfrag", 340);
    run->name = cachedName_;
    return run;
}

ADataRun* AClickableFragment::nextDataRun(ADataRun* previous, bool) {
    if (previous && previous->getFragment() == this)
        return nullptr;
    return CheckAlloc(new ABitmapDataRun(this, text_.start, text_.end, clickFlags_), "gfrag", 420);
}
