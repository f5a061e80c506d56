// Small conversions shared by the web embedding: runtime texts to and from the
// framework's strings, DOM events to the framework's input records, and a
// prompt's arguments to the prompt dialog's record.
//
// 8-bit texts are code page 1252 both ways: "œ", "’" and "€" survive, a
// character the code page lacks becomes '?'.
#pragma once

#include "web/embed/AMozillaPromptParams.h"

#include "base/object/AString.h"
#include "base/object/InputRecords.h"
#include "platform/webrt/nsStrings.h"

class nsIDOMMouseEvent;
class nsIDOMKeyEvent;

// A null text gives an empty string.
AString UnicharToAString(const PRUnichar* text);
nsString AStringToNsString(const AString& text);

// The client position and the value 0xFFFF; a field the event cannot give stays 0.
AMouseEvent ConvertDomMouseEvent(nsIDOMMouseEvent* event);
// Key and character codes (0 when the event cannot give them), modifier bits
// 0xFFFF (read on first use) and the fourth word 0xFFFF.
AKeyEvent ConvertDomKeyEvent(nsIDOMKeyEvent* event);

// Texts null allowed; the values point to texts (null allowed, pointing to null allowed);
// checkValue null means no check box.
AMozillaPromptParams BuildPromptParams(const PRUnichar* title, const PRUnichar* text, PRUnichar** firstValue,
                                       PRUnichar** secondValue, PRUnichar** thirdValue, const PRUnichar* checkText,
                                       PRBool* checkValue);
