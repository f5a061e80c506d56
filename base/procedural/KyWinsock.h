// The Windows sockets library loaded at run time, with one wrapper per entry
// point, plus base64 and host:port parsing for the HTTP client.
//
// Nothing links WSOCK32: the library is loaded from the system folder by full
// path. Every wrapper answers 0 and does nothing while its entry is not
// loaded. Single-threaded, like the rest of the program.
#pragma once

#include <winsock2.h>

// 10093 (WSANOTINITIALISED): the library could not be loaded or lacks "WSAStartup".
const int kWsNotLoaded = 10093;

// Loads and starts the library with the requested version (MAKEWORD(1, 1)...).
// Answers the start-up result, 0 without touching data when already loaded,
// or kWsNotLoaded after telling the reader in a message box.
int KY_LoadWinsock(WORD version, WSADATA* data);
// Cleans up and unloads; the clean-up result, or kWsNotLoaded when nothing is loaded.
int KY_UnloadWinsock();
bool KY_WinsockLoaded();

// The hook that the next successful load installs (null: none); the HTTP client selects it.
void KY_WsSelectBlockingHook(FARPROC hook);
FARPROC KY_WsSelectedBlockingHook();

hostent* KY_WsGetHostByName(const char* name);
unsigned long KY_WsInetAddr(const char* text);
u_short KY_WsHtons(u_short value);
int KY_WsCloseSocket(SOCKET s);
int KY_WsRecv(SOCKET s, char* buffer, int length, int flags);
int KY_WsIoctl(SOCKET s, long command, u_long* argument);
int KY_WsSend(SOCKET s, const char* buffer, int length, int flags);
int KY_WsConnect(SOCKET s, const sockaddr* address, int length);
int KY_WsSelect(int count, fd_set* readable, fd_set* writable, fd_set* failed, const timeval* timeout);
// 0 (not INVALID_SOCKET) while the library is not loaded, like every wrapper.
SOCKET KY_WsSocket(int family, int type, int protocol);
FARPROC KY_WsSetBlockingHook(FARPROC hook);
int KY_WsCancelBlockingCall();
int KY_WsGetLastError();

// Standard base64 with "=" padding, no line breaks. out needs 4 * ((length + 2) / 3) + 1
// bytes; answers the text length (terminator not counted).
int KY_Base64Encode(const unsigned char* data, int length, char* out);

// Fills address (family and default port already set) from "host" or
// "host:port". A host of dotted digits is taken as an address, any other is
// resolved by name. 0, or -1 when the text is null, longer than 255
// characters, has a port above 65535, or the name does not resolve.
int KY_ParseHostPort(sockaddr_in* address, const char* text);
