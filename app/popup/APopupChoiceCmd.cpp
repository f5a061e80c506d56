// A popup's choice delivered from the command queue.
#include "app/popup/APopupChoiceCmd.h"

#include <memory>
#include <new>

#include "app/popup/APopupTreeCallBack.h"
#include "base/procedural/AError.h"
#include "framework/components/AComponent.h"

namespace {

AComponent* TargetOf(APopupTreeCallBack* callBack) {
    AComponent* owner = callBack ? callBack->owner() : nullptr;
    return owner ? owner : AComponent::application();
}

}  // namespace

APopupChoiceCmd::APopupChoiceCmd(APopupTreeCallBack* callBack, const char* value, const char* name, int16_t line,
                                 int16_t depth)
    : ACommand(TargetOf(callBack), 0, 1),
      callBack_(callBack),
      value_(value ? value : ""),
      name_(name ? name : ""),
      line_(line),
      depth_(depth) {
    if (callBack_)
        callBack_->addRef();
}

APopupChoiceCmd::~APopupChoiceCmd() {
    ReleaseAndNull(callBack_);
}

void APopupChoiceCmd::execute() {
    if (!callBack_)
        return;
    callBack_->beforeChoose(line_, depth_, 0);
    callBack_->itemChosen(value_.c_str(), name_.c_str(), line_, nullptr);
}

void APopupChoiceCmd::post(APopupTreeCallBack* callBack, const char* value, const char* name, int16_t line,
                           int16_t depth) {
    auto* command = CheckAlloc(new (std::nothrow) APopupChoiceCmd(callBack, value, name, line, depth), "upopup", 40);
    if (command->target()) {
        command->doIt();
        return;
    }
    std::unique_ptr<APopupChoiceCmd> owned(command);
    owned->run();
}
