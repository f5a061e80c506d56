// The cost of reading a result: runs each question given on the command line
// through a search request on the sample encyclopedia's form "RECH" and prints
// the time to run it, to read its documents one by one through getResultDoc
// (in ascending and in descending order) and the mean per document.
//
// Usage: bench_search_docs SAMPLE_FOLDER QUESTION... (Windows path; a prefix
// is written "docu*!"). SV_BENCH_REPEAT=n repeats each question n times, for
// a profiler.
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "base/procedural/AError.h"
#include "bench/SampleSearch.h"

int main(int argc, char** argv) {
    if (argc < 3) {
        std::printf("usage: bench_search_docs SAMPLE_FOLDER QUESTION...\n");
        return 2;
    }
    std::string sample = argv[1];
    int repeat = std::getenv("SV_BENCH_REPEAT") ? std::atoi(std::getenv("SV_BENCH_REPEAT")) : 1;
    try {
        ADataLocation location;
        std::unique_ptr<ASearchRequest> request = OpenSampleRequest(sample, &location);
        if (!request)
            return 1;
        std::printf("%-24s %8s %10s %10s %10s %9s\n", "question", "results", "run ms", "read ms", "back ms", "us/doc");
        for (int a = 2; a < argc; ++a)
            for (int r = 0; r < repeat; ++r) {
                request->setQuestion(1, argv[a], 0);
                double t0 = SampleNow();
                request->execute(0);
                long count = request->getResultCount(0);
                double t1 = SampleNow();
                long sum = 0;
                for (long k = 1; k <= count; ++k)
                    sum += request->getResultDoc(k) & 0xFFFFFF;
                double t2 = SampleNow();
                for (long k = count; k >= 1; --k)
                    sum -= request->getResultDoc(k) & 0xFFFFFF;
                double t3 = SampleNow();
                std::printf("%-24s %8ld %10.1f %10.1f %10.1f %9.1f%s\n", argv[a], count, (t1 - t0) * 1000,
                            (t2 - t1) * 1000, (t3 - t2) * 1000, count ? (t2 - t1) * 1e6 / double(count) : 0.0,
                            sum ? " (the two orders differ)" : "");
            }
    } catch (const AError&) {
        std::printf("request failed\n");
        return 1;
    }
    return 0;
}
