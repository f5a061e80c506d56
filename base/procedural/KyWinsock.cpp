// Socket layer: run-time loading of WSOCK32.DLL, the wrappers, base64 and host:port parsing.
#include "base/procedural/KyWinsock.h"

#include "base/procedural/AError.h"
#include "base/procedural/ProcAddress.h"

#include <windows.h>

#include <cstring>

namespace {

// One slot per entry point, in the order they are looked up.
struct WsFunctions {
    int(WSAAPI* startup)(WORD, WSADATA*);
    int(WSAAPI* cleanup)();
    hostent*(WSAAPI* getHostByName)(const char*);
    int(WSAAPI* getHostName)(char*, int);
    unsigned long(WSAAPI* inetAddr)(const char*);
    u_short(WSAAPI* htons)(u_short);
    int(WSAAPI* closeSocket)(SOCKET);
    int(WSAAPI* recv)(SOCKET, char*, int, int);
    int(WSAAPI* ioctlSocket)(SOCKET, long, u_long*);
    int(WSAAPI* send)(SOCKET, const char*, int, int);
    int(WSAAPI* connect)(SOCKET, const sockaddr*, int);
    int(WSAAPI* select)(int, fd_set*, fd_set*, fd_set*, const timeval*);
    SOCKET(WSAAPI* socket)(int, int, int);
    u_short(WSAAPI* ntohs)(u_short);
    FARPROC(WSAAPI* setBlockingHook)(FARPROC);
    int(WSAAPI* cancelBlockingCall)();
    int(WSAAPI* getLastError)();
};

const char* const kNames[] = {"WSAStartup", "WSACleanup", "gethostbyname", "gethostname", "inet_addr",
                              "htons", "closesocket", "recv", "ioctlsocket", "send", "connect",
                              "select", "socket", "ntohs", "WSASetBlockingHook",
                              "WSACancelBlockingCall", "WSAGetLastError"};
static_assert(sizeof(WsFunctions) == sizeof kNames, "one slot per name");

HMODULE g_library;
WsFunctions g_ws;
FARPROC g_hook;

}  // namespace

int KY_LoadWinsock(WORD version, WSADATA* data) {
    if (g_library)
        return 0;
    // By full path from the system folder: never a WSOCK32.DLL planted beside the program.
    char path[MAX_PATH + 16];
    UINT n = GetSystemDirectoryA(path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) {
        ShowErrorBox("Impossible de charger winsock.dll");
        return kWsNotLoaded;
    }
    std::strcpy(path + n, "\\WSOCK32.DLL");
    g_library = LoadLibraryA(path);
    if (!g_library) {
        ShowErrorBox("Impossible de charger winsock.dll");
        return kWsNotLoaded;
    }
    void** slots = reinterpret_cast<void**>(&g_ws);
    for (size_t i = 0; i < sizeof kNames / sizeof kNames[0]; ++i)
        slots[i] = KY_GetProcAddress(g_library, kNames[i], 0);
    if (!g_ws.startup) {
        ShowErrorBox("winsock.dll non-valide");
        FreeLibrary(g_library);
        g_library = nullptr;
        std::memset(&g_ws, 0, sizeof g_ws);
        return kWsNotLoaded;
    }
    int result = g_ws.startup(version, data);
    if (result == 0 && g_hook && g_ws.setBlockingHook)
        g_ws.setBlockingHook(g_hook);
    return result;
}

int KY_UnloadWinsock() {
    if (!g_library || !g_ws.cleanup)
        return kWsNotLoaded;
    int result = g_ws.cleanup();
    FreeLibrary(g_library);
    g_library = nullptr;
    std::memset(&g_ws, 0, sizeof g_ws);
    return result;
}

bool KY_WinsockLoaded() {
    return g_library != nullptr;
}

void KY_WsSelectBlockingHook(FARPROC hook) {
    g_hook = hook;
}

FARPROC KY_WsSelectedBlockingHook() {
    return g_hook;
}

hostent* KY_WsGetHostByName(const char* name) {
    return g_ws.getHostByName ? g_ws.getHostByName(name) : nullptr;
}
unsigned long KY_WsInetAddr(const char* text) {
    return g_ws.inetAddr ? g_ws.inetAddr(text) : 0;
}
u_short KY_WsHtons(u_short value) {
    return g_ws.htons ? g_ws.htons(value) : 0;
}
int KY_WsCloseSocket(SOCKET s) {
    return g_ws.closeSocket ? g_ws.closeSocket(s) : 0;
}
int KY_WsRecv(SOCKET s, char* buffer, int length, int flags) {
    return g_ws.recv ? g_ws.recv(s, buffer, length, flags) : 0;
}
int KY_WsIoctl(SOCKET s, long command, u_long* argument) {
    return g_ws.ioctlSocket ? g_ws.ioctlSocket(s, command, argument) : 0;
}
int KY_WsSend(SOCKET s, const char* buffer, int length, int flags) {
    return g_ws.send ? g_ws.send(s, buffer, length, flags) : 0;
}
int KY_WsConnect(SOCKET s, const sockaddr* address, int length) {
    return g_ws.connect ? g_ws.connect(s, address, length) : 0;
}
int KY_WsSelect(int count, fd_set* readable, fd_set* writable, fd_set* failed, const timeval* timeout) {
    return g_ws.select ? g_ws.select(count, readable, writable, failed, timeout) : 0;
}
SOCKET KY_WsSocket(int family, int type, int protocol) {
    return g_ws.socket ? g_ws.socket(family, type, protocol) : 0;
}
FARPROC KY_WsSetBlockingHook(FARPROC hook) {
    return g_ws.setBlockingHook ? g_ws.setBlockingHook(hook) : nullptr;
}
int KY_WsCancelBlockingCall() {
    return g_ws.cancelBlockingCall ? g_ws.cancelBlockingCall() : 0;
}
int KY_WsGetLastError() {
    return g_ws.getLastError ? g_ws.getLastError() : 0;
}

int KY_Base64Encode(const unsigned char* data, int length, char* out) {
    static const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    int n = 0;
    for (int i = 0; i < length; i += 3) {
        int left = length - i;
        unsigned long group = static_cast<unsigned long>(data[i]) << 16;
        if (left > 1)
            group |= static_cast<unsigned long>(data[i + 1]) << 8;
        if (left > 2)
            group |= data[i + 2];
        out[n++] = kAlphabet[(group >> 18) & 63];
        out[n++] = kAlphabet[(group >> 12) & 63];
        out[n++] = left > 1 ? kAlphabet[(group >> 6) & 63] : '=';
        out[n++] = left > 2 ? kAlphabet[group & 63] : '=';
    }
    out[n] = 0;
    return n;
}

namespace {

bool IsDottedAddress(const char* host) {
    if (!*host)
        return false;
    for (const char* p = host; *p; ++p)
        if (!((*p >= '0' && *p <= '9') || *p == '.'))
            return false;
    return true;
}

}  // namespace

int KY_ParseHostPort(sockaddr_in* address, const char* text) {
    if (!address || !text)
        return -1;
    size_t len = std::strlen(text);
    if (len > 255)
        return -1;
    char host[256];
    std::memcpy(host, text, len + 1);
    if (char* colon = std::strchr(host, ':')) {
        *colon = 0;
        const char* p = colon + 1;
        if (*p >= '0' && *p <= '9') {
            unsigned long port = 0;
            for (; *p >= '0' && *p <= '9'; ++p) {
                port = port * 10 + static_cast<unsigned long>(*p - '0');
                if (port > 65535)
                    return -1;
            }
            address->sin_port = KY_WsHtons(static_cast<u_short>(port));
        }
    }
    // "1and1.example" starts with a digit yet is a name: only pure dotted digits are addresses.
    if (IsDottedAddress(host)) {
        unsigned long value = KY_WsInetAddr(host);
        if (value != INADDR_NONE || std::strcmp(host, "255.255.255.255") == 0) {
            address->sin_addr.s_addr = value;
            return 0;
        }
    }
    hostent* entry = KY_WsGetHostByName(host);
    if (!entry || !entry->h_addr_list || !entry->h_addr_list[0] || entry->h_length < 4)
        return -1;
    std::memcpy(&address->sin_addr, entry->h_addr_list[0], 4);
    return 0;
}
