// The print preview dialogs. APreviewDlg finds the component to print among
// its ancestors, drives its preview view (item 1002) and answers the
// navigation, print, printer set-up, print options and close commands;
// AStandardPreviewDlg adds a page-number field (1016), a zoom popup (1017)
// whose entries begin with their zoom (-1 whole page, -2 page width) and a
// zoom label (1018).
//
// Items are not owned (they are the window's children). A missing printed
// component or item is the allocation-check error ("fpreview" and a line).
#pragma once

#include <cstdint>

#include "framework/app/AWindow.h"

class AEditBox;
class APopupButton;
class APreviewView;

class APreviewDlg : public AWindow {
    SV_DECLARE_CLASS(APreviewDlg)
public:
    enum : int16_t {
        kViewItem = 1002,
        kPrintCommand = 1010,
        kSetUpCommand = 1011,
        kPreviousCommand = 1013,
        kNextCommand = 1014,
        kCloseItemCommand = 1015,
        kOptionsCommand = 1020,
    };

    APreviewDlg();
    ~APreviewDlg() override;

    // The preview dialog opened last and still open, or null.
    static APreviewDlg* current() { return current_; }

    // Record: AWindow's, FFFF.
    void readFrom(AMemoryStream& stream) override;
    void setUpItems() override;
    void detachItems() override;
    void bindActions() override;
    ACommand* doCommand(int16_t id, long argument) override;
    int16_t commandStatus(int16_t id, long argument) override;
    void linkChanged(AComponent* source, const AKindSet& kinds) override;

    virtual void selectZoomChoice(int16_t index) { (void)index; }
    virtual void goToPage(int16_t page, int16_t force);
    // Told the 1-based number of the page now shown.
    virtual void pageShown(int16_t number) { (void)number; }

    // Lays every page out and tells the printed component their number.
    using AWindow::countPages;
    void countPages();
    int16_t pageCount() const { return count_; }
    // Below 0: -1 the whole page, -2 the page width, fitted to the view.
    void setZoom(int16_t zoom);
    int16_t zoom() const;
    void setMargins(const APoint& margin);
    void setBackground(COLORREF color);
    APreviewView* view() const { return view_; }

protected:
    // The zoom that -1 and -2 stand for in the view as it is now; others unchanged.
    int16_t resolveZoom(int16_t zoom);
    ADisplayComponent* printed(long line);

private:
    APreviewView* view_ = nullptr;  // not owned
    int16_t count_ = 0;
    static APreviewDlg* current_;
};

class AStandardPreviewDlg : public APreviewDlg {
    SV_DECLARE_CLASS(AStandardPreviewDlg)
public:
    enum : int16_t { kPageField = 1016, kZoomPopup = 1017, kZoomLabel = 1018 };

    AStandardPreviewDlg() = default;

    // Record: APreviewDlg's, FFFF.
    void readFrom(AMemoryStream& stream) override;
    void setUpItems() override;
    void detachItems() override;
    void bindActions() override;
    ACommand* doCommand(int16_t id, long argument) override;
    int16_t commandStatus(int16_t id, long argument) override;
    void linkChanged(AComponent* source, const AKindSet& kinds) override;

    void selectZoomChoice(int16_t index) override;
    void goToPage(int16_t page, int16_t force) override { APreviewDlg::goToPage(page, force); }
    void pageShown(int16_t number) override;

private:
    AEditBox* field_ = nullptr;          // not owned
    APopupButton* zoomPopup_ = nullptr;  // not owned
};
