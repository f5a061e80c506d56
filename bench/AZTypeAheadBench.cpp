// The A-to-Z type-ahead over the sample's "IDXAZ": for 1,000 typed prefixes
// (the first 1 to 6 characters of keys spread over the index), one keystroke
// is a key lookup and the read of the row it finds, as the list draws it;
// SQLite answers the same prefixes from an indexed column of the same keys
// (the first key at or after the prefix, and its row). Prints the time per
// keystroke of both and their ratio. Usage: bench_az_typeahead [sample folder].
#include <sqlite3.h>
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "search/facade/ADataLocation.h"
#include "search/facade/AKeyIndex.h"

namespace {

double Seconds(const LARGE_INTEGER& a, const LARGE_INTEGER& b) {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return double(b.QuadPart - a.QuadPart) / double(f.QuadPart);
}

}  // namespace

int main(int argc, char** argv) {
    std::string folder = argc > 1 ? argv[1] : "build\\sample";
    ADataLocation location;
    if (location.open((folder + "\\sv.sgm").c_str(), nullptr, folder.c_str())) {
        std::fprintf(stderr, "no sample in %s: tools/sample/build.sh builds it\n", folder.c_str());
        return 0;
    }
    AKeyIndex* index = location.openIndex("IDXAZ");
    ASearchIndex scan;
    if (scan.open((folder + "\\data\\idxaz.abp").c_str(), 0, 0, 0)) {
        std::fprintf(stderr, "cannot scan idxaz.abp\n");
        return 0;
    }
    std::vector<std::string> keys, rows;
    char key[256];
    while (scan.next(key, sizeof key) == 0) {
        keys.push_back(key);
        rows.push_back(index->getText(static_cast<long>(rows.size())).c_str());
    }
    std::vector<std::string> prefixes;
    for (int i = 0; prefixes.size() < 1000 && !keys.empty(); ++i) {
        const std::string& k = keys[(static_cast<size_t>(i) * 7919u) % keys.size()];
        prefixes.push_back(k.substr(0, 1 + i % 6));
    }

    LARGE_INTEGER a, b;
    long found = 0;
    QueryPerformanceCounter(&a);
    for (const std::string& p : prefixes) {
        long row = index->find(p.c_str());
        if (row >= 0)
            found += static_cast<long>(index->getText(row).length());
    }
    QueryPerformanceCounter(&b);
    double ours = Seconds(a, b) / double(prefixes.size());
    // The two halves of a keystroke apart: the lookup, then the row's read.
    std::vector<long> found_rows;
    QueryPerformanceCounter(&a);
    for (const std::string& p : prefixes)
        found_rows.push_back(index->find(p.c_str()));
    QueryPerformanceCounter(&b);
    double lookup = Seconds(a, b) / double(prefixes.size());

    sqlite3* db = nullptr;
    sqlite3_open(":memory:", &db);
    sqlite3_exec(db, "CREATE TABLE az(key TEXT, row TEXT); BEGIN", nullptr, nullptr, nullptr);
    sqlite3_stmt* put = nullptr;
    sqlite3_prepare_v2(db, "INSERT INTO az VALUES(?,?)", -1, &put, nullptr);
    for (size_t i = 0; i < keys.size(); ++i) {
        sqlite3_bind_text(put, 1, keys[i].c_str(), -1, SQLITE_STATIC);
        sqlite3_bind_text(put, 2, rows[i].c_str(), -1, SQLITE_STATIC);
        sqlite3_step(put);
        sqlite3_reset(put);
    }
    sqlite3_finalize(put);
    sqlite3_exec(db, "COMMIT; CREATE INDEX az_key ON az(key)", nullptr, nullptr, nullptr);
    sqlite3_stmt* get = nullptr;
    sqlite3_prepare_v2(db, "SELECT row FROM az WHERE key >= ? ORDER BY key LIMIT 1", -1, &get, nullptr);
    long sqlFound = 0;
    QueryPerformanceCounter(&a);
    for (const std::string& p : prefixes) {
        sqlite3_bind_text(get, 1, p.c_str(), -1, SQLITE_STATIC);
        if (sqlite3_step(get) == SQLITE_ROW)
            sqlFound += sqlite3_column_bytes(get, 0);
        sqlite3_reset(get);
    }
    QueryPerformanceCounter(&b);
    double sql = Seconds(a, b) / double(prefixes.size());
    sqlite3_finalize(get);
    sqlite3_close(db);
    delete index;
    std::printf("A-to-Z type-ahead: %zu keys, %zu prefixes (%ld and %ld row bytes)\n", keys.size(), prefixes.size(),
                found, sqlFound);
    std::printf("  lookup  %8.2f us of it\n", lookup * 1e6);
    std::printf("  ours    %8.2f us a keystroke\n  sqlite  %8.2f us a keystroke\n  ratio   %8.2f x sqlite\n",
                ours * 1e6, sql * 1e6, sql > 0 ? ours / sql : 0.0);
    return 0;
}
