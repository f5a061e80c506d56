// What the search benchmarks on the sample encyclopedia share: a timer and a
// request on the form "RECH" of its base "TEXT".
#pragma once

#include <windows.h>

#include <cstdio>
#include <memory>
#include <string>

#include "search/facade/ADataLocation.h"
#include "search/facade/ASearchRequest.h"

inline double SampleNow() {
    LARGE_INTEGER f, t;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&t);
    return double(t.QuadPart) / double(f.QuadPart);
}

// Opens the descriptor of the sample in folder (a Windows path, made the
// current folder) into location; null, with the reason printed, when it
// cannot be opened. The request raises AError as the location does.
inline std::unique_ptr<ASearchRequest> OpenSampleRequest(const std::string& folder, ADataLocation* location) {
    SetCurrentDirectoryA(folder.c_str());
    if (location->open((folder + "\\sv.sgm").c_str()) != 0) {
        std::printf("sv.sgm: %s\n", location->getLastError().c_str());
        return nullptr;
    }
    return std::unique_ptr<ASearchRequest>(location->createRequest("TEXT", "RECH"));
}
