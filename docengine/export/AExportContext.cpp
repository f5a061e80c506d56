// Export contexts, cursors and links: value records with counted members.
#include "docengine/export/AExportContext.h"

#include "docengine/model/ADocModel.h"
#include "docengine/styles/AStyleSheet.h"

namespace {

template <class T>
void Assign(T*& slot, T* value) {
    if (value == slot)
        return;
    if (value)
        value->addRef();
    ReleaseAndNull(slot);
    slot = value;
}

}  // namespace

AExportContext::AExportContext()
    : bitmapSupplier(nullptr),
      component(nullptr),
      styles{-1, -1, -1},
      scaleTabStops(0),
      referenceWidth(451),
      noteMarkers(0),
      styleSheet_(nullptr) {}

AExportContext::AExportContext(const AExportContext& other) : AExportContext() {
    *this = other;
}

AExportContext& AExportContext::operator=(const AExportContext& other) {
    bitmapSupplier = other.bitmapSupplier;
    component = other.component;
    for (int i = 0; i < 3; ++i)
        styles[i] = other.styles[i];
    scaleTabStops = other.scaleTabStops;
    referenceWidth = other.referenceWidth;
    paragraphFormat = other.paragraphFormat;
    noteMarkers = other.noteMarkers;
    setStyleSheet(other.styleSheet_);
    return *this;
}

AExportContext::~AExportContext() {
    ReleaseAndNull(styleSheet_);
}

void AExportContext::setStyleSheet(AStyleSheet* sheet) {
    Assign(styleSheet_, sheet);
}

AExportCursor::AExportCursor(ADocModel* model, AStyleSheet* sheet, ADocModel* trailer, const AString& text)
    : title(text), model_(nullptr), trailer_(nullptr) {
    setStyleSheet(sheet);
    Assign(model_, model);
    Assign(trailer_, trailer);
}

AExportCursor::AExportCursor(const AExportCursor& other) : AExportContext(other), model_(nullptr), trailer_(nullptr) {
    linkPrefix = other.linkPrefix;
    title = other.title;
    Assign(model_, other.model_);
    Assign(trailer_, other.trailer_);
}

AExportCursor& AExportCursor::operator=(const AExportCursor& other) {
    AExportContext::operator=(other);
    linkPrefix = other.linkPrefix;
    title = other.title;
    Assign(model_, other.model_);
    Assign(trailer_, other.trailer_);
    return *this;
}

AExportCursor::~AExportCursor() {
    ReleaseAndNull(model_);
    ReleaseAndNull(trailer_);
}

void AExportCursor::setModel(ADocModel* model) {
    Assign(model_, model);
}
