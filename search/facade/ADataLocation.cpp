// The data location: the mounted descriptor and its lookups.
#include "search/facade/ADataLocation.h"

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "base/procedural/BAlloc.h"
#include "base/procedural/EngineTables.h"
#include "base/procedural/KyFilter.h"
#include "search/engine/descriptor/AssocValue.h"
#include "search/engine/descriptor/KyParse.h"
#include "search/engine/descriptor/MkDoom.h"
#include "search/engine/records/KyAccessor.h"
#include "search/engine/request/KyRequest.h"
#include "search/facade/AKeyIndex.h"
#include "search/facade/ASearchBase.h"
#include "search/facade/ASearchRequest.h"
#include "search/facade/KyTextMatch.h"
#include "search/facade/SearchError.h"

ADataLocation* gDataLocation = nullptr;

namespace {

const int kNoSection = 1303;
const int kUnknownBase = 1306;
const int kUnknownIndex = 1311;
const int kBeyondParts = 1324;

// The ".gen" companion answers the keys the ".sgm" declares "ASK"; a caller's
// own callback answers what the companion does not hold.
std::string g_genPath;
KySgmVarCallback g_outerCallback = nullptr;
char g_genValue[1024];

const char* GenValue(const char* name) {
    long position = 0;
    if (KY_GetKeyFromPathFile(g_genPath.c_str(), 0, name, g_genValue, sizeof g_genValue, &position) == 0)
        return g_genValue;
    return g_outerCallback ? g_outerCallback(name) : nullptr;
}

[[noreturn]] void Raise(long code, const char* context, long line) {
    KY_SetEngineErrorText(context);
    RaiseEngineError(code, "ucdnet", line);
}

// A keyed index entry with the filter it owns.
struct SharedIndex {
    KyIndexHandle handle;
    KY_Filter* filter;  // owned, or null
};

void FreeShared(SharedIndex* shared) {
    if (shared->handle.refs > 0) {
        shared->handle.refs = 1;
        KyCloseIndex(&shared->handle);
    }
    if (shared->filter)
        KY_FilterRelease(shared->filter);
    std::free(shared);
}

bool HasPath(const KY_OpenSpec& spec) {
    return spec.path.text && spec.path.text[0];
}

}  // namespace

ADataLocation::ADataLocation() : engineClosed(0), descriptor(nullptr) {}

ADataLocation::~ADataLocation() {
    for (Pix p = bases.first(); p; bases.next(p))
        delete static_cast<AMountedBase*>(bases.contents(p));
    bases.clear();
    for (Pix p = indexes.first(); p; indexes.next(p))
        FreeShared(static_cast<SharedIndex*>(indexes.contents(p)));
    indexes.clear();
    closeDescriptor();
}

// A failure to close cannot be raised from the destructor; the engine record
// is freed either way.
void ADataLocation::closeDescriptor() {
    if (descriptor)
        KY_CloseDescriptor(&descriptor);
}

KyMount* ADataLocation::getMount() const {
    return descriptor ? descriptor->mount : nullptr;
}

long ADataLocation::open(const char* descriptorPath, const char* volumePath, const char* appFolder) {
    if (!descriptorPath)
        ThrowAssert("ucdnet", 140);
    closeDescriptor();
    lastError = AString();
    std::string path = descriptorPath;
    size_t dot = path.find_last_of(".\\/");
    g_genPath = (dot != std::string::npos && path[dot] == '.' ? path.substr(0, dot) : path) + ".gen";
    g_outerCallback = KY_SetSgmVarCallback(GenValue);
    int code = KY_OpenDescriptor(descriptorPath, &descriptor, volumePath, appFolder);
    KY_SetSgmVarCallback(g_outerCallback);
    if (code) {
        lastError = KY_EngineErrorText;
        if (code != kMkErrNoFolder)
            lastError += descriptorPath;
        return code;
    }
    return 0;
}

AString ADataLocation::getString(const char* key) {
    const char* text = nullptr;
    if (KyUserString(getMount(), key, &text) == 0 && text)
        return AString(text);
    return AString();
}

AString ADataLocation::getMessage(const char* key) {
    return getString(key);
}

AFile ADataLocation::getFile(const char* key) {
    const KY_OpenSpec* spec = nullptr;
    CheckEngineCode(KyFileOfKey(getMount(), key, &spec), "ucdnet", 200);
    return AFile(*spec);
}

AFilter ADataLocation::getFilter(const char* key) {
    KY_Filter* handle = nullptr;
    CheckEngineCode(KyFilterOfKey(getMount(), key, &handle), "ucdnet", 210);
    AFilter filter(handle);
    KY_FilterRelease(handle);
    return filter;
}

// A part's kind is its support's "where": 0 on the disc, 1 on the server,
// 2 both; the first part of kind 0 from firstPart on holds the file.
AFile ADataLocation::getPartFile(const char* base, const char* key, uint8_t firstPart) {
    const KyMountedBase* mounted = ensureBase(base)->handle();
    int part = firstPart;
    while (part < mounted->supports && mounted->supportArray[part].where != 0)
        ++part;
    if (part >= mounted->supports)
        Raise(kBeyondParts, base, 230);
    KyMountedIndex* index = nullptr;
    CheckEngineCode(KyIndexOfKey(mounted, key, &index), "ucdnet", 232);
    if (part >= index->searched)
        Raise(kBeyondParts, key, 234);
    return AFile(index->files[part]);
}

AString ADataLocation::getPathValue(const char* key) {
    const KY_FileSpec* spec = getMount() && key ? KY_FindPathSpec(getMount(), key) : nullptr;
    return spec && spec->text ? AString(spec->text) : AString();
}

AString ADataLocation::getRootLetter() {
    AString root = getPathValue("ROOT");
    if (root.empty() || static_cast<unsigned char>(root[0]) >= 0x80)
        return AString();
    return AString(root.c_str(), 1);
}

AFileSpec ADataLocation::getPathSpec(const char* name) {
    const KY_FileSpec* spec = getMount() && name ? KY_FindPathSpec(getMount(), name) : nullptr;
    return spec && spec->text ? AFileSpec(*spec) : AFileSpec();
}

void ADataLocation::refreshPaths() {
    KY_ForgetVolumes(getMount());
}

AString ADataLocation::expandLigatures(const AString& text) {
    return ExpandLigatures(text.c_str());
}

AMountedBase* ADataLocation::ensureBase(const char* name) {
    if (!name)
        ThrowAssert("ucdnet", 270);
    if (Pix p = bases.seek(name))
        return static_cast<AMountedBase*>(bases.contents(p));
    AMountedBase* base = new AMountedBase(*this, name);
    bases.insert(name) = base;
    return base;
}

void ADataLocation::forgetBase(const char* name) {
    bases.del(name);
}

ASearchBase* ADataLocation::openBase(const char* list, const char* filterKey) {
    if (!list)
        ThrowAssert("ucdnet", 290);
    struct Pair {
        std::string base, table;
    };
    std::vector<Pair> pairs;
    for (const char* p = list;;) {
        const char* comma = std::strchr(p, ',');
        std::string piece(p, comma ? static_cast<size_t>(comma - p) : std::strlen(p));
        size_t colon = piece.find(':');
        if (colon == std::string::npos)
            ThrowAssert("ucdnet", 300);
        pairs.push_back({piece.substr(0, colon), piece.substr(colon + 1)});
        if (!comma)
            break;
        p = comma + 1;
    }
    if (!getMount())
        Raise(kNoSection, "openBase", 306);
    for (const Pair& pair : pairs) {
        KyMountedBase* mounted =
            static_cast<KyMountedBase*>(getMount()->bases ? AssocValue(getMount()->bases, pair.base.c_str()) : nullptr);
        if (mounted && !mounted->released)
            continue;
        int code = mountBase(getMount(), pair.base.c_str());
        if (code == kMkErrUndeclared)
            return nullptr;
        CheckEngineCode(code, "ucdnet", 315);
    }
    std::unique_ptr<ASearchBase> result(new ASearchBase());
    for (const Pair& pair : pairs) {
        AMountedBase* base = ensureBase(pair.base.c_str());
        ASearchTable* table = ASearchTable::open(base, pair.table.c_str());
        if (!table)
            return nullptr;
        if (!result->addTable(table))
            delete table;
    }
    if (filterKey)
        result->setFilter(getFilter(filterKey));
    return result.release();
}

AKeyIndex* ADataLocation::openIndex(const char* key) {
    return new AKeyIndex(*this, key);
}

ASearchRequest* ADataLocation::createRequest(const char* base, const char* request) {
    return new ASearchRequest(*this, ensureBase(base), request);
}

KyIndexHandle* ADataLocation::acquireIndex(const char* key) {
    if (!key)
        ThrowAssert("ucdnet", 340);
    if (Pix p = indexes.seek(key))
        return &static_cast<SharedIndex*>(indexes.contents(p))->handle;
    if (!getMount() || !getMount()->lexs)
        Raise(kNoSection, "indexes", 344);
    KyMountedLex* lex = static_cast<KyMountedLex*>(AssocValue(getMount()->lexs, key));
    if (!lex)
        Raise(kUnknownIndex, key, 347);
    SharedIndex* shared = CheckAlloc(static_cast<SharedIndex*>(std::calloc(1, sizeof(SharedIndex))), "ucdnet", 348);
    shared->handle.spec = &lex->abp;
    if (HasPath(lex->hdg[0]) && HasPath(lex->hdg[1])) {
        shared->handle.catSpec = &lex->hdg[0];
        shared->handle.dataSpec = &lex->hdg[1];
    }
    if (lex->filterKey && !(shared->filter = KY_FilterLoad(&lex->filterKey->file))) {
        std::free(shared);
        Raise(110, key, 356);
    }
    shared->handle.filter = shared->filter;
    indexes.insert(key) = shared;
    return &shared->handle;
}

void ADataLocation::releaseIndex(const char* key) {
    Pix p = key ? indexes.seek(key) : nullptr;
    if (!p)
        return;
    SharedIndex* shared = static_cast<SharedIndex*>(indexes.contents(p));
    if (shared->handle.refs > 0)
        return;
    indexes.del(key);
    FreeShared(shared);
}
