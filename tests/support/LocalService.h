// The sample's local online service (tools/sample/service.py), started by a
// test on the address the sample names and stopped when the test ends.
#pragma once

#include <string>

// The port of the sample's service address (its "SVSITE" and "SERVERNAME").
constexpr unsigned short kSampleServicePort = 8642;

// Whether a server answers on 127.0.0.1 at that port (sockets started by the caller).
bool ServiceAnswers(unsigned short port = kSampleServicePort);

class LocalService {
public:
    // The script and the sample's work folder it reads, and the file that
    // keeps its process number: host paths.
    LocalService(std::string script, std::string work, std::string pidFile);
    ~LocalService();
    LocalService(const LocalService&) = delete;
    LocalService& operator=(const LocalService&) = delete;
    // Empty once the service answers; else why not (another server holding
    // the port among the reasons).
    std::string start();

private:
    std::string script_, work_, pidFile_;
    bool winsock_ = false;
    bool started_ = false;
};
