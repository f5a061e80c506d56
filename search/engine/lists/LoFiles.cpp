// Occurrence lists kept: saved in the swap file, as list files of their own or
// their bytes in memory, reopened by name; and lists of a range of documents.
#include <strings.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <utility>

#include "base/procedural/EngineTables.h"
#include "search/engine/common/AsciiCase.h"
#include "search/engine/common/KyFileSet.h"
#include "search/engine/lists/LoInternal.h"

// List file: the 320-byte header of LoDesc (Lo.h), then the element stream
// (Lo.cpp) or, with flag 64, the vector's raw bytes (document d at bit d & 7 of
// byte d >> 3).

namespace {

int Fail(int code, const char* text) {
    KY_SetEngineErrorText(text);
    return code;
}

// Names compare as file names, letters in either case.
bool SameName(const std::string& a, const char* b, size_t length) {
    return a.size() == length && AsciiSameNoCase(a.data(), b, length, true);
}

LoImage* FindImage(const char* name) {
    size_t length = std::strlen(name);
    for (LoImage& image : LoPkg().images)
        if (SameName(image.name, name, length))
            return &image;
    return nullptr;
}

// The 320-byte header of a list file.
void EncodeHeader(const LoDesc* d, uint8_t out[kLoHeaderSize]) {
    std::memset(out, 0, kLoHeaderSize);
    const uint32_t words[14] = {d->flags,
                                static_cast<uint32_t>(d->weight),
                                0,
                                0,
                                static_cast<uint32_t>(d->count),
                                0,
                                0xFFFFFFFFu,
                                0,
                                0,
                                0,
                                0,
                                d->units,
                                d->unitMask,
                                static_cast<uint32_t>(d->start)};
    // Little-endian words, as this processor keeps them: one copy, where a
    // byte at a time was most of saving a short list.
    std::memcpy(out, words, sizeof words);
    std::memcpy(out + 60, d->name, std::min<size_t>(std::strlen(d->name), kLoNameSize - 1));
}

int32_t HeaderWord(const uint8_t* in, int at) {
    return static_cast<int32_t>(in[at] | (in[at + 1] << 8) | (in[at + 2] << 16) |
                                (static_cast<uint32_t>(in[at + 3]) << 24));
}

// The bytes of the elements of such a list.
size_t StreamBytes(const LoDesc* d) {
    uint64_t bits = static_cast<uint64_t>(d->count) * static_cast<uint64_t>(LoPkg().nbits) * (d->units ? 2 : 1);
    return static_cast<size_t>((bits + 31) / 32 * 4);
}

// Appends the words of such a list to out.
int AppendStream(LoDesc* d, std::vector<uint8_t>* out) {
    size_t n = StreamBytes(d), at = out->size();
    out->resize(at + n);
    if (n == 0)
        return 0;
    if (d->flags & kLoInMemory) {
        const uint8_t* data = nullptr;
        size_t size = 0;
        if (int code = LoImageData(d, &data, &size))
            return code;
        if (size < n)
            return Fail(kLoErrFile, d->name);
        std::memcpy(out->data() + at, data, n);
        return 0;
    }
    if (int code = LoEndFast(d))
        return code;
    if (int code = LoFlushPending(d))
        return code;
    if (!LoPkg().swap || LoReadAt(LoPkg().swap, d->start, out->data() + at, n) != n)
        return Fail(kLoErrSeek, LoPkg().swapName);
    return 0;
}

// The bytes of d's list file named name: the header, then the raw vector or
// the elements, copied at the swap's end and read back (the space is given
// back). r becomes the descriptor that reads them, without a file.
int ListImage(LoDesc* d, const char* name, std::vector<uint8_t>* image, LoDesc* r) {
    LoPackage& p = LoPkg();
    int code = LoInitDesc(r, kLoReadable | kLoWritable, nullptr, 0, 0, 0, d->weight);
    if (code)
        return code;
    const int32_t start = r->start;
    r->units = d->units;
    r->unitMask = d->unitMask;
    r->flags |= d->flags & kLoScored;
    bool raw = (d->flags & (kLoVector | kLoRawVector)) && d->count > kLoSaveThreshold;
    const bool copies = !raw && LoCopiesAsItStands(d);
    // One block for the header and the bytes known to follow it.
    image->reserve(kLoHeaderSize + (raw ? static_cast<size_t>(p.vecBytes) : copies ? StreamBytes(d) : 0));
    image->assign(kLoHeaderSize, 0);
    if (raw) {
        r->file = nullptr;
        if (!(d->flags & kLoVector) && !d->buffer && (code = Lo_FirstOcc(d)) != 0)
            return code;
        image->insert(image->end(), LoVectorBytesOf(d), LoVectorBytesOf(d) + p.vecBytes);
        r->count = d->count;
        r->flags |= kLoRawVector;
    } else if (copies) {
        code = AppendStream(d, image);
        Lo_Close(d);
        if (code)
            return code;
        r->file = nullptr;
        r->count = d->count;
        r->doc = -1;
        r->flags |= kLoOwnFile;
    } else {
        code = LoCopyElements(d, r);
        LoDropPending(r);
        r->file = nullptr;
        size_t n = static_cast<size_t>(r->offset - start);
        image->resize(kLoHeaderSize + n);
        if (!code && n && LoReadAt(p.swap, start, &(*image)[kLoHeaderSize], n) != n)
            code = Fail(kLoErrSeek, p.swapName);
        if (p.swapEnd == r->offset)
            p.swapEnd = start;
        if (code)
            return code;
        r->flags |= kLoOwnFile;
    }
    r->flags &= ~kLoWritable;
    r->start = r->offset = kLoHeaderSize;
    LoCopyName(r->name, name);
    EncodeHeader(r, image->data());
    return 0;
}

// Writes d's list file at path as a file of set, or through a temporary
// sibling when there is no set.
int WriteListFile(LoDesc* d, const char* path, LoDesc* r, KyFileSet* set) {
    std::vector<uint8_t> image;
    int code = ListImage(d, path, &image, r);
    if (code)
        return code;
    KyFileSet own;
    std::string why = (set ? set : &own)->write(path, std::string(image.begin(), image.end()));
    if (why.empty() && !set)
        why = own.commit();
    return why.empty() ? 0 : Fail(kLoErrFile, path);
}

// A descriptor for the list whose file begins with header (got bytes of it)
// and is size bytes long; 106 when the header does not fit the file.
int OpenHeader(const uint8_t* header, size_t got, int64_t size, const char* name, uint32_t more, LoHandle* h) {
    LoPackage& p = LoPkg();
    if (got != kLoHeaderSize)
        return Fail(kLoErrFile, name);
    // The header is data, not a live descriptor: keep the file's flags, check the rest.
    uint32_t flags = static_cast<uint32_t>(HeaderWord(header, 0)) & kLoFileFlags;
    int32_t count = HeaderWord(header, 16), start = HeaderWord(header, 52);
    uint32_t units = static_cast<uint32_t>(HeaderWord(header, 44)) & 15;
    int64_t dataBits = (size - start) * 8;
    int64_t needBits = (flags & kLoRawVector) ? static_cast<int64_t>(p.vecBytes) * 8
                                              : static_cast<int64_t>(count) * p.nbits * (units ? 2 : 1);
    bool fileFlags = (flags & kLoReadable) && ((flags & kLoOwnFile) || (flags & kLoRawVector));
    if (!fileFlags || start < kLoHeaderSize || count < 0 || start > size || needBits > dataBits ||
        ((flags & kLoRawVector) && !p.vecBytes))
        return Fail(kLoErrFile, name);
    LoHandle n = LoNew();
    if (n < 0)
        return kLoErrOpenList;
    LoDesc* d = LoDescOf(n);
    d->flags = flags | more;
    d->weight = std::max(HeaderWord(header, 4), 0);
    d->count = count;
    d->start = d->offset = start;
    LoSetUnits(d, LoLowestUnitBit(units));
    LoCopyName(d->name, name);
    d->doc = -1;
    *h = n;
    return 0;
}

}  // namespace

// The data of an in-memory list, from its start.
int LoImageData(const LoDesc* d, const uint8_t** data, size_t* size) {
    const LoImage* image = FindImage(d->name);
    if (!image || d->start < 0 || static_cast<size_t>(d->start) > image->bytes.size())
        return Fail(kLoErrOpen, d->name);
    *data = image->bytes.data() + d->start;
    *size = image->bytes.size() - static_cast<size_t>(d->start);
    return 0;
}

int LoCopyElements(LoDesc* src, LoDesc* dst) {
    int code = Lo_FirstOcc(src);
    while (!code && src->doc != -1) {
        if ((code = Lo_WriteOcc(dst, src->doc, src->pos)) != 0)
            break;
        if (src->flags & dst->flags & kLoScored)
            dst->hits = src->hits;
        code = Lo_NextOcc(src);
    }
    if (!code)
        code = Lo_WriteOcc(dst, -1, 0);
    Lo_Close(src);
    return code;
}

int Lo_Save(const char* name, LoDesc* d) {
    if (!d)
        return kLoErrSave;
    LoPackage& p = LoPkg();
    LoDesc r;
    int code = LoFlushPending(d);
    if (code)
        return code;
    if (!name || !*name) {
        // Into the swap file: raw bytes for a large vector, else element by element.
        if ((code = LoInitDesc(&r, kLoReadable | kLoWritable, nullptr, 0, 0, 0, d->weight)) != 0)
            return code;
        r.units = d->units;
        r.unitMask = d->unitMask;
        if ((d->flags & kLoVector) && d->count > kLoSaveThreshold) {
            if (!LoWriteAt(p.swap, r.start, p.vector, static_cast<size_t>(p.vecBytes)))
                return Fail(kLoErrSeek, p.swapName);
            p.swapEnd = r.start + p.vecBytes;
            r.flags |= kLoRawVector;
            r.count = d->count;
        } else if ((code = LoCopyElements(d, &r)) != 0) {
            LoDropPending(&r);
            return code;
        }
        r.file = nullptr;
        if (p.owner == d)
            p.owner = nullptr;
        LoReleaseDesc(d);
        *d = r;
        return 0;
    }
    if (!(d->flags & (kLoOwnFile | kLoVector)) && LoKeepSaved == 1) {
        LoSavedEntry entry{name,     d->count, d->start, p.swapEnd, d->units, d->flags & (kLoRawVector | kLoScored),
                           d->weight};
        auto at = std::find_if(p.saved.begin(), p.saved.end(),
                               [&](const LoSavedEntry& e) { return strcasecmp(e.name.c_str(), name) <= 0; });
        if (at != p.saved.end() && strcasecmp(at->name.c_str(), name) == 0)
            *at = entry;
        else
            p.saved.insert(at, entry);
        FILE* marker = std::fopen(name, "wb");
        if (!marker)
            return Fail(kLoErrOpen, name);
        std::fclose(marker);
        return 0;
    }
    if ((code = WriteListFile(d, name, &r, nullptr)) != 0)
        return code;
    LoReleaseDesc(d);
    *d = r;
    return 0;
}

int LoSaveInSet(const char* name, LoHandle h, KyFileSet* set) {
    LoDesc* d = LoDescOf(h);
    if (!d || !name || !*name)
        return kLoErrSave;
    LoDesc r;
    int code = LoFlushPending(d);
    if (!code)
        code = WriteListFile(d, name, &r, set);
    if (code)
        return code;
    LoReleaseDesc(d);
    *d = r;
    return 0;
}

int LoSave(const char* name, LoHandle h) {
    LoDesc* d = LoDescOf(h);
    return d ? Lo_Save(name, d) : kLoErrSave;
}

int LoOpen(const char* name, LoHandle* h) {
    LoPackage& p = LoPkg();
    if (!name || !*name)
        return LoDescOf(*h) ? 0 : kLoErrOpenList;
    for (const LoSavedEntry& e : p.saved) {
        if (strcasecmp(e.name.c_str(), name) != 0)
            continue;
        LoHandle n = LoNew();
        if (n < 0)
            return kLoErrOpenList;
        LoDesc* d = LoDescOf(n);
        d->start = d->offset = e.start;
        d->count = e.count;
        d->weight = e.weight;
        d->flags = kLoReadable | kLoWritable | e.flags;
        LoSetUnits(d, LoLowestUnitBit(e.units));
        LoCopyName(d->name, name);
        d->doc = -1;
        *h = n;
        return 0;
    }
    if (const LoImage* image = FindImage(name))
        return OpenHeader(image->bytes.data(), std::min<size_t>(image->bytes.size(), kLoHeaderSize),
                          static_cast<int64_t>(image->bytes.size()), name, kLoInMemory, h);
    FILE* f = std::fopen(name, "rb");
    if (!f)
        return Fail(kLoErrOpen, name);
    uint8_t header[kLoHeaderSize];
    size_t got = std::fread(header, 1, kLoHeaderSize, f);
    long size = std::fseek(f, 0, SEEK_END) == 0 ? std::ftell(f) : -1;
    std::fclose(f);
    return OpenHeader(header, got, size, name, 0, h);
}

int LoSaveImage(const char* name, LoHandle h, std::string note) {
    LoDesc* d = LoDescOf(h);
    if (!d || !name || !*name)
        return kLoErrSave;
    LoDesc r;
    LoImage kept{name, {}, std::move(note)};
    int code = ListImage(d, name, &kept.bytes, &r);
    if (code)
        return code;
    LoForget(name);
    LoPkg().images.push_back(std::move(kept));
    r.flags |= kLoInMemory;
    LoReleaseDesc(d);
    *d = r;
    return 0;
}

int LoHeader(const char* name, uint8_t* header) {
    if (const LoImage* image = FindImage(name)) {
        size_t n = std::min<size_t>(image->bytes.size(), kLoHeaderSize);
        std::memcpy(header, image->bytes.data(), n);
        return static_cast<int>(n);
    }
    FILE* f = std::fopen(name, "rb");
    if (!f)
        return -1;
    size_t got = std::fread(header, 1, kLoHeaderSize, f);
    std::fclose(f);
    return static_cast<int>(got);
}

int LoForget(const char* name) {
    auto& images = LoPkg().images;
    LoImage* image = FindImage(name);
    if (!image)
        return 0;
    images.erase(images.begin() + (image - images.data()));
    return 1;
}

const std::string* LoImageNote(const char* name) {
    const LoImage* image = FindImage(name);
    return image ? &image->note : nullptr;
}

int LoVectorToSeq(LoDesc* d) {
    if (!d)
        return kLoErrConvert;
    if (!(d->flags & kLoVector))
        return kLoErrNotVector;
    return Lo_Save(nullptr, d);
}

int LoCreateRange(LoHandle* h, const char* name, int32_t from, int32_t to) {
    if (!h)
        return Fail(kLoErrHandle, "in LoCreateRange");
    if (from > to)
        std::swap(from, to);
    if (from < 0)
        return Fail(kLoErrWrite, "negative document in a range");
    // The data is a coded stream: the raw-vector flag 64 would make it read as bits.
    uint32_t flags = kLoOwnFile | kLoReadable | kLoWritable;
    if (LoKeepSaved == 1)
        flags = (to >> 3) < LoVectorBytes() ? kLoVector | kLoReadable | kLoWritable : kLoReadable | kLoWritable;
    int code = LoCreate(flags, LoKeepSaved == 1 ? nullptr : name, 0, LoKeepSaved == 1 ? 0 : kLoHeaderSize, 0, h, 0);
    if (code)
        return code;
    LoDesc* d = LoDescOf(*h);
    for (int64_t doc = from; !code && doc <= to; ++doc)
        code = Lo_WriteOcc(d, static_cast<int32_t>(doc), 0);
    if (!code)
        code = Lo_WriteOcc(d, -1, 0);
    if (!code && LoKeepSaved == 1) {
        Lo_Close(d);
        code = Lo_Save(name, d);
    }
    if (code)
        LoFree(h);
    return code;
}
