// Search bases, their tables, the shared base objects and catalogue files.
#include "search/facade/ASearchBase.h"

#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "base/object/AFileStream.h"
#include "base/object/AFolderSpecs.h"
#include "base/procedural/EngineTables.h"
#include "base/procedural/KyFilter.h"
#include "search/engine/descriptor/AssocValue.h"
#include "search/engine/descriptor/MkDoom.h"
#include "search/engine/remote/KyRemote.h"
#include "search/engine/request/KyRequest.h"
#include "search/facade/ADataLocation.h"
#include "search/facade/AKeyIndex.h"
#include "search/facade/SearchError.h"

namespace {

const int kNoSection = 1303;
const int kUnknownBase = 1306;
const int kUnknownTable = 1302;
const int kNoStoredPart = 1308;
// A record larger than this is damaged data, not text to allocate.
const long kMaxRecordText = 64L << 20;
// Longer records are expanded into a temporary file instead.
const int32_t kMaxRecordInMemory = 8 << 20;

[[noreturn]] void Raise(long code, const char* context, long line) {
    KY_SetEngineErrorText(context);
    RaiseEngineError(code, "ucat", line);
}

int32_t PartCount(const KyPart& part) {
    if (part.type == 2)
        return part.cat.count;
    return part.type == 1 ? part.end - part.first : 0;
}

const KyPart* FirstStoredPart(const KyTable* table) {
    for (int i = 0; i < table->partCount; ++i)
        if (table->parts[i].type)
            return &table->parts[i];
    return nullptr;
}

// The data file path of a part with another extension, or "".
std::string Sibling(const KyPart& part, const char* extension) {
    const char* path = part.def ? part.def->data.path.text : nullptr;
    if (!path)
        return "";
    std::string s = path;
    size_t dot = s.find_last_of(".\\/");
    if (dot != std::string::npos && s[dot] == '.')
        s.resize(dot);
    return s + "." + extension;
}

bool FileExists(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return !path.empty() && attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

KyIndexHandle* NewIndexEntry(const KY_OpenSpec* file) {
    KyIndexHandle* entry = CheckAlloc(static_cast<KyIndexHandle*>(std::calloc(1, sizeof(KyIndexHandle))), "ucat", 68);
    entry->spec = file;
    return entry;
}

}  // namespace

AMountedBase::AMountedBase(ADataLocation& owner, const char* name)
    : hasCatalog(0), mainTable(nullptr), handle_(nullptr), use_(nullptr), name_(name), owner_(owner), users(0) {
    KyMount* mount = owner.getMount();
    if (!mount)
        Raise(kNoSection, "bases", 80);
    handle_ = static_cast<KyMountedBase*>(AssocValue(mount->bases, name));
    if (!handle_ || handle_->released) {
        CheckEngineCode(mountBase(mount, name), "ucat", 83);
        handle_ = static_cast<KyMountedBase*>(AssocValue(mount->bases, name));
    }
    if (!handle_)
        Raise(kUnknownBase, name, 87);
    CheckEngineCode(KY_OpenMountedBase(owner.getEngine(), name, &use_), "ucat", 89);
}

// Closing also closes the base's engine requests; the facade's requests hold
// the object, so none is left by then. Nothing to raise from a destructor.
AMountedBase::~AMountedBase() {
    if (use_ && !owner_.engineClosed)
        KY_CloseMountedBase(use_);
}

KY_Request* AMountedBase::holdRequest(const char* name, ASearchRequest* holder) {
    KY_Request* request = nullptr;
    CheckEngineCode(KY_OpenRequest(use_, name, "", &request), "ucat", 101);
    requestHolders[request].push_back(holder);
    return request;
}

ASearchRequest* AMountedBase::releaseRequest(KY_Request* request, ASearchRequest* holder) {
    auto held = requestHolders.find(request);
    if (held == requestHolders.end())
        return nullptr;
    std::vector<ASearchRequest*>& holders = held->second;
    holders.erase(std::remove(holders.begin(), holders.end(), holder), holders.end());
    if (!holders.empty())
        return holders.back();
    requestHolders.erase(held);
    KY_CloseRequest(&request);
    return nullptr;
}

void AMountedBase::removeUser() {
    if (--users >= 1)
        return;
    owner_.forgetBase(name_.c_str());
    delete this;
}

ACatalogFile::ACatalogFile(const AFileSpec& path, const char* mode) : word(0), file(nullptr), index(-1), entries_(0) {
    KY_OpenSpec spec;
    KY_ClearOpenSpec(&spec);
    int code = KY_MakeOpenSpecIn(KY_GetGlobalFileSys(), path.path().c_str(), nullptr, 0, 0, 0, 0, &spec);
    if (!code && !(file = KY_FOpen(&spec, mode)))
        code = kFileErrOpen;
    KY_FreeOpenSpec(&spec);
    if (code)
        Raise(code, path.path().c_str(), 106);
    long size = KY_FileSize(file);
    entries_ = size > 0 ? size / 4 : 0;
}

ACatalogFile::~ACatalogFile() {
    KY_FClose(file);
}

// Word n lies at byte 4 n, little-endian.
void ACatalogFile::read(long n) {
    if (n == index)
        return;
    if (n < 0 || n >= entries_)
        RaiseDataError("catalogue entry beyond its file", "ucat", 124);
    uint8_t b[4];
    if (KY_FSeek(file, n * 4, 0) != n * 4 || KY_FRead(file, b, 4) != 4) {
        index = -1;
        RaiseDataError("catalogue entry cut short", "ucat", 128);
    }
    word = b[0] | (b[1] << 8) | (b[2] << 16) | (static_cast<uint32_t>(b[3]) << 24);
    index = n;
}

ASearchTable::ASearchTable(AMountedBase* owner, KyTable* table)
    : handle(table),
      base(owner),
      partFlag(0),
      hasIndex(0),
      part0Count(0),
      invFile(nullptr),
      mstFile(nullptr),
      index(nullptr),
      index1(nullptr),
      indexDesc{nullptr, nullptr} {
    base->addUser();
}

ASearchTable* ASearchTable::open(AMountedBase* base, const char* name) {
    KyTable* table = nullptr;
    int code = KyOpenTable(base->handle(), name, &table);
    if (code) {
        // A base object made for this table alone goes with it.
        if (base->userCount() == 0) {
            base->addUser();
            base->removeUser();
        }
        if (code == kUnknownTable)
            return nullptr;
        RaiseEngineError(code, "ucat", 157);
    }
    std::unique_ptr<ASearchTable> made(new ASearchTable(base, table));
    const KyMountedBase* mounted = base->handle();
    if (mounted->docDb && lstrcmpiA(mounted->docDb, name) == 0) {
        base->mainTable = made.get();
        base->hasCatalog = 0;
    }
    made->part0Count = table->partCount ? PartCount(table->parts[0]) : 0;
    KyMountedIndex* keyIndex = nullptr;
    if (KyIndexOfKey(mounted, name, &keyIndex) == 0 && keyIndex->searched > 0) {
        made->hasIndex = 1;
        made->indexDesc[0] = NewIndexEntry(&keyIndex->files[0]);
        made->index = new AKeyIndex(made->indexDesc[0]);
    }
    std::string inv = table->partCount > 1 ? Sibling(table->parts[1], "inv") : "";
    std::string mst = table->partCount > 1 ? Sibling(table->parts[1], "mst") : "";
    if (FileExists(inv) && FileExists(mst)) {
        made->partFlag = 1;
        base->hasCatalog = 1;
        made->invFile = new ACatalogFile(AFileSpec(inv.c_str()), "rb");
        made->mstFile = new ACatalogFile(AFileSpec(mst.c_str()), "rb");
        if (made->hasIndex && keyIndex->searched > 1) {
            made->indexDesc[1] = NewIndexEntry(&keyIndex->files[1]);
            made->index1 = new AKeyIndex(made->indexDesc[1]);
        }
    }
    const KyMountedFilter* own = table->partCount ? table->parts[0].def->filter : nullptr;
    if (KY_Filter* loaded = own ? KY_FilterLoad(&own->file) : nullptr) {
        made->filter = AFilter(loaded);
        KY_FilterRelease(loaded);
    }
    return made.release();
}

ASearchTable::~ASearchTable() {
    delete index;
    delete index1;
    std::free(indexDesc[0]);
    std::free(indexDesc[1]);
    delete invFile;
    delete mstFile;
    if (base->mainTable == this)
        base->mainTable = nullptr;
    KyCloseTable(&handle);
    base->removeUser();
}

int32_t ASearchTable::mapRecord(long n, short master) {
    if (!partFlag)
        return static_cast<int32_t>(n);
    long part = 0, number = 0;
    if (master) {
        part = mstFile->getCode(n) >> 4;
        number = mstFile->getNumber(n);
    } else if (invFile->getCode(n) == 0) {
        number = invFile->getNumber(n);
        if (number >= part0Count) {
            part = 1;
            number -= part0Count;
        }
    } else {
        long entry = invFile->getNumber(n);
        part = mstFile->getCode(entry) >> 4;
        number = mstFile->getNumber(entry);
    }
    return static_cast<int32_t>(((part + 1) << 24) | number);
}

ASearchBase::ASearchBase() : current(0), partCount(0), tables{}, count_(0) {}

ASearchBase::~ASearchBase() {
    for (int i = 0; i < count_; ++i)
        delete tables[i];
}

int ASearchBase::addTable(ASearchTable* table) {
    if (!table)
        ThrowAssert("ucat", 240);
    if (count_ >= kMaxTables)
        return 0;
    tables[count_++] = table;
    return 1;
}

ASearchTable* ASearchBase::at(short position) {
    if (position < 0 || position >= count_)
        ThrowAssert("ucat", 249);
    return tables[position];
}

short ASearchBase::getRecordKey(short position, long n) {
    ASearchTable* t = at(position);
    current = -1;
    short result = 0;
    if (!t->partFlag) {
        partCount = t->base->handle()->supports;
        int32_t type = 0;
        int present = 0;
        CheckEngineCode(KyRecordPresent(t->handle, static_cast<int32_t>(n), &type, &present), "ucat", 261);
        result = static_cast<short>(type == 1 && present ? 4 : type);
    }
    current = result;
    return result;
}

void ASearchBase::getExtent(short position, long n, short master, long* start, long* end) {
    ASearchTable* t = at(position);
    int32_t record = t->mapRecord(n, master);
    current = -1;
    int32_t type = 0;
    int present = 0;
    CheckEngineCode(KyRecordPresent(t->handle, record, &type, &present), "ucat", 274);
    int kind = type == 1 && present ? 0 : type;
    current = static_cast<int16_t>(kind);
    int32_t at = 0, length = 0;
    int code = KyRecordExtent(t->handle, record, &at, &length);
    if (code && kind == 0)
        RaiseEngineError(code, "ucat", 280);
    if (code && kind != 2 && KyFetchRecord(t->handle, record, &at, &length) == 0)
        code = 0;
    *start = code ? 0 : at;
    *end = code ? 0 : static_cast<long>(at) + length;
}

AString ASearchBase::getText(short position, long n, short master) {
    long start = 0, end = 0;
    getExtent(position, n, master, &start, &end);
    long length = end - start;
    if (length <= 0)
        return AString();
    if (length > kMaxRecordText)
        RaiseDataError("record longer than any text", "ucat", 294);
    ASearchTable* t = at(position);
    AString text(nullptr, length);
    char* buffer = text.body()->text;
    int32_t got = 0;
    CheckEngineCode(KyReadRecord(t->handle, t->mapRecord(n, master), reinterpret_cast<uint8_t*>(buffer),
                                 static_cast<int32_t>(length), &got),
                    "ucat", 300);
    text.setLength(static_cast<long>(strnlen(buffer, static_cast<size_t>(got))));
    return text;
}

long ASearchBase::readToStream(AFileStream& out, short position, long n, short master) {
    ASearchTable* t = at(position);
    if (!out.file())
        ThrowAssert("ucat", 308);
    int32_t written = 0;
    CheckEngineCode(KyReadRecordToStream(t->handle, t->mapRecord(n, master), out.file(), &written), "ucat", 310);
    return written;
}

AFilteredFile ASearchBase::readToStream(short position, long n, short master) {
    ASearchTable* t = at(position);
    ATempFileSpec temp("rs", ATempFolderSpec());
    AFile file(temp, 0, kPlainFileOptions, false);
    long length = 0;
    try {
        AFileStream s(file, "wb", 0);
        length = readToStream(s, position, n, master);
        s.close();
    } catch (...) {
        DeleteFileA(temp.path().c_str());
        throw;
    }
    return AFilteredFile(file, 0, length, 1, t->filter.handle() ? t->filter : filter);
}

bool ASearchBase::readRecord(short position, long n, short master, AString* text) {
    ASearchTable* t = at(position);
    int32_t record = t->mapRecord(n, master);
    int32_t start = 0, length = 0;
    CheckEngineCode(KyRecordExtent(t->handle, record, &start, &length), "ucat", 310);
    if (length >= kMaxRecordInMemory)
        return false;
    // One byte more than the catalogue says: a record that fills it is not
    // the length it was catalogued with, and the file shows it whole.
    AString bytes(nullptr, length + 1);
    bytes.makeUnique(true);
    uint8_t* p = reinterpret_cast<uint8_t*>(bytes.body()->text);
    int32_t got = 0;
    CheckEngineCode(KyReadRecord(t->handle, record, p, length + 1, &got), "ucat", 310);
    if (got > length)
        return false;
    const AFilter& f = t->filter.handle() ? t->filter : filter;
    if (const int16_t* table = f.isPassThrough() ? nullptr : f.table()) {
        for (int32_t i = 0; i < got; ++i)
            p[i] = static_cast<uint8_t>(table[p[i]] & 0xFF);
    }
    bytes.setLength(got);
    *text = bytes;
    return true;
}

AFileSpec ASearchBase::getFileSpec(short position) {
    const KyPart* part = FirstStoredPart(at(position)->handle);
    if (!part || !part->def->data.path.text)
        Raise(kNoStoredPart, "getFileSpec", 330);
    return AFileSpec(part->def->data.path.text);
}

AFileSpec ASearchBase::getFileSpec(short position, long n) {
    AString text = getText(position, n, 0).trimmed(" \t\r\n");
    if (text.empty())
        return AFileSpec();
    bool absolute = text[0] == '\\' || (text.length() > 1 && text[1] == ':');
    if (absolute)
        return AFileSpec(text.c_str());
    return AFileSpec(getFileSpec(position).parent(false), text.c_str());
}

long ASearchBase::makeDocRef(short position, long n) {
    ASearchTable* t = at(position);
    if (static_cast<uint32_t>(n) & 0xFF000000u)
        return n;
    int32_t local = 0;
    int part = 0;
    CheckEngineCode(KyLocateRange(t->handle, static_cast<int32_t>(n), &local, &part), "ucat", 350);
    return static_cast<long>((static_cast<uint32_t>(part + 1) << 24) | static_cast<uint32_t>(local));
}

long ASearchBase::getRecordCount(short position) {
    ASearchTable* t = at(position);
    if (t->partFlag)
        return t->mstFile ? t->mstFile->entries() : t->part0Count;
    const KyPart* part = FirstStoredPart(t->handle);
    if (!part)
        Raise(kNoStoredPart, "getRecordCount", 360);
    return PartCount(*part);
}

long ASearchBase::getTableInfo(short position, const char* key) {
    ASearchTable* t = at(position);
    if (!t->hasIndex || !t->index)
        ThrowAssert("ucat", 367);
    if (!t->partFlag || !t->index1)
        return t->index->lookup(key, nullptr);
    int16_t p0 = 0, p1 = 0;
    long r0 = t->index->lookup(key, &p0);
    long r1 = t->index1->lookup(key, &p1);
    ACatalogFile* inv = t->invFile;
    auto mapped = [inv](long r) { return r >= 0 && r < inv->entries() ? inv->getNumber(r) : -1L; };
    if (r1 < 0 || r1 + t->part0Count >= inv->entries())
        return mapped(r0);
    long m1 = mapped(r1 + t->part0Count);
    if (r0 < 0 || p0 < p1)
        return m1;
    long m0 = mapped(r0);
    if (p0 > p1)
        return m0;
    return m0 < m1 ? m0 : m1;
}

short ASearchBase::getTableFlag(short position) {
    return at(position)->partFlag;
}

short ASearchBase::getTableValue(short position, long n, short master) {
    ASearchTable* t = at(position);
    if (!t->partFlag)
        return 0;
    long entry = master ? n : t->invFile->getNumber(n);
    return static_cast<short>((t->mstFile->getCode(entry) & 0x0C) >> 2);
}

short ASearchBase::anyTableMarked() {
    for (int i = 0; i < count_; ++i)
        if (tables[i]->base->handle()->released)
            return 1;
    return 0;
}

bool ASearchBase::isOnDisc() {
    for (int i = 0; i < count_; ++i)
        if (tables[i]->base->handle()->hasMountable)
            return true;
    return false;
}
