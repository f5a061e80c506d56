// Replaces the web runtime's core service interfaces (files, directory
// service, observers, preferences, profiles, event queue, app shell), which
// this program cannot ship: only the methods the embedding calls.
//
// Out parameters receive one reference (objects) or an nsMemory block (texts)
// that the caller releases or frees.
#pragma once

#include "platform/webrt/nsStrings.h"

class nsIFile : public nsISupports {
public:
    NS_WEBRT_IID(nsISupports, 0x5e0b0101, 0x7a1c, 0x4d2e, 0x9b, 0x01, 0x3c, 0x44, 0x21, 0x6e, 0x10, 0x01)
    enum : PRUint32 { NORMAL_FILE_TYPE = 0, DIRECTORY_TYPE = 1 };
    // Adds one path component; a component holding a separator or ".." is refused.
    virtual nsresult AppendNative(const nsACString& node) = 0;
    virtual nsresult Exists(PRBool* result) = 0;
    virtual nsresult IsDirectory(PRBool* result) = 0;
    // Makes the file or folder (and missing parents); NS_ERROR_FILE_ALREADY_EXISTS when it is there.
    virtual nsresult Create(PRUint32 type, PRUint32 permissions) = 0;
    virtual nsresult Clone(nsIFile** result) = 0;
    virtual nsresult GetNativePath(nsACString& path) = 0;
};

class nsILocalFile : public nsIFile {
public:
    NS_WEBRT_IID(nsIFile, 0x5e0b0102, 0x7a1c, 0x4d2e, 0x9b, 0x01, 0x3c, 0x44, 0x21, 0x6e, 0x10, 0x02)
    virtual nsresult InitWithNativePath(const nsACString& path) = 0;
};

// A local file for an absolute path ("C:\\dir" or "\\\\server\\share").
nsresult NS_NewNativeLocalFile(const nsACString& path, PRBool followLinks, nsILocalFile** result);

class nsIProperties : public nsISupports {
public:
    NS_WEBRT_IID(nsISupports, 0x5e0b0103, 0x7a1c, 0x4d2e, 0x9b, 0x01, 0x3c, 0x44, 0x21, 0x6e, 0x10, 0x03)
    virtual nsresult Get(const char* property, const nsIID& iid, void** result) = 0;
};

class nsIDirectoryServiceProvider : public nsISupports {
public:
    NS_WEBRT_IID(nsISupports, 0x5e0b0104, 0x7a1c, 0x4d2e, 0x9b, 0x01, 0x3c, 0x44, 0x21, 0x6e, 0x10, 0x04)
    virtual nsresult GetFile(const char* property, PRBool* persistent, nsIFile** result) = 0;
};

class nsIObserver : public nsISupports {
public:
    NS_WEBRT_IID(nsISupports, 0x5e0b0105, 0x7a1c, 0x4d2e, 0x9b, 0x01, 0x3c, 0x44, 0x21, 0x6e, 0x10, 0x05)
    virtual nsresult Observe(nsISupports* subject, const char* topic, const PRUnichar* data) = 0;
};

// Observers are held (one reference each) until removed or the runtime ends.
class nsIObserverService : public nsISupports {
public:
    NS_WEBRT_IID(nsISupports, 0x5e0b0106, 0x7a1c, 0x4d2e, 0x9b, 0x01, 0x3c, 0x44, 0x21, 0x6e, 0x10, 0x06)
    virtual nsresult AddObserver(nsIObserver* observer, const char* topic, PRBool ownsWeak) = 0;
    virtual nsresult RemoveObserver(nsIObserver* observer, const char* topic) = 0;
    // Calls the topic's observers in the order they were added.
    virtual nsresult NotifyObservers(nsISupports* subject, const char* topic, const PRUnichar* data) = 0;
};

class nsIPref : public nsISupports {
public:
    NS_WEBRT_IID(nsISupports, 0x5e0b0107, 0x7a1c, 0x4d2e, 0x9b, 0x01, 0x3c, 0x44, 0x21, 0x6e, 0x10, 0x07)
    // Getters answer NS_ERROR_FAILURE for a name without a value of that kind.
    virtual nsresult GetIntPref(const char* name, PRInt32* result) = 0;
    virtual nsresult SetIntPref(const char* name, PRInt32 value) = 0;
    virtual nsresult GetBoolPref(const char* name, PRBool* result) = 0;
    virtual nsresult SetBoolPref(const char* name, PRBool value) = 0;
    // Setters refuse a name or text holding a line end (NS_ERROR_INVALID_ARG).
    // *result is an nsMemory block.
    virtual nsresult GetCharPref(const char* name, char** result) = 0;
    virtual nsresult SetCharPref(const char* name, const char* value) = 0;
    // Writes the values set by the program; a null file is the current profile's "prefs.js".
    virtual nsresult SavePrefFile(nsIFile* file) = 0;
};

class nsIProfile : public nsISupports {
public:
    NS_WEBRT_IID(nsISupports, 0x5e0b0108, 0x7a1c, 0x4d2e, 0x9b, 0x01, 0x3c, 0x44, 0x21, 0x6e, 0x10, 0x08)
    virtual nsresult GetProfileCount(PRInt32* result) = 0;
    // A null folder puts the profile under the profiles root ("DefProfRt").
    virtual nsresult CreateNewProfile(const PRUnichar* name, const PRUnichar* folder, const PRUnichar* language,
                                      PRBool useExistingFolder) = 0;
    virtual nsresult GetCurrentProfile(PRUnichar** result) = 0;
    virtual nsresult SetCurrentProfile(const PRUnichar* name) = 0;
};

class nsIRunnable : public nsISupports {
public:
    NS_WEBRT_IID(nsISupports, 0x5e0b0109, 0x7a1c, 0x4d2e, 0x9b, 0x01, 0x3c, 0x44, 0x21, 0x6e, 0x10, 0x09)
    virtual nsresult Run() = 0;
};

// First in, first out. Nothing runs on another thread, so an empty queue stays
// empty: WaitForEvent answers NS_ERROR_NOT_AVAILABLE instead of blocking.
class nsIEventQueue : public nsISupports {
public:
    NS_WEBRT_IID(nsISupports, 0x5e0b010a, 0x7a1c, 0x4d2e, 0x9b, 0x01, 0x3c, 0x44, 0x21, 0x6e, 0x10, 0x0a)
    virtual nsresult PostEvent(nsIRunnable* event) = 0;
    virtual nsresult PendingEvents(PRBool* result) = 0;
    // Runs the events queued before the call; those they post wait for the next call.
    virtual nsresult ProcessPendingEvents() = 0;
    virtual nsresult WaitForEvent(nsIRunnable** event) = 0;
    virtual nsresult HandleEvent(nsIRunnable* event) = 0;
};

#define NS_CURRENT_THREAD nullptr

class nsIEventQueueService : public nsISupports {
public:
    NS_WEBRT_IID(nsISupports, 0x5e0b010b, 0x7a1c, 0x4d2e, 0x9b, 0x01, 0x3c, 0x44, 0x21, 0x6e, 0x10, 0x0b)
    virtual nsresult GetThreadEventQueue(void* thread, nsIEventQueue** result) = 0;
};

class nsIAppShell : public nsISupports {
public:
    NS_WEBRT_IID(nsISupports, 0x5e0b010c, 0x7a1c, 0x4d2e, 0x9b, 0x01, 0x3c, 0x44, 0x21, 0x6e, 0x10, 0x0c)
    virtual nsresult Create(int* argc, char** argv) = 0;
    virtual nsresult Spinup() = 0;
    virtual nsresult Spindown() = 0;
};
