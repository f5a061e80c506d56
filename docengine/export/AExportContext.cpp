// Export contexts, cursors and links: value records with counted members.
#include "docengine/export/AExportContext.h"

#include "docengine/model/ADocModel.h"
#include "docengine/styles/ABitmapSupplier.h"
#include "docengine/styles/AStyleSheet.h"

AExportContext::AExportContext()
    : component(nullptr),
      styles{-1, -1, -1},
      scaleTabStops(0),
      referenceWidth(451),
      noteMarkers(0),
      measuringDisplay(nullptr),
      styleSheet_(nullptr),
      bitmapSupplier_(nullptr) {}

AExportContext::AExportContext(const AExportContext& other) : AExportContext() {
    *this = other;
}

AExportContext& AExportContext::operator=(const AExportContext& other) {
    setBitmapSupplier(other.bitmapSupplier_);
    component = other.component;
    for (int i = 0; i < 3; ++i)
        styles[i] = other.styles[i];
    scaleTabStops = other.scaleTabStops;
    referenceWidth = other.referenceWidth;
    paragraphFormat = other.paragraphFormat;
    noteMarkers = other.noteMarkers;
    measuringDisplay = other.measuringDisplay;
    setStyleSheet(other.styleSheet_);
    return *this;
}

AExportContext::~AExportContext() {
    ReleaseAndNull(styleSheet_);
    ReleaseAndNull(bitmapSupplier_);
}

void AExportContext::setStyleSheet(AStyleSheet* sheet) {
    AssignRef(styleSheet_, sheet);
}

void AExportContext::setBitmapSupplier(ABitmapSupplier* supplier) {
    AssignRef(bitmapSupplier_, supplier);
}

AExportCursor::AExportCursor(ADocModel* model, AStyleSheet* sheet, ADocModel* trailer, const AString& text)
    : title(text), model_(nullptr), trailer_(nullptr) {
    setStyleSheet(sheet);
    AssignRef(model_, model);
    AssignRef(trailer_, trailer);
}

AExportCursor::AExportCursor(const AExportCursor& other) : AExportContext(other), model_(nullptr), trailer_(nullptr) {
    linkPrefix = other.linkPrefix;
    title = other.title;
    AssignRef(model_, other.model_);
    AssignRef(trailer_, other.trailer_);
}

AExportCursor& AExportCursor::operator=(const AExportCursor& other) {
    AExportContext::operator=(other);
    linkPrefix = other.linkPrefix;
    title = other.title;
    AssignRef(model_, other.model_);
    AssignRef(trailer_, other.trailer_);
    return *this;
}

AExportCursor::~AExportCursor() {
    ReleaseAndNull(model_);
    ReleaseAndNull(trailer_);
}

void AExportCursor::setModel(ADocModel* model) {
    AssignRef(model_, model);
}
