// The current error stream and the null stream that stands in for it.
#include "base/procedural/AOutStream.h"

#include "base/procedural/Trace.h"

namespace {

AOutStream* g_errorStream = nullptr;
ANullOutStream* g_defaultNull = nullptr;
ANullOutStream* g_staticNull = nullptr;

// Built on first use, so that errors raised during static initialisation find it.
ANullOutStream& StaticNull() {
    static ANullOutStream instance;
    g_staticNull = &instance;
    return instance;
}

}  // namespace

AOutStream::~AOutStream() {
    if (g_errorStream == this)
        g_errorStream = nullptr;
}

ANullOutStream::ANullOutStream() : previousDefault_(g_defaultNull ? g_defaultNull : g_staticNull) {
    if (previousDefault_ && g_errorStream == previousDefault_)
        g_errorStream = this;
    g_defaultNull = this;
}

// The static instance takes the place of a default that goes: the one before
// it may have gone already.
ANullOutStream::~ANullOutStream() {
    if (g_defaultNull == this)
        g_defaultNull = this == g_staticNull ? nullptr : g_staticNull;
}

AOutStream& CurrentErrorStream() {
    if (!g_errorStream)
        g_errorStream = g_defaultNull ? static_cast<AOutStream*>(g_defaultNull) : &StaticNull();
    return *g_errorStream;
}

void SetErrorStream(AOutStream* stream) {
    TraceSetSink(nullptr);
    g_errorStream = stream;
    if (stream)
        stream->becomeTraceSink();
}
