// The advanced search pane of the left dock: a query field with operator
// buttons, a source and a theme chosen in popups, the inflection switch and
// its own disc result list (item 0x7ee) below the form. A search fills
// channel 2 of the data manager, keeps the hits as a scored list in a new
// search state and shows a new navigation state whose list is this pane's.
// Wanted in screen mode 1, left mode 2.
//
// Search-state texts 5 to 11 (field, query, source label and number, theme
// label and value, inflection); left part text key 1112 the result key.
//
// Owns its two popup callbacks and the choice texts; the items, the list and
// the frame are the component tree's. Missing items fail the allocation
// check ("DockLeftRechAVPane"); a missing channel 2 is an assertion.
#pragma once

#include <cstdint>

#include "app/lists/ALayoutPane.h"
#include "app/popup/APopupTreeCallBack.h"
#include "base/object/ALongDic.h"
#include "framework/components/ACommand.h"

class AEditBox;
class AStaticText;
class ASearchRequest;
class ASVLoSearchState;
class DockLeftRechAVPane;
class LR_DVDAV;

class APopupTreeCallBackRechAVSource : public APopupTreeCallBack {
public:
    explicit APopupTreeCallBackRechAVSource(DockLeftRechAVPane* pane);
    void itemChosen(const char* value, const char* name, int16_t line, PopupTree* top) override;

private:
    DockLeftRechAVPane* pane_;  // not owned
};

class APopupTreeCallBackRechAVTheme : public APopupTreeCallBack {
public:
    explicit APopupTreeCallBackRechAVTheme(DockLeftRechAVPane* pane);
    void itemChosen(const char* value, const char* name, int16_t line, PopupTree* top) override;

private:
    DockLeftRechAVPane* pane_;  // not owned
};

class AAVExecSearchCmd : public ACommand {
    SV_DECLARE_CLASS(AAVExecSearchCmd)
public:
    AAVExecSearchCmd() = default;
    AAVExecSearchCmd(int16_t action, DockLeftRechAVPane* pane);
    long doIt() override;

private:
    int16_t action_ = 1;
    DockLeftRechAVPane* pane_ = nullptr;  // not owned
};

class DockLeftRechAVPane : public ALayoutPane {
    SV_DECLARE_CLASS(DockLeftRechAVPane)
public:
    enum : int16_t {
        kField = 0x7e4, kSources = 0x7e5, kThemes = 0x7e6, kSearch = 0x7e7, kList = 0x7ee, kSourceLabel = 0x7ef,
        kThemeLabel = 0x7f0, kEt = 0x7f9, kOu = 0x7fa, kSauf = 0x7fb, kAny = 0x7fc, kStar = 0x7fd, kQuotes = 0x7fe,
        kBrackets = 0x7ff, kFlexion = 0x800, kNear = 0x801, kGuide = 0x4d2,
    };
    enum : int16_t { kTextKey = 1112, kChannel = 2 };

    DockLeftRechAVPane();
    ~DockLeftRechAVPane() override;
    void readFrom(AMemoryStream& stream) override;
    void attachItems() override;
    void setUpItems() override;
    void detachItems() override;
    void bindActions() override;
    ACommand* doCommand(int16_t id, long argument) override;
    int16_t commandStatus(int16_t id, long argument) override;
    void linkChanged(AComponent* source, const AKindSet& kinds) override;
    int16_t isPaneWanted() override;
    void saveState(ABaseState* part) override;
    void arrangeClients() override;
    void updatePane() override;

    void execSearch(int16_t action);
    // The channel's request after its run, or null without one.
    ASearchRequest* buildAndRunQuery(int16_t channel, int16_t option, int16_t flexionOn, const char* text,
                                     const char* fieldOption);
    void runSearch(const char* label, const char* number);
    void runSearchIn(const char* label, const char* value);
    void saveSearchTexts(ASVLoSearchState* search);
    void insertOperator(int16_t id);
    void openChoicePopup(int16_t id, AComponent* button);
    void loadChoiceTexts();
    void freeChoiceTexts();
    void resetResultList();
    void showResultList() { arrangeClients(); }

    LR_DVDAV* getResultList() const { return resultList; }
    AEditBox* getQueryField() const { return queryField; }
    int16_t getFlexion() const { return flexion; }
    AString getSourceLabel() const { return sourceLabel; }
    AString getSourceNumber() const { return sourceNumber; }
    AString getThemeLabel() const { return themeLabel; }
    AString getThemeValue() const { return themeValue; }
    AString getChoiceText(int16_t id) const { return choiceTexts.getString(id); }

private:
    void showLabels();
    void endProgress();
    // A new AAVExecSearchCmd with action 1, performed and deleted.
    void runSearchCommand();

    AEditBox* queryField = nullptr;  // not owned
    AString query;
    AStaticText* sourceLabelItem = nullptr;  // not owned
    AString sourceLabel;
    AString sourceNumber;
    AStaticText* themeLabelItem = nullptr;  // not owned
    AString themeLabel;
    AString themeValue;
    APopupTreeCallBackRechAVSource* sourcesCallBack = nullptr;  // one reference held
    APopupTreeCallBackRechAVTheme* themesCallBack = nullptr;    // one reference held
    AStringLongDic choiceTexts;
    LR_DVDAV* resultList = nullptr;  // not owned
    int16_t flexion = 0;
};
