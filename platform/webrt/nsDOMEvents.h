// Replaces the web runtime's DOM mouse and key event interfaces, which this
// program cannot ship: the fields the embedding reads of them.
#pragma once

#include "platform/webrt/nsCore.h"

class nsIDOMMouseEvent : public nsISupports {
public:
    NS_WEBRT_IID(nsISupports, 0x5e0b0601, 0x7a1c, 0x4d2e, 0x9b, 0x01, 0x3c, 0x44, 0x21, 0x6e, 0x60, 0x01)
    // Position in the content window's client area, in pixels.
    virtual nsresult GetClientX(PRInt32* result) = 0;
    virtual nsresult GetClientY(PRInt32* result) = 0;
};

class nsIDOMKeyEvent : public nsISupports {
public:
    NS_WEBRT_IID(nsISupports, 0x5e0b0602, 0x7a1c, 0x4d2e, 0x9b, 0x01, 0x3c, 0x44, 0x21, 0x6e, 0x60, 0x02)
    // The virtual-key code (0 for a character event) and the character (0 for a key event).
    virtual nsresult GetKeyCode(PRUint32* result) = 0;
    virtual nsresult GetCharCode(PRUint32* result) = 0;
};
