// The application's display side, with the default kept when no application installs its own.
#include "framework/display/ADisplayServices.h"

#include "framework/display/ADisplayComponent.h"

namespace {

ADisplayServices* g_installed = nullptr;

ADisplayServices& Default() {
    static ADisplayServices services;
    return services;
}

bool IsAtomicItem(ADisplayComponent* component) {
    const AClass* atomic = AClass::findByName("AAtomicItem");
    return atomic && component->getClass()->isKindOf(atomic);
}

}  // namespace

ADisplayServices::~ADisplayServices() {
    endTracking();
}

ADisplayServices& ADisplayServices::current() {
    return g_installed ? *g_installed : Default();
}

void ADisplayServices::install(ADisplayServices* services) {
    g_installed = services;
}

void ADisplayServices::scheduleLayout(ADisplayComponent* component) {
    pending_.add(component);
    if (AComponent* app = AComponent::application())
        app->queueUpdate(15);
}

ASizingContext* ADisplayServices::makeSizingContext(ADisplayComponent* owner) {
    (void)owner;
    return new ASizingContext;
}

void ADisplayServices::setHoverComponent(ADisplayComponent* component) {
    ADisplayComponent* old = hover_;
    hover_ = component;
    if (old)
        old->mouseLeft();
    if (!component) {
        cursor_ = kNoComponentCursor;
        return;
    }
    int16_t kind = component->hasFlags(ADisplayComponent::kActive) && IsAtomicItem(component) ? 1 : 0;
    cursor_ = component->cursorFor(kind);
    component->mouseEntered();
}

void ADisplayServices::startTracking(AMouseTracker* tracker) {
    endTracking();
    tracker_ = tracker;
}

void ADisplayServices::endTracking() {
    AMouseTracker* t = tracker_;
    tracker_ = nullptr;
    delete t;
}

void ADisplayServices::releaseTarget(AComponent* component) {
    const AppComponentHooks* hooks = AComponent::hooks();
    if (!hooks || !hooks->target || !hooks->setTarget)
        return;
    AComponent* target = hooks->target();
    if (target && (target == component || target->isDescendantOf(component)))
        hooks->setTarget(nullptr, 1);
}

void ADisplayServices::componentGone(ADisplayComponent* component) {
    pending_.forget(component);
    if (hover_ == component) {
        hover_ = nullptr;
        cursor_ = kNoComponentCursor;
    }
    if (tracker_ && tracker_->owner() == component)
        endTracking();
}
