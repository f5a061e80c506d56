// A node of a kytab table and the content model of a cell.
#include "docengine/kytab/AKytabCell.h"

#include <vector>

#include "base/procedural/AError.h"
#include "base/procedural/AOutStream.h"
#include "docengine/kytab/AKytabFragment.h"
#include "docengine/model/AIndexedDocModel.h"
#include "docengine/model/ASegment.h"
#include "docengine/parser/ASegParser.h"
#include "docengine/parser/ATextFragParser.h"
#include "docengine/text/AStringReader.h"

AKytabCell::AKytabCell(AKytabFragment* owner)
    : start(0),
      end(0),
      table(owner),
      firstChild(nullptr),
      nextSibling(nullptr),
      parent(nullptr),
      previousSibling(nullptr),
      fModel(nullptr),
      verticalAlign(0),
      textColour(0),
      fill(0),
      lineColour(0),
      width(0),
      height(0),
      rowSpan(0),
      colSpan(0),
      covered(0),
      sides(0),
      lineWidth(0),
      picture(-1),
      titleFlag(0),
      isGroup(0) {
    if (!owner)
        ThrowAssert("kytab", 40);
}

AKytabCell::~AKytabCell() {
    if (!fModel)
        return;
    // By pointer, never by offset: a destructor may not throw, and a parent
    // whose rows were replaced no longer finds the cell at its old offset.
    if (ADocModel* parentModel = fModel->GetParentModel()) {
        parentModel->forgetChild(fModel);
        fModel->setParent(nullptr, 0);
    }
    // Only the cell's own reference goes; other holders keep the model.
    AIndexedDocModel* model = fModel;
    long count = model->refCount();
    if (count > 1)
        CurrentErrorStream()
            .writeString("Warning Delete Table Cell fModel->refCount = ")
            .writeLong(count)
            .writeChar('\n');
    ReleaseAndNull(fModel);
    if (count > 1)
        CurrentErrorStream().writeString("Delete Table Cell fModel->refCount = :").writeLong(count - 1).writeChar('\n');
}

void AKytabCell::addChild(AKytabCell* child) {
    if (!child)
        ThrowAssert("kytab", 52);
    child->parent = this;
    child->nextSibling = nullptr;
    child->previousSibling = nullptr;
    if (!firstChild) {
        firstChild = child;
        return;
    }
    AKytabCell* last = firstChild;
    while (last->nextSibling)
        last = last->nextSibling;
    last->nextSibling = child;
    child->previousSibling = last;
}

long AKytabCell::childCount() const {
    long n = 0;
    for (AKytabCell* c = firstChild; c; c = c->nextSibling)
        ++n;
    return n;
}

void AKytabCell::setContent(const char* from, const char* to) {
    long length = from && to ? static_cast<long>(to - from) : 0;
    if (length < 0)
        ThrowAssert("kytab", 75);
    // "\n" becomes a blank and a line feed: two bytes for two, so cell
    // offsets stay those of the segment text.
    std::vector<char> copy(from, from + length);
    for (long i = 0; i + 1 < length; ++i)
        if (copy[i] == '\\' && copy[i + 1] == 'n' && (i == 0 || from[i - 1] != '\\')) {
            copy[i] = ' ';
            copy[i + 1] = '\n';
            ++i;
        }
    ASegment* segment = table->segment();
    const char* base = segment ? segment->text().c_str() : nullptr;
    start = from && base ? static_cast<long>(from - base) : 0;
    end = to && base ? static_cast<long>(to - base) : 0;

    AStringReader* reader = new AStringReader(length ? copy.data() : "", length);
    ARefHold<AStringReader> heldReader(reader);
    AReaderSegParser* segments = new AReaderSegParser(reader);
    ARefHold<AReaderSegParser> heldSegments(segments);
    ATextFragParser* fragments = new ATextFragParser('/');
    ARefHold<ATextFragParser> heldFragments(fragments);
    ReleaseAndNull(fModel);
    fModel = new AIndexedDocModel(segments, fragments, nullptr);
    fModel->addRef();
    ADocModel* owner = segment ? segment->owner() : nullptr;
    if (owner) {
        fModel->setFilter(owner->getFilter());
        // An empty range has no position to hand over to the cell.
        if (length > 0)
            owner->addChild(fModel, segment->toDocument(start), segment->toDocument(end));
    }
}

long AKytabCell::textLength() const {
    return fModel ? fModel->getLength() : 0;
}

AString AKytabCell::getText(long rangeStart, long rangeEnd) const {
    if (!fModel)
        return AString();
    long from = rangeStart > start ? rangeStart - start : 0;
    long to = rangeEnd < end ? rangeEnd - start : end - start;
    if (!start && !end)
        to = fModel->getLength();
    if (to <= from)
        return AString();
    AString text = fModel->exportText(from, to, nullptr, false);
    long n = text.length();
    while (n > 0 && (text.c_str()[n - 1] == '\r' || text.c_str()[n - 1] == '\n'))
        --n;
    return n == text.length() ? text : AString(text.c_str(), n);
}
