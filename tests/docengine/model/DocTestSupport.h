// Helpers of the document-engine tests: a model with settable answers, a
// holder of one reference, and the canonical text of a fragment chain.
#pragma once

#include <map>
#include <string>

#include "docengine/model/ADocModel.h"
#include "docengine/model/AExpandTree.h"
#include "docengine/model/AFragment.h"

// Holds the creator's reference for the holder's life.
template <class T>
class Held {
public:
    explicit Held(T* p) : ptr_(p) { ptr_->addRef(); }
    ~Held() { ptr_->release(); }
    Held(const Held&) = delete;
    Held& operator=(const Held&) = delete;
    T* operator->() const { return ptr_; }
    T* get() const { return ptr_; }

private:
    T* ptr_;
};

class TestModel : public ADocModel {
public:
    ~TestModel() override { delete tree; }
    AExpandTree* getExpandTree() override { return tree; }
    const ARangeArray* highlightRanges() override { return ranges; }
    bool findMarker(long start, long end, long* position, long* value) override;
    AString exportText(long start, long end, AExportProvider* provider, bool markup) override;
    void segmentLocked(ASegment*) override { ++locks; }
    void segmentUnlocked(ASegment*) override { --locks; }
    void segmentLoaded(ASegment*) override { ++loads; }
    bool hasBitmapResolver() const override { return resolvesBitmaps; }
    AString resolveBitmapName(const AString& name) override;

    AExpandTree* tree = nullptr;          // owned
    const ARangeArray* ranges = nullptr;  // not owned
    std::map<long, long> markers;         // position -> value
    std::string text;                     // what exportText cuts from
    int locks = 0;
    int loads = 0;
    bool resolvesBitmaps = false;  // names resolve to "img_" + name
};

// "P" paragraph, "\"text\"" text (with /sN style, /cN colour, h highlighted,
// Hn H value, n=name, k=link kind), K clickable (#number, fN flags), L(target)
// link, A(l,t,r,b) area; pieces separated by " | ".
std::string Describe(AFragment* first);
