// The product's pane base: every pane of the reader's screens derives from it.
// It links a pane to the main window that holds it, decides from the frame's
// current navigation state which panes below it are shown (the refresh walk),
// and gives the frame, the tool bar and the panes one set of operations to
// call on any pane (saving state, search hits, printing, the state's parts).
//
// The frame is not owned; it is found in attachItems and never changes. A
// pane outside any Frame1 fails the allocation check ("SVPane"); getFrame
// before attachItems is an assertion. ASVPaneList owns none of its panes.
#pragma once

#include <cstdint>

#include <vector>

#include "app/pane/APane.h"
#include "base/object/AString.h"

class ABaseState;
class ACommand;
class ADocState;
class ALeftState;
class AppState;
class ARendererView;
class ARightState;
class Frame1;

class SVPane : public APane {
    SV_DECLARE_CLASS(SVPane)
public:
    SVPane() = default;
    SVPane(AComponent* parent, int16_t id, const ASizeSpec& rule)
        : APane(parent, id, rule, 0, 1, nullptr) {}

    // Record: APane's, FFFF.
    void readFrom(AMemoryStream& stream) override;
    // Keeps the enclosing Frame1, before the pane's children exist.
    void attachItems() override;
    void setUpItems() override;
    void detachItems() override;
    void bindActions() override;
    ACommand* doCommand(int16_t id, long argument) override;
    int16_t commandStatus(int16_t id, long argument) override;

    // The refresh walk: the wanted panes nearest below are shown and
    // updated, the others hidden without descending into them.
    void updatePane() override;
    virtual int16_t isPaneWanted() { return 1; }
    // The pane and its nearest enclosing static item (the frame item that holds it).
    virtual void setPaneVisible(int16_t visible);
    virtual void setChildrenVisible(int16_t visible);
    virtual void showWantedChildren();
    // The wanted panes below save themselves and their own trees into part.
    virtual void saveTreeState(ABaseState* part);
    virtual void saveState(ABaseState* part) { (void)part; }
    virtual void resetState(long argument) { (void)argument; }
    // The label (setItemText) or tooltip (setItemHelp) of item id: entry index
    // of string list `list`. A missing item or one that is no cluster item fails.
    virtual void setItemText(int16_t id, int16_t list, int16_t index, int16_t flag);
    virtual void setItemHelp(int16_t id, int16_t list, int16_t index, int16_t flag);
    virtual int16_t hasSearchHits() { return 0; }
    virtual int16_t hasPreviousHit() { return 0; }
    virtual int16_t hasNextHit() { return 0; }
    virtual ACommand* goToPreviousHit();
    virtual ACommand* goToNextHit();
    virtual int16_t canFindText() { return 0; }
    virtual ACommand* findText(const char* text);
    // Hands the state (owned from now by the frame) to the frame with refresh 1.
    virtual void goToState(AppState* state);
    virtual void clearSearchState() {}
    virtual void updatePrintMenus();
    // The centre switcher fits its left dock to the window's new size; the
    // other panes have no dock to fit.
    virtual void syncLeftDockSize() {}
    virtual ACommand* printDocument(SVPane* pane, int16_t kind);
    // The view the main window prints and exports for this pane; null: its first renderer view.
    virtual ARendererView* printedView() { return nullptr; }
    // The edit-command query of the tools menu's export entries: a pane answers
    // for the view it exports, which holds the flag (its own flag by default).
    virtual bool answersEditCommands() { return takesEditCommands(); }
    // The table of contents printed or exported before the pane's text, one heading a line; empty: none.
    virtual AString printedContents() { return AString(); }
    virtual AppState* currentState();
    virtual ALeftState* leftState();
    virtual ADocState* docState();
    virtual ARightState* rightState();
    // A change notice of kind 0 on the pane, then on each pane nearest below.
    virtual void postTreeChange();
    void notifyChangeAll() { postTreeChange(); }

    Frame1* getFrame() const;

protected:
    // Item id is the pane's own view or field: bound to the pane and always
    // enabled, its command runs ownItemCommand and changes nothing else.
    // Called from the pane's constructor.
    void setOwnItem(int16_t id) { ownItem_ = id; }
    virtual void ownItemCommand() {}

private:
    AClusterItem* labelledItem(int16_t id, long line);

    Frame1* frame_ = nullptr;  // not owned
    int16_t ownItem_ = 0;      // 0: none
};

// The panes nearest below a component, in depth-first child order: an SVPane
// is listed and not searched further; any other child is searched in turn.
class ASVPaneList {
public:
    // A null component is an assertion.
    explicit ASVPaneList(AComponent* component);
    const std::vector<SVPane*>& panes() const { return panes_; }
    std::vector<SVPane*>::const_iterator begin() const { return panes_.begin(); }
    std::vector<SVPane*>::const_iterator end() const { return panes_.end(); }

private:
    std::vector<SVPane*> panes_;  // not owned
};
