// Small services the application object, the main loop and application code
// share: message boxes and message texts, the key and mouse state, the clock
// and a short wait, the screen size and Windows profile (".ini") strings.
//
// Profile calls answer codes: 0, 2013 when nothing was read, -1 when a write
// failed or did not read back. Everything works without an application object.
#pragma once

#include <cstdint>

#include "base/object/AString.h"

class AFileSpec;
class AResourceRef;
struct APoint;

// MessageBoxA with no owner, an empty caption and an exclamation icon.
int ErrorBox(const char* text);
// The window (HWND) that owns the framework's boxes: the application's frame, or null.
void* MessageBoxOwnerWindow();
// Item index of string list number (type 258) into result; opened and closed each call.
AString& GetListString(AString& result, uint16_t list, short index);
AString& GetListStringByRef(AString& result, const AResourceRef& ref, short index);

bool IsMouseButtonDown();
// With a second key (0: none), true only when both are down.
bool IsKeyDown(uint16_t key, uint16_t second);
uint32_t TickCount();
// Waits ms milliseconds, or until the left mouse button is down (its pending
// mouse messages are dropped). Spins: no message is dispatched meanwhile.
void Delay(uint32_t ms);
void ScreenSize(APoint& result);
bool CanRunApplication();

// buffer takes the value, or the default (null: empty) when the file or key is missing.
long ReadProfileString(const char* section, const char* key, const char* fallback, char* buffer, long size,
                       const AFileSpec& file);
// size: the value's length + 1. Re-reads a bounded number of times before failing.
long WriteProfileStringVerified(const char* section, const char* key, const char* value, long size,
                                const AFileSpec& file);
// The file in the Windows folder (flag set) or the current folder; "" when missing.
AString ReadProfileStringIn(int16_t windowsFolder, const char* section, const char* key, const char* fileName);
long WriteProfileStringIn(int16_t windowsFolder, const char* section, const char* key, const char* value,
                          const char* fileName);
AString ReadWindowsProfileString(const char* section, const char* key, const char* fileName);
long WriteWindowsProfileString(const char* section, const char* key, const char* value, const char* fileName);
