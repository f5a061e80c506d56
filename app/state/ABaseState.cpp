// The parts of a navigation state and their text form.
#include "app/state/ABaseState.h"

#include <initializer_list>
#include <new>

#include "app/pane/APane.h"
#include "app/state/MarkedLines.h"
#include "base/procedural/AError.h"

APartPaneHooks gPartPaneHooks = {nullptr, nullptr};

namespace {

// The cluster of the main window that holds the panes of the parts.
const int16_t kPartCluster = 1002;

void ShowPanes(ABaseState& part, AComponent* frame, std::initializer_list<int16_t> panes) {
    auto* window = static_cast<AItemCluster*>(
        CheckAlloc(frame ? frame->castTo(&AItemCluster::classRecord) : nullptr, "appstate", 30));
    AClusterItem* item = window->findItem(kPartCluster, false);
    auto* cluster =
        static_cast<AItemCluster*>(CheckAlloc(item ? item->castTo(&AItemCluster::classRecord) : nullptr, "appstate", 33));
    for (int16_t id : panes) {
        AClusterItem* found = cluster->findItem(id, false);
        auto* pane = static_cast<APane*>(CheckAlloc(found ? found->castTo(&APane::classRecord) : nullptr, "appstate", 36));
        if (gPartPaneHooks.isPaneWanted && !gPartPaneHooks.isPaneWanted(pane))
            continue;
        if (gPartPaneHooks.setPaneVisible)
            gPartPaneHooks.setPaneVisible(pane, 1);
        pane->updatePane();
    }
    part.clearFlags();
}

template <class T>
ABaseState* CloneOf(const T& part) {
    T* copy = CheckAlloc(new (std::nothrow) T(part), "appstate", 20);
    copy->fClone = 1;
    return copy;
}

int16_t Short(long value) {
    return static_cast<int16_t>(value);
}

// The integer fields every part's text starts with, in their order there.
template <class Part, class IO>
void BaseFields(Part& part, IO io) {
    io("<!--fPane-->", part.fPane);
    io("<!--fMode-->", part.fMode);
    io("<!--fSalleType-->", part.fSalleType);
    io("<!--fSalleLR-->", part.fSalleLR);
    io("<!--fClone-->", part.fClone);
    io("<!--fNew-->", part.fNew);
    io("<!--fHisto-->", part.fHisto);
}

}  // namespace

void WriteUserInfo(AFileStream& stream, const ALongLongDic& values, const ALongTextDic& texts) {
    WriteMarkedInt(stream, "<!--fUserInfo-->", values.count());
    if (values.count() > 0)
        WriteMarkedDic(stream, "\t<!--fUserInfo-->", values);
    WriteMarkedInt(stream, "<!--fUserTxtInfo-->", texts.count());
    if (texts.count() > 0)
        texts.write(stream);
}

void ReadUserInfo(AFileStream& stream, ALongLongDic& values, ALongTextDic& texts) {
    if (ReadMarkedInt(stream, "<!--fUserInfo-->") > 0)
        ReadMarkedDic(stream, "\t<!--fUserInfo-->", values);
    if (ReadMarkedInt(stream, "<!--fUserTxtInfo-->") > 0)
        texts.read(stream);
}

ABaseState::ABaseState(const ABaseState& other)
    : fUserInfo(other.fUserInfo),
      fPane(other.fPane),
      fMode(other.fMode),
      fSalleType(other.fSalleType),
      fSalleLR(other.fSalleLR),
      fClone(other.fClone),
      fNew(other.fNew),
      fHisto(other.fHisto) {
    fUserTxtInfo.copyFrom(other.fUserTxtInfo);
}

AString ABaseState::getUserTxtInfo(int16_t key) {
    if (!fUserTxtInfo.has(key))
        fUserTxtInfo.set(key, "");
    return fUserTxtInfo.get(key);
}

void ABaseState::write(AFileStream& stream) const {
    BaseFields(*this, AMarkedIntWriter{stream});
    WriteUserInfo(stream, fUserInfo, fUserTxtInfo);
}

void ABaseState::read(AFileStream& stream) {
    BaseFields(*this, AMarkedIntReader{stream});
    ReadUserInfo(stream, fUserInfo, fUserTxtInfo);
}

ABaseState* ABaseState::clone() const {
    return CloneOf(*this);
}

void AListeState::write(AFileStream& stream) const {
    ABaseState::write(stream);
    WriteMarkedInt(stream, "<!--fExpand-->", fExpand);
}

void AListeState::read(AFileStream& stream) {
    ABaseState::read(stream);
    fExpand = Short(ReadMarkedInt(stream, "<!--fExpand-->"));
}

ABaseState* AListeState::clone() const {
    return CloneOf(*this);
}

ABaseState* ALeftState::clone() const {
    return CloneOf(*this);
}

void ALeftState::show(AComponent* frame) {
    ShowPanes(*this, frame, {1202});
}

void ALeftState::copyTo(ALeftState& other) const {
    other.fExpand = fExpand;
    other.fMode = fMode;
}

void ARightState::write(AFileStream& stream) const {
    AListeState::write(stream);
    WriteMarkedInt(stream, "<!--fCadenas-->", fCadenas);
    WriteMarkedInt(stream, "<!--fExtDocNo-->", fExtDocNo);
}

void ARightState::read(AFileStream& stream) {
    AListeState::read(stream);
    fCadenas = Short(ReadMarkedInt(stream, "<!--fCadenas-->"));
    fExtDocNo = ReadMarkedInt(stream, "<!--fExtDocNo-->");
}

ABaseState* ARightState::clone() const {
    return CloneOf(*this);
}

void ARightState::show(AComponent* frame) {
    ShowPanes(*this, frame, {1205});
}

void ARightState::copyTo(ARightState& other) const {
    other.fExpand = fExpand;
    other.fCadenas = fCadenas;
    other.fExtDocNo = fExtDocNo;
}

void ADocState::write(AFileStream& stream) const {
    ABaseState::write(stream);
    WriteMarkedInt(stream, "<!--fCadenas-->", fCadenas);
    WriteMarkedInt(stream, "<!--fForceDoc-->", fForceDoc);
    WriteMarkedInt(stream, "<!--fDocType-->", fDocType);
    WriteMarkedInt(stream, "<!--fDate-->", fDate);
}

void ADocState::read(AFileStream& stream) {
    ABaseState::read(stream);
    fCadenas = Short(ReadMarkedInt(stream, "<!--fCadenas-->"));
    fForceDoc = Short(ReadMarkedInt(stream, "<!--fForceDoc-->"));
    fDocType = Short(ReadMarkedInt(stream, "<!--fDocType-->"));
    fDate = ReadMarkedInt(stream, "<!--fDate-->");
}

ABaseState* ADocState::clone() const {
    return CloneOf(*this);
}

void ADocState::show(AComponent* frame) {
    ShowPanes(*this, frame, {1206, 1201, 1203, 1204});
}

void ADocState::copyTo(ADocState& other) const {
    for (long key : {2L, 3L, 7L}) {
        Pix p = fUserInfo.seek(key);
        if (p)
            other.fUserInfo.slot(key) = fUserInfo.numberOf(p);
    }
    other.fCadenas = fCadenas;
}
