// The home screen's top dock: the date of the last connection to the
// online service (3181) and four buttons: online home (3182), help (3183),
// assistance (3184), preferences (3185). It registers itself with the frame
// so that the application can show a new date after a connection.
//
// Items are not owned; a missing one is a layout fault ("DockTopAccueilPane").
#pragma once

#include "app/frame/SVPane.h"

class AStaticText;

class DockTopAccueilPane : public SVPane {
    SV_DECLARE_CLASS(DockTopAccueilPane)
public:
    enum : int16_t { kDate = 3181, kOnline = 3182, kHelp = 3183, kAssist = 3184, kPreferences = 3185 };
    // Shown when no connection was ever made.
    static const char* const kNever;

    DockTopAccueilPane() = default;
    void attachItems() override;
    void setUpItems() override;
    void detachItems() override;
    void bindActions() override;
    ACommand* doCommand(int16_t id, long argument) override;
    int16_t commandStatus(int16_t id, long argument) override;
    int16_t isPaneWanted() override;

    void showLastConnection();
    AStaticText* dateText() const { return date_; }

private:
    AStaticText* date_ = nullptr;  // not owned
};
