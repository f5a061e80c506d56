// The edit commands Copy, Cut, Clear and Paste of every component, over the clipboard.
#include <windows.h>

#include "base/object/AGlobalMemory.h"
#include "framework/components/AClipboard.h"
#include "framework/components/ACommand.h"
#include "framework/components/AComponent.h"

namespace {

void* ClipboardWindow() {
    const AppComponentHooks* h = AComponent::hooks();
    return h && h->clipboardWindow ? h->clipboardWindow() : nullptr;
}

}  // namespace

ACommand* AComponent::pasteData(uint32_t format, void* handle) {
    (void)format;
    (void)handle;
    return noChangeCommand();
}

ACommand* AComponent::clear() {
    return noChangeCommand();
}

void* AComponent::convertData(uint32_t format, void* handle) {
    const AppComponentHooks* h = hooks();
    return h && h->convertClipboardData ? h->convertClipboardData(this, format, handle) : handle;
}

std::string AComponent::description() {
    return getParent() ? getParent()->description() : std::string();
}

std::string AComponent::exportHeader() {
    return getParent() ? getParent()->exportHeader() : std::string();
}

uint32_t AComponent::nextPasteFormat(uint32_t after) {
    AFormatList list;
    pasteFormats(list);
    size_t i = 0;
    if (after != 0) {
        while (i < list.size() && list[i] != after)
            ++i;
        if (i < list.size())
            ++i;
    }
    for (; i < list.size(); ++i) {
        if (ClipboardHas(list[i]) && canPasteFormat(list[i]))
            return list[i];
    }
    return 0;
}

ACommand* AComponent::copy() {
    AFormatList list;
    copyFormats(list);
    {
        AClipboardGuard guard(ClipboardWindow());
        if (guard.opened()) {
            EmptyClipboard();
            for (uint32_t format : list) {
                uint32_t f = format;
                if (void* h = renderFormat(f))
                    PutClipboardData(f, h);
            }
        }
    }
    const AppComponentHooks* h = hooks();
    if (h && h->clipboardChanged)
        h->clipboardChanged();
    return noChangeCommand();
}

void* AComponent::renderFormat(uint32_t& format) {
    if (format == 0) {
        AFormatList list;
        copyFormats(list);
        if (list.empty())
            return nullptr;
        format = list.front();
    }
    void* h = exportData(format);
    if (!h)
        return nullptr;
    return convertData(format, h);
}

ACommand* AComponent::paste() {
    ACommand* result = noChangeCommand();
    uint32_t f = 0;
    while ((f = nextPasteFormat(f)) != 0) {
        AGlobalHandle data(ClipboardData(ClipboardWindow(), f));
        if (!data.handle())
            continue;
        return pasteData(f, data.handle());
    }
    return result;
}

ACommand* AComponent::cut() {
    perform(copy());
    return clearCommand();
}
