// Character-table files, the stop-word set-up and the thesaurus of the engine.
#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>

#include "base/procedural/EngineTables.h"
#include "base/procedural/KyStopWord.h"
#include "base/procedural/Trace.h"
#include "search/engine/questions/KyQuestInternal.h"

namespace {

int Fail(int code, const std::string& text) {
    KY_SetEngineErrorText(text.c_str());
    return code;
}

// 'x', 0x.. or decimal; -1 when the field is none of them.
long Number(const std::string& f) {
    if (f.size() == 3 && f[0] == '\'' && f[2] == '\'')
        return static_cast<unsigned char>(f[1]);
    char* end = nullptr;
    long v = f.size() > 2 && f[0] == '0' && (f[1] == 'x' || f[1] == 'X') ? std::strtol(f.c_str() + 2, &end, 16)
                                                                         : std::strtol(f.c_str(), &end, 10);
    return end && *end == 0 && !f.empty() ? v : -1;
}

}  // namespace

// Character-table file, one line a run:
//   from count to   ; each a quoted character 'x', 0x hexadecimal or decimal
// "to" may be UNUSED (the bytes are dropped). Lines beginning with ";" are notes.
int KY_LoadCharTable(unsigned char table[256], const char* file) {
    for (int i = 0; i < 256; ++i)
        table[i] = static_cast<unsigned char>(i);
    if (!file || !*file)
        return 1;
    FILE* f = std::fopen(file, "rb");
    if (!f)
        return Fail(105, file);
    char line[512];
    int number = 0, result = 1;
    while (result == 1 && std::fgets(line, sizeof line, f)) {
        if (line[0] == ';' || line[0] == '\r' || line[0] == '\n' || line[0] == 0)
            continue;
        ++number;
        std::vector<std::string> fields;
        for (char* t = std::strtok(line, " \t\r\n"); t && fields.size() < 3; t = std::strtok(nullptr, " \t\r\n"))
            fields.push_back(t);
        if (fields.size() < 3) {
            TraceLevel(5, "Syntax eror line %d %s\n", number, line);
            result = 0;
            break;
        }
        long from = Number(fields[0]), count = Number(fields[1]);
        bool unused = fields[2] == "UNUSED";
        long to = unused ? 0 : Number(fields[2]);
        if (from < 0 || count < 0 || to < 0 || from + count > 256 || to + count > 256) {
            result = 0;
            break;
        }
        for (long i = 0; i < count; ++i)
            table[from + i] = static_cast<unsigned char>(unused ? 255 : to + i);
    }
    table[0] = 0;
    std::fclose(f);
    return result;
}

const unsigned char* KY_EngineCurrentFilter() {
    return KyEngine().filter;
}

int KY_LoadStopwords(const char* queryFilter, const char* stopFilter, const char* list) {
    KY_EngineState& e = KyEngine();
    int code = KY_LoadCharTable(e.queryTable, queryFilter);
    if (code == 0)
        return kQuestErrQueryTable;
    e.filter = e.queryTable;
    if (KY_LoadCharTable(KY_EngineStopWordTable(), stopFilter) == 0)
        return kQuestErrStopTable;
    e.stopWords = false;
    if (!list || !*list)
        return 0;
    TraceLevel(1, "Loading stopwords in %s\n", list);
    KY_FreeStopWords();
    if (KY_LoadStopWordFile(list, KY_EngineStopWordTable()) != 1)
        return Fail(kQuestErrStopList, list);
    e.stopWords = true;
    return 0;
}

int KY_StopWordsOn() {
    return KyEngine().stopWords;
}

void KY_StopWordsFree() {
    KY_FreeStopWords();
    KyEngine().stopWords = false;
}

namespace {

const size_t kThesLineMax = 4096;  // a longer line is damage, not a term

// The line at the file's position without its line end; false at the end of
// the file or when the line is longer than kThesLineMax.
bool GetLine(FILE* f, std::string* out) {
    out->clear();
    int c = std::getc(f);
    if (c == EOF)
        return false;
    for (; c != EOF && c != '\n'; c = std::getc(f)) {
        if (out->size() == kThesLineMax)
            return false;
        out->push_back(static_cast<char>(c));
    }
    out->resize(std::min(out->find('\r'), out->size()));
    return true;
}

}  // namespace

// "<base>.dct": the filter name on its first line, then one term a line; the
// relation tree "<base>.abp" maps digit + term to the byte offset of a line.
int KY_ThesOpen(KY_Thes* thes, int mode) {
    if (thes->open)
        return 1112;
    std::string dct = thes->base + ".dct";
    thes->data = std::fopen(dct.c_str(), mode == 1 ? "rb" : "r+b");
    if (!thes->data)
        return Fail(105, dct);
    std::string line;
    if (!GetLine(thes->data, &line) && line.size() == kThesLineMax) {
        std::fclose(thes->data);
        thes->data = nullptr;
        return Fail(106, dct);
    }
    thes->filter = line;
    thes->hasTable = 0;
    if (!thes->filter.empty()) {
        std::string flt = thes->filter + ".flt";
        if (KY_LoadCharTable(thes->table, flt.c_str()) == 1) {
            thes->hasTable = 1;
            KyEngine().filter = thes->table;
        }
    }
    std::string abp = thes->base + ".abp";
    KY_ClearOpenSpec(&thes->spec);
    thes->tree = AbpTree{};
    if (KY_MakeOpenSpecIn(KY_GetGlobalFileSys(), abp.c_str(), nullptr, 0, 0, 0, 0, &thes->spec) != 0 ||
        abpOpen(&thes->spec, &thes->tree, 0, 0) != 0) {
        KY_FreeOpenSpec(&thes->spec);
        std::fclose(thes->data);
        thes->data = nullptr;
        return Fail(105, abp);
    }
    thes->open = 1;
    thes->key.clear();
    return 0;
}

int KY_ThesClose(KY_Thes* thes) {
    if (!thes->open)
        return Fail(108, thes->base);
    abpClose(&thes->tree);
    KY_FreeOpenSpec(&thes->spec);
    std::fclose(thes->data);
    thes->data = nullptr;
    if (KyEngine().filter == thes->table)
        KyEngine().filter = KyEngine().queryTable;
    thes->open = 0;
    return 0;
}

namespace {

// The whole term of the line at offset: a term cut short would be another term.
int ReadLine(KY_Thes* thes, int32_t offset, std::string* out, int filtered) {
    std::string line;
    if (offset < 0 || std::fseek(thes->data, offset, SEEK_SET) != 0 || !GetLine(thes->data, &line))
        return Fail(106, thes->base);
    line.resize(std::strlen(line.c_str()));
    if (filtered)
        KY_FilterChars(&line[0], KyEngine().filter);
    *out = line.c_str();
    return 0;
}

}  // namespace

int KY_ThesFirst(KY_Thes* thes, int relation, const char* term, std::string* out, int filtered) {
    thes->key.clear();
    if (!thes->open)
        return Fail(1108, term);
    std::string key;
    if (relation > 254)
        key = std::string("0") + term;
    else if (relation >= 1 && relation <= 5)
        key = std::to_string(relation) + term;
    else
        return Fail(1107, term);
    if (key.size() > kAbpMaxKey)
        return Fail(relation > 254 ? 1102 : 1100, term);
    AbpEntry e;
    std::memset(&e, 0, sizeof e);
    std::memcpy(e.key, key.data(), key.size());
    int code = abpSearchKey(&e, &thes->tree, 1);
    if (code == kAbpErrNotFound || code == kAbpEndOfKeys)
        return Fail(relation > 254 ? 1102 : 1100, term);
    if (code)
        return code;
    thes->key = key;
    return ReadLine(thes, e.values[0], out, filtered);
}

// The related terms after the first share its key with a suffix: byte 1 and three
// digits. The walk stops when the full key changes, so a term never takes the
// relations of a longer term that it begins ("pomme" and "pommeraie").
int KY_ThesNext(KY_Thes* thes, std::string* out) {
    if (!thes->open || thes->key.empty())
        return Fail(1108, "KY_ThesNext");
    AbpEntry e;
    std::memset(&e, 0, sizeof e);
    int code = abpNextKey(&thes->tree, &e, 0);
    if (code == kAbpEndOfKeys)
        return 1104;
    if (code)
        return code;
    std::string k = e.key;
    if (k.size() != thes->key.size() + 4 || k.compare(0, thes->key.size(), thes->key) != 0 ||
        k[thes->key.size()] != '\x01') {
        bool sameRelation = k[0] == thes->key[0];
        thes->key.clear();
        return sameRelation ? 1104 : 1101;
    }
    return ReadLine(thes, e.values[0], out, 1);
}

int KY_EngineLoadThes(const char* name) {
    KY_Thes& thes = KyEngine().thes;
    if (thes.open)
        KY_ThesClose(&thes);
    thes.base = name;
    return KY_ThesOpen(&thes, 1);
}

KY_Thes* KY_EngineThes() {
    return &KyEngine().thes;
}
