// Item clusters: filing by id, item operations, help texts, the focus walk
// and the default item.
#include "framework/clusters/AItemCluster.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "base/procedural/AError.h"
#include "base/object/AMemoryStream.h"
#include "base/object/InputRecords.h"
#include "framework/clusters/AClusterServices.h"
#include "framework/clusters/AClusterOwner.h"
#include "framework/clusters/AFocusSearch.h"
#include "framework/components/ALayoutLoader.h"
#include "framework/resources/AStringListResource.h"

SV_IMPLEMENT_CLASS(AItemCluster, 106, ACommandItem)

namespace {

[[noreturn]] void ThrowWithId(const char* format, int16_t id, long line) {
    char text[64];
    std::snprintf(text, sizeof text, format, id);
    ThrowAssertMessage(text, "fitems", line);
}

}  // namespace

AFocusSearch::AFocusSearch(AComponent* from, uint16_t options)
    : start(from),
      result(nullptr),
      startIsItem(from && from->isKindOf(&AClusterItem::classRecord)),
      forward(!(options & kBackward)),
      passed((options & kPassed) != 0),
      collect((options & kCollect) != 0) {}

void AFocusSearch::visit(AComponent* x) {
    if (x == start)
        passed = true;
    else if (!startIsItem && start && start->hasAncestor(x))
        passed = true;
}

void AFocusSearch::offer(AClusterItem* r) {
    if (collect && passed && !result)
        result = r;
}

AClusterItem* AFocusSearch::finish(AItemCluster* cluster) {
    if (result)
        return result;
    visit(cluster);
    return nullptr;
}

AItemCluster::~AItemCluster() = default;

void AItemCluster::readFrom(AMemoryStream& stream) {
    ACommandItem::readFrom(stream);
    ALayoutLoader::readEndMark(stream, "fitems", 1489);
}

void AItemCluster::attachItems() {
    ACommandItem::attachItems();
    loadHelpTexts();
}

// Each string of the cluster's list: "KEY#TEXT", KEY an item's help key.
void AItemCluster::loadHelpTexts() {
    if (!AClusterServices::current().helpBoxes() || getId() < 1000)
        return;
    // Opening a list opens its resource: most clusters have none.
    if (!AResource(kStringListType, AResourceRef(static_cast<uint16_t>(getId()))).exists())
        return;
    AStringListResource list(static_cast<uint16_t>(getId()));
    for (short i = 0, n = list.count(); i < n; ++i) {
        AString s = list.get(i);
        const char* hash = std::strchr(s.c_str(), '#');
        if (!hash)
            continue;
        long key = std::atol(s.c_str());
        helpTexts_[key].reset(new HelpText{AString(hash + 1), 0});
    }
}

void AItemCluster::detachItems() {
    helpTexts_.clear();
    if (!items_.empty() || !order_.empty())
        ThrowAssert("fitems", 1523);
    ACommandItem::detachItems();
}

void AItemCluster::componentAdded(AComponent* component) {
    ACommandItem::componentAdded(component);
    addItem(component);
}

void AItemCluster::componentDeleted(AComponent* component) {
    removeItem(component);
    ACommandItem::componentDeleted(component);
}

void AItemCluster::addItem(AComponent* c) {
    if (!c)
        ThrowAssert("fitems", 1529);
    if (c->id() <= 0 || !c->isKindOf(&AClusterItem::classRecord) || !c->hasAncestor(this))
        return;
    auto* item = static_cast<AClusterItem*>(c->castTo(&AClusterItem::classRecord));
    if (item->enclosingCluster() != this)
        return;
    if (items_.count(c->id()))
        ThrowWithId("Duplicate ClusterItem ID : %d", c->id(), 1533);
    items_[c->id()] = item;
    item->setOwner(this);
    order_.push_back(item);
    tabStops_ = -1;
}

void AItemCluster::removeItem(AComponent* c) {
    if (!c)
        ThrowAssert("fitems", 1544);
    if (c->id() <= 0 || !c->isKindOf(&AClusterItem::classRecord))
        return;
    auto it = items_.find(c->id());
    auto* item = static_cast<AClusterItem*>(c->castTo(&AClusterItem::classRecord));
    if (it == items_.end() || it->second != item)
        return;
    item->setOwner(nullptr);
    items_.erase(it);
    for (auto o = order_.begin(); o != order_.end(); ++o) {
        if (*o == item) {
            order_.erase(o);
            break;
        }
    }
    tabStops_ = -1;
    if (current_ == item)
        current_ = nullptr;
}

ACommand* AItemCluster::keyToCommand(AKeyEvent& event) {
    if (event.down && (event.keyCode == 0 || event.keyCode == VK_RETURN)) {
        triggerDefault(1);
        return noChangeCommand();
    }
    return ACommandItem::keyToCommand(event);
}

void AItemCluster::windowActivated(int16_t on) {
    ACommandItem::windowActivated(on);
    if (on)
        queueUpdate(1);
}

AComponent* AItemCluster::receive(int16_t id, int16_t shallow) {
    return shallow ? nullptr : ACommandItem::receive(id, 0);
}

long AItemCluster::itemNotify(int16_t id, long argument, AClusterItem* item) {
    return ownerPart_ ? ownerPart_->itemNotify(id, argument, item) : 0;
}

long AItemCluster::itemCommand(int16_t id, long argument, AClusterItem* item) {
    return ownerPart_ ? ownerPart_->itemCommand(id, argument, item) : 0;
}

AItemOwner* AItemCluster::asOwner() {
    return ownerPart_;
}

AActionTable* AItemCluster::ownActionTable() {
    return ownerPart_;
}

AHelpRecord AItemCluster::itemHelp(const APoint& point, AClusterItem* item) {
    AHelpRecord record;
    if (!item)
        return record;
    auto it = helpTexts_.find(item->getId());
    if (it == helpTexts_.end() || !it->second)
        return record;
    record.text = it->second->text;
    record.area = it->second->atPoint ? ARect(point, point) : item->getLocalBounds();
    record.owner = item;
    record.valid = 1;
    return record;
}

void AItemCluster::setItemString(const char* text, AClusterItem* item, int16_t atPoint) {
    if (!item)
        return;
    std::unique_ptr<HelpText>& slot = helpTexts_[item->getId()];
    slot.reset();
    if (text && *text)
        slot.reset(new HelpText{AString(text), atPoint});
}

void AItemCluster::setItemStringById(int16_t id, const char* text) {
    setItemString(text, findItem(id, false), 0);
}

AString AItemCluster::itemString(AClusterItem* item) {
    if (!item)
        return AString();
    auto it = helpTexts_.find(item->getId());
    return it == helpTexts_.end() || !it->second ? AString() : it->second->text;
}

AClusterItem* AItemCluster::findItem(int16_t id, bool mustExist) {
    auto it = items_.find(id);
    if (it != items_.end())
        return it->second;
    if (mustExist)
        ThrowWithId("invalid id %d", id, 1783);
    return nullptr;
}

AString AItemCluster::getItemText(int16_t id) {
    AClusterItem* item = findItem(id, false);
    return item ? item->getText() : AString();
}

void AItemCluster::setItemText(int16_t id, const char* text) {
    if (AClusterItem* item = findItem(id, false))
        item->setText(text);
}

void AItemCluster::setItemState(int16_t id, uint16_t state) {
    if (AClusterItem* item = findItem(id, false))
        item->setStateBits(state, false);
}

uint16_t AItemCluster::itemState(int16_t id) {
    AClusterItem* item = findItem(id, false);
    return item ? item->state() : 0;
}

void AItemCluster::setItemOn(int16_t id) {
    if (AClusterItem* item = findItem(id, false))
        item->setOn(true);
}

void AItemCluster::setItemOff(int16_t id) {
    if (AClusterItem* item = findItem(id, false))
        item->setOn(false);
}

void AItemCluster::prepareItemHit(int16_t id) {
    if (AClusterItem* item = findItem(id, false))
        item->prepareHit();
}

void AItemCluster::setItemStateBit4(int16_t id, bool on) {
    if (AClusterItem* item = findItem(id, false)) {
        uint16_t s = item->state();
        setItemState(id, static_cast<uint16_t>(on ? s | kMarked : s & ~kMarked));
    }
}

void AItemCluster::setCurrentItem(int16_t id) {
    AClusterItem* item = id == 0 ? nullptr : findItem(id, true);
    if (item == current_)
        return;
    if (current_)
        current_->setFlag100(false);
    current_ = item;
    if (item)
        item->setFlag100(true);
}

int16_t AItemCluster::tabStopCount() {
    if (tabStops_ == -1) {
        int16_t count = 0;
        for (AClusterItem* item : order_) {
            if (!item)
                ThrowAssert("fitems", 1664);
            if (item->itemFlags() & kTabStop)
                ++count;
        }
        tabStops_ = count;
    }
    return tabStops_;
}

AClusterItem* AItemCluster::findFocusTarget(AFocusSearch& search) {
    // A copy: an item's answer may file or remove items.
    std::vector<AClusterItem*> walk(order_);
    if (!search.forward)
        std::reverse(walk.begin(), walk.end());
    for (AClusterItem* item : walk) {
        if (!item)
            ThrowAssert("fitems", 1599);
        AClusterItem* r = item->findFocusTarget(search);
        if (!r)
            continue;
        if (r->itemFlags() & kTabStop)
            return r;
        search.offer(r);
    }
    return search.finish(this);
}

AClusterItem* AItemCluster::findFocus(AComponent* start, bool forward, bool wrap) {
    if (!start) {
        AFocusSearch search(this, forward ? AFocusSearch::kPassed : AFocusSearch::kPassed | AFocusSearch::kBackward);
        return findFocusTarget(search);
    }
    AFocusSearch search(start, forward ? 0 : AFocusSearch::kBackward);
    AClusterItem* r = findFocusTarget(search);
    if (!r && wrap)
        r = findFocus(nullptr, forward, false);
    return r;
}

AClusterItem* AItemCluster::focusTarget() {
    if (AClusterItem* r = firstTabStop())
        return r;
    AFocusSearch search(nullptr, AFocusSearch::kPassed | AFocusSearch::kCollect);
    if (AClusterItem* r = findFocusTarget(search))
        return r;
    return acceptsTarget() ? this : nullptr;
}

long AItemCluster::triggerDefault(long argument) {
    long result = 0;
    if (current_ && (current_->state() & kOn)) {
        if (!asOwner())
            ThrowAssert("fitems", 1853);
        result = itemCommand(current_->id(), argument, current_);
    }
    if (result == 0) {
        if (AItemCluster* outer = enclosingCluster())
            return outer->triggerDefault(argument);
    }
    return result;
}
