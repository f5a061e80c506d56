// Default preferences of the runtime layer; a profile's "prefs.js" overrides them.
pref("network.proxy.type", 0);
pref("network.proxy.http", "");
pref("network.proxy.http_port", 0);
pref("privacy.popups.firstTime", true);
