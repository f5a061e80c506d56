// The window layer's default application services.
#include "framework/windows/AWindowServices.h"

#include "base/procedural/SystemSeams.h"
#include "framework/commands/AItemOwner.h"
#include "framework/components/ACommand.h"
#include "framework/components/AComponent.h"
#include "framework/windows/AMdiFrame.h"
#include "framework/windows/AWindowShell.h"

namespace {

AWindowServices g_default;
AWindowServices* g_current = nullptr;

AItemOwner* AppTable(int index) {
    const AppComponentHooks* hooks = AComponent::hooks();
    if (!hooks || !hooks->actionTable)
        return nullptr;
    return dynamic_cast<AItemOwner*>(hooks->actionTable(index));
}

}  // namespace

AWindowServices::~AWindowServices() {
    if (g_current == this)
        g_current = nullptr;
}

AWindowServices& AWindowServices::current() {
    return g_current ? *g_current : g_default;
}

void AWindowServices::install(AWindowServices* services) {
    g_current = services;
}

int AWindowServices::messageBox(const char* text, const char* caption, unsigned flags) {
    return SeamMessageBox(GetFrameWindow(), text, caption, flags);
}

bool AWindowServices::frameMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    (void)window;
    (void)message;
    (void)wParam;
    (void)lParam;
    return false;
}

long AWindowServices::menuCommand(int16_t id) {
    AItemOwner* table = AppTable(0);
    return table ? table->dispatch(id, 1, nullptr) : 0;
}

long AWindowServices::toolBarCommand(int16_t id) {
    AItemOwner* table = AppTable(1);
    return table ? table->dispatch(id, 1, nullptr) : 0;
}

void AWindowServices::closeFrame() {
    if (AItemOwner* table = AppTable(0)) {
        table->fire(static_cast<int16_t>(SC_CLOSE), 0, nullptr);
        return;
    }
    const AppComponentHooks* hooks = AComponent::hooks();
    if (hooks && hooks->closeCommand)
        hooks->closeCommand();
}

AItemOwner* AWindowServices::menuBar() {
    return AppTable(0);
}

bool AWindowServices::modalShowing() {
    return ATopLevelShell::topModal() != nullptr;
}

void AWindowServices::activateFrame() {
    if (HWND frame = GetFrameWindow())
        SetForegroundWindow(frame);
}
