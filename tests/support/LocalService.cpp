// The sample's local online service for the tests.
#include "tests/support/LocalService.h"

#include <winsock2.h>
#include <windows.h>

#include "tests/support/HostProgram.h"

bool ServiceAnswers(unsigned short port) {
    SOCKET s = socket(AF_INET, SOCK_STREAM, 0);
    if (s == INVALID_SOCKET)
        return false;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bool answers = connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    closesocket(s);
    return answers;
}

LocalService::LocalService(std::string script, std::string work, std::string pidFile)
    : script_(std::move(script)), work_(std::move(work)), pidFile_(std::move(pidFile)) {
    WSADATA wsa;
    winsock_ = WSAStartup(MAKEWORD(2, 2), &wsa) == 0;
}

LocalService::~LocalService() {
    if (started_)
        StartHostProgram("/bin/sh -c \"kill $(cat '" + pidFile_ + "'); rm -f '" + pidFile_ + "'\"");
    if (winsock_)
        WSACleanup();
}

std::string LocalService::start() {
    if (!winsock_)
        return "no sockets";
    if (ServiceAnswers())
        return "another server holds port " + std::to_string(kSampleServicePort);
    // Its output goes nowhere: a server holding the test's pipes would keep
    // whoever reads them waiting.
    started_ = StartHostProgram("/bin/sh -c \"/usr/bin/python3 '" + script_ + "' '" + work_ +
                                "' >/dev/null 2>&1 </dev/null & echo $! >'" + pidFile_ + "'\"");
    for (int i = 0; i < 100 && started_ && !ServiceAnswers(); ++i)
        Sleep(100);
    return ServiceAnswers() ? "" : "the service does not answer";
}
