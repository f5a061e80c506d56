// The events a browser view raises to the panes that own it, and the handler
// subscriptions that receive them. Events live on the raiser's stack for one
// dispatch; handlers must not keep them. Handlers are counted (ARefObj): a
// node holds one reference from addHandler until the view closes.
#pragma once

#include "base/object/AObject.h"
#include "base/object/ARefObj.h"
#include "base/object/AString.h"
#include "base/object/Alist.h"

#include <cstdint>

class AMozillaView;

class AMozillaEvent : public virtual AObject {
    SV_DECLARE_CLASS(AMozillaEvent)
public:
    AMozillaEvent() = default;
    explicit AMozillaEvent(const char* eventName) : name(eventName) {}
    AString name;  // the event's name; empty for the base
};

#define SV_MOZILLA_EVENT(Cls, Name)              \
    class Cls : public AMozillaEvent {           \
        SV_DECLARE_CLASS(Cls)                    \
    public:                                      \
        Cls() : AMozillaEvent(Name) {}

SV_MOZILLA_EVENT(AMozillaUpdateTitleEvent, "UpdateTitle")
    AString title;
};
SV_MOZILLA_EVENT(AMozillaObserveEvent, "Observe")
    AString topic;
    AString data;  // untrusted: it comes from a page
};
SV_MOZILLA_EVENT(AMozillaUpdateProgressEvent, "UpdateProgress")
    int32_t current = 0;
    int32_t maximum = 0;
};
SV_MOZILLA_EVENT(AMozillaUpdateUrlEvent, "UpdateUrl")
    AString url;
    int16_t programLoad = 0;  // 1 when the load was asked through loadUrl
};
SV_MOZILLA_EVENT(AMozillaIsLoadedEvent, "Loaded")
};
SV_MOZILLA_EVENT(AMozillaRightClickEvent, "RightClick")
    int32_t value = 0;
    AString texts[5];
};
SV_MOZILLA_EVENT(AMozillaStatusChangedEvent, "StatusChange")
    AString status;
};
SV_MOZILLA_EVENT(AMozillaLinkChangedEvent, "LinkChange")
    AString text;
    int32_t value = 0;
};

#undef SV_MOZILLA_EVENT

class AMozillaHandler : public ARefObj {
public:
    // Non-zero when the handler handled the event.
    virtual int16_t onEvent(AMozillaView* view, AMozillaEvent* event) = 0;
};

// One subscription: the handler (one reference) under an event name; "AllEvent" takes every event.
class AMozillaHandlerNode {
public:
    AMozillaHandlerNode(const char* name, AMozillaHandler* handler);
    virtual ~AMozillaHandlerNode();
    AMozillaHandlerNode(const AMozillaHandlerNode&) = delete;
    AMozillaHandlerNode& operator=(const AMozillaHandlerNode&) = delete;
    // The handler's answer when the node matches the event's name exactly, else 0.
    int16_t handle(AMozillaView* view, AMozillaEvent* event);
    const AString& name() const { return name_; }

private:
    AMozillaHandler* handler_;  // one reference
    AString name_;
};

// The view's nodes in order of addition; owns them.
class AMozillaHandlerNodeList : public Alist {
public:
    AMozillaHandlerNodeList() = default;
    ~AMozillaHandlerNodeList() override;
    void add(AMozillaHandlerNode* node) { append(node); }
    // Deletes every node.
    void clear();
};
