// URIs of the runtime layer: "scheme:" followed, for schemes with an
// authority, by "//[user@]host[:port]" and the path.
#include "platform/webrt/nsNetwork.h"

#include <cctype>

namespace {

struct Parts {
    std::string spec, scheme, host, path;
    PRInt32 port = -1;
};

bool Parse(const std::string& text, Parts& out) {
    size_t colon = text.find(':');
    if (colon == std::string::npos || colon == 0 || !std::isalpha(static_cast<unsigned char>(text[0])))
        return false;
    for (size_t i = 0; i < colon; ++i) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        if (!std::isalnum(c) && c != '+' && c != '-' && c != '.')
            return false;
    }
    Parts p;
    for (size_t i = 0; i < colon; ++i)
        p.scheme.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(text[i]))));
    std::string rest = text.substr(colon + 1);
    if (rest.compare(0, 2, "//") == 0) {
        size_t end = rest.find_first_of("/?#", 2);
        std::string authority = rest.substr(2, end == std::string::npos ? std::string::npos : end - 2);
        p.path = end == std::string::npos ? "/" : rest.substr(end);
        if (p.path[0] != '/')
            p.path = "/" + p.path;
        size_t at = authority.rfind('@');
        if (at != std::string::npos)
            authority.erase(0, at + 1);
        size_t portColon = authority.rfind(':');
        if (portColon != std::string::npos) {
            std::string digits = authority.substr(portColon + 1);
            authority.erase(portColon);
            if (!digits.empty()) {
                if (digits.size() > 5 || digits.find_first_not_of("0123456789") != std::string::npos)
                    return false;
                p.port = std::stoi(digits);
                if (p.port > 65535)
                    return false;
            }
        }
        for (char c : authority)
            p.host.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
    } else {
        p.path = rest;
    }
    p.spec = p.scheme + ":" + rest;
    out = p;
    return true;
}

class URI : public nsSupportsImpl<nsIURI> {
public:
    nsresult GetScheme(nsACString& result) override {
        result = parts_.scheme;
        return NS_OK;
    }
    nsresult GetHost(nsACString& result) override {
        result = parts_.host;
        return NS_OK;
    }
    nsresult GetPort(PRInt32* result) override {
        if (!result)
            return NS_ERROR_NULL_POINTER;
        *result = parts_.port;
        return NS_OK;
    }
    nsresult GetPath(nsACString& result) override {
        result = parts_.path;
        return NS_OK;
    }
    nsresult GetSpec(nsACString& result) override {
        result = parts_.spec;
        return NS_OK;
    }
    nsresult SetSpec(const nsACString& spec) override {
        Parts p;
        if (!Parse(spec, p))
            return NS_ERROR_MALFORMED_URI;
        parts_ = p;
        return NS_OK;
    }

private:
    Parts parts_;
};

}  // namespace

nsresult NS_NewURI(nsIURI** result, const nsACString& spec) {
    if (!result)
        return NS_ERROR_NULL_POINTER;
    *result = nullptr;
    nsPtr<URI> uri(new URI);
    nsresult r = uri->SetSpec(spec);
    if (NS_FAILED(r))
        return r;
    *result = uri.forget();
    return NS_OK;
}
