// Search requests over the request layer, their catalogue cache, and channels.
#include "search/facade/ASearchRequest.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <new>

#include "base/procedural/AError.h"
#include "search/engine/questions/KyQuest.h"
#include "search/facade/ADataLocation.h"
#include "search/facade/ASearchBase.h"
#include "search/facade/SearchError.h"

namespace {

// The engine tells of each criterion it evaluates; a listener's failure must
// not unwind through the evaluation, which keeps its lists open meanwhile: the
// run raises it once the engine is done.
void HearCriterion(void* argument, int criterion, int32_t status) {
    ASearchRequest* request = static_cast<ASearchRequest*>(argument);
    try {
        request->notify(static_cast<short>(criterion), status);
    } catch (...) {
        request->keepListenerError(std::current_exception());
    }
}

ADataLocation& Location() {
    if (!gDataLocation)
        ThrowAssert("ureq", 43);
    return *gDataLocation;
}

}  // namespace

ASearchRequest::ASearchRequest(ADataLocation& owner, AMountedBase* mounted, const char* name)
    : base(mounted),
      location(owner),
      handle(nullptr),
      listener(nullptr),
      itemCount(0),
      cache(nullptr),
      cacheCount(0),
      catalogued(0),
      cursor(0) {
    if (!mounted || !name)
        ThrowAssert("ureq", 20);
    catalogued = mounted->hasCatalog ? 1 : 0;
    // A base object made for this request alone goes with it when refused.
    mounted->addUser();
    try {
        handle = mounted->holdRequest(name, this);
    } catch (...) {
        mounted->removeUser();
        throw;
    }
    handle->part.notify = HearCriterion;
    handle->part.notifyArgument = this;
    itemCount = static_cast<int16_t>(handle->fieldCount);
    items.resize(static_cast<size_t>(itemCount));
}

ASearchRequest::ASearchRequest(const char* baseName, const char* name)
    : ASearchRequest(Location(), Location().ensureBase(baseName), name) {}

// Nothing raises from here: the request layer's close always succeeds.
ASearchRequest::~ASearchRequest() {
    close();
    base->removeUser();
}

void ASearchRequest::close() {
    dropCache();
    if (handle && !location.engineClosed) {
        KY_EnginePart& part = handle->part;
        ASearchRequest* left = base->releaseRequest(handle, this);
        if (left && part.notifyArgument == this)
            part.notifyArgument = left;
    }
    handle = nullptr;
}

void ASearchRequest::notify(short i, long value) {
    if (listener)
        listener->notify(i, value);
}

ASearchItem ASearchRequest::getItemLabel(short i) {
    return listener ? listener->getItemLabel(i) : ASearchItem();
}

ASearchItem ASearchRequest::getItemValue(short i) {
    return listener ? listener->getItemValue(i) : ASearchItem();
}

void ASearchRequest::notifyEnd(short i, long value) {
    if (listener)
        listener->notifyEnd(i, value);
}

void ASearchRequest::checkItem(short i, short lowest) const {
    if (!handle || i < lowest || i > itemCount)
        ThrowAssert("ureq", 70);
}

const ASearchItem& ASearchRequest::item(short i) const {
    checkItem(i, 1);
    return items[static_cast<size_t>(i - 1)];
}

// The request layer numbers fields from 1, as the items.
void ASearchRequest::setFieldText(short i, const char* text) {
    checkItem(i, 1);
    CheckEngineCode(KY_SetFieldText(handle, i, text), "ureq", 80);
}

// A changed question leaves the last result stale: the listener hears -1 for
// the whole request.
void ASearchRequest::setQuestion(short i, const char* text, long op) {
    checkItem(i, 1);
    ASearchItem& value = items[static_cast<size_t>(i - 1)];
    value.text = AString(text ? text : "");
    value.op = static_cast<int32_t>(op);
    dropCache();
    CheckEngineCode(KY_SetQuestion(handle, i, static_cast<int>(op), 0, text, 0), "ureq", 92);
    notify(0, -1);
}

void ASearchRequest::setFieldOption(short first, short last, short op) {
    if (!handle)
        ThrowAssert("ureq", 98);
    dropCache();
    CheckEngineCode(KY_SetFieldOption(handle, first, last, op), "ureq", 100);
}

void ASearchRequest::clearField(uint8_t part) {
    if (!handle)
        ThrowAssert("ureq", 105);
    dropCache();
    CheckEngineCode(KY_ClearField(handle, part), "ureq", 107);
}

long ASearchRequest::execute(short i, KY_DocFilter filter, void* argument) {
    checkItem(i, 0);
    dropCache();
    listenerError = nullptr;
    wake();
    long code = KY_RunRequest(handle, i, filter, argument);
    if (std::exception_ptr failed = listenerError) {
        listenerError = nullptr;
        std::rethrow_exception(failed);
    }
    if (catalogued)
        rebuildCache();
    return code;
}

// Opening a request suspends the others of the engine; the engine part of a
// suspended one refuses to run or walk its result until it is opened again.
void ASearchRequest::wake() const {
    if (!KY_IsSuspended(handle))
        return;
    KY_Request* same = nullptr;
    CheckEngineCode(KY_OpenRequest(base->use(), handle->name.c_str(), "", &same), "ureq", 125);
    if (same != handle)
        ThrowAssert("ureq", 127);
}

void ASearchRequest::dropCache() {
    std::free(cache);
    cache = nullptr;
    cacheCount = 0;
    cursor = 0;
}

// The cache holds the catalogue numbers of the hits ("inv" entries of their
// documents), ascending; entries of code 1 or 2 stand for no catalogue record.
// The request layer numbers a base's documents across its parts already.
void ASearchRequest::rebuildCache() {
    dropCache();
    long n = getResultCount(0);
    if (n <= 0)
        return;
    ASearchTable* table = base->mainTable;
    if (!table || !table->invFile)
        ThrowAssert("ureq", 130);
    int32_t* made = static_cast<int32_t*>(std::malloc(static_cast<size_t>(n) * sizeof(int32_t)));
    if (!made)
        throw std::bad_alloc();
    int32_t kept = 0;
    try {
        for (int32_t k = 1; k <= n; ++k) {
            KyDocRef ref = 0;
            int32_t index = k, doc = 0;
            int part = 0;
            CheckEngineCode(KY_GetResultDoc(handle, &ref, &index), "ureq", 140);
            KY_SplitDocRef(&doc, &part, ref);
            int code = table->invFile->getCode(doc);
            if (code != 1 && code != 2)
                made[kept++] = static_cast<int32_t>(table->invFile->word & 0x00FFFFFF);
        }
    } catch (...) {
        std::free(made);
        throw;
    }
    std::sort(made, made + kept);
    cache = made;
    cacheCount = kept;
}

long ASearchRequest::getResultCount(short i) {
    checkItem(i, 0);
    if (cache && i == 0)
        return cacheCount;
    int32_t status = KY_GetRequestStatus(handle, i);
    if (status == kStatusDone)
        return i == 0 ? KY_GetResultCount(handle) : KY_GetCriterionCount(handle, i);
    return status == kStatusNothing ? 0 : -1;
}

void ASearchRequest::getResultDoc(long* out, long* k) {
    if (!handle || !out || !k)
        ThrowAssert("ureq", 170);
    if (catalogued) {
        if (!cache || *k < 1 || *k > cacheCount)
            ThrowAssert("ureq", 173);
        cursor = static_cast<int32_t>(*k - 1);
        *out = cache[cursor];
        return;
    }
    KyDocRef ref = 0;
    int32_t index = static_cast<int32_t>(*k);
    wake();
    CheckEngineCode(KY_GetResultDoc(handle, &ref, &index), "ureq", 180);
    *out = static_cast<long>(ref);
    *k = index;
}

long ASearchRequest::getResultDoc(long k) {
    long out = -1;
    getResultDoc(&out, &k);
    return out;
}

void ASearchRequest::getScoredDoc(long* k, long* out) {
    if (!handle || !out || !k)
        ThrowAssert("ureq", 186);
    if (catalogued) {
        if (!cache)
            ThrowAssert("ureq", 189);
        cursor = 0;
        *out = cache[0];
        *k = cacheCount;
        return;
    }
    KyDocRef ref = 0;
    int32_t index = static_cast<int32_t>(*k), score = 0;
    wake();
    CheckEngineCode(KY_GetScoredDoc(handle, &ref, &index, &score), "ureq", 197);
    *out = static_cast<long>(ref);
    *k = index;
}

const char* const* ASearchRequest::getQuestionTerms(long, short flag) const {
    if (!handle)
        ThrowAssert("ureq", 204);
    termList.clear();
    if (KY_GetQuestionTerms(handle, -1, &terms, flag ? 1 : 0) != 0 || terms.empty())
        return nullptr;
    for (const std::string& t : terms)
        termList.push_back(t.c_str());
    termList.push_back(nullptr);
    return termList.data();
}

const char* ASearchRequest::getFieldLabel(short i) const {
    checkItem(i, 1);
    return handle->part.criteria[static_cast<size_t>(i)].fieldText.c_str();
}

short ASearchRequest::getItemBound() const {
    uint16_t bound = 1;
    for (short i = 1; handle && i <= itemCount; ++i)
        bound = std::max(bound, handle->part.criteria[static_cast<size_t>(i)].weight);
    return static_cast<short>(std::min<uint16_t>(bound, 0x7FFF));
}

long ASearchRequest::findInCache(long x) const {
    if (!cache)
        ThrowAssert("ureq", 228);
    return static_cast<long>(std::lower_bound(cache, cache + cacheCount, x) - cache);
}

LoHandle ASearchRequest::openResult(long* bound, long* count) const {
    if (!handle)
        ThrowAssert("ureq", 234);
    *bound = handle->part.maxDoc;
    *count = 0;
    const KY_Criterion& whole = handle->part.criteria[0];
    if (whole.status != kStatusDone || whole.listName.empty())
        return -1;
    *count = whole.count;
    wake();
    LoHandle list = -1;
    CheckEngineCode(KY_EngineOpenStoredList(KY_ListPath(handle->part.folder, whole.listName).c_str(), &list), "ureq",
                    240);
    return list;
}

ASearchChannel::ASearchChannel(const char* base, const char* name)
    : request(nullptr), host(nullptr), index(-1), hits(0), result(0) {
    if (!gDataLocation)
        ThrowAssert("ureq", 246);
    request = gDataLocation->createRequest(base, name);
    if (!request)
        ThrowAssert("ureq", 249);
    request->setListener(this);
}

ASearchChannel::ASearchChannel(ASearchChannelHost* owner, short baseIndex)
    : request(nullptr), host(owner), index(baseIndex), hits(0), result(0) {
    if (!owner)
        ThrowAssert("udatamgr", 40);
}

ASearchChannel::~ASearchChannel() {
    close();
}

void ASearchChannel::open() {
    if (!host || !host->getChannelLocation())
        ThrowAssert("udatamgr", 50);
    close();
    AString name = host->getBaseName(index);
    request = host->getChannelLocation()->createRequest(name.c_str(), "SEARCH");
    if (!request)
        ThrowAssert("udatamgr", 55);
    request->setListener(this);
}

void ASearchChannel::close() {
    hits = 0;
    ASearchRequest* old = request;
    request = nullptr;
    delete old;  // its destructor lets the engine request go
}

void ASearchChannel::setQuestion(short field, const char* text) {
    if (!request)
        ThrowAssert("udatamgr", 65);
    request->setQuestion(field, text, 0);
}

long ASearchChannel::execute(KY_DocFilter filter, void* argument) {
    if (!request)
        ThrowAssert("udatamgr", 71);
    {
        std::unique_ptr<ASearchWait> wait(host ? host->beginWait() : nullptr);
        result = request->execute(0, filter, argument);
    }
    long count = request->getResultCount(0);
    hits = count >= 1 ? 1 : 0;
    return count;
}

AString ASearchChannel::formatCount(short flag, long count) {
    if (count < 0)
        return AString(flag ? "" : ". . . .");
    char text[16];
    std::snprintf(text, sizeof text, "% 5ld", count);
    return AString(text);
}
