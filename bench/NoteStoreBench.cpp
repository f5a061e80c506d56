// The note store's load and save of 10,000 notes on 2,000 documents, against
// SQLite holding the same rows (notes, markers) written in one transaction and
// read back whole. Prints the best of five runs of each and their ratios.
#include <windows.h>

#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "bench/BenchSupport.h"
#include "docengine/model/AHiliteRangeMap.h"
#include "panes/docks/workspace/ANoteManager.h"

namespace {

const int kDocuments = 2000;
const int kNotesPerDocument = 5;
const int kRuns = 5;

struct Row {
    long document;
    long position;
    long id;
    std::string text;
};

std::vector<Row> MakeRows() {
    std::vector<std::string> words = FrenchWords(kDocuments * kNotesPerDocument * 8);
    std::vector<Row> rows;
    size_t w = 0;
    for (long d = 0; d < kDocuments; ++d)
        for (long n = 1; n <= kNotesPerDocument; ++n) {
            std::string text;
            for (int i = 0; i < 8; ++i)
                text += words[w++] + (i == 3 ? "\r\n" : " ");
            rows.push_back({1000 + d * 7, 40 + n * 350, n << 24 | (1000 + d * 7), text + "\r\n"});
        }
    return rows;
}

template <class Body>
double Best(Body body) {
    double best = 1e9;
    for (int run = 0; run < kRuns; ++run) {
        LARGE_INTEGER a, b;
        QueryPerformanceCounter(&a);
        body();
        QueryPerformanceCounter(&b);
        best = std::min(best, Seconds(a, b) * 1000.0);
    }
    return best;
}

bool Exec(sqlite3* db, const char* sql) {
    char* error = nullptr;
    if (sqlite3_exec(db, sql, nullptr, nullptr, &error) == SQLITE_OK)
        return true;
    std::printf("sqlite: %s: %s\n", sql, error ? error : "?");
    sqlite3_free(error);
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    std::string folder = argc > 1 ? argv[1] : std::string(temp) + "sv_note_bench";
    CreateDirectoryA(folder.c_str(), nullptr);
    std::vector<Row> rows = MakeRows();

    double oursSave, oursLoad;
    long loaded = 0;
    {
        ANoteManager store(nullptr, AFileSpec(folder.c_str()), "bench.note");
        for (const Row& row : rows) {
            store.addPostit(new Postit(row.id, row.text.c_str()), row.id);
            store.getMarkerSet(row.document)->set(row.position, row.id);
        }
        oursSave = Best([&] { store.save(); });
        store.setReadOnly(1);
    }
    oursLoad = Best([&] {
        ANoteManager store(nullptr, AFileSpec(folder.c_str()), "bench.note");
        store.setReadOnly(1);
        loaded = store.notes().count();
    });

    std::string dbPath = folder + "\\bench.db";
    DeleteFileA(dbPath.c_str());
    sqlite3* db = nullptr;
    if (sqlite3_open(dbPath.c_str(), &db) != SQLITE_OK) {
        std::printf("sqlite: cannot open %s\n", dbPath.c_str());
        return 1;
    }
    Exec(db, "CREATE TABLE notes(id INTEGER PRIMARY KEY, text TEXT)");
    Exec(db, "CREATE TABLE markers(document INTEGER, position INTEGER, id INTEGER, PRIMARY KEY(document, position))");
    sqlite3_stmt* note = nullptr;
    sqlite3_stmt* marker = nullptr;
    sqlite3_prepare_v2(db, "INSERT INTO notes(id, text) VALUES(?1, ?2)", -1, &note, nullptr);
    sqlite3_prepare_v2(db, "INSERT INTO markers(document, position, id) VALUES(?1, ?2, ?3)", -1, &marker, nullptr);
    double sqlSave = Best([&] {
        Exec(db, "BEGIN");
        Exec(db, "DELETE FROM notes");
        Exec(db, "DELETE FROM markers");
        for (const Row& row : rows) {
            sqlite3_bind_int64(note, 1, row.id);
            sqlite3_bind_text(note, 2, row.text.c_str(), static_cast<int>(row.text.size()), SQLITE_STATIC);
            sqlite3_step(note);
            sqlite3_reset(note);
            sqlite3_bind_int64(marker, 1, row.document);
            sqlite3_bind_int64(marker, 2, row.position);
            sqlite3_bind_int64(marker, 3, row.id);
            sqlite3_step(marker);
            sqlite3_reset(marker);
        }
        Exec(db, "COMMIT");
    });
    sqlite3_finalize(note);
    sqlite3_finalize(marker);
    long sqlLoaded = 0;
    double sqlLoad = Best([&] {
        std::map<long, std::string> notes;
        std::map<long, std::map<long, long>> markers;
        sqlite3_stmt* select = nullptr;
        sqlite3_prepare_v2(db, "SELECT id, text FROM notes", -1, &select, nullptr);
        while (sqlite3_step(select) == SQLITE_ROW)
            notes[static_cast<long>(sqlite3_column_int64(select, 0))] =
                reinterpret_cast<const char*>(sqlite3_column_text(select, 1));
        sqlite3_finalize(select);
        sqlite3_prepare_v2(db, "SELECT document, position, id FROM markers", -1, &select, nullptr);
        while (sqlite3_step(select) == SQLITE_ROW)
            markers[static_cast<long>(sqlite3_column_int64(select, 0))][static_cast<long>(
                sqlite3_column_int64(select, 1))] = static_cast<long>(sqlite3_column_int64(select, 2));
        sqlite3_finalize(select);
        sqlLoaded = static_cast<long>(notes.size());
    });
    sqlite3_close(db);

    std::printf("notes: %ld on %d documents (sqlite read %ld)\n", loaded, kDocuments, sqlLoaded);
    std::printf("save: sv.note %8.2f ms   sqlite %8.2f ms   ratio %.2f\n", oursSave, sqlSave, oursSave / sqlSave);
    std::printf("load: sv.note %8.2f ms   sqlite %8.2f ms   ratio %.2f\n", oursLoad, sqlLoad, oursLoad / sqlLoad);
    DeleteFileA((folder + "\\bench.note").c_str());
    DeleteFileA(dbPath.c_str());
    RemoveDirectoryA(folder.c_str());
    return 0;
}
