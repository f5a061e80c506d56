// Browser events, handler nodes and their list.
#include "web/browser/AMozillaEvent.h"

#include <new>

SV_IMPLEMENT_CLASS(AMozillaEvent, 0, AObject)
SV_IMPLEMENT_CLASS(AMozillaUpdateTitleEvent, 0, AMozillaEvent)
SV_IMPLEMENT_CLASS(AMozillaObserveEvent, 0, AMozillaEvent)
SV_IMPLEMENT_CLASS(AMozillaUpdateProgressEvent, 0, AMozillaEvent)
SV_IMPLEMENT_CLASS(AMozillaUpdateUrlEvent, 0, AMozillaEvent)
SV_IMPLEMENT_CLASS(AMozillaIsLoadedEvent, 0, AMozillaEvent)
SV_IMPLEMENT_CLASS(AMozillaRightClickEvent, 0, AMozillaEvent)
SV_IMPLEMENT_CLASS(AMozillaStatusChangedEvent, 0, AMozillaEvent)
SV_IMPLEMENT_CLASS(AMozillaLinkChangedEvent, 0, AMozillaEvent)

AMozillaHandlerNode::AMozillaHandlerNode(const char* name, AMozillaHandler* handler)
    : handler_(handler), name_(name ? name : "") {
    if (handler_)
        handler_->addRef();
}

AMozillaHandlerNode::~AMozillaHandlerNode() {
    if (handler_)
        handler_->release();
}

int16_t AMozillaHandlerNode::handle(AMozillaView* view, AMozillaEvent* event) {
    if (!handler_ || !event)
        return 0;
    if (name_ != "AllEvent" && name_ != event->name)
        return 0;
    return handler_->onEvent(view, event);
}

AMozillaHandlerNodeList::~AMozillaHandlerNodeList() {
    clear();
}

void AMozillaHandlerNodeList::clear() {
    while (count() > 0)
        delete static_cast<AMozillaHandlerNode*>(removeFirst());
}
