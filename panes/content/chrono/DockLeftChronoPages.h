// The two pages of the chronology's left dock: a list (themes or keywords)
// above the event list. Choosing a line of the list keeps its key as the
// page's text and reloads the event list for it; the page's text and shown
// mask go into the left part of the navigation state.
//
// - DockLeftChronoTheme: theme list 2632 over event list 2635; mask key
//   1080, text key 1081; shown while entry 3 of the left part is 1.
// - DockLeftChronoMotsCle: keyword list 2642 over event list 2645; mask key
//   1070, text key 1071; shown while entry 3 is 2; restores its saved mask.
//
// The list panes are items of the layout, not owned; a missing one fails the
// allocation check ("DockLeftChronoPage").
#pragma once

#include <cstdint>

#include "app/lists/ALayoutPane.h"

class ARenderer;

class ListPane;
class LR_Chrono_Evemnt;

class DockLeftChronoPage : public ALayoutPane {
    SV_DECLARE_CLASS(DockLeftChronoPage)
public:
    // The list's preferred height, and the margin and gap of the two clients.
    static const int32_t kListHeight = 250;

    void readFrom(AMemoryStream& stream) override;
    void setUpItems() override;
    void detachItems() override;
    // The list keeping its height, the event list taking the rest.
    void arrangeClients() override;
    void updatePane() override;
    // Outside the chronology screen: 0.
    int16_t isPaneWanted() override;
    // The event list forgets its selection and loads the page's key.
    void refreshEventList();

    ListPane* list() const { return list_; }
    LR_Chrono_Evemnt* events() const { return events_; }

protected:
    // The page's entry 3 value, its list and event list items (none in the base).
    virtual long pageEntry() const { return 0; }
    virtual int16_t listId() const { return 0; }
    virtual int16_t eventsId() const { return 0; }
    virtual bool keepsMask() const { return false; }

private:
    ListPane* list_ = nullptr;            // not owned
    LR_Chrono_Evemnt* events_ = nullptr;  // not owned
};

class DockLeftChronoTheme : public DockLeftChronoPage {
    SV_DECLARE_CLASS(DockLeftChronoTheme)
public:
    DockLeftChronoTheme();

protected:
    long pageEntry() const override { return 1; }
    int16_t listId() const override { return 2632; }
    int16_t eventsId() const override { return 2635; }
};

class DockLeftChronoMotsCle : public DockLeftChronoPage {
    SV_DECLARE_CLASS(DockLeftChronoMotsCle)
public:
    DockLeftChronoMotsCle();

protected:
    long pageEntry() const override { return 2; }
    int16_t listId() const override { return 2642; }
    int16_t eventsId() const override { return 2645; }
    bool keepsMask() const override { return true; }
};

// The page enclosing a component, or null.
DockLeftChronoPage* EnclosingChronoPage(AComponent* component);
// A click on a page list's link (hit kind 3): the link's name becomes the
// page's key text, and a changed key leaves the history and refreshes the
// page's events. With skipEmpty an empty name does nothing.
void ShowChronoLink(SVPane* list, ARenderer* renderer, bool skipEmpty);
