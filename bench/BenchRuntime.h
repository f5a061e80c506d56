// The runtime layer of the web benchmarks: started on the source tree's
// runtime folder (SV_WEBRT_FOLDER), with the HTTP client's trace lines going
// to a log in the current folder as at the application's start, so that the
// timings include writing them. Ended with the object.
#pragma once

#include <cstdio>

#include "base/object/ATextOutStream.h"
#include "platform/webrt/nsEmbedding.h"
#include "tests/platform/webrt/RuntimeFolders.h"

class BenchRuntime {
public:
    // logName: the trace log's file name; bench: the name in the failure line.
    BenchRuntime(const char* logName, const char* bench)
        : log_(AFile(AFileSpec(logName), 1, AFileOptions{1, 256, 1}, false), 0), provider_(new TableProvider) {
        log_.becomeTraceSink();
        provider_->paths["PrfDef"] = SV_WEBRT_FOLDER "/defaults/pref";
        nsPtr<nsILocalFile> runtime;
        started_ = NS_SUCCEEDED(NS_NewNativeLocalFile(SV_WEBRT_FOLDER, PR_TRUE, runtime.receive())) &&
                   NS_SUCCEEDED(NS_InitEmbedding(runtime.get(), provider_.get()));
        if (!started_)
            std::fprintf(stderr, "%s: the runtime does not start\n", bench);
    }
    ~BenchRuntime() {
        if (started_)
            NS_TermEmbedding();
    }
    BenchRuntime(const BenchRuntime&) = delete;
    BenchRuntime& operator=(const BenchRuntime&) = delete;
    bool started() const { return started_; }

private:
    ATextOutStream log_;
    nsPtr<TableProvider> provider_;
    bool started_ = false;
};
