// Keyed indexes and index scans.
#include "search/facade/AKeyIndex.h"

#include <cstdio>
#include <cstring>
#include <memory>

#include "base/object/AFile.h"
#include "base/object/AFileSpec.h"
#include "base/procedural/EngineTables.h"
#include "search/engine/records/KyAccessor.h"
#include "search/facade/ADataLocation.h"
#include "search/facade/SearchError.h"

namespace {

// A record larger than this is damaged data, not text to allocate.
const int32_t kMaxRecordText = 64 << 20;

}  // namespace

AKeyIndex::AKeyIndex(ADataLocation& where, const char* key) : handle(nullptr), location(&where), key_(key) {
    handle = where.acquireIndex(key);
    int code = KyOpenIndex(handle);
    if (code) {
        where.releaseIndex(key);
        RaiseEngineError(code, "kybasic", 40);
    }
}

AKeyIndex::AKeyIndex(KyIndexHandle* descriptor) : handle(descriptor), location(nullptr) {
    if (!descriptor)
        ThrowAssert("kybasic", 46);
    CheckEngineCode(KyOpenIndex(handle), "kybasic", 47);
}

AKeyIndex::~AKeyIndex() {
    KyCloseIndex(handle);
    if (location)
        location->releaseIndex(key_.c_str());
}

void DeleteDataAccessAndNull(AKeyIndex*& index) {
    AKeyIndex* p = index;
    index = nullptr;
    delete p;
}

long AKeyIndex::search(const char* key, int16_t* prefixLen, int exact) {
    if (prefixLen)
        *prefixLen = 0;
    if (!key || !*key)
        return 0;
    int32_t value = 0;
    int common = 0;
    CheckEngineCode(KyIndexLookup(handle, key, &value, &common, exact), "kybasic", 68);
    if (prefixLen)
        *prefixLen = static_cast<int16_t>(common);
    return value;
}

long AKeyIndex::find(const char* key, int16_t* prefixLen) {
    return search(key, prefixLen, 0);
}

long AKeyIndex::findExact(const char* key, int16_t* prefixLen) {
    return search(key, prefixLen, 1);
}

void AKeyIndex::getExtent(long record, long* start, long* end) {
    int32_t at = 0, length = 0;
    CheckEngineCode(KyIndexRecord(handle, static_cast<int32_t>(record), &at, &length), "kybasic", 84);
    *start = at;
    *end = static_cast<long>(at) + length;
}

AString AKeyIndex::getText(long record) {
    long start = 0, end = 0;
    getExtent(record, &start, &end);
    long length = end - start;
    if (length <= 0)
        return AString();
    if (length > kMaxRecordText)
        RaiseDataError("index record longer than any text", "kybasic", 96);
    AString text(nullptr, length);
    int32_t got = 0;
    text.makeUnique(true);
    char* buffer = text.body()->text;
    CheckEngineCode(KyIndexRead(handle, static_cast<int32_t>(record), reinterpret_cast<uint8_t*>(buffer),
                                static_cast<int32_t>(length), &got),
                    "kybasic", 101);
    text.setLength(static_cast<long>(strnlen(buffer, static_cast<size_t>(got))));
    return text;
}

long AKeyIndex::getCount() {
    int32_t count = 0;
    CheckEngineCode(KyIndexRecordCount(handle, &count), "kybasic", 108);
    return count;
}

ASearchIndex::ASearchIndex() : open_(0), started_(false) {
    std::memset(&tree, 0, sizeof tree);
}

ASearchIndex::~ASearchIndex() {
    close();
}

int ASearchIndex::open(const char* path, int occurrences, int positions, uint32_t largest) {
    close();
    KY_OpenSpec spec;
    KY_ClearOpenSpec(&spec);
    int code = path ? KY_MakeOpenSpecIn(KY_GetGlobalFileSys(), path, nullptr, 0, 0, 0, 0, &spec) : kAbpErrOpen;
    if (!code)
        code = abpOpen(&spec, &tree, occurrences, positions);
    KY_FreeOpenSpec(&spec);
    open_ = code == 0;
    started_ = false;
    abpSetWidth(&tree, largest);
    return code;
}

int ASearchIndex::next(char* buffer, size_t size) {
    if (!open_)
        return kAbpErrNotOpen;
    int code = 0;
    if (!started_ && (code = abpFirstLeaf(&tree)) != 0)
        return code;
    started_ = true;
    AbpEntry entry;
    std::memset(&entry, 0, sizeof entry);
    if ((code = abpNextKey(&tree, &entry, 0)) == 0 && buffer && size)
        std::snprintf(buffer, size, "%s", entry.key);
    return code;
}

int ASearchIndex::close() {
    if (!open_)
        return 0;
    open_ = 0;
    return abpClose(&tree);
}
