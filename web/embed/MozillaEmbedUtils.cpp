// Conversions shared by the web embedding.
#include "web/embed/MozillaEmbedUtils.h"

#include "platform/webrt/nsDOMEvents.h"

AString UnicharToAString(const PRUnichar* text) {
    nsCString narrow = NS_LossyConvertUTF16toNative(text);
    return AString(narrow.data(), static_cast<long>(narrow.size()));
}

nsString AStringToNsString(const AString& text) {
    return NS_ConvertNativeToUTF16(text.c_str(), static_cast<size_t>(text.length()));
}

AMouseEvent ConvertDomMouseEvent(nsIDOMMouseEvent* event) {
    PRInt32 x = 0, y = 0;
    if (event) {
        event->GetClientX(&x);
        event->GetClientY(&y);
    }
    return AMouseEvent(APoint(x, y), 0xFFFF);
}

AKeyEvent ConvertDomKeyEvent(nsIDOMKeyEvent* event) {
    PRUint32 key = 0, character = 0;
    if (event) {
        event->GetKeyCode(&key);
        event->GetCharCode(&character);
    }
    return AKeyEvent(static_cast<uint16_t>(key), static_cast<uint16_t>(character), 0xFFFF);
}

AMozillaPromptParams BuildPromptParams(const PRUnichar* title, const PRUnichar* text, PRUnichar** firstValue,
                                       PRUnichar** secondValue, PRUnichar** thirdValue, const PRUnichar* checkText,
                                       PRBool* checkValue) {
    AMozillaPromptParams params;
    if (title)
        params.title = UnicharToAString(title);
    if (text)
        params.text = UnicharToAString(text);
    if (checkValue) {
        params.checkBoxOn = *checkValue ? 1 : 0;
        params.showCheck = 1;
        if (checkText)
            params.checkLabel = UnicharToAString(checkText);
    }
    if (firstValue && *firstValue) {
        params.value = UnicharToAString(*firstValue);
        params.showValue = 1;
    }
    if (secondValue && *secondValue) {
        params.value = UnicharToAString(*secondValue);
        params.showValue = 1;
        params.showUserLabel = 1;
    }
    if (thirdValue && *thirdValue) {
        params.password = UnicharToAString(*thirdValue);
        params.showPassword = 1;
    }
    return params;
}
