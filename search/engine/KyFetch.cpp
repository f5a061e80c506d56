// Records fetched from a base's server and stored into the local part files.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "base/procedural/EngineTables.h"
#include "base/procedural/KyFile.h"
#include "base/procedural/KyHttp.h"
#include "base/procedural/KyPath.h"
#include "search/engine/KyAccessor.h"
#include "search/engine/KyTabCor.h"
#include "search/engine/MkDoom.h"

int KyFetchEnabled = 0;

namespace {

const size_t kReplyLine = 999;

int Fail(int code, const char* text) {
    KY_SetEngineErrorText(text);
    return code;
}

std::string Trim(const std::string& s) {
    size_t b = s.find_first_not_of(" \t\r\n"), e = s.find_last_not_of(" \t\r\n");
    return b == std::string::npos ? "" : s.substr(b, e - b + 1);
}

// The byte after the catalogue's last record: where appended data must start.
int CatalogueEnd(KyCat* cat, int32_t* end) {
    *end = 0;
    int32_t pair[2];
    if (cat->count == 0)
        return 0;
    int code = catLookup(cat, cat->count - 1, pair);
    *end = pair[0] + pair[1];
    return code;
}

int AppendLength(KyCat* cat, const KY_OpenSpec* spec, int32_t length) {
    catClose(cat);
    int code = catOpenAppend(cat, spec);
    if (!code)
        code = catAppend(cat, length);
    if (cat->file)
        catClose(cat);
    int reopened = catOpen(cat, spec, "rb");
    return code ? code : reopened;
}

// Appends the bytes to the part's data file, which must end where its catalogue does.
int AppendData(KyPart* p, const char* bytes, int32_t n) {
    const KyMountedData* def = p->def;
    int32_t end = 0;
    int code = CatalogueEnd(def->compression ? &p->ucat : &p->cat, &end);
    if (code)
        return code;
    if (p->data)
        KY_FClose(p->data);
    p->data = nullptr;
    KY_File* out = KY_FOpen(&def->data, "r+b");
    if (!out)
        return Fail(kKyAccErrTabCor, "data file not opened for writing");
    if (KY_FileSize(out) != end)
        code = Fail(kKyAccErrTabCor, "data file and catalogue disagree");
    else if (KY_FSeek(out, end, 0) != end || KY_FWrite(out, bytes, n) != n)
        code = Fail(kKyAccErrTabCor, "WRITE");
    int closed = KY_FClose(out);
    if (!(p->data = KY_FOpen(&def->data, "rb")) && !code)
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

// Stores one field's a bytes (expanded length b) as the record's data in part p.
int StoreField(KyPart* p, int32_t local, const char* bytes, int32_t a, int32_t b) {
    int32_t entry = -1;
    if (p->cor && KyTabCorRead(p->cor, local, &entry) != 0)
        return Fail(kKyAccErrTabCor, " : table corr");
    if (entry >= 0)
        return 0;  // stored already: the first copy stays
    const KyMountedData* def = p->def;
    int32_t number = p->cat.count;
    int code = AppendData(p, bytes, a);
    if (!code && def->compression)
        code = AppendLength(&p->ucat, &def->companion, a);
    if (!code)
        code = AppendLength(&p->cat, &def->catalogue, def->compression ? b : a);
    // The correspondence entry last: until it is written the record stays absent.
    if (!code)
        code = WritableCor(p);
    if (!code && KyTabCorWrite(p->cor, local, number) != 0)
        code = Fail(kKyAccErrTabCor, " : table corr");
    return code;
}

}  // namespace

int KyStoreFetchedRecord(KyTable* table, int32_t record, KY_File* reply) {
    int32_t local = 0;
    int part = 0;
    int code = KyLocateRange(table, record, &local, &part);
    if (code)
        return code;
    long size = KY_FileSize(reply);
    std::string text(size > 0 ? static_cast<size_t>(size) : 0, '\0');
    if (size < 0 || KY_FSeek(reply, 0, 0) != 0 || KY_FRead(reply, &text[0], size) != size)
        return Fail(kKyAccErrTabCor, "reply");
    size_t at = 0;
    while (at < text.size()) {
        size_t eol = text.find('\n', at);
        size_t next = eol == std::string::npos ? text.size() : eol + 1;
        std::string line = Trim(text.substr(at, std::min(next - at, kReplyLine)));
        at = next;
        size_t mark = line.find("<field>");
        if (mark == std::string::npos)
            continue;
        long number = 0, a = -1, b = -1;
        char hash = 0, comma = 0;
        int n = std::sscanf(line.c_str() + mark + 7, "%ld %c%ld %c%ld", &number, &hash, &a, &comma, &b);
        if (n < 3 || hash != '#' || a < 0 || (n == 5 && (comma != ',' || b < 0)))
            return Fail(kKyAccErrTabCor, line.c_str());
        if (number < 0) {  // the next line is the table's pending text, which is not kept
            size_t skip = text.find('\n', at);
            at = skip == std::string::npos ? text.size() : skip + 1;
            continue;
        }
        if (number >= table->partCount) {
            char message[64];
            std::snprintf(message, sizeof message, "Bad NumField : %ld", number);
            return Fail(1322, message);
        }
        if (static_cast<size_t>(a) > text.size() - at)
            return Fail(kKyAccErrTabCor, "reply shorter than its field");
        KyPart* p = &table->parts[number];
        if (p->def && p->def->tabcor && p->type) {
            code = StoreField(p, local, text.data() + at, static_cast<int32_t>(a), n == 5 ? b : a);
            if (code)
                return code;
        }
        at += static_cast<size_t>(a);
    }
    return 0;
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

    char folder[MAX_PATH], path[MAX_PATH];
    DWORD got = GetTempPathA(sizeof folder, folder);
    if (got == 0 || got >= sizeof folder || !GetTempFileNameA(folder, "ky", 0, path))
        return Fail(kKyAccErrTabCor, "temporary reply file");
    KY_OpenSpec spec;
    KY_ClearOpenSpec(&spec);
    KY_MakeOpenSpecIn(KY_GetGlobalFileSys(), path, nullptr, 0, 0, 0, 0, &spec);
    KY_File* reply = KY_FOpen(&spec, "w+b");
    std::string url = std::string("http://") + connect->server;
    KY_HttpSession session;
    std::memset(&session, 0, sizeof session);
    session.url = url.c_str();
    session.script = connect->script ? connect->script : "";
    code = reply ? KY_HttpInitSession(&session) : kKyAccErrTabCor;
    if (!code)
        code = KY_HttpFetchDocument(&session, record, nullptr, nullptr, reply);
    if (reply && session.connection)
        KY_HttpFreeSession(&session);
    if (!code)
        code = KyStoreFetchedRecord(table, record, reply);
    if (reply)
        KY_FClose(reply);
    KY_FreeOpenSpec(&spec);
    DeleteFileA(path);
    return code ? code : KyRecordExtent(table, record, start, length);
}
