// Inside the runtime layer: the state NS_InitEmbedding sets up and the hooks
// its services share. Not for the program's code.
#pragma once

#include "platform/webrt/nsComponents.h"
#include "platform/webrt/nsInterfaces.h"

#include <string>

namespace webrt {

// Component table: started by NS_InitEmbedding, emptied by NS_TermEmbedding.
void StartComponents();
void StopComponents();
bool ComponentsRunning();
// Registers a built-in service made by maker on first request.
void RegisterBuiltin(const nsCID& cid, const char* contract, nsresult (*maker)(nsISupports** result));

// The folder given to NS_InitEmbedding (held while the runtime runs) and the
// program's directory provider (may be null).
nsILocalFile* RuntimeFolder();
nsIDirectoryServiceProvider* Provider();

// Built-in service makers.
nsresult MakeDirectoryService(nsISupports** result);
nsresult MakeObserverService(nsISupports** result);
nsresult MakePrefService(nsISupports** result);
nsresult MakeProfileManager(nsISupports** result);
nsresult MakeEventQueueService(nsISupports** result);
nsresult MakeWindowWatcher(nsISupports** result);
nsresult MakeAppShell(nsISupports** result);

// Preferences: the defaults of the runtime folder, then the user values of a profile folder.
nsresult LoadDefaultPrefs();
nsresult UseProfilePrefs(const std::string& profileFolder);
// The directory service's answer for key as a path.
nsresult GetDirectoryPath(const char* key, std::string& path);
// Whether a path names an existing folder / file.
bool FolderExists(const std::string& path);
bool FileExists(const std::string& path);
// Writes text to a temporary sibling of path, then puts it in its place.
nsresult SaveTextFile(const std::string& path, const std::string& text);
// Reads a whole file of at most limit bytes.
nsresult ReadTextFile(const std::string& path, std::string& text, size_t limit);

}  // namespace webrt
