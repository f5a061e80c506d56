// String lists of the program's resources.
#include "framework/resources/AStringListResource.h"

#include <new>

#include "base/object/AObject.h"
#include "base/procedural/AError.h"

namespace {

// A damaged list must not seek outside the resource: that is the stream's assertion.
void SeekWithin(AMemoryStream& stream, long offset) {
    if (offset < 0 || offset > stream.size()) {
        FormatErrorMessage("string list: offset %ld outside the %ld-byte resource", offset, stream.size());
        ThrowTyped(AMemoryStreamError("fresourc", 607));
    }
    stream.seek(offset);
}

}  // namespace

AStringListResource::AStringListResource(const AResourceRef& ref)
    : AResource(kStringListType, ref), stream_(nullptr), count_(-1) {
    stream_ = CheckAlloc(new (std::nothrow) AResourceStream(*this), "fresourc", 574);
}

AStringListResource::AStringListResource(uint16_t number) : AStringListResource(AResourceRef(number)) {}

AStringListResource::~AStringListResource() {
    DeleteAndNull(stream_);
}

short AStringListResource::count() {
    if (count_ == -1) {
        stream_->seek(0);
        count_ = stream_->readShort();
    }
    return count_;
}

void AStringListResource::get(AString& out, short index) {
    if (index < 0 || index > count() - 1)
        ThrowAssert("fresourc", 605);
    long slot = (static_cast<long>(index) + 1) * 2;
    SeekWithin(*stream_, slot);
    SeekWithin(*stream_, stream_->readShort());
    out = stream_->readString(-1);
}

AString AStringListResource::get(short index) {
    AString s;
    get(s, index);
    return s;
}
