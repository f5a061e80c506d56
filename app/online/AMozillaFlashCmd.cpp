// The Flash command base.
#include "app/online/AMozillaFlashCmd.h"

#include <new>

SV_IMPLEMENT_CLASS(AMozillaFlashCmd, 0, ACommand)

AMozillaFlashCmd::AMozillaFlashCmd(AComponent* target, const char* name, long argument)
    : ACommand(target, 0, 1), fName(name ? name : ""), fTarget(target), fArgument(argument) {}
