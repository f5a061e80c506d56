// Replaces the web runtime's component registry and service lookup, which this
// program cannot ship. A factory registered under a contract that the runtime
// already answers replaces the runtime's own: the runtime's code always looks
// services up by contract, so the program's prompt service and content policy
// are the ones it calls.
#pragma once

#include "platform/webrt/nsCore.h"

// Contracts of the services the runtime looks up.
#define NS_PROMPTSERVICE_CONTRACTID "@webrt/prompt-service;1"
#define NS_CONTENTPOLICY_CONTRACTID "@webrt/content-policy;1"
#define NS_WINDOWWATCHER_CONTRACTID "@webrt/window-watcher;1"
#define NS_PREF_CONTRACTID "@webrt/preferences;1"
#define NS_PROFILE_CONTRACTID "@webrt/profile-manager;1"
#define NS_DIRECTORY_SERVICE_CONTRACTID "@webrt/directory-service;1"
#define NS_OBSERVERSERVICE_CONTRACTID "@webrt/observer-service;1"
#define NS_EVENTQUEUESERVICE_CONTRACTID "@webrt/event-queue-service;1"

// The app shell is made by class identifier, not looked up as a service.
extern const nsCID NS_APPSHELL_CID;

class nsIFactory : public nsISupports {
public:
    NS_WEBRT_IID(nsISupports, 0x5e0b0201, 0x7a1c, 0x4d2e, 0x9b, 0x01, 0x3c, 0x44, 0x21, 0x6e, 0x20, 0x01)
    // NS_ERROR_NO_AGGREGATION for a non-null outer object.
    virtual nsresult CreateInstance(nsISupports* outer, const nsIID& iid, void** result) = 0;
    virtual nsresult LockFactory(PRBool lock) = 0;
};

class nsIComponentRegistrar : public nsISupports {
public:
    NS_WEBRT_IID(nsISupports, 0x5e0b0202, 0x7a1c, 0x4d2e, 0x9b, 0x01, 0x3c, 0x44, 0x21, 0x6e, 0x20, 0x02)
    // A class identifier already registered gets the new factory; the contract
    // then names this class, and a service made under it before is dropped.
    virtual nsresult RegisterFactory(const nsCID& cid, const char* description, const char* contract,
                                     nsIFactory* factory) = 0;
    virtual nsresult UnregisterFactory(const nsCID& cid, nsIFactory* factory) = 0;
    virtual nsresult IsCIDRegistered(const nsCID& cid, PRBool* result) = 0;
    virtual nsresult IsContractIDRegistered(const char* contract, PRBool* result) = 0;
};

typedef nsresult (*NSConstructorProcPtr)(nsISupports* outer, const nsIID& iid, void** result);

// One component of a module's table.
struct nsModuleComponentInfo {
    const char* description;
    nsCID cid;
    const char* contractID;
    NSConstructorProcPtr constructor;
};

// A factory calling info's constructor (info must outlive it).
// NS_ERROR_INVALID_ARG for a null table entry or constructor.
nsresult NS_NewGenericFactory(nsIFactory** result, const nsModuleComponentInfo* info);

// NS_ERROR_NOT_INITIALIZED before NS_InitEmbedding and after NS_TermEmbedding.
nsresult NS_GetComponentRegistrar(nsIComponentRegistrar** result);
// The one instance of the contract's service, made on first request.
nsresult NS_GetServiceByContractID(const char* contract, const nsIID& iid, void** result);
// A new instance of the class.
nsresult NS_CreateInstance(const nsCID& cid, const nsIID& iid, void** result);

// The contract's service queried as T, null when missing; *rv gets the code.
template <class T>
nsPtr<T> GetServiceAs(const char* contract, nsresult* rv = nullptr) {
    nsPtr<T> out;
    nsresult r = NS_GetServiceByContractID(contract, T::GetIID(), out.receiveVoid());
    if (rv)
        *rv = r;
    return out;
}
