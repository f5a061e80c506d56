// The application's preference functions over the runtime's preferences service.
#include "web/embed/KyMozillaPrefs.h"

#include "platform/webrt/nsComponents.h"
#include "platform/webrt/nsInterfaces.h"

namespace {

// The service, looked up on each call; on failure r holds the code to answer.
nsPtr<nsIPref> Prefs(nsresult& r) {
    nsPtr<nsIPref> prefs = GetServiceAs<nsIPref>(NS_PREF_CONTRACTID, &r);
    if (!prefs && NS_SUCCEEDED(r))
        r = NS_ERROR_FAILURE;
    return prefs;
}

nsresult Saved(nsIPref* prefs, nsresult set) {
    return NS_FAILED(set) ? set : prefs->SavePrefFile(nullptr);
}

}  // namespace

nsresult KyMozillaGetIntPref(const char* name, int32_t* value) {
    nsresult r;
    nsPtr<nsIPref> prefs = Prefs(r);
    if (!prefs)
        return r;
    PRInt32 v = 0;
    r = prefs->GetIntPref(name, &v);
    if (value)
        *value = NS_SUCCEEDED(r) ? v : 0;
    return r;
}

nsresult KyMozillaSetIntPref(const char* name, int32_t value) {
    nsresult r;
    nsPtr<nsIPref> prefs = Prefs(r);
    return prefs ? Saved(prefs.get(), prefs->SetIntPref(name, value)) : r;
}

nsresult KyMozillaSetBoolPref(const char* name, int16_t flag) {
    nsresult r;
    nsPtr<nsIPref> prefs = Prefs(r);
    return prefs ? Saved(prefs.get(), prefs->SetBoolPref(name, flag ? PR_TRUE : PR_FALSE)) : r;
}

nsresult KyMozillaGetCharPref(const char* name, AString& value) {
    nsresult r;
    nsPtr<nsIPref> prefs = Prefs(r);
    if (!prefs)
        return r;
    char* text = nullptr;
    r = prefs->GetCharPref(name, &text);
    if (NS_SUCCEEDED(r) && text)
        value = AString(text);
    nsMemory::Free(text);
    return r;
}

nsresult KyMozillaSetCharPref(const char* name, const char* value) {
    nsresult r;
    nsPtr<nsIPref> prefs = Prefs(r);
    return prefs ? Saved(prefs.get(), prefs->SetCharPref(name, value)) : r;
}
