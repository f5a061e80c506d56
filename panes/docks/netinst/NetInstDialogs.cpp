// The dialogs of network installations, loaded by layout name.
#include "panes/docks/netinst/NetInstDialogs.h"

#include "framework/app/AApp.h"
#include "framework/components/AComponent.h"
#include "panes/docks/netinst/AWorkNamePasswdDlg.h"
#include "panes/docks/netinst/SVIdentificationDialog.h"
#include "panes/docks/netinst/SVWorkNameSaveDialog.h"

namespace {

template <class T>
T* Load(const char* layout) {
    AApp* app = AApp::current();
    AComponent* root = app ? AComponent::loadLayout(app, layout, 0) : nullptr;
    T* typed = root ? static_cast<T*>(root->castTo(&T::classRecord)) : nullptr;
    if (root && !typed)
        DeleteComponent(root);
    return typed;
}

void Show(AWindow* window) {
    window->centerIn(nullptr, true);
    window->select();
}

}  // namespace

AWindow* OpenWorkNameDialog(Frame1& frame, int16_t mode, const AString& message, const AString& name) {
    SVWorkNameDialog* dialog = mode == 1 ? static_cast<SVWorkNameDialog*>(Load<SVWorkNameSaveDialog>("WorkNameSave"))
                                         : Load<SVWorkNameRestoreDialog>("WorkNameRestore");
    if (!dialog)
        return nullptr;
    dialog->setFrame(&frame);
    dialog->setMessage(message.c_str());
    dialog->setMode(mode);
    dialog->setWorkName(name);
    Show(dialog);
    return dialog;
}

AWindow* OpenIdentificationDialog(Frame1& frame, int16_t mode, const AString& message) {
    SVIdentificationDialog* dialog = Load<SVIdentificationDialog>("Identification");
    if (!dialog)
        return nullptr;
    dialog->setFrame(&frame);
    dialog->setMessage(message.c_str());
    dialog->setMode(mode);
    Show(dialog);
    return dialog;
}

AWindow* OpenWorkPasswordDialog(const AString& message, const AString& expected) {
    AWorkNamePasswdDlg* dialog = Load<AWorkNamePasswdDlg>("WorkNamePasswd");
    if (!dialog)
        return nullptr;
    dialog->setMessage(message.c_str());
    dialog->setPassword(expected);
    Show(dialog);
    return dialog;
}
