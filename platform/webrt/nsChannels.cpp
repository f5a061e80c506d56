// Channels of the runtime layer for "file:" and "about:blank", and the scheme dispatch.
#include "platform/webrt/nsChannelBase.h"

#include "base/procedural/HtUrl.h"

#include <windows.h>

#include <cctype>
#include <cstdio>
#include <cstring>
#include <vector>

namespace webrt {

namespace {

const char* TypeOfExtension(const std::string& path) {
    static const char* const kTypes[][2] = {
        {".html", "text/html"}, {".htm", "text/html"},  {".txt", "text/plain"}, {".css", "text/css"},
        {".js", "application/x-javascript"}, {".gif", "image/gif"}, {".png", "image/png"},
        {".jpg", "image/jpeg"}, {".jpeg", "image/jpeg"}, {".xml", "text/xml"},
    };
    size_t dot = path.rfind('.');
    if (dot != std::string::npos && path.find('\\', dot) == std::string::npos) {
        std::string extension;
        for (size_t i = dot; i < path.size(); ++i)
            extension.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(path[i]))));
        for (const auto& row : kTypes) {
            if (extension == row[0])
                return row[1];
        }
    }
    return "application/octet-stream";
}

class FileChannel : public ChannelBase<nsIChannel> {
public:
    explicit FileChannel(nsIURI* uri) : ChannelBase<nsIChannel>(uri) {}

protected:
    // "file:///C:/dir/name" and "file://server/share/name".
    nsresult load() override {
        std::string host, path;
        uri_->GetHost(host);
        uri_->GetPath(path);
        size_t cut = path.find_first_of("?#");
        if (cut != std::string::npos)
            path.erase(cut);
        // An escaped NUL would cut the name short of what the URL names.
        if (path.find("%00") != std::string::npos)
            return NS_ERROR_MALFORMED_URI;
        path = Unescape(path);
        if (host.empty() && path.size() >= 3 && path[0] == '/' && path[2] == ':')
            path.erase(0, 1);
        else if (!host.empty())
            path = "//" + host + path;
        for (char& c : path) {
            if (c == '/')
                c = '\\';
        }
        contentType_ = TypeOfExtension(path);
        if (!FileExists(path))
            return NS_ERROR_FILE_NOT_FOUND;
        FILE* f = std::fopen(path.c_str(), "rb");
        if (!f)
            return NS_ERROR_FILE_ACCESS_DENIED;
        char block[4096];
        size_t n;
        nsresult r = NS_OK;
        while (NS_SUCCEEDED(r) && (n = std::fread(block, 1, sizeof block, f)) > 0)
            r = deliver(block, static_cast<PRUint32>(n));
        if (NS_SUCCEEDED(r) && std::ferror(f))
            r = NS_ERROR_FILE_ACCESS_DENIED;
        std::fclose(f);
        return r;
    }
};

class AboutChannel : public ChannelBase<nsIChannel> {
public:
    explicit AboutChannel(nsIURI* uri) : ChannelBase<nsIChannel>(uri) { contentType_ = "text/html"; }

protected:
    nsresult load() override { return NS_OK; }
};

template <class C>
nsresult Hand(C* channel, nsIChannel** result) {
    *result = channel;
    channel->AddRef();
    return NS_OK;
}

}  // namespace

std::string Unescape(const std::string& text) {
    std::vector<char> copy(text.begin(), text.end());
    copy.push_back(0);
    HTUnEscape(copy.data());
    return copy.data();
}

nsresult NewFileChannel(nsIURI* uri, nsIChannel** result) {
    return Hand(new FileChannel(uri), result);
}

nsresult NewAboutChannel(nsIURI* uri, nsIChannel** result) {
    std::string path;
    uri->GetPath(path);
    if (path != "blank")
        return NS_ERROR_UNKNOWN_PROTOCOL;
    return Hand(new AboutChannel(uri), result);
}

}  // namespace webrt

nsresult NS_NewChannel(nsIChannel** result, nsIURI* uri) {
    if (!result || !uri)
        return NS_ERROR_NULL_POINTER;
    *result = nullptr;
    std::string scheme;
    uri->GetScheme(scheme);
    if (scheme == "file")
        return webrt::NewFileChannel(uri, result);
    if (scheme == "about")
        return webrt::NewAboutChannel(uri, result);
    if (scheme == "http")
        return webrt::NewHttpChannel(uri, result);
    return NS_ERROR_UNKNOWN_PROTOCOL;
}
