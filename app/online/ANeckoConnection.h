// A connection whose fetches go through the web engine's network layer (its
// proxy preferences, its prompts) instead of the program's own sockets: the
// online search and the web view's address check use it.
//
// A fetch asks "<server><path>" and "?<query>" when the query is not empty,
// and waits for the whole answer; a failure is reported once (the network
// alert) unless the connection is quiet, and answers false.
#pragma once

#include <cstdint>
#include <string>

#include "base/object/AString.h"
#include "web/browser/KyMozillaGetUrl.h"
#include "web/net/AConnection.h"

// A value escaped for the service's requests (letters, digits and "*-.@_" kept).
std::string ServiceEscape(const char* text);

class ANeckoConnection : public AConnection {
public:
    ANeckoConnection(const char* server, const char* user, const char* password, const char* userAgent,
                     const char* name);

    // Closes, then marks the connection open; the engine applies its own proxy. Always true.
    bool open(const char* proxyAddress, const char* credentials, const char* userAgent);
    // Always true.
    bool close() override;
    bool isOpened() const { return opened_ != 0; }
    void setQuiet(int16_t quiet) { quiet_ = quiet; }

    bool fetchesUrls() override { return true; }
    // Asserts the request record; nothing goes over the network.
    bool connect() override;
    // The request through the program's HTTP module when a record was made; otherwise a failure.
    bool request(char* buffer, const char* argument, const char* text, const char* suffix) override;
    // At most kReplySize - 1 bytes of the answer, terminated, into buffer (kReplySize bytes).
    bool fetchUrl(const char* path, const char* query, char* buffer) override;
    // fetchUrl into a buffer of the caller's size.
    bool fetchText(const char* path, const char* query, char* buffer, uint32_t size);
    // Writes every block of the answer to the stream.
    bool fetchUrlToStream(const char* path, const char* query, KY_File* stream) override;

    // Hands every block of the answer to the sink.
    bool fetchWith(const char* path, const char* query, KyMozillaSink sink, void* data);

    // "<server><path>", then "?<query>" when the query is not empty.
    AString makeAddress(const char* path, const char* query) const;

private:
    bool finish(int status);
    int16_t opened_ = 0;
    int16_t quiet_ = 0;
};
