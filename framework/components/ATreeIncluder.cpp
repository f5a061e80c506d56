// Layout includes.
#include "framework/components/ATreeIncluder.h"

#include <new>

#include "base/object/AMemoryStream.h"
#include "framework/components/ACommand.h"
#include "framework/components/ALayoutLoader.h"

SV_IMPLEMENT_CLASS(ATreeIncluder, 103, AComponent)

void ATreeIncluder::readFrom(AMemoryStream& stream) {
    AComponent::readFrom(stream);
    name_ = stream.readString(-1);
    if (name_.length() > 0 && name_[0] == '*') {
        graft_ = 1;
        name_ = AString(name_.c_str() + 1);
    }
    ALayoutLoader::readEndMark(stream, "fdisplay", 2847);
}

void ATreeIncluder::childrenLoaded() {
    AComponent::childrenLoaded();
    // Without a parent nothing would own what the include makes.
    if (!getParent()) {
        FormatErrorMessage("layout %.100s: an include needs a parent", name_.c_str());
        throw ALayoutError("fdisplay", 2858);
    }
    ALayoutLoader::loadLayout(getParent(), name_.c_str(), static_cast<int16_t>(graft_));
}

void ATreeIncluder::setUpItems() {
    AComponent::setUpItems();
    ACommand* command = CheckAlloc(new (std::nothrow) ADeleteComponentCmd(1, this), "fdisplay", 2832);
    AObject::completeNew(command);
    perform(command);
}
