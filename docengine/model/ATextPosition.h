// A document position with the segment it was resolved in: the segment's
// source start and the local position there, both -1 while unresolved.
// Operations without a model or segment are assertions ("gmodel").
#pragma once

class ADocModel;
class ASegment;

struct ALocalRange;

class ATextPosition {
public:
    // Position 0 is resolved from the start (segment 0, local 0).
    explicit ATextPosition(long position = 0)
        : position_(position), segment_(position == 0 ? 0 : -1), local_(position == 0 ? 0 : -1) {}

    // Fills the cached parts when the position lies in the segment's document range.
    void resolve(ASegment* segment);
    // Resolves in the model's segment at the position (positions from 1).
    void resolveIn(ADocModel* model);
    void setFrom(ASegment* segment, long local);
    void toSource(ADocModel* model);
    // A non-empty changed range drops the cached parts.
    void fromSource(ADocModel* model, long changedStart, long changedEnd);

    long position() const { return position_; }
    long segmentStart() const { return segment_; }
    long local() const { return local_; }
    bool isResolvedIn(const ASegment* segment) const;

private:
    long position_;
    long segment_;  // source start of the resolving segment, or -1
    long local_;    // local position in it, or -1
};
