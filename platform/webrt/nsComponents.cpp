// The runtime layer's component registry, generic factories and service lookup.
#include "platform/webrt/nsComponents.h"

#include "platform/webrt/nsRuntime.h"

#include <string>
#include <utility>
#include <vector>

// Our own identifier for the app shell class.
const nsCID NS_APPSHELL_CID = {0x5e0b02a0, 0x7a1c, 0x4d2e, {0x9b, 0x01, 0x3c, 0x44, 0x21, 0x6e, 0x20, 0xa0}};

namespace {

class GenericFactory : public nsSupportsImpl<nsIFactory> {
public:
    explicit GenericFactory(const nsModuleComponentInfo* info) : info_(info) {}
    nsresult CreateInstance(nsISupports* outer, const nsIID& iid, void** result) override {
        if (!result)
            return NS_ERROR_NULL_POINTER;
        *result = nullptr;
        return info_->constructor(outer, iid, result);
    }
    nsresult LockFactory(PRBool) override { return NS_OK; }

private:
    const nsModuleComponentInfo* info_;  // not owned
};

// A built-in service's factory: calls its maker and queries the result.
class BuiltinFactory : public nsSupportsImpl<nsIFactory> {
public:
    explicit BuiltinFactory(nsresult (*maker)(nsISupports**)) : maker_(maker) {}
    nsresult CreateInstance(nsISupports* outer, const nsIID& iid, void** result) override {
        if (!result)
            return NS_ERROR_NULL_POINTER;
        *result = nullptr;
        if (outer)
            return NS_ERROR_NO_AGGREGATION;
        nsISupports* object = nullptr;
        nsresult r = maker_(&object);
        if (NS_FAILED(r))
            return r;
        r = object->QueryInterface(iid, result);
        object->Release();
        return r;
    }
    nsresult LockFactory(PRBool) override { return NS_OK; }

private:
    nsresult (*maker_)(nsISupports**);
};

struct Entry {
    nsCID cid;
    std::string description;
    nsPtr<nsIFactory> factory;
};

struct Contract {
    std::string name;
    nsCID cid;
    nsPtr<nsISupports> service;  // made on first request
};

class Registry : public nsSupportsImpl<nsIComponentRegistrar> {
public:
    nsresult RegisterFactory(const nsCID& cid, const char* description, const char* contract,
                             nsIFactory* factory) override {
        if (!factory)
            return NS_ERROR_NULL_POINTER;
        Entry* e = find(cid);
        if (e) {
            e->factory = factory;
            for (Contract& c : contracts_) {
                if (c.cid.Equals(cid))
                    c.service = nullptr;
            }
        } else {
            entries_.push_back(Entry{cid, description ? description : "", factory});
        }
        if (contract) {
            Contract* c = findContract(contract);
            if (!c) {
                contracts_.push_back(Contract{contract, cid, nullptr});
            } else {
                c->cid = cid;
                c->service = nullptr;
            }
        }
        return NS_OK;
    }
    nsresult UnregisterFactory(const nsCID& cid, nsIFactory* factory) override {
        for (size_t i = 0; i < entries_.size(); ++i) {
            if (entries_[i].cid.Equals(cid) && (!factory || entries_[i].factory.get() == factory)) {
                entries_.erase(entries_.begin() + static_cast<long>(i));
                for (Contract& c : contracts_) {
                    if (c.cid.Equals(cid))
                        c.service = nullptr;
                }
                return NS_OK;
            }
        }
        return NS_ERROR_FACTORY_NOT_REGISTERED;
    }
    nsresult IsCIDRegistered(const nsCID& cid, PRBool* result) override {
        if (!result)
            return NS_ERROR_NULL_POINTER;
        *result = find(cid) ? PR_TRUE : PR_FALSE;
        return NS_OK;
    }
    nsresult IsContractIDRegistered(const char* contract, PRBool* result) override {
        if (!result || !contract)
            return NS_ERROR_NULL_POINTER;
        Contract* c = findContract(contract);
        *result = c && find(c->cid) ? PR_TRUE : PR_FALSE;
        return NS_OK;
    }

    nsresult createInstance(const nsCID& cid, const nsIID& iid, void** result) {
        Entry* e = find(cid);
        if (!e)
            return NS_ERROR_FACTORY_NOT_REGISTERED;
        nsPtr<nsIFactory> factory = e->factory;  // the factory may unregister itself
        return factory->CreateInstance(nullptr, iid, result);
    }
    nsresult getService(const char* contract, const nsIID& iid, void** result) {
        Contract* c = findContract(contract);
        if (!c)
            return NS_ERROR_FACTORY_NOT_REGISTERED;
        if (!c->service) {
            nsPtr<nsISupports> made;
            nsresult r = createInstance(c->cid, nsISupports::GetIID(), made.receiveVoid());
            if (NS_FAILED(r))
                return r;
            // The maker may have registered again under this contract.
            c = findContract(contract);
            if (!c)
                return NS_ERROR_FACTORY_NOT_REGISTERED;
            c->service = made;
        }
        return c->service->QueryInterface(iid, result);
    }
    // Services go first: they may look others up while they end.
    void clear() {
        std::vector<nsPtr<nsISupports>> services;
        for (Contract& c : contracts_)
            services.push_back(std::move(c.service));
        services.clear();
        contracts_.clear();
        entries_.clear();
    }

private:
    Entry* find(const nsCID& cid) {
        for (Entry& e : entries_) {
            if (e.cid.Equals(cid))
                return &e;
        }
        return nullptr;
    }
    Contract* findContract(const char* name) {
        for (Contract& c : contracts_) {
            if (c.name == name)
                return &c;
        }
        return nullptr;
    }

    std::vector<Entry> entries_;
    std::vector<Contract> contracts_;
};

Registry* g_registry = nullptr;  // one reference while the runtime runs

}  // namespace

nsresult NS_NewGenericFactory(nsIFactory** result, const nsModuleComponentInfo* info) {
    if (!result)
        return NS_ERROR_NULL_POINTER;
    *result = nullptr;
    if (!info || !info->constructor)
        return NS_ERROR_INVALID_ARG;
    *result = new GenericFactory(info);
    (*result)->AddRef();
    return NS_OK;
}

nsresult NS_GetComponentRegistrar(nsIComponentRegistrar** result) {
    if (!result)
        return NS_ERROR_NULL_POINTER;
    *result = g_registry;
    if (!g_registry)
        return NS_ERROR_NOT_INITIALIZED;
    g_registry->AddRef();
    return NS_OK;
}

nsresult NS_GetServiceByContractID(const char* contract, const nsIID& iid, void** result) {
    if (!result || !contract)
        return NS_ERROR_NULL_POINTER;
    *result = nullptr;
    if (!g_registry)
        return NS_ERROR_NOT_INITIALIZED;
    nsPtr<Registry> keep(g_registry);
    return g_registry->getService(contract, iid, result);
}

nsresult NS_CreateInstance(const nsCID& cid, const nsIID& iid, void** result) {
    if (!result)
        return NS_ERROR_NULL_POINTER;
    *result = nullptr;
    if (!g_registry)
        return NS_ERROR_NOT_INITIALIZED;
    nsPtr<Registry> keep(g_registry);
    return g_registry->createInstance(cid, iid, result);
}

namespace webrt {

void StartComponents() {
    if (g_registry)
        return;
    g_registry = new Registry;
    g_registry->AddRef();
}

void StopComponents() {
    if (!g_registry)
        return;
    Registry* r = g_registry;
    r->clear();
    g_registry = nullptr;
    r->Release();
}

bool ComponentsRunning() {
    return g_registry != nullptr;
}

void RegisterBuiltin(const nsCID& cid, const char* contract, nsresult (*maker)(nsISupports** result)) {
    nsPtr<nsIFactory> factory(new BuiltinFactory(maker));
    g_registry->RegisterFactory(cid, contract, contract, factory.get());
}

}  // namespace webrt
