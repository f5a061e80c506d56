// Where the time of one search goes: runs questions on the sample
// encyclopedia's form "RECH" through a search request and prints, per
// question, the median over the runs of each stage: setting the question, the
// run, the count, the first hit and every hit.
//
// Usage: bench_search_stages SAMPLE_FOLDER [RUNS [QUESTION...]] (Windows paths)
// Without questions, a fixed few of each kind. SV_BENCH_ROTATE=1 runs the
// questions in turn, each run after the others (the processor's caches then
// hold less of it, as in a reader's mixed use), instead of each in a row.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "base/procedural/AError.h"
#include "search/facade/ADataLocation.h"
#include "search/facade/ASearchRequest.h"

namespace {

double Now() {
    LARGE_INTEGER f, t;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&t);
    return double(t.QuadPart) / double(f.QuadPart);
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

const char* const kQuestions[] = {"pfm",
                                  "embossed",
                                  "calque",
                                  "tableau",
                                  "retouche ET photo",
                                  "calque OU tableau",
                                  "image SAUF photo",
                                  "\"ligne de commande\"",
                                  "fenetre PRES5 grille",
                                  "calq*!"};

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::printf("usage: bench_search_stages SAMPLE_FOLDER [RUNS [QUESTION...]]\n");
        return 2;
    }
    std::string sample = argv[1];
    int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 20;
    std::vector<std::string> questions;
    for (int i = 3; i < argc; ++i)
        questions.push_back(argv[i]);
    if (questions.empty())
        questions.assign(std::begin(kQuestions), std::end(kQuestions));
    SetCurrentDirectoryA(sample.c_str());
    try {
        ADataLocation location;
        if (location.open((sample + "\\sv.sgm").c_str()) != 0) {
            std::printf("sv.sgm: %s\n", location.getLastError().c_str());
            return 1;
        }
        double t0 = Now();
        std::unique_ptr<ASearchRequest> request(location.createRequest("TEXT", "RECH"));
        std::printf("request created in %.3f ms\n", (Now() - t0) * 1000);
        std::printf("%-26s %7s | %8s %8s %8s %8s %8s (ms, median of %d)\n", "question", "hits", "set", "run", "count",
                    "first", "all", runs);
        struct Stages {
            std::vector<double> set, run, count, first, all;
            long hits = 0;
        };
        std::vector<Stages> stages(questions.size());
        const bool rotate = std::getenv("SV_BENCH_ROTATE") != nullptr;
        const size_t n = questions.size(), turns = rotate ? size_t(runs + 1) * n : n;
        for (size_t turn = 0; turn < turns; ++turn) {
            const std::string& q = questions[turn % n];
            Stages& s = stages[turn % n];
            long& hits = s.hits;
            for (int r = rotate ? int(turn / n) : 0; r <= (rotate ? int(turn / n) : runs); ++r) {
                double a = Now();
                request->setQuestion(1, q.c_str(), 0);
                double b = Now();
                request->execute(0);
                double c = Now();
                hits = request->getResultCount(0);
                double d = Now();
                if (hits > 0)
                    request->getResultDoc(1);
                double e = Now();
                for (long k = 2; k <= hits; ++k)
                    request->getResultDoc(k);
                double f = Now();
                if (r == 0)
                    continue;  // the first run warms the caches
                s.set.push_back((b - a) * 1000);
                s.run.push_back((c - b) * 1000);
                s.count.push_back((d - c) * 1000);
                s.first.push_back((e - d) * 1000);
                s.all.push_back((f - d) * 1000);
            }
        }
        for (size_t i = 0; i < n; ++i) {
            const Stages& s = stages[i];
            std::printf("%-26s %7ld | %8.4f %8.4f %8.4f %8.4f %8.4f\n", questions[i].c_str(), s.hits, Median(s.set),
                        Median(s.run), Median(s.count), Median(s.first), Median(s.all));
        }
    } catch (const AError&) {
        std::printf("the request failed\n");
        return 1;
    }
    return 0;
}
