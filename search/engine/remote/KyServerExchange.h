// One exchange with a base's server: its reply comes to a file of its own in
// the temporary folder, read once the session is over and deleted with this.
#pragma once

#include <string>

#include "base/procedural/KyFile.h"
#include "base/procedural/KyHttp.h"

struct KyMountedConnect;

class KyServerExchange {
public:
    explicit KyServerExchange(const KyMountedConnect* connect);
    ~KyServerExchange();
    KyServerExchange(const KyServerExchange&) = delete;
    KyServerExchange& operator=(const KyServerExchange&) = delete;

    // Makes the reply file, its name starting with prefix: false when the
    // temporary folder gives none.
    bool makeFile(const char* prefix);
    // Opens the reply file and the server's session: 0, noFile when the file
    // does not open, or the session's code.
    int open(int noFile);
    // Frees the session once the server has answered; the reply stays.
    void endSession();

    KY_File* reply() const { return reply_; }
    KY_HttpSession* session() { return &session_; }
    const std::string& url() const { return url_; }
    const char* path() const { return path_.c_str(); }

private:
    const KyMountedConnect* connect_;
    std::string path_;
    KY_OpenSpec spec_;
    bool specMade_ = false;
    KY_File* reply_ = nullptr;
    std::string url_;
    KY_HttpSession session_;
};
