// Document positions and their resolution in segments.
#include "docengine/model/ATextPosition.h"

#include "base/procedural/AError.h"
#include "docengine/model/ADocModel.h"
#include "docengine/model/ASegment.h"

void ATextPosition::resolve(ASegment* segment) {
    if (!segment)
        ThrowAssert("gmodel", 120);
    if (segment_ == -1 && position_ >= segment->docStart() && position_ <= segment->docEnd() - 1) {
        segment_ = segment->getStart();
        local_ = segment->fromDocument(position_);
    }
}

void ATextPosition::resolveIn(ADocModel* model) {
    if (!model)
        ThrowAssert("gmodel", 133);
    if (segment_ != -1 || position_ < 1)
        return;
    ASegment* segment = model->getSegmentAt(model->positionToSource(position_), true);
    if (!segment)
        return;
    segment->lock();
    try {
        resolve(segment);
    } catch (...) {
        segment->unlock();
        throw;
    }
    segment->unlock();
}

void ATextPosition::setFrom(ASegment* segment, long local) {
    if (!segment)
        ThrowAssert("gmodel", 150);
    position_ = segment->toDocument(local);
    segment_ = segment->getStart();
    local_ = local;
}

void ATextPosition::toSource(ADocModel* model) {
    if (!model)
        ThrowAssert("gmodel", 158);
    position_ = model->positionToSource(position_);
}

void ATextPosition::fromSource(ADocModel* model, long changedStart, long changedEnd) {
    if (!model)
        ThrowAssert("gmodel", 164);
    if (changedStart < changedEnd)
        segment_ = local_ = -1;
    position_ = model->sourceToPosition(position_);
}

bool ATextPosition::isResolvedIn(const ASegment* segment) const {
    return segment && segment_ != -1 && segment_ == segment->getStart();
}
