// Search request benchmark: writes a base of generated French-like documents
// (a words index with positions and a request form), then prints the median and
// 99th-percentile latency of each kind of question run through ASearchRequest
// (question set, run, count and the first 20 hits read).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "base/procedural/AError.h"
#include "search/facade/ADataLocation.h"
#include "search/facade/ASearchRequest.h"
#include "search/writers/AbpWriter.h"

namespace {

const int kDocs = 5000;
const int kRuns = 60;

double Now() {
    LARGE_INTEGER frequency, counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Words built from French syllables; a Zipf-like draw makes a few frequent.
std::vector<std::string> Vocabulary(std::mt19937& rng) {
    static const char* const kSyllables[] = {"ma",   "son", "jar", "din", "pom", "me",   "ri",  "vie", "re",   "mon",
                                             "ta",   "gne", "fo",  "ret", "cha", "teau", "ro",  "ya",  "li",   "te",
                                             "pein", "tu",  "mu",  "si",  "que", "his",  "toi", "na",  "tion", "eau"};
    std::vector<std::string> words;
    std::map<std::string, bool> seen;
    while (words.size() < 3000) {
        std::string w;
        for (int n = 2 + static_cast<int>(rng() % 3); n > 0; --n)
            w += kSyllables[rng() % (sizeof kSyllables / sizeof *kSyllables)];
        if (!seen[w]) {
            seen[w] = true;
            words.push_back(w);
        }
    }
    return words;
}

std::string Encode(std::string path) {
    for (char& c : path)
        c = c == ':' ? '|' : c == '\\' ? ':' : c;
    return path;
}

struct Kind {
    const char* name;
    std::string (*question)(const std::vector<std::string>& words, std::mt19937& rng);
};

const std::string& Frequent(const std::vector<std::string>& w, std::mt19937& rng) {
    return w[rng() % 20];
}
const std::string& Rare(const std::vector<std::string>& w, std::mt19937& rng) {
    return w[1000 + rng() % 2000];
}

}  // namespace

int main() {
    std::mt19937 rng(7);
    std::vector<std::string> words = Vocabulary(rng);
    std::map<std::string, std::vector<AbpOcc>> postings;
    for (int d = 0; d < kDocs; ++d)
        for (int p = 0, n = 0, paras = 1 + static_cast<int>(rng() % 4); p < paras; ++p)
            for (int k = 0, count = 20 + static_cast<int>(rng() % 60); k < count; ++k, ++n) {
                double u = (rng() % 100000) / 100000.0;
                const std::string& w = words[static_cast<size_t>(words.size() * u * u * u)];
                postings[w].push_back({static_cast<uint32_t>(d), static_cast<uint32_t>(p << 16 | n)});
            }
    std::vector<AbpKeyItem> keys;
    for (auto& entry : postings)
        keys.push_back({entry.first, 0, entry.second});

    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    std::string folder = std::string(temp) + "sv-bench-req-" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(folder.c_str(), nullptr);
    AbpTreeOptions options;
    options.positions = true;
    double t0 = Now();
    std::string error = AbpWriteTree(folder + "\\mots.abp", keys, options);
    if (!error.empty()) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    std::string sgm = folder + "\\bench.sgm";
    FILE* f = std::fopen(sgm.c_str(), "wb");
    if (!f)
        return 1;
    std::fprintf(f,
                 "<!-- KY MEDIA -->\r\n<KYDesc><pathinfo><path id=\"D\" type=\"dbg\">%s</path></pathinfo>"
                 "<common><base id=\"B\"><index path=\"D\"><idx id=\"M\" prox=\"PROXW\" nbdoc=\"%d\">mots</idx>"
                 "</index><mapping><form id=\"F\" nbReq=\"1\"><req num=\"0\" direct=\"M\" prox=\"Y\"><sep> </sep>"
                 "</req></form></mapping></base></common></KYDesc>\r\n",
                 Encode(folder).c_str(), kDocs);
    std::fclose(f);
    std::printf("%d documents, %u distinct words, written in %.2f s\n", kDocs, static_cast<unsigned>(keys.size()),
                Now() - t0);

    const Kind kinds[] = {
        {"frequent word", [](const std::vector<std::string>& w, std::mt19937& r) { return Frequent(w, r); }},
        {"rare word", [](const std::vector<std::string>& w, std::mt19937& r) { return Rare(w, r); }},
        {"two words AND",
         [](const std::vector<std::string>& w, std::mt19937& r) { return Frequent(w, r) + " " + Rare(w, r); }},
        {"two words OR",
         [](const std::vector<std::string>& w, std::mt19937& r) { return Frequent(w, r) + " OR " + Rare(w, r); }},
        {"near (PRES2)", [](const std::vector<std::string>& w,
                            std::mt19937& r) { return Frequent(w, r) + " PRES2 " + Frequent(w, r); }},
    };
    int status = 0;
    try {
        ADataLocation location;
        if (location.open(sgm.c_str()) != 0) {
            std::fprintf(stderr, "%s\n", location.getLastError().c_str());
            return 1;
        }
        std::unique_ptr<ASearchRequest> request(location.createRequest("B", "F"));
        request->clearField(0);
        std::printf("%-16s %10s %10s %10s\n", "question", "median ms", "p99 ms", "mean hits");
        for (const Kind& kind : kinds) {
            std::vector<double> times;
            double hits = 0;
            for (int run = 0; run < kRuns; ++run) {
                std::string question = kind.question(words, rng);
                double start = Now();
                request->setQuestion(1, question.c_str(), 0);
                request->execute(0);
                long count = request->getResultCount(0);
                for (long k = 1; k <= std::min(count, 20L); ++k)
                    request->getResultDoc(k);
                times.push_back((Now() - start) * 1000.0);
                hits += count > 0 ? count : 0;
            }
            std::sort(times.begin(), times.end());
            std::printf("%-16s %10.3f %10.3f %10.1f\n", kind.name, times[times.size() / 2],
                        times[std::min(times.size() - 1, times.size() * 99 / 100)], hits / kRuns);
        }
    } catch (const AError& e) {
        std::fprintf(stderr, "search error: %s\n", e.className());
        status = 1;
    }
    DeleteFileA((folder + "\\mots.abp").c_str());
    DeleteFileA(sgm.c_str());
    RemoveDirectoryA(folder.c_str());
    return status;
}
