// The current error stream and the null stream that stands in for it.
#include "base/object/AOutStream.h"

#include "base/procedural/Trace.h"

namespace {

AOutStream* g_errorStream = nullptr;
ANullOutStream* g_defaultNull = nullptr;

// Built on first use, so that errors raised during static initialisation find it.
ANullOutStream& StaticNull() {
    static ANullOutStream instance;
    return instance;
}

}  // namespace

AOutStream::~AOutStream() {
    if (g_errorStream == this)
        g_errorStream = nullptr;
}

ANullOutStream::ANullOutStream() : previousDefault_(g_defaultNull) {
    if (g_defaultNull && g_errorStream == g_defaultNull)
        g_errorStream = this;
    g_defaultNull = this;
}

ANullOutStream::~ANullOutStream() {
    if (g_defaultNull == this)
        g_defaultNull = previousDefault_;
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
