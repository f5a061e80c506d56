// The renderer base's hit records, cursors and navigators.
#include "docengine/render/ARenderer.h"

#include <windows.h>

#include <cstring>
#include <new>

#include "base/procedural/AError.h"
#include "docengine/kytab/AKytabFragment.h"
#include "docengine/model/ADocModel.h"
#include "docengine/model/AIndexedDocModel.h"
#include "docengine/model/ALaidOutDocModel.h"
#include "docengine/model/ASegment.h"
#include "docengine/parser/AFragParserVariants.h"
#include "docengine/parser/ASegParser.h"
#include "docengine/parser/ATextFragParser.h"
#include "docengine/render/AHitNavigator.h"
#include "docengine/styles/ABitmapSupplier.h"
#include "docengine/styles/AStyleSheet.h"
#include "docengine/text/AReader.h"
#include "docengine/text/AStreamReader.h"
#include "docengine/text/AStringReader.h"
#include "framework/app/AApp.h"
#include "framework/clusters/ACommandItem.h"
#include "framework/display/ADisplayComponent.h"
#include "framework/graphics/ADisplayLock.h"
#include "framework/views/ALayerView.h"
#include "framework/views/AScroller.h"

uint16_t ARenderer::hitCodeOf(AFragment* fragment, ADataRun* run, long) {
    if (run)
        return 1;
    return fragment ? 2 : 0;
}

uint16_t ARenderer::hitKindOf(AFragment*, uint16_t) {
    return 4;
}

long ARenderer::cursorKindOf(const AHitRecord& hit) {
    uint16_t type = hit.fragment ? static_cast<uint16_t>(hit.fragment->linkKind() & 0xFFF) : 0;
    switch (hit.kind) {
        case 0:
            return 4;
        case 1:
            if (type == 3)
                return 1;
            if (hit.fragment && !(hit.code & 0x100)) {
                if (type == 1)
                    return 3;
                if (type == 2)
                    return 2;
                if (type == 5)
                    return 1;
            }
            return 0;
        case 2:
            return 0;
        case 4:
            return -1;
        case 5:
            return type == 3 ? 1 : 5;
        default:
            return 0;
    }
}

void ARenderer::setHitRecord(const AHitRecord& hit, bool notify) {
    if (parent_) {
        parent_->setHitRecord(hit, notify);
        return;
    }
    hit_.reset(new AHitRecord(hit));
    notifyTarget(1, notify && (interaction & RendererBits::kAlternateNotice));
}

void ARenderer::clearHitRecord(ARenderer* maker) {
    if (parent_) {
        parent_->clearHitRecord(maker);
        return;
    }
    if (!maker || (hit_ && hit_->renderer && static_cast<void*>(hit_->renderer) == static_cast<void*>(maker)))
        hit_.reset();
}

long ARenderer::getHitKind() {
    if (!hit_)
        return 0;
    if (hit_->kind == 1)
        return hit_->fragment ? hit_->fragment->linkKind() & 0xFFF : 0;
    return hit_->kind == 2 ? 4 : 0;
}

long ARenderer::getHitIndex() {
    if (!hit_ || !hit_->fragment || !hit_->fragment->segment())
        return -1;
    return hit_->fragment->segment()->getStart();
}

AString ARenderer::getHitName() {
    return hit_ && hit_->fragment ? hit_->fragment->getName() : AString();
}

AString ARenderer::getHitValue() {
    return hit_ && hit_->fragment ? hit_->fragment->getValue() : AString();
}

// The marked item of a model stands for the hit of a row that has no kind.
ASegment* ARenderer::markedSegment() {
    long index = markedIndex();
    return index >= 0 ? model_->getSegmentAt(index, true) : nullptr;
}

AString ARenderer::getHitText() {
    if (getHitKind() != 0)
        return getHitName();
    ASegment* segment = markedSegment();
    if (!segment)
        return AString();
    segment->lock();
    AFragment* first = segment->content();
    AString name = first ? first->getName() : AString();
    segment->unlock();
    return name;
}

AString ARenderer::getHitValueText() {
    if (getHitKind() != 0)
        return getHitValue();
    ASegment* segment = markedSegment();
    if (!segment)
        return AString();
    long start = model_->sourceToPosition(segment->getStart());
    long end = model_->sourceToPosition(segment->getEnd());
    return model_->exportText(start, end);
}

// --- cursors

long ARenderer::cursorFor(long key) {
    if (key == -1)
        return -3;
    auto it = cursors_.find(key);
    if (it != cursors_.end())
        return it->second;
    long id;
    switch (key) {
        case 1:
            id = 120;
            break;
        case 2:
            id = 102;
            break;
        case 3:
            id = 101;
            break;
        case 4:
            id = 0x7F01;
            break;
        default:
            id = viewDefaultCursor();
    }
    cursors_[key] = id;
    return id;
}

void ARenderer::setCursors(long kind, long cursor, long pressedCursor) {
    if (kind & 0x80000000L)
        MessageBeep(0);
    cursors_[kind] = cursor;
    cursors_[kind | static_cast<long>(0x80000000UL)] = pressedCursor;
}

// --- navigators

void ARenderer::setHitNavigator(AHitNavigator* navigator) {
    if (navigator && navigator->renderer() != this)
        ThrowAssert("grender", 700);
    navigator_.reset(navigator);
}

void ARenderer::setSearchHitNavigator(AHitNavigator* navigator) {
    if (navigator && navigator->renderer() != this)
        ThrowAssert("grender", 710);
    searchNavigator_.reset(navigator);
}
