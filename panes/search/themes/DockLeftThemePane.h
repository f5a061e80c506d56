// The themes pane of the left dock: the theme tree above the chosen theme's
// article list, and the chosen theme's key text that the two share
// ("a:m", see LR_ThemeDVD; set with setPaneText, which answers 1 only
// when the key changed). Shown in screen mode 1 with the left part in mode 4.
//
// Left part keys: 1100 the shown mask, 1101 the key text. Nothing is owned
// here (the component tree owns the clients). Missing enclosing panes or
// items fail the allocation check ("DockLeftThemePane").
#pragma once

#include "app/lists/ALayoutPane.h"

class LR_ThemeDVD;
class RechThemePrec;

class DockLeftThemePane : public ALayoutPane {
    SV_DECLARE_CLASS(DockLeftThemePane)
public:
    enum : int16_t { kTreeId = 2140, kListId = 2120, kPathCommand = 2410, kGuideCommand = 1234 };
    enum : int16_t { kMaskKey = 1100, kKeyKey = 1101 };

    DockLeftThemePane();
    void readFrom(AMemoryStream& stream) override;
    void attachItems() override;
    void setUpItems() override;
    void detachItems() override;
    void bindActions() override;
    int16_t commandStatus(int16_t id, long argument) override;
    ACommand* doCommand(int16_t id, long argument) override;
    int16_t isPaneWanted() override;
    void updatePane() override;
    void arrangeClients();
    // Shows the article list, resets its selection and refreshes it.
    void showResultList();

    RechThemePrec* themeTree = nullptr;  // item 2140, not owned
    LR_ThemeDVD* themeList = nullptr;    // item 2120, not owned
};
