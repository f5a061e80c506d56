// The parts of a navigation state: what the document area (ADocState), the
// left panel (ALeftState) and the right panel (ARightState) of the main
// window show, each with the user values and texts its panes store in it.
//
// Text form of a part (marked lines, see MarkedLines.h), no begin or end mark:
//   <!--fPane-->P  <!--fMode-->M  <!--fSalleType-->T (signed 8-bit)
//   <!--fSalleLR-->L  <!--fClone-->C  <!--fNew-->N  <!--fHisto-->H
//   <!--fUserInfo-->n      then, when n > 0, the block WriteMarkedDic writes
//                          under the marker "\t<!--fUserInfo-->"
//   <!--fUserTxtInfo-->m   then, when m > 0, ALongTextDic's form
// then the subclass's lines:
//   AListeState, ALeftState: <!--fExpand-->
//   ARightState:             <!--fExpand-->  <!--fCadenas-->  <!--fExtDocNo-->
//   ADocState:               <!--fCadenas-->  <!--fForceDoc-->  <!--fDocType-->  <!--fDate-->
// read raises AStateFormatError on bad text; the part keeps what it read before.
#pragma once

#include <cstdint>

#include "app/state/ALongTextDic.h"
#include "base/object/ALongDic.h"

class AComponent;
class AFileStream;
class APane;

// What showing a part asks of each of its panes, answered by the product's
// pane base: whether the pane is wanted now, and showing it. Null entries:
// every pane is wanted and is only updated.
struct APartPaneHooks {
    bool (*isPaneWanted)(APane* pane);
    void (*setPaneVisible)(APane* pane, int16_t visible);
};
extern APartPaneHooks gPartPaneHooks;

class ABaseState {
public:
    ABaseState() = default;
    explicit ABaseState(int16_t pane) : fPane(pane) {}
    // Copies every field, the dictionaries entry by entry.
    ABaseState(const ABaseState& other);
    ABaseState& operator=(const ABaseState&) = delete;
    virtual ~ABaseState() = default;

    virtual void write(AFileStream& stream) const;
    virtual void read(AFileStream& stream);
    // A copy of the same class with fClone 1; the caller deletes it.
    virtual ABaseState* clone() const;
    // Shows and updates the wanted panes of the part in the main window's
    // cluster 1002, then clears fClone, fHisto and fNew. A missing cluster or
    // pane raises through the allocation check. Nothing for a plain part.
    virtual void show(AComponent*) {}

    // Replaces the text of key by a copy of text.
    void setUserTxtInfo(int16_t key, const char* text) { fUserTxtInfo.set(key, text); }
    // The text of key; an absent key is recorded with an empty text.
    AString getUserTxtInfo(int16_t key);
    void clearFlags() { fClone = fHisto = fNew = 0; }

    ALongLongDic fUserInfo;     // the panes' values (a lookup records the key)
    ALongTextDic fUserTxtInfo;  // the panes' texts
    int16_t fPane = 0;
    int16_t fMode = 0;
    int8_t fSalleType = 0;
    int16_t fSalleLR = 0;
    int16_t fClone = 0;
    int16_t fNew = 1;
    int16_t fHisto = 0;
};

class AListeState : public ABaseState {
public:
    AListeState() = default;
    explicit AListeState(int16_t pane) : ABaseState(pane), fExpand(1) {}
    AListeState(const AListeState& other) = default;

    void write(AFileStream& stream) const override;
    void read(AFileStream& stream) override;
    ABaseState* clone() const override;

    int16_t fExpand = 0;
};

class ALeftState : public AListeState {
public:
    ALeftState() = default;
    ALeftState(const ALeftState& other) = default;
    ABaseState* clone() const override;
    // Pane 1202.
    void show(AComponent* frame) override;
    // Keeps the list's expansion and mode in another left part.
    void copyTo(ALeftState& other) const;
};

class ARightState : public AListeState {
public:
    ARightState() = default;
    ARightState(int16_t pane, long docNo) : AListeState(pane), fExtDocNo(docNo) {}
    ARightState(const ARightState& other) = default;

    void write(AFileStream& stream) const override;
    void read(AFileStream& stream) override;
    ABaseState* clone() const override;
    // Pane 1205.
    void show(AComponent* frame) override;
    void copyTo(ARightState& other) const;

    int16_t fCadenas = 0;
    long fExtDocNo = -1;  // -1: no document
};

class ADocState : public ABaseState {
public:
    ADocState() = default;
    explicit ADocState(int16_t pane) : ABaseState(pane) {}
    ADocState(const ADocState& other) = default;

    void write(AFileStream& stream) const override;
    void read(AFileStream& stream) override;
    ABaseState* clone() const override;
    // Panes 1206, 1201, 1203 and 1204.
    void show(AComponent* frame) override;
    // Keeps the user values under keys 2, 3 and 7 and the padlock.
    void copyTo(ADocState& other) const;

    int16_t fCadenas = 0;
    int16_t fForceDoc = 0;
    int16_t fDocType = 0;  // 8: a web page
    long fDate = 0;
};

// The user dictionaries' lines, shared with the whole state's form.
void WriteUserInfo(AFileStream& stream, const ALongLongDic& values, const ALongTextDic& texts);
void ReadUserInfo(AFileStream& stream, ALongLongDic& values, ALongTextDic& texts);
