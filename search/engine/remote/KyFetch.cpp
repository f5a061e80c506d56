// Records fetched from a base's server and stored into the local part files.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "base/procedural/EngineTables.h"
#include "base/procedural/KyCodec.h"
#include "base/procedural/KyFile.h"
#include "base/procedural/KyHttp.h"
#include "base/procedural/KyPath.h"
#include "search/engine/descriptor/MkDoom.h"
#include "search/engine/records/KyAccessor.h"
#include "search/engine/records/KyTabCor.h"
#include "search/engine/remote/KyRemote.h"
#include "search/engine/remote/KyServerExchange.h"

int KyFetchEnabled = 0;
long KyFetchReplyLimit = 64L << 20;

namespace {

const long kReplyLine = 999;

int Fail(int code, const char* text) {
    KY_SetEngineErrorText(text);
    return code;
}

std::string Trim(const std::string& s) {
    size_t b = s.find_first_not_of(" \t\r\n"), e = s.find_last_not_of(" \t\r\n");
    return b == std::string::npos ? "" : s.substr(b, e - b + 1);
}

// The reply file read as lines of at most kReplyLine bytes (a longer line goes
// on as the next one) and as byte runs, never held whole.
struct Reply {
    KY_File* file;
    long size;
    long at;
    // The next line, its line feed included, or false at the end.
    bool line(std::string* text) {
        char buffer[kReplyLine];
        long n = size - at < kReplyLine ? size - at : kReplyLine;
        if (n <= 0 || KY_FSeek(file, at, 0) != at || KY_FRead(file, buffer, n) != n)
            return false;
        const char* eol = static_cast<const char*>(std::memchr(buffer, '\n', static_cast<size_t>(n)));
        long used = eol ? static_cast<long>(eol - buffer) + 1 : n;
        text->assign(buffer, static_cast<size_t>(used));
        at += used;
        return true;
    }
};

// A decimal number that fits 31 bits, after optional blanks and a minus sign.
bool Number(const char*& p, int32_t* value) {
    while (*p == ' ' || *p == '\t')
        ++p;
    bool negative = *p == '-';
    if (negative)
        ++p;
    if (*p < '0' || *p > '9')
        return false;
    int64_t v = 0;
    for (; *p >= '0' && *p <= '9'; ++p)
        if ((v = v * 10 + (*p - '0')) > 0x7FFFFFFF)
            return false;
    *value = static_cast<int32_t>(negative ? -v : v);
    return true;
}

// "<part>#<a>[,<b>]" and nothing else after the "<field>" mark; b is -1 when not given.
bool FieldHeader(const char* p, int32_t* part, int32_t* a, int32_t* b) {
    *b = -1;
    if (!Number(p, part))
        return false;
    while (*p == ' ' || *p == '\t')
        ++p;
    if (*p++ != '#' || !Number(p, a) || *a < 0)
        return false;
    while (*p == ' ' || *p == '\t')
        ++p;
    if (*p == ',' && (!Number(++p, b) || *b < 0))
        return false;
    return *p == 0;
}

// One field of a reply: its a bytes start at `at` in the reply file.
struct Field {
    int part;
    long at;
    int32_t stored, expanded;
};

// Whether a compressed field's bytes, past the part's header, expand to its
// expanded length: a record stored corrupt would read as corrupt for good,
// since a stored record is never asked for again.
int CheckExpansion(const KyPart* p, Reply* reply, const Field& f) {
    int32_t skip = p->def->adjust;
    int64_t want = static_cast<int64_t>(f.expanded) - skip, total = 0;
    if (skip < 0 || skip > f.stored || want < 0)
        return Fail(kKyAccErrTabCor, "compressed field shorter than its header");
    if (KY_FSeek(reply->file, f.at + skip, 0) != f.at + skip)
        return Fail(kKyAccErrTabCor, "reply");
    KY_Codec codec;
    std::memset(&codec, 0, sizeof codec);
    KY_CodecSetMode(&codec, static_cast<int>(p->def->compression));
    uint8_t buffer[4096];
    int32_t placed = sizeof buffer;
    int code = KY_CodecExpandToMemStart(&codec, reply->file, nullptr, f.stored - skip, buffer, &placed, 0x7FFFFFFF, 0);
    while (code == kCodecMore && (total = codec.output.count) <= want) {
        placed = sizeof buffer;
        code = KY_CodecExpandToMemNext(&codec, buffer, &placed);
    }
    if (code == kCodecDone)
        total += placed;
    KY_CodecAbandon(&codec);
    if (code != kCodecDone || total != want)
        return Fail(kKyAccErrTabCor, "compressed field does not expand to its length");
    return 0;
}

// The catalogues a field of part p goes to, with the lengths they take.
int Catalogues(KyPart* p, const Field& f, KyCat* cats[2], const KY_OpenSpec* specs[2], int32_t lengths[2]) {
    cats[0] = &p->cat;
    specs[0] = &p->def->catalogue;
    lengths[0] = p->def->compression ? f.expanded : f.stored;
    if (!p->def->compression)
        return 1;
    cats[1] = &p->ucat;
    specs[1] = &p->def->companion;
    lengths[1] = f.stored;
    return 2;
}

// Puts the part's catalogues in append mode (append true) or back to reading.
int Reopen(KyCat* cats[2], const KY_OpenSpec* specs[2], int n, bool append) {
    int code = 0;
    for (int i = 0; i < n; ++i) {
        // Closing an appended catalogue writes its last block and count.
        int closed = cats[i]->file ? catClose(cats[i]) : 0;
        int r = append ? catOpenAppend(cats[i], specs[i]) : catOpen(cats[i], specs[i], "rb");
        code = code ? code : closed ? closed : r;
    }
    return code;
}

// Opens the part's catalogues for appending, count receiving the records they
// both hold. A store that failed between their two closes left one a record
// longer, a record no correspondence entry names: the longer one drops it.
int OpenForAppend(KyCat* cats[2], const KY_OpenSpec* specs[2], int n, int32_t* count) {
    int code = Reopen(cats, specs, n, true);
    *count = n == 2 && cats[1]->count < cats[0]->count ? cats[1]->count : cats[0]->count;
    for (int i = 0; i < n && !code; ++i)
        if (cats[i]->count != *count)
            code = catTruncate(cats[i], *count);
    return code;
}

// Whether the part's catalogues can take the field's lengths; no record is written.
int Room(KyPart* p, const Field& f) {
    KyCat* cats[2];
    const KY_OpenSpec* specs[2];
    int32_t lengths[2];
    int n = Catalogues(p, f, cats, specs, lengths);
    int32_t count = 0;
    int code = OpenForAppend(cats, specs, n, &count);
    for (int i = 0; i < n && !code; ++i)
        code = catCheckAppend(cats[i], lengths[i]);
    int reopened = Reopen(cats, specs, n, false);
    return code ? code : reopened;
}

// Copies the field's bytes to the data file at its catalogue's end: bytes past
// that end are the remains of a store that failed, and are written over.
int AppendData(KyPart* p, Reply* reply, const Field& f, int32_t end) {
    if (p->data)
        KY_FClose(p->data);
    p->data = nullptr;
    KY_File* out = KY_FOpen(&p->def->data, "r+b");
    if (!out)
        return Fail(kKyAccErrTabCor, "data file not opened for writing");
    int code = 0;
    if (KY_FileSize(out) < end)
        code = Fail(kKyAccErrTabCor, "data file shorter than its catalogue");
    else if (KY_FSeek(out, end, 0) != end)
        code = Fail(kKyAccErrTabCor, "WRITE");
    char buffer[4096];
    for (long done = 0; !code && done < f.stored;) {
        long n =
            f.stored - done < static_cast<long>(sizeof buffer) ? f.stored - done : static_cast<long>(sizeof buffer);
        if (KY_FSeek(reply->file, f.at + done, 0) != f.at + done || KY_FRead(reply->file, buffer, n) != n)
            code = Fail(kKyAccErrTabCor, "reply");
        else if (KY_FWrite(out, buffer, n) != n)
            code = Fail(kCatErrWrite, "WRITE");
        done += n;
    }
    int closed = KY_FClose(out);
    if (!(p->data = KY_FOpen(&p->def->data, "rb")) && !code)
        code = Fail(kKyAccErrTabCor, "data file not reopened");
    return code ? code : closed;
}

// The correspondence table opened for writing, made when missing.
int WritableCor(KyPart* p) {
    KY_OpenSpec spec;
    KY_ClearOpenSpec(&spec);
    int code = KY_CopyOpenSpec(&p->def->catalogue, &spec) || KY_SetPathExtension("cor", &spec.path, false);
    if (!code) {
        if (!KY_FileExists(&spec.path)) {
            KY_File* made = KY_FOpen(&spec, "wb");
            if (made)
                KY_FClose(made);
        }
        if (p->cor)
            KY_FClose(p->cor);
        if (!(p->cor = KY_FOpen(&spec, "r+b")))
            code = 1;
    }
    KY_FreeOpenSpec(&spec);
    return code ? Fail(103, " : table corr") : 0;
}

bool Stored(KyPart* p, int32_t local, int* code) {
    int32_t entry = -1;
    *code = p->cor && KyTabCorRead(p->cor, local, &entry) != 0 ? Fail(kKyAccErrTabCor, " : table corr") : 0;
    return entry >= 0;
}

// Stores one field as the record's data in part p: the data, then its lengths,
// and the correspondence entry last, so that until then the record stays absent.
int StoreField(KyPart* p, int32_t local, Reply* reply, const Field& f) {
    int code = 0;
    if (Stored(p, local, &code) || code)
        return code;
    KyCat* cats[2];
    const KY_OpenSpec* specs[2];
    int32_t lengths[2];
    int n = Catalogues(p, f, cats, specs, lengths);
    int32_t number = 0, end = 0;
    code = OpenForAppend(cats, specs, n, &number);
    for (int i = 0; i < n && !code; ++i)
        code = catCheckAppend(cats[i], lengths[i]);
    // Where the catalogue that locates the bytes puts the next record.
    if (!code)
        end = cats[n - 1]->start + cats[n - 1]->length;
    if (!code)
        code = AppendData(p, reply, f, end);
    for (int i = 0; i < n && !code; ++i)
        code = catAppend(cats[i], lengths[i]);
    int reopened = Reopen(cats, specs, n, false);
    code = code ? code : reopened;
    if (!code)
        code = WritableCor(p);
    if (!code && KyTabCorWrite(p->cor, local, number) != 0)
        code = Fail(kKyAccErrTabCor, " : table corr");
    return code;
}

// The reply file and the bytes it may still take.
struct ReplySink {
    KY_File* file;
    long room;
};

// Writes a block of the reply; a reply beyond the limit is abandoned (-1), so
// that a server that never stops sending cannot fill the disc or hold the program.
int SaveReply(const char* data, long length, void* output) {
    ReplySink* sink = static_cast<ReplySink*>(output);
    if (length > sink->room)
        return -1;
    sink->room -= length;
    return KY_HttpDefaultConvert(data, length, sink->file);
}

}  // namespace

// Reply: lines, each trimmed of blanks, tabs and line ends; a line holding
//   "<field>" part "#" a ["," b]
// is followed by a bytes, the record's data for that part (for a compressed part
// a bytes stored, b once expanded). A negative part: the next line is pending text.
// Every field is checked before any is stored; a part's first field counts.
int KyStoreFetchedRecord(KyTable* table, int32_t record, KY_File* reply) {
    int32_t local = 0;
    int part = 0;
    int code = KyLocateRange(table, record, &local, &part);
    if (code)
        return code;
    Reply in = {reply, KY_FileSize(reply), 0};
    if (in.size < 0)
        return Fail(kKyAccErrTabCor, "reply");
    std::vector<Field> fields;
    std::string line;
    while (in.line(&line)) {
        line = Trim(line);
        size_t mark = line.find("<field>");
        if (mark == std::string::npos)
            continue;
        int32_t number = 0, a = 0, b = 0;
        if (!FieldHeader(line.c_str() + mark + 7, &number, &a, &b))
            return Fail(kKyAccErrTabCor, line.c_str());
        if (number < 0) {
            in.line(&line);
            continue;
        }
        if (number >= table->partCount) {
            char message[64];
            std::snprintf(message, sizeof message, "Bad NumField : %ld", static_cast<long>(number));
            return Fail(1322, message);
        }
        if (a > in.size - in.at)
            return Fail(kKyAccErrTabCor, "reply shorter than its field");
        KyPart* p = &table->parts[number];
        if (p->def && p->def->compression && b < 0)
            return Fail(kKyAccErrTabCor, "compressed field without its expanded length");
        bool first = true;
        for (const Field& f : fields)
            first = first && f.part != number;
        if (first && p->def && p->def->tabcor && p->type) {
            fields.push_back({number, in.at, a, b});
            // PNG rows (mode 5) may not fit the check's buffer: the image reader judges them.
            if (p->def->compression && p->def->compression < 5 && (code = CheckExpansion(p, &in, fields.back())) != 0)
                return code;
        }
        in.at += a;
    }
    for (const Field& f : fields)
        if ((code = Room(&table->parts[f.part], f)) != 0)
            return code;
    for (const Field& f : fields)
        if ((code = StoreField(&table->parts[f.part], local, &in, f)) != 0)
            return code;
    return 0;
}

int KyStoreReplyBytes(KyPart* part, int32_t local, KY_File* reply, long at, int32_t stored, int32_t expanded) {
    Reply in = {reply, KY_FileSize(reply), at};
    if (in.size < 0 || stored < 0 || stored > in.size - at)
        return Fail(kKyAccErrTabCor, "reply shorter than its record");
    Field f = {0, at, stored, expanded};
    int code = Room(part, f);
    return code ? code : StoreField(part, local, &in, f);
}

int KyFetchRecord(KyTable* table, int32_t record, int32_t* start, int32_t* length) {
    *start = *length = 0;
    int32_t local = 0;
    int part = 0;
    int code = KyLocateRange(table, record, &local, &part);
    if (code)
        return code;
    const KyMountedBase* base = table->base;
    const KyMountedConnect* connect = nullptr;
    if (base && base->supportArray && part < base->supports)
        connect = base->supportArray[part].connect;
    if (!KyFetchEnabled || !connect || !connect->server)
        return Fail(1317, table->name);
    KyPart* p = &table->parts[part];
    if (!p->type || !p->def || !p->def->tabcor)
        return Fail(kKyAccErrNotStored, table->name);
    int32_t entry = -1;
    if (p->cor && KyTabCorRead(p->cor, local, &entry) == 0 && entry >= 0)
        return KyRecordExtent(table, record, start, length);

    {
        KyServerExchange exchange(connect);
        if (!exchange.makeFile("ky"))
            return Fail(kKyAccErrTabCor, "temporary reply file");
        code = exchange.open(kKyAccErrTabCor);
        ReplySink sink = {exchange.reply(), KyFetchReplyLimit};
        if (!code)
            code = KY_HttpFetchDocument(exchange.session(), record, nullptr, SaveReply, &sink);
        exchange.endSession();
        if (code && code != kKyAccErrTabCor)
            Fail(code, exchange.url().c_str());
        if (!code)
            code = KyStoreFetchedRecord(table, record, exchange.reply());
    }
    return code ? code : KyRecordExtent(table, record, start, length);
}
