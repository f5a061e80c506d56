// The navigation state of a screen and its text form.
#include "app/state/AppState.h"

#include <memory>
#include <initializer_list>
#include <new>

#include "app/state/ASVLoSearchState.h"
#include "app/state/MarkedLines.h"
#include "base/object/ARefObj.h"

namespace {

template <class T>
T* CloneOrNull(const T* part) {
    return part ? static_cast<T*>(part->clone()) : nullptr;
}

template <class T>
std::unique_ptr<T> ReadPart(AFileStream& stream, const char* marker) {
    if (ReadMarkedInt(stream, marker) == 0)
        return nullptr;
    std::unique_ptr<T> part(CheckAlloc(new (std::nothrow) T(), "appstate", 25));
    part->read(stream);
    return part;
}

}  // namespace

AppState::AppState(int16_t screenMode, int16_t pane, ADocState* doc, ALeftState* left, ARightState* right,
                   ASVLoSearchState* search, long docNo)
    : fDocNo(docNo), fDocState(doc), fLeftState(left), fRightState(right), fPane(pane), fScreenMode(screenMode) {
    AssignRef(fSearchState, search);
}

AppState::AppState(const AppState& other)
    : APrevNextResponder(),
      fUserInfo(other.fUserInfo),
      fDocNo(other.fDocNo),
      fNbFrame(other.fNbFrame),
      fNumFrame(other.fNumFrame),
      fSalle(other.fSalle),
      fTemporaire(other.fTemporaire),
      fLink(other.fLink),
      fDocState(nullptr),
      fLeftState(nullptr),
      fRightState(nullptr),
      fPane(other.fPane),
      fScreenMode(other.fScreenMode) {
    fUserTxtInfo.copyFrom(other.fUserTxtInfo);
    std::unique_ptr<ADocState> doc(CloneOrNull(other.fDocState));
    std::unique_ptr<ALeftState> left(CloneOrNull(other.fLeftState));
    std::unique_ptr<ARightState> right(CloneOrNull(other.fRightState));
    fDocState = doc.release();
    fLeftState = left.release();
    fRightState = right.release();
    AssignRef(fSearchState, other.fSearchState);
}

AppState::~AppState() {
    // The chain is let go one state at a time: no recursion over a long history.
    AppState* p = fPrev;
    fPrev = nullptr;
    while (p) {
        AppState* before = p->fPrev;
        p->fPrev = nullptr;
        p->fNext = nullptr;
        delete p;
        p = before;
    }
    delete fDocState;
    delete fLeftState;
    delete fRightState;
    ReleaseAndNull(fSearchState);
}

AppState* AppState::clone() const {
    AppState* copy = CheckAlloc(new (std::nothrow) AppState(*this), "appstate", 70);
    copy->setPartsClone(1);
    return copy;
}

AString AppState::getUserTxtInfo(int16_t key) {
    if (!fUserTxtInfo.has(key))
        fUserTxtInfo.set(key, "");
    return fUserTxtInfo.get(key);
}

void AppState::setSearchState(ASVLoSearchState* search) {
    AssignRef(fSearchState, search);
}

long AppState::getRightDocNo() const {
    return fRightState && fRightState->fExtDocNo >= 0 ? fRightState->fExtDocNo : fDocNo;
}

void AppState::setDocState(ADocState* doc) {
    if (doc == fDocState)
        return;
    delete fDocState;
    fDocState = doc;
}

void AppState::setRightState(ARightState* right) {
    if (right == fRightState)
        return;
    delete fRightState;
    fRightState = right;
}

void AppState::forEachPart(void (*fn)(ABaseState& part, int16_t value), int16_t value) {
    for (ABaseState* part : {static_cast<ABaseState*>(fDocState), static_cast<ABaseState*>(fLeftState),
                             static_cast<ABaseState*>(fRightState)})
        if (part)
            fn(*part, value);
}

void AppState::setNew(int16_t value) {
    fNew = value;
    forEachPart([](ABaseState& part, int16_t v) { part.fNew = v; }, value);
}

void AppState::setHisto(int16_t value) {
    fHisto = value;
    forEachPart([](ABaseState& part, int16_t v) { part.fHisto = v; }, value);
}

void AppState::setPartsClone(int16_t value) {
    forEachPart([](ABaseState& part, int16_t v) { part.fClone = v; }, value);
}

void AppState::clearPartFlags() {
    forEachPart([](ABaseState& part, int16_t) { part.clearFlags(); }, 0);
}

void AppState::setPrev(AppState* prev) {
    fPrev = prev;
    if (prev)
        prev->setNew(0);
}

template <class State, class IO>
void AppState::textFields(State& state, IO io) {
    io("<!--fScreenMode-->", state.fScreenMode);
    io("<!--fPane-->", state.fPane);
    io("<!--fTemporaire-->", state.fTemporaire);
    io("<!--fNew-->", state.fNew);
    io("<!--fHisto-->", state.fHisto);
    io("<!--fLink-->", state.fLink);
    io("<!--fDocNo-->", state.fDocNo);
    io("<!--fNbFrame-->", state.fNbFrame);
    io("<!--fNumFrame-->", state.fNumFrame);
    io("<!--fSalle-->", state.fSalle);
}

void AppState::write(AFileStream& stream) const {
    WriteMarkedString(stream, "<!--AppState-->", "");
    textFields(*this, AMarkedIntWriter{stream});
    WriteUserInfo(stream, fUserInfo, fUserTxtInfo);
    WriteMarkedInt(stream, "<!--fSearchState-->", fSearchState ? fSearchState->getSearchKey() : 0);
    struct Part {
        const char* marker;
        const ABaseState* part;
    } const parts[] = {{"<!--fDocState-->", fDocState},
                       {"<!--fLeftState-->", fLeftState},
                       {"<!--fRightState-->", fRightState}};
    for (const Part& p : parts) {
        WriteMarkedInt(stream, p.marker, p.part ? 1 : 0);
        if (p.part)
            p.part->write(stream);
    }
    WriteMarkedString(stream, "<!--Fin AppState-->", "");
}

void AppState::read(AFileStream& stream) {
    ReadMarkedString(stream, "<!--AppState-->");
    textFields(*this, AMarkedIntReader{stream});
    ReadUserInfo(stream, fUserInfo, fUserTxtInfo);
    long key = ReadMarkedInt(stream, "<!--fSearchState-->");
    std::unique_ptr<ADocState> doc = ReadPart<ADocState>(stream, "<!--fDocState-->");
    std::unique_ptr<ALeftState> left = ReadPart<ALeftState>(stream, "<!--fLeftState-->");
    std::unique_ptr<ARightState> right = ReadPart<ARightState>(stream, "<!--fRightState-->");
    ReadMarkedString(stream, "<!--Fin AppState-->");
    setDocState(doc.release());
    delete fLeftState;
    fLeftState = left.release();
    setRightState(right.release());
    setSearchState(key > 0 && gSearchStateTable ? gSearchStateTable->findSearchState(key) : nullptr);
}
