// The least data runs the fragments hand to the line layout: a kind and a
// segment-local range, until the line layout brings its own run classes.
#pragma once

#include "base/object/AString.h"

class AFragment;

class ADataRun {
public:
    enum Kind { kText, kTab, kBlank, kSpecial, kBitmap, kClickable };

    ADataRun(Kind kind, AFragment* fragment, long start, long end, char code = 0, const AString& name = AString())
        : kind_(kind), fragment_(fragment), start_(start), end_(end), code_(code), name_(name) {}
    virtual ~ADataRun() = default;
    ADataRun(const ADataRun&) = delete;
    ADataRun& operator=(const ADataRun&) = delete;

    Kind kind() const { return kind_; }
    AFragment* fragment() const { return fragment_; }
    long start() const { return start_; }
    long end() const { return end_; }
    // The special byte of a special-character run.
    char code() const { return code_; }
    // The bitmap name of a bitmap run.
    const AString& name() const { return name_; }

private:
    Kind kind_;
    AFragment* fragment_;  // not owned
    long start_;
    long end_;
    char code_;
    AString name_;
};

// A clickable run keeps its fragment's segment locked while it lives.
class AClickableDataRun : public ADataRun {
public:
    AClickableDataRun(AFragment* fragment, long start, long end);
    ~AClickableDataRun() override;
};
