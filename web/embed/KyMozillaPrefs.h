// Reading and writing the web runtime's preferences for the application. Each
// write is saved at once to the current profile's preference file. They need
// the runtime started with a profile. Every function answers a runtime result
// code and writes no message.
#pragma once

#include "base/object/AString.h"
#include "platform/webrt/nsCore.h"

#include <cstdint>

// With the preferences service present *value is always written: 0 when the runtime gave none.
nsresult KyMozillaGetIntPref(const char* name, int32_t* value);
nsresult KyMozillaSetIntPref(const char* name, int32_t value);
// Any non-zero flag is written as true.
nsresult KyMozillaSetBoolPref(const char* name, int16_t flag);
// value is left as it was when the runtime gives no text.
nsresult KyMozillaGetCharPref(const char* name, AString& value);
nsresult KyMozillaSetCharPref(const char* name, const char* value);
