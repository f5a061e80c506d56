// The display component's side of drawing: defaults of the site interface.
#include "framework/graphics/ADisplaySite.h"

#include "framework/components/AComponent.h"
#include "framework/graphics/AGraphicDisplay.h"
#include "framework/graphics/ARegion.h"

ADisplaySite* ADisplaySite::of(AComponent* component) {
    return dynamic_cast<ADisplaySite*>(component);
}

ARegion ADisplaySite::getVisibleRegion() {
    return ARegion(getLocalBounds());
}

const APrinterInfo* ADisplaySite::canPrint() {
    ADisplayContext* context = ADisplayContext::existing();
    return context ? context->defaultPrinter() : nullptr;
}

ADisplaySite* ADisplaySite::getDisplayParent() {
    for (AComponent* c = siteComponent()->getParent(); c; c = c->getParent()) {
        if (ADisplaySite* site = of(c))
            return site;
    }
    return nullptr;
}

ATextStyle* ADisplaySite::getDisplayEnv() {
    if (ATextStyle* own = ownDisplayEnv())
        return own;
    ADisplaySite* parent = getDisplayParent();
    return parent ? parent->getDisplayEnv() : nullptr;
}
