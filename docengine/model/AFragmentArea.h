// The area an area fragment makes: the fragment's rectangle, a link to the
// next area of a list, and a lock on the fragment's segment while it lives.
//
// The fragment is required ("gfrag"); the area does not own the area that
// follows it: deleteList deletes a whole list.
#pragma once

#include "docengine/model/AFragment.h"

class AFragmentArea {
public:
    // Locks the fragment's segment until the area is deleted.
    explicit AFragmentArea(AAreaFragment* fragment);
    virtual ~AFragmentArea();
    AFragmentArea(const AFragmentArea&) = delete;
    AFragmentArea& operator=(const AFragmentArea&) = delete;

    AAreaFragment* fragment() const { return fragment_; }
    const AAreaRect& rect() const { return fragment_->rect(); }
    AFragmentArea* next() const { return next_; }
    // Links area right after this one, before the area that followed.
    void append(AFragmentArea* area);
    // Deletes a list from its first area, one area at a time.
    static void deleteList(AFragmentArea* first);

private:
    AAreaFragment* fragment_;        // not owned: its segment is locked
    AFragmentArea* next_ = nullptr;  // not owned
};
