// The operations of the product's pane base that the layout and list panes
// call: saving into a navigation part state, the selection reset, and the
// frame's current navigation state. The product's pane base gives them the
// same names and signatures; until the list panes derive from it, the state
// comes through a hook (null: no state).
//
// Record: APane's, FFFF.
#pragma once

#include "app/pane/APane.h"
#include "framework/clusters/AClusterItem.h"

class ABaseState;
class AppState;
class ARightState;

class ASVPaneSeam : public APane {
    SV_DECLARE_CLASS(ASVPaneSeam)
public:
    ASVPaneSeam() = default;

    void readFrom(AMemoryStream& stream) override;
    virtual void saveState(ABaseState* part) { (void)part; }
    virtual void resetState(long argument) { (void)argument; }
    virtual AppState* currentState();
    virtual ARightState* rightState();

    // Where currentState finds the frame's state; not owned.
    static void setStateHook(AppState* (*hook)(APane* pane));

protected:
    // The item of the id when it is of class T; else null.
    template <class T>
    T* itemAs(int16_t id) {
        AClusterItem* item = findItem(id, false);
        return item ? static_cast<T*>(item->castTo(&T::classRecord)) : nullptr;
    }
};
