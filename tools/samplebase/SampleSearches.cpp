// The fixed searches of the sample run through a search request on its form,
// against the documents that the brute-force scan wrote into searches.txt.
#include "tools/samplebase/SampleSearches.h"

#include <windows.h>

#include <cstdlib>
#include <memory>

#include "base/procedural/AError.h"
#include "search/facade/ADataLocation.h"
#include "search/facade/ASearchRequest.h"
#include "search/writers/FileImage.h"

namespace {

// searches.txt: "search TAB count TAB documents separated by blanks" lines.
std::vector<SampleSearch> ReadSearches(const std::string& path) {
    std::vector<SampleSearch> searches;
    std::string text;
    if (!LoadFile(path, &text))
        return searches;
    size_t at = 0;
    while (at < text.size()) {
        size_t nl = text.find('\n', at);
        std::string line = text.substr(at, nl == std::string::npos ? std::string::npos : nl - at);
        at = nl == std::string::npos ? text.size() : nl + 1;
        size_t t1 = line.find('\t'), t2 = t1 == std::string::npos ? t1 : line.find('\t', t1 + 1);
        if (t2 == std::string::npos)
            continue;
        SampleSearch s;
        s.text = line.substr(0, t1);
        for (const char* p = line.c_str() + t2 + 1; *p;) {
            char* next = nullptr;
            long doc = std::strtol(p, &next, 10);
            if (next == p)
                break;
            s.expected.insert(doc);
            p = next;
        }
        searches.push_back(s);
    }
    return searches;
}

}  // namespace

std::vector<SampleSearch> RunSampleSearches(const std::string& out, const std::string& work, std::string* error) {
    std::vector<SampleSearch> searches = ReadSearches(work + "\\searches.txt");
    if (searches.empty()) {
        *error = work + "\\searches.txt: no searches";
        return searches;
    }
    char previous[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, previous);
    SetCurrentDirectoryA(out.c_str());  // the data path is relative to the reader's folder
    try {
        ADataLocation location;
        if (location.open((out + "\\sv.sgm").c_str()) != 0) {
            *error = std::string("sv.sgm: ") + location.getLastError().c_str();
        } else {
            std::unique_ptr<ASearchRequest> plain(location.createRequest("TEXT", "RECH"));
            std::unique_ptr<ASearchRequest> widened(location.createRequest("TEXT", "RECHTHES"));
            for (SampleSearch& s : searches) {
                // "~" marks the searches made on the form whose field has the thesaurus.
                bool thes = !s.text.empty() && s.text[0] == '~';
                std::string asked = thes ? s.text.substr(1) : s.text;
                ASearchRequest* request = thes ? widened.get() : plain.get();
                try {
                    request->clearField(0);
                    request->setQuestion(1, asked.c_str(), 0);
                    request->execute(0);
                    s.count = request->getResultCount(0);
                    for (long k = 1; k <= s.count; ++k)
                        s.found.insert(request->getResultDoc(k) & 0xFFFFFF);
                } catch (const AError&) {
                    s.count = -2;
                }
            }
        }
    } catch (const AError&) {
        *error = "sv.sgm: the data location failed";
    }
    SetCurrentDirectoryA(previous);
    return searches;
}
