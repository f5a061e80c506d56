// Fragment areas: the segment lock they hold and their list links.
#include "docengine/model/AFragmentArea.h"

#include <new>

#include "base/procedural/AError.h"
#include "docengine/model/ASegment.h"

AFragmentArea::AFragmentArea(AAreaFragment* fragment) : fragment_(fragment) {
    if (!fragment_)
        ThrowAssert("gfrag", 610);
    if (fragment_->segment())
        fragment_->segment()->lock();
}

AFragmentArea::~AFragmentArea() {
    if (fragment_->segment())
        fragment_->segment()->unlock();
}

void AFragmentArea::append(AFragmentArea* area) {
    if (!area)
        return;
    area->next_ = next_;
    next_ = area;
}

void AFragmentArea::deleteList(AFragmentArea* first) {
    while (first) {
        AFragmentArea* next = first->next_;
        delete first;
        first = next;
    }
}

AFragmentArea* AAreaFragment::makeArea() {
    return CheckAlloc(new (std::nothrow) AFragmentArea(this), "gfrag", 600);
}
