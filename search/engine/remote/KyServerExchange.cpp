#include "search/engine/remote/KyServerExchange.h"

#include <windows.h>

#include <cstring>

#include "search/engine/descriptor/MkDoom.h"

KyServerExchange::KyServerExchange(const KyMountedConnect* connect) : connect_(connect) {
    std::memset(&session_, 0, sizeof session_);
}

KyServerExchange::~KyServerExchange() {
    endSession();
    if (reply_)
        KY_FClose(reply_);
    if (specMade_)
        KY_FreeOpenSpec(&spec_);
    if (!path_.empty())
        DeleteFileA(path_.c_str());
}

bool KyServerExchange::makeFile(const char* prefix) {
    char folder[MAX_PATH], path[MAX_PATH];
    DWORD got = GetTempPathA(sizeof folder, folder);
    if (got == 0 || got >= sizeof folder || !GetTempFileNameA(folder, prefix, 0, path))
        return false;
    path_ = path;
    return true;
}

int KyServerExchange::open(int noFile) {
    KY_ClearOpenSpec(&spec_);
    KY_MakeOpenSpecIn(KY_GetGlobalFileSys(), path_.c_str(), nullptr, 0, 0, 0, 0, &spec_);
    specMade_ = true;
    reply_ = KY_FOpen(&spec_, "w+b");
    url_ = std::string("http://") + connect_->server;
    session_.url = url_.c_str();
    session_.script = connect_->script ? connect_->script : "";
    return reply_ ? KY_HttpInitSession(&session_) : noFile;
}

void KyServerExchange::endSession() {
    if (reply_ && session_.connection)
        KY_HttpFreeSession(&session_);
}
