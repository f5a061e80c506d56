// The search benchmark: one fixed table of queries on the sample encyclopedia,
// through a search request on its form "RECH" and through SQLite FTS5 over the
// same words, in one run. Prints per side and query kind the median and 99th
// percentile latency over every pass, the index size, the build time, the
// result counts and the queries whose result sets differ; then the time to the
// first page: the first 20 result ids and their titles (read from the table
// "TITLE" the same way for both sides) against FTS5's LIMIT 20.
//
// FTS5 runs inside one read transaction held over all its queries, as a reader
// of a read-only index would; its autocommit figure is printed beside it (under
// Wine each statement then pays the file locks, most of its time). The sides
// take turns at each pass: ours, FTS5, our first page, FTS5's.
//
// Usage: bench_search_fts SAMPLE_FOLDER WORK_FOLDER (Windows paths);
// SV_BENCH_ONLY=kind or question (several separated by commas) keeps those
// queries alone, SV_BENCH_PASSES=n
// times n passes (5 by default) after one to warm the caches.
//
// FTS5 indexes each article as its index keys in position order (the words
// through the key filter), tokenised by unicode61 with remove_diacritics 2;
// no stop list on either side: the table holds no stop word.
#include <sqlite3.h>
#include <windows.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <iterator>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "base/procedural/AError.h"
#include "base/procedural/EngineTables.h"
#include "bench/FtsQueries.h"
#include "bench/SampleSearch.h"
#include "search/engine/records/KyAccessor.h"
#include "search/facade/ASearchBase.h"
#include "search/writers/AbpWriter.h"
#include "search/writers/FileImage.h"

namespace {

using namespace fts_queries;

double Now() {
    LARGE_INTEGER f, t;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&t);
    return double(t.QuadPart) / double(f.QuadPart);
}

double Percentile(std::vector<double> v, double p) {
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    size_t i = static_cast<size_t>(p * double(v.size() - 1) + 0.5);
    return v[std::min(i, v.size() - 1)];
}

long FileSize(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA a;
    return GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &a) ? long(a.nFileSizeLow) : -1;
}

// Per query, the time of every timed pass and the documents found.
struct Side {
    std::vector<std::vector<double>> ms;
    std::vector<std::set<long>> found;
    double build = 0;
    long size = 0;
};

const size_t kPage = 20;

using Runner = std::function<void(const Query&, std::set<long>*)>;

// Passes of every query in turn, after one to warm the caches, the sides
// taking turns at each pass: the machine's pace changes within a run (by a
// third, for seconds), and it then weighs on every side alike. Each side runs
// its queries one after the other, as alone: taking turns at each query, the
// second side read the titles the first had just read.
void MeasureInTurns(const std::vector<Query>& queries, const std::vector<std::pair<Side*, Runner>>& sides) {
    static const int passes =
        std::max(5, std::getenv("SV_BENCH_PASSES") ? std::atoi(std::getenv("SV_BENCH_PASSES")) : 5);
    for (const auto& side : sides) {
        side.first->ms.assign(queries.size(), {});
        side.first->found.assign(queries.size(), {});
    }
    for (int pass = 0; pass <= passes; ++pass)
        for (const auto& side : sides)
            for (size_t i = 0; i < queries.size(); ++i) {
                std::set<long> found;
                double t0 = Now();
                side.second(queries[i], &found);
                double ms = (Now() - t0) * 1000;
                if (pass > 0)
                    side.first->ms[i].push_back(ms);
                if (std::getenv("SV_BENCH_VERBOSE"))
                    std::fprintf(stderr, "%d %8.1f ms %6zu  %s\n", pass, ms, found.size(), queries[i].ours.c_str());
                side.first->found[i] = found;
            }
}

// Reads the title of each document found into a string, as a result list
// would show it; the byte count goes back so that nothing is left out.
size_t ReadTitles(KyTable* titles, const std::set<long>& docs) {
    size_t bytes = 0;
    uint8_t buffer[1024];
    for (long d : docs) {
        int32_t got = 0;
        if (d >= 0 && !KyReadRecord(titles, static_cast<int32_t>(d), buffer, sizeof buffer, &got))
            bytes += static_cast<size_t>(got);
    }
    return bytes;
}

bool Exec(sqlite3* db, const char* sql) {
    char* error = nullptr;
    if (sqlite3_exec(db, sql, nullptr, nullptr, &error) == SQLITE_OK)
        return true;
    std::printf("fts5: %s: %s\n", sql, error ? error : "?");
    sqlite3_free(error);
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::printf("usage: bench_search_fts SAMPLE_FOLDER WORK_FOLDER\n");
        return 2;
    }
    std::string sample = argv[1], work = argv[2];
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    std::string scratch = std::string(temp) + "svbench-fts";
    CreateDirectoryA(scratch.c_str(), nullptr);
    Side ours, fts;
    // Our side: the word index built again from the same items, then searched
    // in the sample through its form.
    AbpTreeOptions positions;
    positions.positions = true;
    positions.width = 32;
    double t0 = Now();
    std::string why = abpBuildFirstLevel(work + "\\words.txt", scratch + "\\mots.abp", positions);
    ours.build = Now() - t0;
    if (!why.empty())
        std::printf("ours: word index: %s\n", why.c_str());
    ours.size = FileSize(sample + "\\data\\mots.abp");
    std::fprintf(stderr, "word index built in %.1f s\n", ours.build);
    DeleteFileA((scratch + "\\mots.abp").c_str());
    Corpus corpus;
    std::set<std::string> stops;
    std::string stopText;
    if (!ReadCorpus(work + "\\words.txt", &corpus) || !LoadFile(work + "\\stop.txt", &stopText)) {
        std::printf("cannot read %s\\words.txt or stop.txt\n", work.c_str());
        return 1;
    }
    stops = ReadStops(stopText);
    std::fprintf(stderr, "corpus read\n");
    std::vector<Query> queries = MakeQueries(corpus, stops);
    if (const char* only = std::getenv("SV_BENCH_ONLY")) {
        std::string list = std::string(",") + only + ",";
        auto named = [&](const std::string& s) { return list.find("," + s + ",") != std::string::npos; };
        queries.erase(std::remove_if(queries.begin(), queries.end(),
                                     [&](const Query& q) { return !named(q.kind) && !named(q.ours); }),
                      queries.end());
    }
    std::fprintf(stderr, "%zu queries\n", queries.size());
    // FTS5's rows, then the corpus goes, and the rows once FTS5 holds them:
    // both sides are timed without them. The corpus's millions of small blocks
    // filled the 32-bit heap, and either side's allocations near its top then
    // committed and decommitted pages, stalls of 1 to 90 ms in most queries.
    std::vector<std::pair<long, std::string>> rows;
    for (const auto& d : corpus.docs) {
        std::string text;
        for (const Occurrence& o : d.second)
            text += (text.empty() ? "" : " ") + o.key;
        rows.push_back({d.first, Utf8(text)});
    }
    size_t articles = corpus.docs.size();
    corpus = Corpus();
    // FTS5: a contentless table of the same keys, built in one transaction.
    std::string dbPath = scratch + "\\fts.db";
    DeleteFileA(dbPath.c_str());
    sqlite3* db = nullptr;
    if (sqlite3_open(dbPath.c_str(), &db) != SQLITE_OK)
        return 1;
    t0 = Now();
    bool ok = Exec(db,
                   "CREATE VIRTUAL TABLE t USING fts5(body, content='', "
                   "tokenize='unicode61 remove_diacritics 2')") &&
              Exec(db, "BEGIN");
    sqlite3_stmt* insert = nullptr;
    ok = ok && sqlite3_prepare_v2(db, "INSERT INTO t(rowid, body) VALUES(?1, ?2)", -1, &insert, nullptr) == SQLITE_OK;
    for (size_t i = 0; ok && i < rows.size(); ++i) {
        sqlite3_bind_int64(insert, 1, rows[i].first);
        sqlite3_bind_text(insert, 2, rows[i].second.c_str(), -1, SQLITE_STATIC);
        ok = sqlite3_step(insert) == SQLITE_DONE;
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    rows = {};
    ok = ok && Exec(db, "COMMIT") && Exec(db, "INSERT INTO t(t) VALUES('optimize')");
    fts.build = Now() - t0;
    std::fprintf(stderr, "fts5 built in %.1f s\n", fts.build);
    if (!ok)
        return 1;
    fts.size = FileSize(dbPath);
    SetCurrentDirectoryA(sample.c_str());
    Side ourPage, ftsPage, ftsAuto;
    sqlite3_stmt* select = nullptr;
    sqlite3_stmt* page = nullptr;
    sqlite3_prepare_v2(db, "SELECT rowid FROM t WHERE t MATCH ?1", -1, &select, nullptr);
    sqlite3_prepare_v2(db, "SELECT rowid FROM t WHERE t MATCH ?1 LIMIT 20", -1, &page, nullptr);
    auto fts5 = [](sqlite3_stmt* st, const Query& q, std::set<long>* found) {
        sqlite3_bind_text(st, 1, q.fts.c_str(), -1, SQLITE_STATIC);
        int rc;
        while ((rc = sqlite3_step(st)) == SQLITE_ROW)
            found->insert(static_cast<long>(sqlite3_column_int64(st, 0)));
        if (rc != SQLITE_DONE)
            found->insert(-1);
        sqlite3_reset(st);
    };
    MeasureInTurns(queries, {{&ftsAuto, [&](const Query& q, std::set<long>* found) { fts5(select, q, found); }}});
    ADataLocation location;
    KyTable* titles = nullptr;
    try {
        std::unique_ptr<ASearchRequest> request = OpenSampleRequest(sample, &location);
        if (!request)
            return 1;
        if (KyOpenTable(location.ensureBase("TEXT")->handle(), "TITLE", &titles)) {
            std::printf("TEXT:TITLE: %s\n", KY_EngineErrorText);
            return 1;
        }
        auto whole = [&](const Query& q, std::set<long>* found) {
            try {
                request->setQuestion(1, q.ours.c_str(), 0);
                double e0 = Now();
                request->execute(0);
                long count = request->getResultCount(0);
                if (std::getenv("SV_BENCH_VERBOSE"))
                    std::fprintf(stderr, "execute %.1f ms, ", (Now() - e0) * 1000);
                for (long k = 1; k <= count; ++k)
                    found->insert(request->getResultDoc(k) & 0xFFFFFF);
            } catch (const AError&) {
                found->insert(-1);
            }
        };
        auto firstPage = [&](const Query& q, std::set<long>* found) {
            try {
                request->setQuestion(1, q.ours.c_str(), 0);
                request->execute(0);
                long count = std::min<long>(request->getResultCount(0), kPage);
                for (long k = 1; k <= count; ++k)
                    found->insert(request->getResultDoc(k) & 0xFFFFFF);
                ReadTitles(titles, *found);
            } catch (const AError&) {
                found->insert(-1);
            }
        };
        // The read transaction starts with its first statement and holds its
        // lock until the end.
        ok = Exec(db, "BEGIN");
        MeasureInTurns(queries, {{&ours, whole},
                                 {&fts, [&](const Query& q, std::set<long>* found) { fts5(select, q, found); }},
                                 {&ourPage, firstPage},
                                 {&ftsPage, [&](const Query& q, std::set<long>* found) {
                                      fts5(page, q, found);
                                      ReadTitles(titles, *found);
                                  }}});
        ok = ok && Exec(db, "COMMIT");
    } catch (const AError&) {
        std::printf("sv.sgm: the data location failed\n");
        return 1;
    }
    KyCloseTable(&titles);
    sqlite3_finalize(select);
    sqlite3_finalize(page);
    sqlite3_close(db);
    DeleteFileA(dbPath.c_str());
    RemoveDirectoryA(scratch.c_str());

    std::printf("%zu queries on %zu articles, %zu timed passes each; ms; x = ours / fts5\n", queries.size(), articles,
                ours.ms.empty() ? size_t(0) : ours.ms[0].size());
    std::vector<std::string> kinds;
    for (const Query& q : queries)
        if (std::find(kinds.begin(), kinds.end(), q.kind) == kinds.end())
            kinds.push_back(q.kind);
    // Median and 99th percentile over every pass of the kind's queries, and
    // the documents found (counted once per query).
    struct Figures {
        double med, p99;
        long results;
    };
    auto figures = [&](const Side& s, const std::string& kind) {
        std::vector<double> all;
        long results = 0;
        for (size_t i = 0; i < queries.size(); ++i)
            if (queries[i].kind == kind) {
                all.insert(all.end(), s.ms[i].begin(), s.ms[i].end());
                results += static_cast<long>(s.found[i].size());
            }
        return Figures{Percentile(all, 0.5), Percentile(all, 0.99), results};
    };
    auto ratio = [](double a, double b) { return b > 0 ? a / b : 0; };
    std::printf("whole result (fts5 in one read transaction; autocommit beside it)\n");
    std::printf("%-13s %6s | %9s %9s %9s | %9s %9s %9s | %6s %6s | %9s %6s\n", "kind", "count", "ours med", "ours p99",
                "results", "fts5 med", "fts5 p99", "results", "med x", "p99 x", "auto med", "x");
    for (const std::string& k : kinds) {
        Figures a = figures(ours, k), b = figures(fts, k), c = figures(ftsAuto, k);
        size_t n = static_cast<size_t>(
            std::count_if(queries.begin(), queries.end(), [&](const Query& q) { return q.kind == k; }));
        std::printf("%-13s %6zu | %9.3f %9.3f %9ld | %9.3f %9.3f %9ld | %6.2f %6.2f | %9.3f %6.2f\n", k.c_str(), n,
                    a.med, a.p99, a.results, b.med, b.p99, b.results, ratio(a.med, b.med), ratio(a.p99, b.p99), c.med,
                    ratio(a.med, c.med));
    }
    std::printf("first page: %zu ids and their titles (fts5 LIMIT %zu in the read transaction)\n", kPage, kPage);
    std::printf("%-13s | %9s %9s | %9s %9s | %6s %6s\n", "kind", "ours med", "ours p99", "fts5 med", "fts5 p99",
                "med x", "p99 x");
    for (const std::string& k : kinds) {
        Figures a = figures(ourPage, k), b = figures(ftsPage, k);
        std::printf("%-13s | %9.3f %9.3f | %9.3f %9.3f | %6.2f %6.2f\n", k.c_str(), a.med, a.p99, b.med, b.p99,
                    ratio(a.med, b.med), ratio(a.p99, b.p99));
    }
    int pagesDiffer = 0;
    for (size_t i = 0; i < queries.size(); ++i)
        pagesDiffer += ourPage.found[i] != ftsPage.found[i];
    std::printf("%d first pages differ\n", pagesDiffer);
    std::printf("index on disc: ours %ld bytes (mots.abp), fts5 %ld bytes (contentless table)\n", ours.size, fts.size);
    std::printf("build: ours %.2f s (word index from words.txt), fts5 %.2f s (insert and optimize)\n", ours.build,
                fts.build);
    int differ = 0;
    for (size_t i = 0; i < queries.size(); ++i)
        if (ours.found[i] != fts.found[i]) {
            std::vector<long> onlyOurs, onlyFts;
            std::set_difference(ours.found[i].begin(), ours.found[i].end(), fts.found[i].begin(), fts.found[i].end(),
                                std::back_inserter(onlyOurs));
            std::set_difference(fts.found[i].begin(), fts.found[i].end(), ours.found[i].begin(), ours.found[i].end(),
                                std::back_inserter(onlyFts));
            std::printf("differ: %-40s ours %zu, fts5 %zu (only ours %zu, e.g. %ld; only fts5 %zu, e.g. %ld)\n",
                        queries[i].ours.c_str(), ours.found[i].size(), fts.found[i].size(), onlyOurs.size(),
                        onlyOurs.empty() ? -1 : onlyOurs[0], onlyFts.size(), onlyFts.empty() ? -1 : onlyFts[0]);
            ++differ;
        }
    std::printf("%d of %zu queries differ\n", differ, queries.size());
    return 0;
}
