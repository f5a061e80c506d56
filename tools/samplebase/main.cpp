// The sample encyclopedia tool: "build WORK OUT" writes the installation
// folder from the corpus, "check OUT" walks it and lists every fault.
#include <cstdio>
#include <cstring>

#include "tools/samplebase/SampleBase.h"

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
    if (argc == 3 && !std::strcmp(argv[1], "check")) {
        SampleCheckReport report = CheckSample(argv[2]);
        for (const std::string& e : report.errors)
            std::fprintf(stderr, "samplebase: check: %s\n", e.c_str());
        std::printf("samplebase: checked %ld records, %ld keys, %ld occurrences, %ld pictures: %zu errors\n",
                    report.records, report.keys, report.occurrences, report.images, report.errors.size());
        return report.errors.empty() ? 0 : 1;
    }
    std::fprintf(stderr, "usage: samplebase build WORK OUT | samplebase check OUT\n");
    return 2;
}
