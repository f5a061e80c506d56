// A dialog with every kind of control, French labels and list items, kept
// as a picture (build/artifacts/controls-dialog.png).
#include <gtest/gtest.h>

#include "framework/clusters/AStaticItem.h"
#include "framework/controls/ACheckButton.h"
#include "framework/controls/AEditBox.h"
#include "framework/controls/AListControl.h"
#include "framework/controls/APopupMenu.h"
#include "tests/framework/controls/ControlsTestSupport.h"
#include "tests/framework/graphics/GraphicsTestSupport.h"

namespace {

template <class T>
T* On(T* item) {
    Shown(item)->setOn(true);
    return item;
}

void Pump() {
    MSG msg;
    for (int round = 0; round < 5; ++round) {
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        Sleep(20);
    }
}

}  // namespace

TEST_F(ControlsTest, ADialogShowsEveryKindOfControlWithItsFrenchTexts) {
    makeApp(AApp::kNativeStatics);
    if (!openWindow("Pr\xe9"
                    "f\xe9rences"))
        GTEST_SKIP() << "no display";
    On(Open<AStaticText>(window, 1, Frame(10, 8, 390, 26),
                         "Encyclop\xe9"
                         "die \x97 pr\xe9"
                         "f\xe9rences",
                         0x0002));
    On(Open<AGroupBox>(window, 2, Frame(10, 30, 195, 130), "Affichage"));
    auto* images = On(Open<ACheckBox>(window, 3, Frame(20, 50, 190, 70), true, "Afficher les images"));
    On(Open<ACheckBox>(window, 4, Frame(20, 75, 190, 95), false, "Souligner les liens"));
    On(Open<AGroupBox>(window, 5, Frame(205, 30, 390, 130), "Recherche"));
    auto* simple = On(Open<ARadioButton>(window, 6, Frame(215, 50, 385, 70), false, "Recherche simple"));
    On(Open<ARadioButton>(window, 7, Frame(215, 75, 385, 95), false,
                          "Recherche avanc\xe9"
                          "e"));
    window->setItemStateBit4(6, true);
    On(Open<AStaticText>(window, 8, Frame(10, 140, 80, 160), "Mot :", 0));
    auto* edit = On(Open<AEditBox>(window, 9, Frame(80, 136, 390, 162), AEditBox::kFocusOutline | AEditBox::kPlainFrame,
                                   "Encyclop\xe9"
                                   "die"));
    auto* list = On(Open<AListBox>(window, 10, Frame(10, 170, 195, 260), 0, 0));
    list->appendItemsFromText(
        "Arts#1\r\nHistoire#2\r\nSciences#3\r\nG\xe9ographie#4\r\n\xc9"
        "conomie#5\r\n");
    list->selectItem(1);
    auto* combo = On(Open<AComboBox>(window, 11, Frame(205, 170, 390, 195), 0, 0, ""));
    combo->appendItemsFromText(
        "Fran\xe7"
        "ais\r\nAnglais\r\nAllemand\r\n");
    combo->selectItem(0);
    On(Open<AIconButton>(window, 12, Frame(205, 205, 229, 229), 0x0E, "#7"));
    On(Open<APopupButton>(window, 13, Frame(235, 205, 259, 229), 0x0E, "#7", 0, ANativePopupMenu::kAtBottomLeft));
    On(Open<ATextButton>(window, 14, Frame(205, 235, 295, 260), true, "Valider"));
    On(Open<ATextButton>(window, 15, Frame(300, 235, 390, 260), false, "Annuler"));

    EXPECT_NE(BST_UNCHECKED, SendMessageA(images->getHWnd(), BM_GETCHECK, 0, 0));
    EXPECT_NE(BST_UNCHECKED, SendMessageA(simple->getHWnd(), BM_GETCHECK, 0, 0));
    EXPECT_EQ(
        "Encyclop\xe9"
        "die",
        std::string(edit->getText().c_str()));
    EXPECT_EQ(5, list->countItems());
    EXPECT_EQ("Histoire", std::string(list->selectedText().c_str()));
    EXPECT_EQ("2", std::string(list->itemData(1).c_str()));
    EXPECT_EQ(
        "Fran\xe7"
        "ais",
        std::string(combo->selectedText().c_str()));

    window->showUpdate();
    ShowWindow(window->hwnd(), SW_SHOW);
    EXPECT_EQ(1, edit->becomeTarget(1)) << "the edit box shows its focus outline";
    RedrawWindow(window->hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    Pump();
    Canvas canvas(420, 320);
    HDC screen = GetDC(nullptr);
    BitBlt(canvas.dc(), 0, 0, 420, 320, screen, 0, 0, SRCCOPY);
    ReleaseDC(nullptr, screen);
    canvas.savePng("controls-dialog");
    EXPECT_GT(canvas.inkIn(ARect(20, 180, 200, 260)), 0) << "the list box shows its items";
    EXPECT_EQ(RGB(255, 255, 255), canvas.pixel(150, 130)) << "a group box's inside has the window's background";
    closeWindow();
}
