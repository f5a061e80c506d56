// Writes and reads back a reader's history of 50 navigation states sharing 10
// search states of 1,000 scored results each, through "sv.histo" and its list
// files, against SQLite storing the same states and lists as rows in one
// transaction; prints the median times of both and their ratio.
#include <sqlite3.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "app/prefs/AHistoManager.h"
#include "app/state/AppState.h"
#include "base/object/ARefObj.h"
#include "base/procedural/AError.h"
#include "bench/BenchSupport.h"
#include "search/facade/ALoVect.h"
#include "tests/app/prefs/HistoTestSupport.h"

namespace {

const int kStates = 50, kSearches = 10, kResults = 1000, kRounds = 15;

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

bool Exec(sqlite3* db, const char* sql) {
    char* error = nullptr;
    if (sqlite3_exec(db, sql, nullptr, nullptr, &error) == SQLITE_OK)
        return true;
    std::fprintf(stderr, "sqlite: %s\n", error ? error : "?");
    sqlite3_free(error);
    return false;
}

// The same states and results as rows: one transaction writes, one query per table reads.
double SqliteRound(const std::string& path) {
    DeleteFileA(path.c_str());
    LARGE_INTEGER a, b;
    QueryPerformanceCounter(&a);
    sqlite3* db = nullptr;
    if (sqlite3_open(path.c_str(), &db) != SQLITE_OK)
        return -1;
    Exec(db,
         "CREATE TABLE states(id INTEGER, mode INTEGER, pane INTEGER, doc INTEGER, search INTEGER, info INTEGER);"
         "CREATE TABLE searches(key INTEGER, query TEXT);"
         "CREATE TABLE results(key INTEGER, doc INTEGER, score INTEGER);");
    Exec(db, "BEGIN");
    sqlite3_stmt* put = nullptr;
    sqlite3_prepare_v2(db, "INSERT INTO results VALUES(?,?,?)", -1, &put, nullptr);
    for (int s = 0; s < kSearches; ++s) {
        Exec(db, ("INSERT INTO searches VALUES(" + std::to_string(s + 1) + ",'requete')").c_str());
        for (int r = 0; r < kResults; ++r) {
            sqlite3_bind_int(put, 1, s + 1);
            sqlite3_bind_int(put, 2, r * 7 + s);
            sqlite3_bind_int(put, 3, kResults - r);
            sqlite3_step(put);
            sqlite3_reset(put);
        }
    }
    sqlite3_finalize(put);
    for (int i = 0; i < kStates; ++i)
        Exec(db, ("INSERT INTO states VALUES(" + std::to_string(i) + ",1,1203," + std::to_string(i) + "," +
                  std::to_string(i % kSearches + 1) + "," + std::to_string(i * 7) + ")")
                     .c_str());
    Exec(db, "COMMIT");
    sqlite3_close(db);
    db = nullptr;
    sqlite3_open(path.c_str(), &db);
    long rows = 0;
    for (const char* sql :
         {"SELECT * FROM searches", "SELECT * FROM results ORDER BY key, rowid", "SELECT * FROM states"}) {
        sqlite3_stmt* get = nullptr;
        sqlite3_prepare_v2(db, sql, -1, &get, nullptr);
        while (sqlite3_step(get) == SQLITE_ROW)
            rows += sqlite3_column_int(get, 1) >= 0;
        sqlite3_finalize(get);
    }
    sqlite3_close(db);
    QueryPerformanceCounter(&b);
    return rows == kSearches + kSearches * kResults + kStates ? Seconds(a, b) : -1;
}

double HistoryRound(const AFileSpec& folder) {
    LARGE_INTEGER a, b;
    QueryPerformanceCounter(&a);
    {
        ChainHost chain(folder.path().c_str());
        AHistoManager history(folder, "sv.histo", 0, &chain);
        std::vector<std::unique_ptr<ARefHold<ASVLoSearchState>>> searches;
        for (int s = 0; s < kSearches; ++s) {
            ALoScore* list = new ALoScore(kResults * 7 + kSearches, kResults, 1);
            for (int r = 0; r < kResults; ++r)
                list->add(r * 7 + s, kResults - r, 0);
            auto* search = new ASVLoSearchState();
            search->setQuery("requete");
            search->setTextResults(list);
            searches.emplace_back(new ARefHold<ASVLoSearchState>(search));
        }
        for (int i = 0; i < kStates; ++i) {
            auto* state =
                new AppState(1, 1203, new ADocState(1201), nullptr, nullptr, searches[i % kSearches]->get(), i);
            state->setUserInfo(1190, i * 7);
            chain.addState(state);
        }
        history.save();
    }
    ChainHost chain(folder.path().c_str());
    AHistoManager history(folder, "sv.histo", 0, &chain);
    history.load();
    QueryPerformanceCounter(&b);
    return chain.chain.size() == kStates ? Seconds(a, b) : -1;
}

}  // namespace

int main() {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    std::string folder = std::string(temp) + "svhistobench";
    CreateDirectoryA(folder.c_str(), nullptr);
    std::vector<double> ours, theirs;
    try {
        for (int round = 0; round < kRounds; ++round) {
            ours.push_back(HistoryRound(AFileSpec(folder.c_str())));
            theirs.push_back(SqliteRound(folder + "\\histo.db"));
        }
    } catch (const AError& e) {
        std::fprintf(stderr, "history: %s\n", e.className());
        return 1;
    }
    double a = Median(ours), b = Median(theirs);
    std::printf("history of %d states, %d searches of %d results, written and read back (median of %d):\n", kStates,
                kSearches, kResults, kRounds);
    std::printf("  sv.histo and its lists: %8.2f ms\n  SQLite, one transaction: %8.2f ms\n  ratio: %.2f\n", a * 1000,
                b * 1000, b > 0 ? a / b : 0.0);
    AFileSpec(folder.c_str()).removeTree(true);
    return 0;
}
