// Shows that the cross-built SQLite runs FTS5 under the target: indexes a few
// French lines with accents folded and prints what each kind of query finds.
// The search benchmark compares the engine with this library.
#include <sqlite3.h>

#include <cstdio>

namespace {

const char* const kRows[] = {
    "Retouche d\xC3\xA9taill\xC3\xA9"
    "e d'une photo num\xC3\xA9rique",
    "Le calque actif et la pile des calques",
    "Un tableau crois\xC3\xA9 r\xC3\xA9sume les donn\xC3\xA9"
    "es",
    "La photo du calque de fond",
};

struct Query {
    const char* text;
    int expected;
};

// FTS5 query syntax: AND, OR, NOT, phrases in quotes, NEAR groups, prefixes.
const Query kQueries[] = {
    {"retouche AND photo", 1}, {"calque OR tableau", 3},     {"photo NOT retouche", 1},
    {"\"tableau croise\"", 1}, {"NEAR(photo calque, 2)", 1}, {"calq*", 2},
    {"detaillee", 1},
};

int Count(sqlite3* db, const char* match) {
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db, "SELECT count(*) FROM t WHERE t MATCH ?1", -1, &statement, nullptr) != SQLITE_OK)
        return -1;
    sqlite3_bind_text(statement, 1, match, -1, SQLITE_STATIC);
    int count = sqlite3_step(statement) == SQLITE_ROW ? sqlite3_column_int(statement, 0) : -1;
    sqlite3_finalize(statement);
    return count;
}

}  // namespace

int main() {
    sqlite3* db = nullptr;
    if (sqlite3_open(":memory:", &db) != SQLITE_OK ||
        sqlite3_exec(db, "CREATE VIRTUAL TABLE t USING fts5(body, tokenize='unicode61 remove_diacritics 2')", nullptr,
                     nullptr, nullptr) != SQLITE_OK) {
        std::printf("fts5: cannot create the table: %s\n", db ? sqlite3_errmsg(db) : "no database");
        return 1;
    }
    sqlite3_stmt* insert = nullptr;
    sqlite3_prepare_v2(db, "INSERT INTO t(body) VALUES (?1)", -1, &insert, nullptr);
    for (const char* row : kRows) {
        sqlite3_bind_text(insert, 1, row, -1, SQLITE_STATIC);
        sqlite3_step(insert);
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    int wrong = 0;
    std::printf("fts5: SQLite %s\n", sqlite3_libversion());
    for (const Query& q : kQueries) {
        int count = Count(db, q.text);
        wrong += count != q.expected;
        std::printf("fts5: %-26s %d rows (expected %d)\n", q.text, count, q.expected);
    }
    sqlite3_close(db);
    return wrong ? 1 : 0;
}
