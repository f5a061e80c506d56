// The component: a node of the one tree whose root is the application object.
// Every screen, pane, item and the application itself is one.
//
// A component owns its children: close deletes them, last first. Components
// are made with new + AObject::completeNew (which runs open) and deleted with
// DeleteComponent (which runs close). Broken invariants (a second component
// under construction, children left after detach, no application where one
// is needed) are assertions ("fcompo").
#pragma once

#include <cstdint>

#include "base/object/AObject.h"
#include "base/object/Alist.h"

class ACommand;
class AMemoryStream;
class AComponent;

// What the tree needs of the application object; installed by it while it lives.
struct AppComponentHooks {
    AComponent* (*application)();  // the application object, root of the tree
    void (*flushUpdates)();        // runs the application's pending work
};
void SetAppComponentHooks(const AppComponentHooks* hooks);

class AComponent : public virtual AObject {
    SV_DECLARE_CLASS(AComponent)
public:
    // Registration flags: set by the registry that files the component, read
    // by the application when the component goes away.
    enum : uint16_t {
        kOnTargetChain = 0x0001,
        kStarted = 0x0004,
        kInUpdateList = 0x0100,
        kInCommandQueue = 0x0200,
        kHasTimers = 0x0400,
        kRegisteredById = 0x0800,
        kInResizeManager = 0x1000,
        kNativeWindowListed = 0x2000,
    };

    AComponent();
    AComponent(AComponent* parent, int16_t id);
    ~AComponent() override;
    AComponent(const AComponent&) = delete;
    AComponent& operator=(const AComponent&) = delete;

    // The object model's completion runs open; the deletion step runs close.
    void noteInitialized() override { open(); }
    void noteDestroyed() override { close(); }

    virtual void open();
    virtual void close();
    // Reads this class's part of a layout record: id (i16), end mark 0xFFFF.
    virtual void readFrom(AMemoryStream& stream);
    virtual AComponent* getParent() const { return parent_; }
    virtual void attachItems();
    virtual void setUpItems();
    virtual void childrenLoaded() {}
    virtual void detachItems() {}
    virtual void destroyContents();
    virtual void unbindActions() {}
    virtual void componentAdded(AComponent* component);
    virtual void componentDeleted(AComponent* component);
    virtual void bindActions() {}
    virtual void itemsSetUp() {}
    // Files an update of the given kind with the application (no update list yet: nothing).
    virtual void queueUpdate(long kind) { (void)kind; }
    // The first child (in order, depth first) with the id; shallow keeps the search out of clusters.
    virtual AComponent* receive(int16_t id, int16_t shallow);
    // Hands the command to the application, which queues it; answers what it answers.
    virtual long executeCommand(ACommand* command);

    // Target chain: the first child (depth first) or else this component that
    // accepts being the command target, or null.
    virtual AComponent* preferredTarget();
    virtual bool acceptsTargetLater() { return acceptsTarget(); }
    virtual bool acceptsTarget() { return false; }
    virtual bool isTargetScope() { return false; }
    virtual bool canTakeTarget() { return acceptsTarget(); }
    // Sets or clears flag 0x0001 from here up to (not including) common.
    virtual void targetChanged(int16_t gained, AComponent* common);
    // Told when the component joins or leaves the target chain; the edit-command
    // hand-over to the application's message target comes with that target.
    virtual void activeChanged(int16_t on) { (void)on; }
    virtual void windowActivated(int16_t on) { (void)on; }

    // Tree.
    void setParent(AComponent* parent) { parent_ = parent; }
    void attachToParent(AComponent* parent);
    void reparent(AComponent* parent);
    void addChild(AComponent* child);
    void removeChild(AComponent* child);
    Alist& children() { return children_; }
    AComponent* findAncestor(const AClass* cls) const;
    bool hasAncestor(const AComponent* component) const;
    bool isDescendantOf(const AComponent* component) const;
    AComponent* commonAncestor(AComponent* component);
    AComponent* findDescendant(const AClass* cls, const AComponent* skip);
    // Appends the descendants of the class (or derived) to list, depth first;
    // deep also searches below a match. Children that do not answer this
    // component as their parent are skipped with their subtree.
    void collectDescendants(const AClass* cls, Alist& list, int16_t deep);
    void collectOutermost(const AClass* cls, Alist& list) { collectDescendants(cls, list, 0); }
    // windowActivated on this component and its subtree, parents first.
    void broadcastWindowActivated(int16_t on);

    // Id search: null for id 0. findById searches this component's subtree;
    // sendToId the nearest relatives, never the caller's own subtree.
    AComponent* findById(int16_t id, int16_t shallow);
    AComponent* sendToId(int16_t id, int16_t shallow);
    AComponent* sendToIdFrom(int16_t id, int16_t shallow, AComponent* asking);

    // Runs the command now (ACommand::doIt) and answers its result; a null command is an assertion.
    long perform(ACommand* command);

    int16_t id() const { return id_; }
    void setId(int16_t id) { id_ = id; }
    uint16_t flags() const { return flags_; }
    void setFlag(uint16_t bit, int16_t on);
    void setStarted(int16_t on);
    bool isOpeningRoot();

    // The application object; asserts that it exists ("fcompo" 286).
    static AComponent* getApp();
    static AComponent* application();
    static AComponent* underConstruction() { return underConstruction_; }
    static int16_t openDepth() { return openDepth_; }

    // Loads a layout resource under parent (ALayoutLoader::loadLayout).
    static AComponent* loadLayout(AComponent* parent, const char* name, int16_t graft);

    // The layout loader runs the steps of open around its reading.
    friend class ALayoutLoader;

protected:
    // Runs the three set-up passes over the subtree and the application's
    // flush when this ends the outermost open.
    void endOpen();

private:
    static void runSetUpPasses(AComponent* root);
    static void runUnbindPass(AComponent* root);

    AComponent* parent_;  // not owned
    uint16_t flags_;
    Alist children_;  // owned components, in attachment order
    int16_t id_;

    static int16_t openDepth_;
    static int16_t rootDepth_;
    static AComponent* underConstruction_;
};

// Clears the variable, closes the component and destroys it (nothing for null).
void DeleteComponent(AComponent*& component);

// The component a child link of a component's list holds.
inline AComponent* ChildOf(ALink* link) {
    return static_cast<AComponent*>(static_cast<APlink*>(link)->value);
}
