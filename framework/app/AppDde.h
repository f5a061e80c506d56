// The DDE callback of the application's service: connections are accepted,
// requests answer AApp::ddeRequest's data, pokes are framework messages
// (DDE_FACK when handled, else 0). Never throws.
#pragma once

#include <windows.h>
// After windows.h, which it needs.
#include <ddeml.h>

HDDEDATA CALLBACK AppDdeCallback(UINT type, UINT format, HCONV conversation, HSZ topic, HSZ item, HDDEDATA data,
                                 ULONG_PTR value1, ULONG_PTR value2);
