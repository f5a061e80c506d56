#include "app/online/ANetSearch.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app/online/ANeckoConnection.h"
#include "app/online/ANetInfo.h"
#include "app/online/AOnlineHost.h"
#include "app/state/ASVLoSearchState.h"
#include "base/procedural/AError.h"
#include "base/procedural/BAlloc.h"
#include "base/procedural/HtUrl.h"

const char* const ANetSearch::kErrorText =
    "Suite \xE0 un probl\xE8me de connexion r\xE9seau, nous vous invitons \xE0 relancer votre recherche";

namespace {


std::string Decimal(long value) {
    char text[24];
    std::snprintf(text, sizeof text, "%ld", value);
    return text;
}

// A new file of the folder, never one that exists: "<stem>.net", then "<stem>_<n>.net".
HANDLE CreateAnswerFile(const AFileSpec& folder, const std::string& stem, std::string& name) {
    for (int n = 0; n < 10000; ++n) {
        name = n == 0 ? stem + ".net" : stem + "_" + Decimal(n) + ".net";
        AFileSpec file(folder, name.c_str());
        HANDLE h = CreateFileA(file.path().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                               nullptr);
        if (h != INVALID_HANDLE_VALUE || GetLastError() != ERROR_FILE_EXISTS)
            return h;
    }
    return INVALID_HANDLE_VALUE;
}

int WriteToHandle(const char* bytes, uint32_t count, void* data) {
    DWORD written = 0;
    if (!data)
        return -1;
    if (count == 0)
        return 0;
    return WriteFile(static_cast<HANDLE>(data), bytes, count, &written, nullptr) && written == count ? 0 : -1;
}

}  // namespace

AString ANetSearch::makeNetFileBase(const AString& query) {
    std::string cleaned;
    for (const char* p = query.c_str(); *p; ++p) {
        if (!std::strchr("/\\:*?\"<>|()\t", *p))
            cleaned += *p;
    }
    std::vector<std::string> words;
    std::string word;
    for (char c : cleaned + " ") {
        if (c == ' ') {
            if (!word.empty())
                words.push_back(word);
            word.clear();
        } else {
            word += c;
        }
    }
    std::string base;
    if (words.size() >= 2) {
        size_t each = 12 / words.size();
        for (const std::string& w : words)
            base += w.substr(0, each);
    } else if (!words.empty()) {
        base = words[0];
    }
    if (base.size() > 12)
        base.resize(11);
    return AString(base.c_str());
}

AString ANetSearch::makeNetRequest(const ASVLoSearchState& state, const char* action, long id) {
    ANetInfo* info = host_ ? host_->netInfo() : nullptr;
    if (!info)
        ThrowAssert("appdata", __LINE__);
    action = action ? action : "";
    std::string request = std::string("action=") + action;
    bool index = _stricmp(action, "index") == 0;
    if (index || _stricmp(action, "text") == 0)
        request += "&text=" + ServiceEscape(state.getQuery().c_str());
    if (index || _stricmp(action, "classif") == 0) {
        request += "&id=" + ServiceEscape(Decimal(id).c_str());
        request += "&label=" + ServiceEscape(state.getDisplayQuery().c_str());
    }
    request += "&filter=" + Decimal(info->getFilterLevel() + 1);
    request += "&max=" + Decimal(host_->maxNetResults());
    request += "&plat=Win";
    request += std::string("&p_cookie1=") + info->getCookie1().c_str();
    request += std::string("&p_cookie2=") + info->getCookie2().c_str();
    return AString(request.c_str());
}

int16_t ANetSearch::runNetSearch(ASVLoSearchState& state, AString& name, const char* base, const char* action,
                                 long id) {
    host_->showSearchProgress("  Recherche sur internet ...");
    if (!host_->hasNetManager())
        ThrowAssert("appdata", __LINE__);
    AString server = host_->configString("SERVERNAME");
    AString script = host_->configString("SEARCHSCRIPT");
    ANeckoConnection connection(server.c_str(), "", "", host_->netUserAgent().c_str(), "SEARCH");
    connection.open(host_->proxyAddress().c_str(), nullptr, nullptr);
    AString query = makeNetRequest(state, action, id);
    AFileSpec folder = host_->tempFolder();
    std::string made;
    HANDLE file = CreateAnswerFile(folder, base ? base : "", made);
    bool ok = false;
    if (file != INVALID_HANDLE_VALUE) {
        ok = connection.fetchWith(script.c_str(), query.c_str(), WriteToHandle, file);
        CloseHandle(file);
        if (!ok)
            DeleteFileA(AFileSpec(folder, made.c_str()).path().c_str());
    }
    connection.close();
    if (!ok) {
        showNetError();
        return 0;
    }
    name = AString(made.c_str());
    host_->hideSearchProgress();
    return 1;
}

void ANetSearch::searchOnline(ASVLoSearchState& state, long entry, const char* action, long id) {
    if (!state.getNetFile(entry).empty())
        return;
    std::string stem = std::string(makeNetFileBase(state.getQuery()).c_str()) + Decimal(entry);
    std::string assistance = std::string(host_->configString("SVSITE").c_str()) + "/redirect.php?id=assistance";
    if (!host_->checkConnection(assistance.c_str()))
        return;
    AString name;
    if (runNetSearch(state, name, stem.c_str(), action, id))
        state.setNetFile(entry, name.c_str(), host_->tempFolder());
}

void ANetSearch::showNetError() {
    host_->hideSearchProgress();
    host_->alert(kErrorText, "Attention");
}
