// The component tree: life cycle, set-up passes, id search.
#include "framework/components/AComponent.h"

#include "base/object/AMemoryStream.h"
#include "framework/components/ACommand.h"
#include "framework/components/ALayoutLoader.h"

SV_IMPLEMENT_CLASS(AComponent, 100, AObject)

int16_t AComponent::openDepth_ = 0;
int16_t AComponent::rootDepth_ = 0;
AComponent* AComponent::underConstruction_ = nullptr;

namespace {

const AppComponentHooks* g_hooks = nullptr;

void VisitChildrenFirst(AComponent* component, void (AComponent::*step)()) {
    Alist& children = component->children();
    for (ALink* link = children.firstLink(); link != children.sentinel(); link = link->next)
        VisitChildrenFirst(ChildOf(link), step);
    (component->*step)();
}

void FlushApplicationUpdates() {
    if (g_hooks && g_hooks->flushUpdates)
        g_hooks->flushUpdates();
}

}  // namespace

void SetAppComponentHooks(const AppComponentHooks* hooks) {
    g_hooks = hooks;
}

AComponent::AComponent() : AComponent(nullptr, 0) {}

AComponent::AComponent(AComponent* parent, int16_t id) : parent_(parent), flags_(0), id_(id) {
    if (underConstruction_)
        ThrowAssert("fcompo", 185);
    underConstruction_ = this;
}

AComponent::~AComponent() {
    if (underConstruction_ == this)
        underConstruction_ = nullptr;
}

const AppComponentHooks* AComponent::hooks() {
    return g_hooks;
}

AComponent* AComponent::application() {
    return g_hooks && g_hooks->application ? g_hooks->application() : nullptr;
}

AComponent* AComponent::getApp() {
    AComponent* app = application();
    if (!app)
        ThrowAssert("fcompo", 286);
    return app;
}

void AComponent::open() {
    int16_t saved = openDepth_;
    try {
        AObject::noteInitialized();
        ++openDepth_;
        attachItems();
        underConstruction_ = nullptr;
        childrenLoaded();
        endOpen();
    } catch (...) {
        openDepth_ = saved;
        underConstruction_ = nullptr;
        throw;
    }
}

void AComponent::endOpen() {
    if (openDepth_ == rootDepth_)
        rootDepth_ = 0;
    if (--openDepth_ != 0)
        return;
    runSetUpPasses(this);
    if (!application())
        ThrowAssert("fcompo", 174);
    FlushApplicationUpdates();
}

void AComponent::runSetUpPasses(AComponent* root) {
    VisitChildrenFirst(root, &AComponent::setUpItems);
    VisitChildrenFirst(root, &AComponent::itemsSetUp);
    VisitChildrenFirst(root, &AComponent::bindActions);
}

void AComponent::runUnbindPass(AComponent* root) {
    VisitChildrenFirst(root, &AComponent::unbindActions);
}

void AComponent::close() {
    int16_t old = openDepth_--;
    try {
        if (old == 0) {
            runUnbindPass(this);
            if (application())
                FlushApplicationUpdates();
        }
        destroyContents();
        detachItems();
        if (!children_.empty())
            ThrowAssert("fcompo", 230);
        ++openDepth_;
        reparent(nullptr);
        // A component outside the tree still has its queued work dropped.
        AComponent* app = application();
        if ((flags_ & (kInUpdateList | kInCommandQueue | kHasTimers)) && app && app != this)
            app->componentDeleted(this);
    } catch (...) {
        openDepth_ = old;
        ThrowAssert("fcompo", 240);
    }
    AObject::noteDestroyed();
}

void AComponent::readFrom(AMemoryStream& stream) {
    id_ = stream.readShort();
    ALayoutLoader::readEndMark(stream, "fcompo", 106);
}

void AComponent::attachItems() {
    attachToParent(parent_);
}

void AComponent::setUpItems() {
    queueUpdate(5);
}

void AComponent::destroyContents() {
    dropLinks();
    while (!children_.empty()) {
        AComponent* child = ChildOf(children_.lastLink());
        DeleteComponent(child);
    }
}

void AComponent::componentAdded(AComponent* component) {
    if (parent_)
        parent_->componentAdded(component);
}

void AComponent::componentDeleted(AComponent* component) {
    if (parent_)
        parent_->componentDeleted(component);
}

void AComponent::attachToParent(AComponent* parent) {
    parent_ = parent;
    if (parent)
        parent->addChild(this);
}

namespace {

AComponent* g_moving = nullptr;  // not owned

}  // namespace

AComponent* AComponent::movingComponent() {
    return g_moving;
}

void AComponent::reparent(AComponent* parent) {
    if (parent_) {
        AComponent* outer = g_moving;
        g_moving = parent ? this : nullptr;
        try {
            parent_->removeChild(this);
        } catch (...) {
            g_moving = outer;
            throw;
        }
        g_moving = outer;
    }
    parent_ = parent;
    if (parent)
        parent->addChild(this);
}

void AComponent::addChild(AComponent* child) {
    children_.append(child);
    componentAdded(child);
}

void AComponent::removeChild(AComponent* child) {
    children_.remove(child);
    componentDeleted(child);
}

AComponent* AComponent::findAncestor(const AClass* cls) const {
    for (AComponent* p = parent_; p; p = p->parent_) {
        if (p->isKindOf(cls))
            return p;
    }
    return nullptr;
}

bool AComponent::hasAncestor(const AComponent* component) const {
    for (AComponent* p = parent_; p; p = p->parent_) {
        if (p == component)
            return true;
    }
    return false;
}

bool AComponent::isDescendantOf(const AComponent* component) const {
    for (AComponent* p = getParent(); p; p = p->getParent()) {
        if (p == component)
            return true;
    }
    return false;
}

AComponent* AComponent::commonAncestor(AComponent* component) {
    for (AComponent* a = this; a; a = a->getParent()) {
        if (a == component || (component && component->isDescendantOf(a)))
            return a;
    }
    return nullptr;
}

AComponent* AComponent::findDescendant(const AClass* cls, const AComponent* skip) {
    for (ALink* link = children_.firstLink(); link != children_.sentinel(); link = link->next) {
        AComponent* child = ChildOf(link);
        if (child == skip)
            continue;
        if (child->isKindOf(cls))
            return child;
        if (AComponent* found = child->findDescendant(cls, skip))
            return found;
    }
    return nullptr;
}

void AComponent::collectDescendants(const AClass* cls, Alist& list, int16_t deep) {
    for (ALink* link = children_.firstLink(); link != children_.sentinel(); link = link->next) {
        AComponent* child = ChildOf(link);
        if (child->getParent() != this)
            continue;
        bool match = child->isKindOf(cls);
        if (match)
            list.append(child);
        if (!match || deep)
            child->collectDescendants(cls, list, deep);
    }
}

void AComponent::broadcastWindowActivated(int16_t on) {
    windowActivated(on);
    for (ALink* link = children_.firstLink(); link != children_.sentinel(); link = link->next) {
        AComponent* child = ChildOf(link);
        if (child->getParent() == this)
            child->broadcastWindowActivated(on);
    }
}

AComponent* AComponent::preferredTarget() {
    for (ALink* link = children_.firstLink(); link != children_.sentinel(); link = link->next) {
        AComponent* child = ChildOf(link);
        if (child->getParent() != this)
            continue;
        if (AComponent* target = child->preferredTarget())
            return target;
    }
    return acceptsTarget() ? this : nullptr;
}

void AComponent::targetChanged(int16_t gained, AComponent* common) {
    if (common == this || ((flags_ & kOnTargetChain) != 0) == (gained != 0))
        return;
    setFlag(kOnTargetChain, gained);
    queueUpdate(1);
    activeChanged(gained);
    if (AComponent* parent = getParent())
        parent->targetChanged(gained, common);
}

AComponent* AComponent::receive(int16_t id, int16_t shallow) {
    for (ALink* link = children_.firstLink(); link != children_.sentinel(); link = link->next) {
        AComponent* child = ChildOf(link);
        if (child->id_ == id)
            return child;
        if (AComponent* found = child->receive(id, shallow))
            return found;
    }
    return nullptr;
}

AComponent* AComponent::findById(int16_t id, int16_t shallow) {
    return id == 0 ? nullptr : AComponent::receive(id, shallow);
}

AComponent* AComponent::sendToId(int16_t id, int16_t shallow) {
    if (id == 0 || !parent_)
        return nullptr;
    return parent_->sendToIdFrom(id, shallow, this);
}

AComponent* AComponent::sendToIdFrom(int16_t id, int16_t shallow, AComponent* asking) {
    for (ALink* link = children_.firstLink(); link != children_.sentinel(); link = link->next) {
        AComponent* child = ChildOf(link);
        if (child == asking)
            continue;
        if (child->id_ == id)
            return child;
        if (AComponent* found = child->receive(id, shallow))
            return found;
    }
    return parent_ ? parent_->sendToIdFrom(id, shallow, this) : nullptr;
}

long AComponent::perform(ACommand* command) {
    if (!command)
        ThrowAssert("fcompo", 1095);
    return command->doIt();
}

long AComponent::executeCommand(ACommand* command) {
    AComponent* app = application();
    // The application object queues commands itself; reaching here from it is a bug.
    if (!app || app == this)
        ThrowAssert("fcompo", 1103);
    return app->executeCommand(command);
}

void AComponent::setFlag(uint16_t bit, int16_t on) {
    flags_ = static_cast<uint16_t>(on ? flags_ | bit : flags_ & ~bit);
}

void AComponent::setStarted(int16_t on) {
    if (((flags_ & kStarted) != 0) == (on != 0))
        return;
    setFlag(kStarted, on);
    queueUpdate(16);
}

bool AComponent::isOpeningRoot() {
    if (underConstruction_ != this)
        return false;
    if (rootDepth_ == 0)
        rootDepth_ = openDepth_;
    return openDepth_ == rootDepth_;
}

void DeleteComponent(AComponent*& component) {
    if (!component)
        return;
    AObject* object = component;
    component = nullptr;
    AObject::discardNew(object);
}
