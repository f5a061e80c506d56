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

#include <string>
#include <vector>

#include "base/object/AObject.h"
#include "base/object/Alist.h"
#include "framework/components/APointerSet.h"

class AActionTable;
struct AActionRecord;
class ABehavior;
class ACommand;
class AKeyEvent;
class AKindSet;
class AMemoryStream;
struct AMessage;
class AComponent;

// What the tree needs of the application object; installed by it while it
// lives. A null entry is a service the application does not offer.
struct AppComponentHooks {
    AComponent* (*application)();  // the application object, root of the tree
    void (*flushUpdates)();        // runs the application's pending work
    // The update list and the timer list (AApp's queueUpdate ... setTimerDelay).
    void (*queueUpdate)(AComponent* component, long kind);
    void (*dequeueUpdate)(AComponent* component, long kind);
    uint16_t (*addTimer)(AComponent* component, uint32_t delay);
    void (*restartTimer)(AComponent* component, uint16_t id);
    void (*setTimerDelay)(AComponent* component, uint16_t id, uint32_t delay);
    // The command target: the current one, and the change (0 refused, 1 done, 2 deferred).
    AComponent* (*target)();
    int16_t (*setTarget)(AComponent* component, int16_t activate);
    // The shared answers (owned by the application) and its close command.
    ACommand* (*noChange)();
    ACommand* (*passThrough)();
    ACommand* (*closeCommand)();
    // The application's tables that addAction without a table fills first
    // (its menu bar, then its tool bar's), index 0 and 1; null when absent.
    AActionTable* (*actionTable)(int index);
    // The clipboard's owner window (HWND), the clipboard conversion hook (it
    // answers the handle to use, freeing what it replaces) and the notice to
    // the message target after Copy.
    void* (*clipboardWindow)();
    void* (*convertClipboardData)(AComponent* component, uint32_t format, void* handle);
    void (*clipboardChanged)();
};
void SetAppComponentHooks(const AppComponentHooks* hooks);

// Clipboard formats in order of preference.
using AFormatList = std::vector<uint32_t>;

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
    // Queues kind 9, then leaves every action table (Part of the outermost close).
    virtual void unbindActions();
    virtual void componentAdded(AComponent* component);
    virtual void componentDeleted(AComponent* component);
    // The base binds the edit commands when takesEditCommands answers true.
    virtual void bindActions();
    virtual void itemsSetUp() {}
    // The first child (in order, depth first) with the id; shallow keeps the search out of clusters.
    virtual AComponent* receive(int16_t id, int16_t shallow);
    // Hands the command to the application, which queues it; answers what it answers.
    virtual long executeCommand(ACommand* command);

    // Keys: the application's target turns the event into a command, which is performed.
    virtual long dispatchKey(AKeyEvent& event);
    virtual long dispatchChar(AKeyEvent& event);
    // Behaviours, then this component, then the parent; the pass-through command at the root.
    virtual ACommand* keyCommand(AKeyEvent& event);
    virtual ACommand* charCommand(AKeyEvent& event);
    virtual ACommand* keyToCommand(AKeyEvent& event);
    virtual ACommand* charToCommand(AKeyEvent& event);

    // Numbered commands: behaviours first, then doCommand / commandStatus.
    // Status 1 enabled, 2 disabled (4 checked may be added), 0 not handled.
    virtual ACommand* dispatchCommand(int16_t id, long argument);
    virtual int16_t commandAvailability(int16_t id, long argument);
    virtual ACommand* doCommand(int16_t id, long argument);
    virtual int16_t commandStatus(int16_t id, long argument);

    // Arbitration between two components bound to one code: answers the one
    // that keeps it, or null (no answer). Behaviours are asked first.
    virtual AComponent* resolveActions(AActionRecord& record, AComponent* existing, AComponent* added);
    virtual AComponent* chooseAction(AActionRecord& record, AComponent* existing, AComponent* added);
    virtual AComponent* chooseActionFor(AActionRecord& record);

    // Bindings: table null searches the application's tables and the clusters.
    void addAction(int16_t command, AComponent* target, int16_t code, AActionTable* table);
    void addActionRange(int16_t command, AComponent* target, int16_t first, int16_t last, AActionTable* table);
    void noteActionTable(AActionTable* table);
    void forgetActionTable(AActionTable* table);
    bool holdsActionTable(AActionTable* table) const { return actionTables_.contains(table); }
    // The table of an item cluster; null for other components.
    virtual AActionTable* ownActionTable() { return nullptr; }
    // False for a display component that is not shown: its bindings answer
    // the no-change command without asking it.
    virtual bool receivesActions() const { return true; }
    // Items pass the value to their owner cluster (ANotifyCommand); 0 here.
    virtual long notifyOwner(long value) {
        (void)value;
        return 0;
    }

    // Edit commands over the clipboard (commands 30 Copy, 31 Cut, 32 Clear, 33 Paste).
    virtual bool takesEditCommands() { return false; }
    virtual bool canCopy() { return false; }
    virtual bool canPasteFormat(uint32_t format) {
        (void)format;
        return false;
    }
    virtual bool canClear() { return false; }
    // A new global memory handle with the data in that format (the caller owns it), or null.
    virtual void* exportData(uint32_t format) {
        (void)format;
        return nullptr;
    }
    // The handle stays the caller's: read it, never keep or free it.
    virtual ACommand* pasteData(uint32_t format, void* handle);
    virtual ACommand* clear();
    virtual void copyFormats(AFormatList& list) { (void)list; }
    virtual void pasteFormats(AFormatList& list) { copyFormats(list); }
    virtual void* convertData(uint32_t format, void* handle);
    virtual std::string description();
    // Header text for exports: the nearest ancestor's that supplies one; empty by default.
    virtual std::string exportHeader();
    // A message of a window that watches through this component (its filter);
    // non-zero consumes it.
    virtual long filterMessage(AMessage& message) {
        (void)message;
        return 0;
    }
    virtual bool canPasteAny() { return nextPasteFormat(0) != 0; }
    virtual ACommand* copy();
    // The data of format (0: the first copy format, written back); the caller owns it.
    virtual void* renderFormat(uint32_t& format);
    virtual ACommand* paste();
    virtual ACommand* cut();
    virtual ACommand* clearCommand() { return clear(); }
    virtual bool canCut() { return canCopy() && canClear(); }
    uint32_t nextPasteFormat(uint32_t after);

    // Updates: filed with the application's update list, delivered to notify
    // once per flush with every kind queued since the last one.
    virtual void queueUpdate(long kind);
    virtual void dequeueUpdate(long kind);
    // Tells the dependents, then the action tables holding this component's bindings.
    virtual void notify(const AKindSet& kinds);
    virtual void linkChanged(AComponent* source, const AKindSet& kinds) {
        (void)source;
        (void)kinds;
    }
    // Links: after a.addLink(b), b is told of a's changes.
    void addLink(AComponent* other);
    void removeLink(AComponent* other);
    bool hasDependent(AComponent* c) const { return dependents_.contains(c); }
    bool hasSource(AComponent* c) const { return sources_.contains(c); }
    long dependentCount() const { return dependents_.count(); }
    long sourceCount() const { return sources_.count(); }

    // Timers of the application's timer list; restartTimer drops the timer
    // (every caller uses it to stop one).
    uint16_t addTimer(uint32_t delay);
    void restartTimer(uint16_t id);
    void setTimerDelay(uint16_t id, uint32_t delay);
    virtual long handleTimer(uint16_t id, uint32_t now) { return timerFired(id, now); }
    virtual long timerFired(uint16_t id, uint32_t now) {
        (void)id;
        (void)now;
        return 0;
    }

    // Behaviours, asked before this component, in attachment order.
    void addBehavior(ABehavior* behavior);
    void removeBehavior(ABehavior* behavior);
    Alist& behaviors() { return behaviors_; }

    // Asks the application to make this component the target (0, 1 or 2).
    int16_t becomeTarget(int16_t activate = 1);

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
    // Moves the component under parent (null: out of the tree). A move to
    // another parent keeps what the application holds for it (timers,
    // queued commands, updates): componentDeleted sees it as moving.
    void reparent(AComponent* parent);
    // The component that reparent is moving to another parent now, or null.
    static AComponent* movingComponent();
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
    // The application's shared answers; assertions when there is none ("fcompo").
    static ACommand* noChangeCommand();
    static ACommand* passThroughCommand();
    static ACommand* appCloseCommand();
    static AComponent* currentTarget();
    static const AppComponentHooks* hooks();
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
    using KeyStep = ACommand* (AComponent::*)(AKeyEvent& event);
    // Behaviours' toCommand, then this one's, then the parent's climb.
    ACommand* climbKey(AKeyEvent& event, KeyStep toCommand, KeyStep climb, long line);
    void bind(int16_t command, AComponent* target, int16_t first, int16_t last, long flags, AActionTable* table);
    void dropLinks();

    AComponent* parent_;  // not owned
    uint16_t flags_;
    APointerSet actionTables_;  // not owned: tables holding bindings aimed at this component
    Alist children_;            // owned components, in attachment order
    APointerSet dependents_;    // not owned: told of this component's changes
    APointerSet sources_;       // not owned: this component is told of theirs
    Alist behaviors_;           // not owned: children that are behaviours
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
