// The line sorter against SQLite: the keys of 50,000 rows of a generated base
// read through a table getter and heap-sorted in memory, then the same keys
// in an in-memory SQLite table sorted with ORDER BY. Prints both times and
// their ratio.
//
// Usage: bench_line_sort [WORK_FOLDER] (a Windows path; the temporary folder
// by default). Rows: "titre i TAB key # i", key a pseudo-random 32-bit value.
#include <sqlite3.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/lines/ALineSorter.h"
#include "app/lines/StandardLineGetter.h"
#include "base/procedural/AError.h"
#include "search/facade/ADataLocation.h"
#include "search/facade/ASearchBase.h"
#include "search/writers/TableWriter.h"

namespace {

const long kRows = 50000;

double Now() {
    LARGE_INTEGER f, t;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&t);
    return double(t.QuadPart) / double(f.QuadPart);
}

// A descriptor path value (':' -> '|', '\' -> ':').
std::string Encode(std::string path) {
    for (char& c : path)
        c = c == ':' ? '|' : c == '\\' ? ':' : c;
    return path;
}

bool WriteFile(const std::string& path, const std::string& bytes) {
    FILE* f = fopen(path.c_str(), "wb");
    if (!f)
        return false;
    bool ok = fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return fclose(f) == 0 && ok;
}

// Sorts on the key field of each raw line.
class KeyedRows : public StandardLineGetter {
public:
    using StandardLineGetter::StandardLineGetter;
    void prepareLine(long record, int16_t sortMode) override {
        (void)sortMode;
        AString raw = getRawLine(record, -1);
        const char* tab = strchr(raw.c_str(), '\t');
        key = tab ? static_cast<uint32_t>(strtoul(tab + 1, nullptr, 10)) : 0;
    }
    uint32_t getSortKey(int16_t field) override {
        (void)field;
        return key;
    }
    uint32_t key = 0;
};

}  // namespace

int main(int argc, char** argv) {
    std::string folder;
    if (argc > 1) {
        folder = argv[1];
    } else {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        folder = std::string(temp) + "sv_line_sort_bench";
    }
    CreateDirectoryA(folder.c_str(), nullptr);
    std::vector<std::string> records;
    std::vector<uint32_t> keys;
    uint32_t seed = 44;
    for (long i = 0; i < kRows; ++i) {
        seed = seed * 1103515245u + 12345u;
        keys.push_back(seed);
        records.push_back("titre " + std::to_string(i) + "\t" + std::to_string(seed) + "#" + std::to_string(i));
    }
    const std::string stem = folder + "\\a";
    std::string failure = WriteTablePart({stem + ".fmt", stem + ".of7", stem + ".uf7", ""}, records, 0, 0, {});
    std::string sgm = "<!-- KY MEDIA -->\r\n<KYDesc><pathinfo><path id=\"D\" type=\"dbg\">" + Encode(folder) +
                      "</path></pathinfo><common><base id=\"A\"><data path=\"D\"><db id=\"DA\">a</db></data>"
                      "</base></common></KYDesc>\r\n";
    if (!failure.empty() || !WriteFile(folder + "\\t.sgm", sgm) || !WriteFile(folder + "\\t.gen", "VERSION=1\r\n")) {
        fprintf(stderr, "cannot write the base: %s\n", failure.c_str());
        return 1;
    }
    try {
        ADataLocation location;
        if (location.open((folder + "\\t.sgm").c_str(), folder.c_str(), nullptr) != 0) {
            fprintf(stderr, "cannot open the base: %s\n", location.getLastError().c_str());
            return 1;
        }
        ASearchBase* base = location.openBase("A:DA", nullptr);
        double t0 = Now();
        auto* getter = new KeyedRows(base, nullptr, 0, 0, 0);
        getter->addRef();
        auto* sorter = new AMemLongLineSorter(getter, "NORM", 0, nullptr);
        getter->setLineMap(sorter);
        double t1 = Now();
        bool ordered = true;
        for (long i = 1; i < kRows; ++i)
            ordered = ordered && keys[static_cast<size_t>(sorter->lineToRecord(i - 1))] <=
                                     keys[static_cast<size_t>(sorter->lineToRecord(i))];
        getter->release();
        delete base;

        sqlite3* db = nullptr;
        sqlite3_open(":memory:", &db);
        sqlite3_exec(db, "CREATE TABLE t(k INTEGER)", nullptr, nullptr, nullptr);
        sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
        sqlite3_stmt* insert = nullptr;
        sqlite3_prepare_v2(db, "INSERT INTO t(rowid, k) VALUES(?1, ?2)", -1, &insert, nullptr);
        for (long i = 0; i < kRows; ++i) {
            sqlite3_bind_int64(insert, 1, i);
            sqlite3_bind_int64(insert, 2, keys[static_cast<size_t>(i)]);
            sqlite3_step(insert);
            sqlite3_reset(insert);
        }
        sqlite3_finalize(insert);
        sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
        double t2 = Now();
        sqlite3_stmt* select = nullptr;
        sqlite3_prepare_v2(db, "SELECT rowid FROM t ORDER BY k", -1, &select, nullptr);
        long rows = 0;
        while (sqlite3_step(select) == SQLITE_ROW)
            ++rows;
        sqlite3_finalize(select);
        double t3 = Now();
        sqlite3_close(db);

        printf("rows: %ld (sorted order %s, SQLite rows %ld)\n", kRows, ordered ? "checked" : "WRONG", rows);
        printf("line sorter, keys read from the base and sorted: %.1f ms\n", (t1 - t0) * 1000);
        printf("SQLite ORDER BY over the keys in memory:        %.1f ms (filling the table %.1f ms)\n",
               (t3 - t2) * 1000, (t2 - t1) * 1000);
        printf("ratio sorter / SQLite: %.2f\n", (t3 - t2) > 0 ? (t1 - t0) / (t3 - t2) : 0.0);
    } catch (const AError& e) {
        fprintf(stderr, "error: %s\n", e.className());
        return 1;
    }
    for (const char* name : {"\\a.fmt", "\\a.of7", "\\a.uf7", "\\t.sgm", "\\t.gen"})
        DeleteFileA((folder + name).c_str());
    if (argc <= 1)
        RemoveDirectoryA(folder.c_str());
    return 0;
}
