// Replaces the web runtime's string classes and conversions: UTF-16 texts and
// 8-bit texts in the Windows code page 1252, which is what the program keeps.
//
// Narrowing is lossy: a character that code page 1252 cannot hold becomes '?'.
// Widening maps each byte through code page 1252, so "€", "œ" and "’" survive
// a round trip and Latin-1 text is unchanged.
#pragma once

#include "platform/webrt/nsCore.h"

#include <string>

typedef std::wstring nsString;
typedef std::string nsCString;
typedef nsString nsAString;
typedef nsCString nsACString;

// The code page 1252 byte of a UTF-16 unit, '?' when it has none.
char NS_UnicharTo1252(PRUnichar c);
PRUnichar NS_1252ToUnichar(unsigned char c);

// A null text gives an empty string.
nsCString NS_LossyConvertUTF16toNative(const PRUnichar* text);
nsCString NS_LossyConvertUTF16toNative(const nsString& text);
nsString NS_ConvertNativeToUTF16(const char* text);
nsString NS_ConvertNativeToUTF16(const char* text, size_t length);

// Copies allocated with nsMemory::Alloc; the receiver frees them with nsMemory::Free.
// Null when memory is short.
PRUnichar* ToNewUnicode(const nsString& text);
char* ToNewCString(const nsCString& text);
// Length of a terminated UTF-16 text (0 for null).
size_t NS_UnicharLength(const PRUnichar* text);
