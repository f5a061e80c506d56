// The navigation state of one screen of the main window: screen mode, pane,
// document, the three parts (document area, left and right panels), the
// attached search state and the user values and texts of the screen.
//
// Owns its parts and the chain of states before it (fPrev), destroyed with
// it one after the other; fNext is not owned. Holds one reference on its
// search state. A copy starts outside any chain (null fPrev and fNext).
//
// Text form (marked lines, see MarkedLines.h), 18 lines at the least:
//   <!--AppState-->
//   <!--fScreenMode-->  <!--fPane-->  <!--fTemporaire-->  <!--fNew-->
//   <!--fHisto-->  <!--fLink-->  <!--fDocNo-->  <!--fNbFrame-->
//   <!--fNumFrame-->  <!--fSalle-->
//   <!--fUserInfo-->n [block]  <!--fUserTxtInfo-->m [block]   (as a part's)
//   <!--fSearchState-->key (the history's key, 0 for none)
//   <!--fDocState-->0|1 [part]  <!--fLeftState-->0|1 [part]  <!--fRightState-->0|1 [part]
//   <!--Fin AppState-->
// read (on a new state) raises AStateFormatError on bad text; the parts and
// the search state are attached only once the whole form is read.
#pragma once

#include <cstdint>

#include "app/state/ABaseState.h"
#include "app/state/APrevNextState.h"

class ASVLoSearchState;

class AppState : public APrevNextResponder {
public:
    // The state takes the parts (null allowed) and a reference on the search state.
    AppState(int16_t screenMode, int16_t pane, ADocState* doc, ALeftState* left, ARightState* right,
             ASVLoSearchState* search, long docNo);
    // Copies the fields, shares the search state, clones each part; the copy
    // is outside any chain and fNew, fHisto are 0.
    AppState(const AppState& other);
    AppState& operator=(const AppState&) = delete;
    ~AppState() override;

    // A copy whose parts have fClone 1; the caller deletes it.
    virtual AppState* clone() const;

    void setValue(long key, long value) override { fUserInfo.slot(key) = value; }
    long getValue(long key) override { return fUserInfo.slot(key); }
    void setUserInfo(long key, long value) { fUserInfo.slot(key) = value; }
    // An absent key is recorded with 0.
    long getUserInfo(long key) { return fUserInfo.slot(key); }
    void setUserTxtInfo(int16_t key, const char* text) { fUserTxtInfo.set(key, text); }
    // An absent key is recorded with an empty text.
    AString getUserTxtInfo(int16_t key);

    int16_t getScreenMode() const { return fScreenMode; }
    int16_t getPane() const { return fPane; }
    long getDocNo() const { return fDocNo; }
    void setDocNo(long docNo) { fDocNo = docNo; }
    ASVLoSearchState* getSearchState() const { return fSearchState; }
    void setSearchState(ASVLoSearchState* search);
    // The right panel's document when it shows one, else fDocNo.
    long getRightDocNo() const;
    ADocState* getDocState() const { return fDocState; }
    ALeftState* getLeftState() const { return fLeftState; }
    ARightState* getRightState() const { return fRightState; }
    // Deletes the current part and takes the new one.
    void setDocState(ADocState* doc);
    void setRightState(ARightState* right);
    void setNew(int16_t value);
    void setHisto(int16_t value);
    void setPartsClone(int16_t value);
    void clearPartFlags();
    AppState* getPrev() const { return fPrev; }
    AppState* getNext() const { return fNext; }
    // The state before becomes not new.
    void setPrev(AppState* prev);
    void setNext(AppState* next) { fNext = next; }
    bool hasDocCadenas() const { return fDocState && fDocState->fCadenas == 1; }
    void setDocCadenas(int16_t value) {
        if (fDocState)
            fDocState->fCadenas = value;
    }
    bool hasRightCadenas() const { return fRightState && fRightState->fCadenas == 1; }
    bool isPermanent() const { return fTemporaire == 0; }
    bool showsDocument() const { return fScreenMode != 0 && fScreenMode != 3 && fDocState && fDocNo >= 0; }

    void write(AFileStream& stream) const;
    // The search state comes from gSearchStateTable by its key.
    void read(AFileStream& stream);

    ALongLongDic fUserInfo;
    ALongTextDic fUserTxtInfo;
    long fDocNo;
    int16_t fNbFrame = 0;
    int16_t fNumFrame = 0;
    int16_t fSalle = 0;
    int16_t fTemporaire = 0;
    int16_t fNew = 0;
    int16_t fHisto = 0;
    int16_t fLink = 0;

private:
    void forEachPart(void (*fn)(ABaseState& part, int16_t value), int16_t value);
    // Calls io(marker, field) for the integer fields of the text, in their order there.
    template <class State, class IO>
    static void textFields(State& state, IO io);

    ASVLoSearchState* fSearchState = nullptr;  // one reference held, or null
    AppState* fPrev = nullptr;                 // owned, with its whole chain
    AppState* fNext = nullptr;                 // not owned
    ADocState* fDocState;                      // owned, or null
    ALeftState* fLeftState;                    // owned, or null
    ARightState* fRightState;                  // owned, or null
    int16_t fPane;
    int16_t fScreenMode;
};
