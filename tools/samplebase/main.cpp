// The sample encyclopedia tool: "build WORK OUT" writes the installation
// folder from the corpus, "check OUT [KEYS]" walks it and lists every fault
// (with KEYS, every name of that list the sample lacks),
// "searches OUT WORK" runs the fixed searches and compares them with the scan's.
#include <cstdio>
#include <cstring>

#include "tools/samplebase/SampleBase.h"
#include "tools/samplebase/SampleSearches.h"

namespace {

void Progress(const char* line) {
    std::printf("samplebase: %s\n", line);
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 4 && !std::strcmp(argv[1], "build")) {
        std::string why = BuildSample(argv[2], argv[3], Progress);
        if (!why.empty()) {
            std::fprintf(stderr, "samplebase: %s\n", why.c_str());
            return 1;
        }
        return 0;
    }
    if ((argc == 3 || argc == 4) && !std::strcmp(argv[1], "check")) {
        SampleCheckReport report = CheckSample(argv[2], argc == 4 ? argv[3] : "");
        for (const std::string& e : report.errors)
            std::fprintf(stderr, "samplebase: check: %s\n", e.c_str());
        std::printf("samplebase: checked %ld records, %ld keys, %ld occurrences, %ld pictures, %ld names the reader "
                    "asks for: %zu errors\n",
                    report.records, report.keys, report.occurrences, report.images, report.names, report.errors.size());
        return report.errors.empty() ? 0 : 1;
    }
    if (argc == 4 && !std::strcmp(argv[1], "searches")) {
        std::string why;
        std::vector<SampleSearch> searches = RunSampleSearches(argv[2], argv[3], &why);
        if (!why.empty()) {
            std::fprintf(stderr, "samplebase: %s\n", why.c_str());
            return 1;
        }
        int differ = 0;
        for (const SampleSearch& s : searches) {
            bool same = s.found == s.expected;
            differ += !same;
            std::printf("samplebase: %-28s request %6ld, scan %6zu: %s\n", s.text.c_str(), s.count, s.expected.size(),
                        same ? "same documents" : "differ");
        }
        return differ ? 1 : 0;
    }
    std::fprintf(stderr, "usage: samplebase build WORK OUT | check OUT [KEYS] | searches OUT WORK\n");
    return 2;
}
