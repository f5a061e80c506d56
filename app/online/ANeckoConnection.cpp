#include "app/online/ANeckoConnection.h"

#include <string>

#include "base/procedural/BAlloc.h"
#include "base/procedural/HtUrl.h"
#include "base/procedural/KyFile.h"
#include "web/net/AppNetManager.h"

std::string ServiceEscape(const char* text) {
    char* escaped = HTEscapeXAlpha(text);
    std::string out = escaped ? escaped : "";
    KY_Free(escaped);
    return out;
}

namespace {

int WriteToFile(const char* bytes, uint32_t count, void* data) {
    auto* file = static_cast<KY_File*>(data);
    if (!file)
        return -1;
    if (count == 0)
        return 0;
    return KY_FWrite(file, bytes, static_cast<long>(count)) == static_cast<long>(count) ? 0 : -1;
}

}  // namespace

ANeckoConnection::ANeckoConnection(const char* server, const char* user, const char* password,
                                   const char* userAgent, const char* name)
    : AConnection(server, user, password, name, userAgent) {}

bool ANeckoConnection::open(const char*, const char*, const char*) {
    close();
    opened_ = 1;
    return true;
}

bool ANeckoConnection::close() {
    opened_ = 0;
    return true;
}

bool ANeckoConnection::connect() {
    requireSession(__LINE__);
    return true;
}

bool ANeckoConnection::request(char* buffer, const char* argument, const char* text, const char* suffix) {
    if (session())
        return AConnection::request(buffer, argument, text, suffix);
    return finish(-1);
}

AString ANeckoConnection::makeAddress(const char* path, const char* query) const {
    std::string address = getHost().c_str();
    address += path ? path : "";
    if (query && *query) {
        address += '?';
        address += query;
    }
    return AString(address.c_str());
}

bool ANeckoConnection::fetchUrl(const char* path, const char* query, char* buffer) {
    return fetchText(path, query, buffer, kReplySize);
}

bool ANeckoConnection::fetchText(const char* path, const char* query, char* buffer, uint32_t size) {
    if (buffer && size)
        buffer[0] = 0;
    KyMozillaCopyBuffer copy{buffer, size};
    return finish(KyMozillaGetUrl(makeAddress(path, query).c_str(), KyMozillaCopySink, &copy));
}

bool ANeckoConnection::fetchUrlToStream(const char* path, const char* query, KY_File* stream) {
    if (!stream)
        return finish(-1);
    return fetchWith(path, query, WriteToFile, stream);
}

bool ANeckoConnection::fetchWith(const char* path, const char* query, KyMozillaSink sink, void* data) {
    return finish(KyMozillaGetUrl(makeAddress(path, query).c_str(), sink, data));
}

bool ANeckoConnection::finish(int status) {
    if (status == 0)
        return true;
    if (!quiet_)
        ShowNetworkError(nullptr, status);
    return false;
}
