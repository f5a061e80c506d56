// B+ tree benchmark: writes a tree of 10^6 keys with occurrences, then prints
// lookups per second (random keys, and a sequential scan) beside std::map
// lookups of the same keys in memory, and the decode speed of occurrence streams.
#include <windows.h>

#include <cstdio>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "base/procedural/KyFile.h"
#include "search/engine/trees/KyAbp.h"
#include "search/writers/AbpWriter.h"

namespace {

double Now() {
    LARGE_INTEGER frequency, counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

const int kKeys = 1000000;
const int kWidth = 21;

}  // namespace

int main() {
    std::vector<AbpKeyItem> keys(kKeys);
    std::mt19937 rng(1);
    for (int i = 0; i < kKeys; ++i) {
        char text[32];
        std::snprintf(text, sizeof text, "k%07d", i);
        keys[i].key = text;
        uint32_t doc = rng() % 50;
        for (int k = 0; k < 1 + i % 7; ++k) {
            keys[i].occ.push_back({doc, 0});
            doc += 1 + rng() % 900;
        }
    }
    char folder[MAX_PATH];
    GetTempPathA(sizeof folder, folder);
    std::string path = std::string(folder) + "sv-bench-" + std::to_string(GetCurrentProcessId()) + ".abp";
    AbpTreeOptions options;
    options.width = kWidth;
    double t0 = Now();
    std::string error = AbpWriteTree(path, keys, options);
    if (!error.empty()) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    AbpCheckStats stats;
    double written = Now() - t0;
    std::string check = AbpCheckTree(path, kWidth, &stats);
    std::printf("written %d keys in %.2f s; check \"%s\", %d levels, %ld leaves\n", kKeys, written, check.c_str(),
                stats.levels, stats.leaves);

    KY_OpenSpec spec;
    KY_ClearOpenSpec(&spec);
    KY_MakeOpenSpecIn(KY_GetGlobalFileSys(), path.c_str(), nullptr, 0, 1, 4096, 64, &spec);
    AbpTree tree{};
    abpSetWidth(&tree, (1u << (kWidth - 1)) - 1);
    if (abpOpen(&spec, &tree, 1, 0) != 0)
        return 1;
    std::vector<int> order(200000);
    for (int& o : order)
        o = static_cast<int>(rng() % kKeys);
    AbpEntry e;
    t0 = Now();
    int found = 0;
    for (int o : order) {
        std::snprintf(e.key, sizeof e.key, "%s", keys[o].key.c_str());
        found += abpSearchKey(&e, &tree, 1) == 0;
    }
    double searched = Now() - t0;
    std::map<std::string, int> map;
    for (int i = 0; i < kKeys; ++i)
        map.emplace(keys[i].key, i);
    t0 = Now();
    int inMap = 0;
    for (int o : order)
        inMap += map.count(keys[o].key) ? 1 : 0;
    double mapped = Now() - t0;
    std::printf("random lookups: tree %.0f/s (%d found), std::map %.0f/s (%d found)\n", order.size() / searched, found,
                order.size() / mapped, inMap);

    t0 = Now();
    int scanned = 0;
    abpFirstLeaf(&tree);
    while (abpNextKey(&tree, &e, 0) == 0)
        ++scanned;
    std::printf("sequential scan: %.0f keys/s (%d keys)\n", scanned / (Now() - t0), scanned);

    t0 = Now();
    long long items = 0;
    abpFirstLeaf(&tree);
    long bytes = 0;
    while (abpNextKey(&tree, &e, 0) == 0) {
        int32_t before = tree.occOffset;
        AbpEntry o;
        while (abpNextKey(&tree, &o, 1) == 0)
            ++items;
        bytes += tree.occOffset - before;
    }
    double decode = Now() - t0;
    std::printf("occurrence decode: %lld items, %.1f MB/s (scan included)\n", items, bytes / decode / 1e6);
    abpClose(&tree);
    KY_FreeOpenSpec(&spec);
    DeleteFileA(path.c_str());
    return 0;
}
