// Replaces the web runtime's embedding entry points, which this program cannot
// ship: starting the runtime in a folder with the program's directory
// provider, ending it, and the seams tests drive it through.
#pragma once

#include "platform/webrt/nsInterfaces.h"

#include <string>

// Starts the registry and the built-in services, reads the default preferences
// of the runtime folder ("PrfDef", which must hold "runtime.js"), and keeps
// one reference to the folder and one to the provider (null allowed) until
// NS_TermEmbedding. NS_ERROR_ALREADY_INITIALIZED when the runtime runs.
nsresult NS_InitEmbedding(nsILocalFile* runtimeFolder, nsIDirectoryServiceProvider* provider);
// Releases every service, the folder and the provider. Events still queued are dropped.
nsresult NS_TermEmbedding();

// Test seam: the special folders behind "AppData" and "WinD". fn answers
// false when the system has no such folder. Null restores the system's.
typedef bool (*NS_SpecialFolderFunction)(const char* key, std::string& path);
void NS_SetSpecialFolderFunction(NS_SpecialFolderFunction fn);

// Test seam: while set, the app shell class cannot be made.
void NS_SetAppShellUnavailable(bool unavailable);
