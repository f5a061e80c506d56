// Controls read from a layout: each class's record, and lists filled from
// their string list when attached.
#include <gtest/gtest.h>

#include "framework/clusters/ALocalCluster.h"
#include "framework/clusters/AStaticItem.h"
#include "framework/controls/ACheckButton.h"
#include "framework/controls/AEditBox.h"
#include "framework/controls/AListControl.h"
#include "framework/controls/APopupMenu.h"
#include "framework/graphics/AImage.h"
#include "tests/framework/controls/ControlsTestSupport.h"

namespace {

template <class T>
T* Item(AItemCluster* cluster, int16_t id) {
    AClusterItem* item = cluster->findItem(id, false);
    return item ? static_cast<T*>(item->castTo(&T::classRecord)) : nullptr;
}

std::string Text(HWND hwnd) {
    char text[128] = "";
    GetWindowTextA(hwnd, text, sizeof text);
    return text;
}

}  // namespace

TEST_F(ControlsTest, ALayoutMakesEachControlFromItsRecord) {
    if (!openWindow("layout"))
        GTEST_SKIP() << "no display";
    ASSERT_NE(nullptr, AComponent::loadLayout(window, "ControlsDialog", 0));
    auto* dialog = Item<ALocalCluster>(window, 300);
    ASSERT_NE(nullptr, dialog);
    // The native controls are made when the dialog is shown.
    window->showUpdate();
    dialog->showUpdate();

    auto* ok = Item<ATextButton>(dialog, 301);
    ASSERT_NE(nullptr, ok);
    ok->setOn(true);
    EXPECT_EQ("Valider", Text(ok->getHWnd()));
    EXPECT_NE(0, ok->state() & AClusterItem::kCurrent) << "the default flag";

    auto* images = Item<ACheckBox>(dialog, 302);
    ASSERT_NE(nullptr, images);
    EXPECT_EQ("Afficher les images", Text(images->getHWnd()));
    EXPECT_NE(0, images->state() & AClusterItem::kMarked);
    auto* radio = Item<ARadioButton>(dialog, 303);
    ASSERT_NE(nullptr, radio);
    EXPECT_NE(0, GetWindowLongA(radio->getHWnd(), GWL_STYLE) & WS_GROUP);
    EXPECT_EQ(0, radio->state() & AClusterItem::kMarked);

    auto* edit = Item<AEditBox>(dialog, 304);
    ASSERT_NE(nullptr, edit);
    EXPECT_EQ(
        "Encyclop\xe9"
        "die",
        Text(edit->getHWnd()));
    LONG editStyle = GetWindowLongA(edit->getHWnd(), GWL_STYLE);
    EXPECT_NE(0, editStyle & ES_PASSWORD) << "edit flag 0x04";
    EXPECT_NE(0, editStyle & WS_TABSTOP) << "focus mode 0x1000";
    EXPECT_EQ(ARect(6, 86, 204, 118), edit->getOuterFrame()) << "edit flag 0x08: room for the focus outline";

    auto* list = Item<AListBox>(dialog, 305);
    ASSERT_NE(nullptr, list);
    ASSERT_EQ(3, list->countItems());
    EXPECT_EQ("Histoire", std::string(list->selectedText().c_str())) << "the first item is selected";
    EXPECT_EQ("g", std::string(list->itemData(2).c_str()));
    EXPECT_NE(0, GetWindowLongA(list->getHWnd(), GWL_STYLE) & WS_HSCROLL);

    auto* combo = Item<AComboBox>(dialog, 306);
    ASSERT_NE(nullptr, combo);
    ASSERT_EQ(3, combo->countItems());
    EXPECT_EQ("Arts", std::string(combo->getItemText(0).c_str())) << "sorted";
    EXPECT_EQ(CBS_DROPDOWN, GetWindowLongA(combo->getHWnd(), GWL_STYLE) & 3) << "editable";

    auto* icon = Item<AIconButton>(dialog, 307);
    ASSERT_NE(nullptr, icon);
    ASSERT_NE(nullptr, icon->icon());
    EXPECT_EQ(0x000E, icon->itemFlags() & 0xFF);
    auto* popup = Item<APopupButton>(dialog, 308);
    ASSERT_NE(nullptr, popup);
    EXPECT_EQ(3, popup->countItems());
    EXPECT_EQ(ANativePopupMenu::kAtBottomLeft, popup->options());
    EXPECT_EQ("a", std::string(popup->itemData(1).c_str()));

    auto* linking = Item<AIconButton>(dialog, 309);
    auto* linked = Item<AStaticImage>(dialog, 310);
    ASSERT_NE(nullptr, linking);
    ASSERT_NE(nullptr, linked);
    EXPECT_TRUE(linking->drawsLinkedImages());
    ASSERT_NE(nullptr, linked->image());
    EXPECT_EQ(5, linked->image()->body()->spec().columns()) << "the button's frames";
    EXPECT_FALSE(linked->hasFlags(ADisplayComponent::kActive)) << "presses go to the button";
    closeWindow();
}
