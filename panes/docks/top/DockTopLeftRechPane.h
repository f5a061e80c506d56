// The quick search field at the left end of the top dock (layout
// "DOCKTOPLEFTRECH"): the reader's query goes to the application's full-text
// search, into the query history, and into a new navigation state whose
// search part holds the result, which the left dock then lists.
//
// Items are children of the pane (not owned); missing ones fail the
// allocation check at set-up. The history callback is owned from setUpItems
// to detachItems. A search that yields no search state leaves the field, the
// history and the main window unchanged.
#pragma once

#include <memory>

#include "app/find/RechPane.h"
#include "app/popup/APopupTreeCallBack.h"
#include "base/object/AString.h"
#include "framework/components/ACommand.h"

class AEditBox;
class DockTopLeftRechPane;
struct PopupTreeParams;

// Runs a pane's search from the command queue, on a later turn of the loop.
class AExecSearchCmd : public ACommand {
    SV_DECLARE_CLASS(AExecSearchCmd)
public:
    AExecSearchCmd() : AExecSearchCmd(nullptr, 0) {}
    AExecSearchCmd(RechPane* pane, int16_t argument);
    void execute() override;

private:
    RechPane* pane_;  // not owned
    int16_t argument_;
};

// The history popup's rows put their query back into the field and run it.
class APopupTreeCallBackSiSearch : public APopupTreeCallBack {
public:
    explicit APopupTreeCallBackSiSearch(DockTopLeftRechPane* pane);
    // name: the row's key, the query's position in the history.
    void itemChosen(const char* value, const char* name, int16_t line, PopupTree* top) override;

private:
    DockTopLeftRechPane* pane_;  // not owned
};

class DockTopLeftRechPane : public RechPane {
    SV_DECLARE_CLASS(DockTopLeftRechPane)
public:
    enum : int16_t { kField = 1230, kHistoryButton = 3151, kSearchButton = 3152, kMaxQuery = 128 };

    DockTopLeftRechPane();
    ~DockTopLeftRechPane() override;

    void readFrom(AMemoryStream& stream) override;
    void attachItems() override;
    void setUpItems() override;
    void detachItems() override;
    void bindActions() override;
    ACommand* doCommand(int16_t id, long argument) override;
    int16_t commandStatus(int16_t id, long argument) override;
    void linkChanged(AComponent* source, const AKindSet& kinds) override;
    void updatePane() override;
    int16_t isPaneWanted() override;
    void goToState(AppState* state) override;

    // RechPane's hooks.
    void runSearch(int16_t argument) override;
    void showSearchState(ASearchState* search) override;
    void fillSearchState(ASearchState* search, long value) override;
    AString getQueryText() override;

    // Puts text into the field and runs it (the history popup's choice).
    void setSearchText(const char* text);
    void showQueryHistory();
    static void makeHistoryPopupParams(PopupTreeParams& params);

    const AString& effectiveQuery() const { return query_; }
    AEditBox* field() const { return field_; }

private:
    AEditBox* field_ = nullptr;  // not owned
    AString query_;
    APopupTreeCallBackSiSearch* callBack_ = nullptr;  // one reference held from setUpItems to detachItems
};
