// Fetching one URL through the runtime layer's network code and handing the
// whole body to a sink, for the program's own service requests.
//
// The layer's HTTP channel asks the window watcher's authentication
// prompter itself on a 401 or 407. The fetch waits on the runtime's event queue (no window messages are
// pumped meanwhile) until its own observer has completed or the time-out has
// passed, so a fetch started inside another one's event handling completes
// first and does not end the outer one.
#pragma once

#include <cstdint>

#include "platform/webrt/nsNetwork.h"

class AFileStream;

// (bytes, count, sink data): 0 success, -1 failure.
typedef int (*KyMozillaSink)(const char* bytes, uint32_t count, void* data);

// The copy sink's data: a buffer and its size in bytes.
struct KyMozillaCopyBuffer {
    char* data;
    uint32_t size;
};

// Copies at most size - 1 bytes, stopping at a zero byte, and always
// terminates; -1 for a null buffer or a zero size.
int KyMozillaCopySink(const char* bytes, uint32_t count, void* copyBuffer);
// Writes the bytes to an AFileStream; 0 when all were written, -1 otherwise or for a null stream.
int KyMozillaStreamSink(const char* bytes, uint32_t count, void* stream);

// 0: a body of at least one byte reached the sink; 955: no byte (failed,
// refused or empty replies too); a negative runtime code when the URL, the
// channel or the loader could not be made (nothing is waited for then).
// A null sink is KyMozillaStreamSink; null sink data calls no sink.
int KyMozillaStreamLoad(const char* url, KyMozillaSink sink, void* sinkData);
// KyMozillaStreamLoad, then with the network log on: "KyMozillaGetUrl :",
// the URL, " returns ", the result, on the application's log.
int KyMozillaGetUrl(const char* url, KyMozillaSink sink, void* sinkData);

// Whether the network log is on; the application installs its flag. Null: off.
typedef bool (*KyMozillaNetLogFlag)();
void KyMozillaSetNetLogFlag(KyMozillaNetLogFlag flag);
// Wait limit of one fetch, in milliseconds (60000 by default).
void KyMozillaSetFetchTimeout(uint32_t milliseconds);

// Traces the request (kind 1) or response (kind 2) headers on the network log.
class AHttpHeaderVisitor : public nsSupportsImpl<nsIHttpHeaderVisitor> {
public:
    nsresult VisitHeader(const nsACString& header, const nsACString& value) override;
    void setKind(int16_t kind) { kind_ = kind; }

private:
    int16_t kind_ = 1;
};
