// File-backed result lists and their page stream.
#include "search/facade/ALoFile.h"

#include <cstdlib>
#include <cstring>
#include <memory>

#include "base/object/AFileStream.h"
#include "search/facade/ASearchRequest.h"

namespace {

const uint32_t kFieldMax = (1u << ALoFile::kFieldBits) - 1;
const int64_t kPageBits = ALoBitStream::kPageBytes * 8;

}  // namespace

ALoBitStream::ALoBitStream(AFileStream* stream, int32_t start, int32_t end, int width)
    : stream_(stream), page_(nullptr), pageIndex_(-1), dirty_(false), start_(start), end_(end), width_(width) {
    page_ = CheckAlloc(static_cast<uint32_t*>(std::calloc(kPageBytes, 1)), "lo", 5020);
}

ALoBitStream::~ALoBitStream() {
    std::free(page_);
}

void ALoBitStream::flush() {
    if (!dirty_)
        return;
    long at = start_ + static_cast<long>(pageIndex_) * kPageBytes;
    if (stream_->seek(at, 0) != at || stream_->write(page_, kPageBytes) != kPageBytes)
        LoDamaged("list file: page not written", 5032);
    if (at + kPageBytes > end_)
        end_ = static_cast<int32_t>(at + kPageBytes);
    dirty_ = false;
}

uint32_t* ALoBitStream::word(int64_t bit, bool writing) {
    int64_t p = bit / kPageBits;
    if (p != pageIndex_) {
        int64_t at = start_ + p * kPageBytes;
        if (p > 0x7FFF || at + kPageBytes > 0x7FFFFFFF)
            LoDamaged("list file: page beyond the largest list", 5042);
        flush();
        pageIndex_ = static_cast<int32_t>(p);
        if (at + kPageBytes <= end_) {
            if (stream_->seek(static_cast<long>(at), 0) != at || stream_->read(page_, kPageBytes) != kPageBytes) {
                pageIndex_ = -1;
                LoDamaged("list file: page cut short", 5048);
            }
        } else if (writing) {
            std::memset(page_, 0, kPageBytes);
        } else {
            pageIndex_ = -1;
            LoDamaged("list file: entry beyond the body", 5054);
        }
    }
    return &page_[(bit % kPageBits) >> 5];
}

uint32_t ALoBitStream::readField(int64_t bit) {
    uint32_t v = 0;
    for (int i = 0; i < width_; ++i, ++bit)
        v = (v << 1) | ((*word(bit, false) >> (31 - (bit & 31))) & 1);
    return v;
}

void ALoBitStream::writeField(int64_t bit, uint32_t value) {
    for (int i = width_ - 1; i >= 0; --i, ++bit) {
        uint32_t* w = word(bit, true);
        uint32_t mask = 0x80000000u >> (bit & 31);
        *w = (value >> i) & 1 ? (*w | mask) : (*w & ~mask);
        dirty_ = true;
    }
}

ALoFile::ALoFile(long bits, long mask) {
    weightBits = static_cast<int32_t>(bits & 0xFF);
    weightMask = static_cast<int32_t>(mask);
    initFileFields();
}

ALoFile::ALoFile(const ALo& source, short copyElements) {
    ALo& from = const_cast<ALo&>(source);
    weightMask = static_cast<int32_t>(from.getWeightMask());
    weightBits = static_cast<int32_t>(from.getWeightBits() & 0xFF);
    initFileFields();
    try {
        if (copyElements)
            copyFrom(&from);
    } catch (...) {
        releaseOpenParts();
        throw;
    }
    rewind();
}

ALoFile::ALoFile(const ASearchRequest& request) {
    initFileFields();
    long bound = 0, n = 0;
    LoHandle list = request.openResult(&bound, &n);
    try {
        fillFromRequest(request, list);
        close();
    } catch (...) {
        releaseOpenParts();
        throw;
    }
}

ALoFile::ALoFile(const AFileSpec& spec) {
    fromFile = 1;
    fileSpec = spec;
    persistent = 1;
    initFileFields();
}

// Closing writes the file; a failure then cannot leave a destructor.
ALoFile::~ALoFile() {
    try {
        close();
    } catch (...) {
    }
    releaseOpenParts();
}

void ALoFile::releaseOpenParts() {
    delete pager;
    pager = nullptr;
    delete stream;
    stream = nullptr;
}

void ALoFile::initFileFields() {
    kind = kLoKindFile;
    allocated = 1;
    pager = nullptr;
    writeMode = 0;
    lastStored = -1;
    lastWeight = 0;
    rewind();
    if (!fromFile) {
        fileSpec = newTempFile();
        std::unique_ptr<AFileStream> s(openStream(fileSpec, "w+"));
        bodyEnd = kLoCommonHeader;
        writeTo(s.get(), 1);
        s->close();
        openIn(true);
    } else {
        openIn(false);
    }
}

void ALoFile::openIn(bool update) {
    if (isOpen() && (writeMode != 0) == update)
        return;
    if (isOpen())
        close();
    writeMode = update ? 1 : 0;
    mode = update ? "r+" : "rb";
    open();
}

void ALoFile::doOpen() {
    rewind();
    if (pager || stream)
        ThrowAssert("lo", 5140);
    try {
        stream = openStream(fileSpec, mode.c_str());
        readHeader(stream);
        int64_t bytes = static_cast<int64_t>(bodyEnd) - bodyStart;
        if (bytes % ALoBitStream::kPageBytes || static_cast<int64_t>(count) * entryBits() > bytes * 8)
            LoDamaged("list file: body not whole pages or too short for its count", 5146);
        pager = new ALoBitStream(stream, bodyStart, bodyEnd, kFieldBits);
        if (stream->seek(bodyEnd, 0) != bodyEnd)
            LoDamaged("list file: seek to the string set failed", 5149);
        // Strings given while closed stay: the file's are added to them.
        AStrDic held;
        held.copyFrom(strings);
        readStrings(stream);
        strings.copyFrom(held);
    } catch (...) {
        releaseOpenParts();
        throw;
    }
    lastStored = count ? maxDoc : -1;
    lastWeight = 0;
    if (count && weightBits) {
        walkToLast();
        lastWeight = weight;
        offList();
    }
}

// Any list opened for update writes its file back; a read-only one never.
void ALoFile::doClose() {
    rewind();
    if (!stream)
        ThrowAssert("lo", 5170);
    try {
        if (writeMode) {
            pager->flush();
            bodyEnd = pager->end();
            if (stream->seek(bodyEnd, 0) != bodyEnd)
                LoDamaged("list file: seek to the string set failed", 5176);
            writeStrings(stream);
            writeHeader(stream, 1);
        }
    } catch (...) {
        releaseOpenParts();
        writeMode = 0;
        throw;
    }
    releaseOpenParts();
    writeMode = 0;
}

void ALoFile::offList() {
    current = -1;
    position = -1;
    weight = 0;
}

long ALoFile::first() {
    offList();
    if (!isOpen() || !pager)
        ThrowAssert("lo", 5196);
    return count ? next() : -1;
}

long ALoFile::next() {
    if (!isOpen() || !pager)
        ThrowAssert("lo", 5202);
    for (;;) {
        if (++position >= count) {
            offList();
            return -1;
        }
        int64_t at = static_cast<int64_t>(position) * entryBits();
        int32_t delta = static_cast<int32_t>(pager->readField(at));
        int32_t before = current;
        int32_t weightBefore = weight;
        current += delta;
        if (current < 0 || current > kLoMaxDoc) {
            offList();
            LoDamaged("list file: entry outside the documents", 5215);
        }
        if (weightBits) {
            int32_t field = static_cast<int32_t>(pager->readField(at + kFieldBits));
            weight = delta ? field : weight + field;
        }
        if (current != before)
            return current + base;
        if (weightBits && allOccurrences && (weightMask & weight) != (weightMask & weightBefore))
            return current + base;
    }
}

long ALoFile::previous() {
    if (!isOpen() || !pager)
        ThrowAssert("lo", 5229);
    for (;;) {
        if (position <= 0) {
            offList();
            return -1;
        }
        int64_t at = static_cast<int64_t>(position) * entryBits();
        int32_t delta = static_cast<int32_t>(pager->readField(at));
        current -= delta;
        --position;
        if (current < 0) {
            offList();
            LoDamaged("list file: entry outside the documents", 5241);
        }
        // The weight of the entry reached, exact when it opens its document.
        if (weightBits)
            weight = static_cast<int32_t>(pager->readField(at - kFieldBits));
        if (delta)
            return current + base;
    }
}

long ALoFile::last() {
    if (!count)
        return first();
    if (!isOpen() || !pager)
        ThrowAssert("lo", 5255);
    return walkToLast();
}

long ALoFile::walkToLast() {
    offList();
    int32_t element = -1, w = 0;
    for (int32_t k = 0; k < count; ++k) {
        int64_t at = static_cast<int64_t>(k) * entryBits();
        int32_t delta = static_cast<int32_t>(pager->readField(at));
        element += delta;
        if (element < 0 || element > kLoMaxDoc)
            LoDamaged("list file: entry outside the documents", 5262);
        if (weightBits) {
            int32_t field = static_cast<int32_t>(pager->readField(at + kFieldBits));
            w = delta ? field : w + field;
        }
    }
    current = element;
    weight = w;
    position = count - 1;
    return current + base;
}

void ALoFile::add(long doc, long w, long) {
    if (doc == -1)
        return;
    int64_t d = static_cast<int64_t>(doc) - base;
    if (d < 0 || d > kLoMaxDoc)
        LoDamaged("list document below the base or beyond the largest", 5279);
    if (!isOpen() || !writeMode)
        openIn(true);
    int32_t cut =
        w < 0 ? 0 : (w > static_cast<long>(kFieldMax) ? static_cast<int32_t>(kFieldMax) : static_cast<int32_t>(w));
    if (count && d == lastStored && (weightMask & lastWeight) == (weightMask & cut))
        return;
    int64_t delta = d - lastStored;
    if (delta < 0 || delta > kFieldMax)
        LoDamaged("list documents not ascending or too far apart", 5287);
    int64_t at = static_cast<int64_t>(count) * entryBits();
    pager->writeField(at, static_cast<uint32_t>(delta));
    if (weightBits) {
        int32_t field = d != lastStored ? cut : (cut > lastWeight ? cut - lastWeight : 0);
        pager->writeField(at + kFieldBits, static_cast<uint32_t>(field));
        lastWeight = d != lastStored ? field : lastWeight + field;
    }
    lastStored = static_cast<int32_t>(d);
    current = lastStored;
    weight = lastWeight;
    maxDoc = lastStored;
    position = count;
    ++count;
}

long ALoFile::fillFromList(LoHandle list) {
    long code = fillFrom(list);
    close();
    return code;
}

void ALoFile::saveTo(AString& result, const AFileSpec& dest, short keepInMemory) {
    close();
    CheckFileCode(fileSpec.copyTo(dest), 5310);
    if (!persistent)
        registerTempFile(fileSpec);
    if (!keepInMemory) {
        fileSpec = dest;
        persistent = 1;
    }
    result = dest.path();
}

void ALoFile::filePath(AString& result) {
    if (!persistent) {
        close();
        persistent = 1;
    }
    result = fileSpec.path();
}

void ALoFile::setBase(long b) {
    openIn(true);
    base = static_cast<int32_t>(b);
    bodyEnd = pager->end();
    writeHeader(stream, 1);
}

void ALoFile::appendList(ALo* other) {
    if (!other)
        return;
    openIn(true);
    last();
    appendFrom(other);
    rewind();
    close();
}
