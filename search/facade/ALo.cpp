// What every result list shares: cursor helpers, combining, the list file's
// common header and string set, temporary files and the stored text form.
#include "search/facade/ALo.h"

#include <cstdlib>
#include <cstring>
#include <memory>

#include "base/object/AFileStream.h"
#include "base/object/AFolderSpecs.h"
#include "search/facade/ALoFile.h"
#include "search/facade/ALoSimple.h"
#include "search/facade/ALoVect.h"
#include "search/facade/ASearchRequest.h"
#include "search/facade/SearchError.h"

namespace {

ALoTempFileHook g_tempFileHook = nullptr;

const int32_t kMaxStrings = 65535;
const int32_t kMaxStringLength = 65535;

// The temporary folder, made once.
const AFileSpec& TempFolder() {
    static ATempFolderSpec folder;
    return folder;
}

// A decimal number of text [p, end) without sign; false when none or too large.
bool ParseNumber(const char* p, const char* end, int32_t* value) {
    if (p >= end)
        return false;
    int64_t v = 0;
    for (; p < end; ++p) {
        if (*p < '0' || *p > '9')
            return false;
        v = v * 10 + (*p - '0');
        if (v > 0x7FFFFFFF)
            return false;
    }
    *value = static_cast<int32_t>(v);
    return true;
}

}  // namespace

void ALoSetTempFileHook(ALoTempFileHook hook) {
    g_tempFileHook = hook;
}

void LoPut16(uint8_t* p, int32_t v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}

void LoPut32(uint8_t* p, int32_t v) {
    uint32_t u = static_cast<uint32_t>(v);
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<uint8_t>(u >> (8 * i));
}

int32_t LoGet16(const uint8_t* p) {
    return static_cast<int16_t>(p[0] | (p[1] << 8));
}

int32_t LoGet32(const uint8_t* p) {
    return static_cast<int32_t>(p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24));
}

void LoDamaged(const char* text, long line) {
    RaiseDataError(text, "lo", line);
}

ALo::ALo() : stream(nullptr) {
    initFields();
}

ALo::~ALo() {
    close();
    if (!fileSpec.empty() && !persistent && fileSpec.exists())
        registerTempFile(fileSpec);
    delete stream;
}

void ALo::initFields() {
    kind = 0;
    count = bodyStart = bodyEnd = 0;
    weightBits = weightMask = base = maxDoc = 0;
    current = -1;
    weight = 0;
    weight2 = -1;
    position = -1;
    persistent = allocated = allOccurrences = fromFile = 0;
}

void ALo::registerTempFile(const AFileSpec& spec) {
    if (g_tempFileHook)
        g_tempFileHook(spec);
}

AFileSpec ALo::newTempFile() {
    return ATempFileSpec("lo", TempFolder());
}

AFileStream* ALo::openStream(const AFileSpec& spec, const char* openMode) {
    AFile f(spec, 0, kPlainFileOptions, false);
    return new AFileStream(f, openMode, 0);
}

ALo* ALo::create(short copyElements) {
    ALo* made = nullptr;
    switch (kind) {
        case kLoKindVect:
            made = new ALoVect(*this, copyElements);
            break;
        case kLoKindFile:
            made = new ALoFile(*this, copyElements);
            break;
        case kLoKindAll:
            made = new ALoAll(*this, copyElements);
            break;
        case kLoKindSimple:
            made = new ALoSimple(*this, copyElements);
            break;
        case kLoKindScore:
            made = new ALoScore(*this, copyElements);
            break;
        default:
            return nullptr;
    }
    return CheckAlloc(made, "lo", 96);
}

void ALo::rewind() {
    current = -1;
    weight = 0;
    weight2 = -1;
    position = -1;
}

void ALo::add(long, long, long) {}

short ALo::contains(long doc) {
    for (long d = first(); d != -1; d = next())
        if (d == doc)
            return 1;
    return 0;
}

long ALo::indexOf(long doc) {
    open();
    long i = 0;
    for (long d = first(); d != -1; d = next(), ++i)
        if (d == doc)
            return i;
    return -1;
}

long ALo::firstScoreAt(long) {
    return -1;
}

long ALo::secondScoreAt(long) {
    return -1;
}

long ALo::seek(long i) {
    open();
    if (i < 0 || i >= count)
        ThrowAssert("lo", 648);
    if (i == 0)
        position = -1;
    // A step that leaves the list ends the walk: count and content disagree.
    if (position == -1) {
        for (long d = first(); d != -1 && position < i; d = next()) {
        }
    } else if (i > position) {
        for (long d = 0; d != -1 && position < i;)
            d = next();
    } else if (i < position) {
        for (long d = 0; d != -1 && position > i;)
            d = previous();
    }
    if (current < 0)
        ThrowAssert("lo", 668);
    return current + base;
}

ALo* ALo::intersect(ALo* other) {
    if (kind == kLoKindAll)
        return other->create(1);
    if (other == this || other->kind == kLoKindAll)
        return create(1);
    open();
    other->open();
    ALo* result = create(0);
    if (!result)
        return nullptr;
    for (long d = first(); d != -1; d = next())
        if (other->contains(d))
            result->add(d, weight, weight2);
    other->close();
    return result;
}

void ALo::addAllOf(ALo* other, bool withSecond) {
    other->open();
    other->rewind();
    // The all-documents list never ends a walk: there is nothing to copy.
    if (other->kind != kLoKindAll)
        for (long d = other->first(); d != -1; d = other->next())
            add(d, other->weight, withSecond ? other->weight2 : 0);
}

void ALo::copyFrom(ALo* other) {
    addAllOf(other, true);
    strings.clear();
    strings.copyFrom(other->strings);
    other->close();
}

void ALo::appendFrom(ALo* other) {
    if (!other)
        return;
    addAllOf(other, false);
    strings.copyFrom(other->strings);
    other->close();
}

long ALo::fillFrom(LoHandle list) {
    rewind();
    int32_t n = 0, doc = -1, w1 = 0, w2 = 0;
    int code = LoFirst(list, &n, &doc, &w1, &w2);
    if (code || n == 0)
        return code;
    while (doc != -1) {
        int16_t second = static_cast<int16_t>(w2);
        add(doc, w1, second < 0 ? 0 : second);
        if ((code = LoNext(list, &doc, &w1, &w2)) != 0)
            return code;
    }
    add(-1, -1, -1);
    return LoClose(list);
}

// A fill cut short by the engine is an error, not a shorter result.
void ALo::fillFromRequest(const ASearchRequest& request, LoHandle list) {
    struct Guard {
        LoHandle h;
        ~Guard() {
            if (h != -1)
                LoFree(&h);
        }
    } guard{list};
    if (list != -1)
        CheckEngineCode(fillFrom(list), "lo", 2040);
    if (request.getItemCount() >= 1)
        name = AString(request.getFieldLabel(1));
    if (const char* const* words = request.getQuestionTerms(0, 0))
        for (; *words; ++words)
            if (**words)
                strings.insert(AString(*words));
}

void ALo::readText(const char* text, bool checkCount) {
    const char* colon1 = text ? std::strchr(text, ':') : nullptr;
    const char* colon2 = colon1 ? std::strchr(colon1 + 1, ':') : nullptr;
    if (!colon2)
        LoDamaged("list text without its two ':'", 2069);
    int32_t n = 0, bound = 0;
    if (!ParseNumber(text, colon1, &n) || !ParseNumber(colon1 + 1, colon2, &bound) || bound > kLoMaxDoc)
        LoDamaged("list text: bad count or largest document", 2075);
    if (bound == 0)
        bound = 1;
    maxDoc = bound;
    rewind();
    allocateFor(n, bound);
    if (allocated) {
        const char* p = colon2 + 1;
        const char* end = p + std::strlen(p);
        while (end > p && (end[-1] == '\n' || end[-1] == '\r'))
            --end;
        int32_t added = 0;
        while (p < end) {
            const char* comma = static_cast<const char*>(std::memchr(p, ',', static_cast<size_t>(end - p)));
            const char* stop = comma ? comma : end;
            int32_t d = 0;
            if (!ParseNumber(p, stop, &d))
                LoDamaged("list text: bad document number", 2080);
            if (d > bound)
                LoDamaged("list text: document above the largest", 2086);
            if (checkCount && added >= n)
                LoDamaged("list text: more documents than its count", 2087);
            add(d, -1, 0);
            ++added;
            p = comma ? comma + 1 : end;
        }
    }
    rewind();
}

void ALo::writeHeader(AFileStream* s, short) {
    if (!s)
        ThrowAssert("lo", 1510);
    if (s->seek(0, 0) != 0)
        LoDamaged("list file: seek to the header failed", 1512);
    bodyStart = headerSize();
    uint8_t h[64] = {0};
    LoPut16(h, kind);
    LoPut32(h + 2, count);
    LoPut32(h + 6, bodyStart);
    LoPut32(h + 10, bodyEnd);
    LoPut32(h + 14, weightBits);
    LoPut32(h + 18, weightMask);
    LoPut32(h + 22, base);
    LoPut32(h + 26, maxDoc);
    putKindFields(h + kLoCommonHeader);
    if (s->write(h, bodyStart) != bodyStart)
        LoDamaged("list file: header not written", 1525);
}

void ALo::readHeader(AFileStream* s) {
    if (!s)
        ThrowAssert("lo", 1530);
    long size = KY_FileSize(s->file());
    long length = headerSize();
    uint8_t h[64] = {0};
    if (s->seek(0, 0) != 0 || size < length || s->read(h, length) != length)
        LoDamaged("list file: short header", 1534);
    int32_t start = LoGet32(h + 6);
    int32_t end = LoGet32(h + 10);
    int32_t n = LoGet32(h + 2);
    int32_t b = LoGet32(h + 22);
    int32_t m = LoGet32(h + 26);
    if (LoGet16(h) != kind || start != length || end < start || end > size)
        LoDamaged("list file: header kind or body bounds wrong", 1540);
    if (n < 0 || n > kLoMaxDoc + 1 || b < 0 || b > kLoMaxDoc || m < 0 || m > kLoMaxDoc)
        LoDamaged("list file: count, base or largest document out of range", 1542);
    count = n;
    bodyStart = start;
    bodyEnd = end;
    weightBits = LoGet32(h + 14);
    weightMask = LoGet32(h + 18);
    base = b;
    maxDoc = m;
    getKindFields(h + kLoCommonHeader, size);
}

void ALo::writeStrings(AFileStream* s) {
    uint8_t word[4];
    int32_t n = 0;
    for (Pix p = strings.first(); p; strings.next(p))
        n += strings.key(p).length() > 0 && strings.key(p).length() <= kMaxStringLength;
    if (n > kMaxStrings)
        n = kMaxStrings;
    LoPut32(word, n);
    if (s->write(word, 4) != 4)
        LoDamaged("list file: string set not written", 1560);
    int32_t written = 0;
    for (Pix p = strings.first(); p && written < n; strings.next(p)) {
        const AString& k = strings.key(p);
        if (k.length() < 1 || k.length() > kMaxStringLength)
            continue;
        LoPut32(word, k.length());
        if (s->write(word, 4) != 4 || s->write(k.c_str(), k.length()) != k.length())
            LoDamaged("list file: string set not written", 1568);
        ++written;
    }
}

void ALo::readStrings(AFileStream* s) {
    strings.clear();
    long size = KY_FileSize(s->file());
    long at = s->tell();
    uint8_t word[4];
    if (at < 0 || size - at < 4 || s->read(word, 4) != 4)
        LoDamaged("list file: string set missing", 1578);
    at += 4;
    int32_t n = LoGet32(word);
    if (n < 0 || n > kMaxStrings)
        LoDamaged("list file: string count out of range", 1582);
    std::unique_ptr<char[]> text(new char[kMaxStringLength + 1]);
    for (int32_t i = 0; i < n; ++i) {
        if (size - at < 4 || s->read(word, 4) != 4)
            LoDamaged("list file: string set cut short", 1586);
        int32_t length = LoGet32(word);
        at += 4;
        if (length < 1 || length > kMaxStringLength || length > size - at || s->read(text.get(), length) != length)
            LoDamaged("list file: string length beyond the file", 1590);
        at += length;
        strings.insert(AString(text.get(), length));
    }
}

void ALo::writeTo(AFileStream* s, short keepInMemory) {
    if (!s)
        ThrowAssert("lo", 1600);
    writeHeader(s, keepInMemory);
    writeBody(s, keepInMemory);
    if (s->seek(bodyEnd, 0) != bodyEnd)
        LoDamaged("list file: seek to the string set failed", 1604);
    writeStrings(s);
    writeHeader(s, keepInMemory);
}

void ALo::readFrom(AFileStream* s) {
    if (!s)
        ThrowAssert("lo", 1610);
    readHeader(s);
    readBody(s);
    if (s->seek(bodyEnd, 0) != bodyEnd)
        LoDamaged("list file: seek to the string set failed", 1614);
    readStrings(s);
}

void ALo::saveTo(AString& result, const AFileSpec& dest, short keepInMemory) {
    {
        std::unique_ptr<AFileStream> s(openStream(dest, "wb+"));
        writeTo(s.get(), keepInMemory);
        s->close();
    }
    if (!keepInMemory) {
        if (!fileSpec.empty() && fileSpec != dest && !persistent && fileSpec.exists())
            registerTempFile(fileSpec);
        fileSpec = dest;
        persistent = 1;
    }
    result = dest.path();
}

void ALo::filePath(AString& result) {
    if (persistent) {
        result = fileSpec.path();
        return;
    }
    if (!fileSpec.empty() && fileSpec.exists())
        registerTempFile(fileSpec);
    fileSpec = newTempFile();
    saveTo(result, fileSpec, 0);
}

void ALo::reload(AString& result) {
    {
        std::unique_ptr<AFileStream> s(openStream(fileSpec, "rb"));
        readFrom(s.get());
        s->close();
    }
    persistent = 1;
    result = fileSpec.path();
}

void ALo::copyFileTo(AString& result, const AFileSpec& dest) {
    close();
    AString path;
    filePath(path);
    CheckFileCode(fileSpec.copyTo(dest), 1660);
    result = dest.path();
}
