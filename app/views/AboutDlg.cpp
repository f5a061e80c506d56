// The About window.
#include "app/views/AboutDlg.h"

#include <new>
#include <string>

#include "base/procedural/AError.h"
#include "base/procedural/AOutStream.h"
#include "framework/app/AApp.h"
#include "framework/clusters/AStaticItem.h"

SV_IMPLEMENT_CLASS(AboutDlg, 0, AWindow)

namespace {

AStaticText* TextItem(AComponent* window) {
    AComponent* item = window->receive(AboutDlg::kTextItem, 0);
    return item ? static_cast<AStaticText*>(item->castTo(&AStaticText::classRecord)) : nullptr;
}

}  // namespace

void AboutDlg::setText(const char* text) {
    AStaticText* item = static_cast<AStaticText*>(CheckAlloc(TextItem(this), "appclass", __LINE__));
    item->setText(text);
}

AString AboutDlg::getText() {
    AStaticText* item = TextItem(this);
    return item ? item->getText() : AString();
}

AboutDlg* AboutDlg::openAbout(bool network) {
    AApp* app = AApp::current();
    AComponent* root = app ? AComponent::loadLayout(app, "About", 0) : nullptr;
    void* typed = root ? root->castTo(&AboutDlg::classRecord) : nullptr;
    if (!typed) {
        if (root)
            DeleteComponent(root);
        CurrentErrorStream().writeString("#Fen\xEAtre \xC0 propos introuvable\n");
        return nullptr;
    }
    AboutDlg* about = static_cast<AboutDlg*>(typed);
    about->centerIn(nullptr, true);
    std::string text = about->getText().c_str();
    text += " 10.5";
    if (network)
        text += " (R\xE9seau)";
    about->setText(text.c_str());
    about->select();
    return about;
}
