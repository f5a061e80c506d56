// A shared hold on a paragraph fragment and a copy of its format; the
// fragment's segment stays locked while the reference lives.
#pragma once

#include "base/object/ARefObj.h"
#include "docengine/model/AFragment.h"

class AFragmentRef : public ARefObj {
public:
    AFragmentRef(const AParagraphFormat& format, AFragment* fragment);
    ~AFragmentRef() override;

    const AParagraphFormat& format() const { return format_; }
    AFragment* fragment() const { return fragment_; }
    // Keeps its own format fields and takes the other's where they are clear.
    void mergeFormat(const AParagraphFormat& other) { format_.merge(other); }

private:
    AParagraphFormat format_;
    AFragment* fragment_;  // not owned; its segment is locked
};
