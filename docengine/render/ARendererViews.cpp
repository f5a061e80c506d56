// Renderer layers and views: forwarding to the renderer, clipboard, exports,
// document commands and the layers made at layout time.
#include "docengine/render/ARendererViews.h"

#include <windows.h>

#include <cstring>
#include <new>
#include <string>

#include "base/procedural/AError.h"
#include "base/procedural/AOutStream.h"
#include "docengine/export/AExportSink.h"
#include "docengine/export/AExportWriter.h"
#include "docengine/export/ARtfExportWriter.h"
#include "docengine/model/ADocModel.h"
#include "docengine/render/AHitNavigator.h"
#include "framework/bitmaps/ABitmapLayer.h"
#include "framework/app/AWindow.h"
#include "framework/components/ALayoutLoader.h"
#include "framework/display/APrintRange.h"

SV_IMPLEMENT_CLASS(ARendererLayer, 601, AViewLayer)
SV_IMPLEMENT_CLASS(ARendererView, 604, ALayerView)
SV_IMPLEMENT_CLASS(AStandardView, 605, ARendererView)
SV_IMPLEMENT_CLASS(AHotspotView, 606, ARendererView)
SV_IMPLEMENT_CLASS(ALoadModelCmd, 0, ACommand)

namespace {

const uint32_t kTextFormat = 1;
const uint32_t kBitmapFormat = 8;

// The provider's renderer-export flag; false for none and for other providers.
bool RendererExport(AExportProvider* provider) {
    auto* own = dynamic_cast<AViewExportProvider*>(provider);
    return own && own->rendererExport();
}

// The layer's document (whole) or selection written into the sink, through the
// layer's provider or, without one, a provider of its own with the flag clear.
template <class Writer>
void WriteWith(ARendererLayer* layer, AExportSink* sink, bool whole, long line) {
    AExportProvider* provider = layer->getExportProvider();
    ARefHold<AExportProvider> own(
        provider ? nullptr : CheckAlloc(new (std::nothrow) AViewExportProvider(layer, false), "gviews", line));
    Writer writer(sink, provider ? provider : own.get());
    // Natural-width table cells are measured on the view's display.
    AViewMeasureLock lock(layer->getRenderer() ? layer->getRenderer()->view() : nullptr);
    whole ? writer.exportAll() : writer.exportSelection();
}

// The document written into a string by a writer.
template <class Writer>
AString WrittenBy(ARendererLayer* layer, bool whole, long line) {
    ARefHold<AStringExportSink> sink(CheckAlloc(new (std::nothrow) AStringExportSink(), "gviews", line - 1));
    WriteWith<Writer>(layer, sink.get(), whole, line);
    return sink->getString();
}

// The document written to a stream by a writer; false without a model or stream.
template <class Writer>
bool WrittenTo(ARendererLayer* layer, AOutStream* stream, bool whole, long line) {
    if (!layer->getRenderer() || !layer->getRenderer()->model() || !stream)
        return false;
    ARefHold<AStreamExportSink> sink(CheckAlloc(new (std::nothrow) AStreamExportSink(stream), "gviews", line - 1));
    WriteWith<Writer>(layer, sink.get(), whole, line);
    return true;
}

// The path with its extension replaced.
std::string WithExtension(const char* file, const char* ext) {
    std::string s(file ? file : "");
    size_t slash = s.find_last_of("\\/:");
    size_t dot = s.find_last_of('.');
    if (dot != std::string::npos && (slash == std::string::npos || dot > slash))
        s.erase(dot);
    return s + ext;
}

// The box only says the file could not be written: the log keeps why.
bool SaveFailed(const std::string& path, const char* step) {
    DWORD error = GetLastError();
    CurrentErrorStream()
        .writeString("#Save ")
        .writeString(path.c_str())
        .writeString(": ")
        .writeString(step)
        .writeString(" (error ")
        .writeString(std::to_string(error).c_str())
        .writeString(")\n");
    return false;
}

// Another program (the shell's view of the folder, an indexer) may hold a file
// for a moment just after it is written: the rename is tried for about a second.
bool ReplaceWith(const std::string& temp, const std::string& path) {
    for (int tries = 1;; ++tries) {
        if (MoveFileExA(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return true;
        DWORD error = GetLastError();
        bool held = error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION || error == ERROR_ACCESS_DENIED;
        if (!held || tries == 20)
            return false;
        Sleep(50);
    }
}

// Written to a temporary sibling, then renamed over the old file.
bool SaveWhole(const std::string& path, const AString& bytes) {
    std::string temp = path + ".tmp~";
    HANDLE f = CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE)
        return SaveFailed(temp, "not created");
    DWORD wrote = 0;
    DWORD size = static_cast<DWORD>(bytes.length());
    bool ok = (size == 0 || WriteFile(f, bytes.c_str(), size, &wrote, nullptr)) && wrote == size && FlushFileBuffers(f);
    if (!ok)
        SaveFailed(temp, "not written");
    CloseHandle(f);
    if (ok && ReplaceWith(temp, path))
        return true;
    if (ok)
        SaveFailed(path, "not replaced");
    DeleteFileA(temp.c_str());
    return false;
}

}  // namespace

// --- layout records: each class adds only its end mark

void ARendererLayer::readFrom(AMemoryStream& stream) {
    AViewLayer::readFrom(stream);
    ALayoutLoader::readEndMark(stream, "gviews", 601);
}

void ARendererView::readFrom(AMemoryStream& stream) {
    ALayerView::readFrom(stream);
    ALayoutLoader::readEndMark(stream, "gviews", 604);
    addItemFlags(kEditCommands | kItemCommands);
}

void AStandardView::readFrom(AMemoryStream& stream) {
    ARendererView::readFrom(stream);
    ALayoutLoader::readEndMark(stream, "gviews", 605);
}

void AHotspotView::readFrom(AMemoryStream& stream) {
    ARendererView::readFrom(stream);
    ALayoutLoader::readEndMark(stream, "gviews", 606);
}

// --- provider

ARenderer* AViewExportProvider::getRenderer() const {
    return layer_ ? layer_->getRenderer() : nullptr;
}

AExportCursor AViewExportProvider::makeRootCursor() {
    ARenderer* r = getRenderer();
    if (!r)
        return AExportCursor();
    AExportCursor base = r->makeExportCursor();
    AString title;
    layer_->documentTitle(title);
    ADocModel* header = makeModel(AString(layer_->exportHeader().c_str()), title);
    AExportCursor cursor(base.model(), base.styleSheet(), header, title);
    if (header)
        header->release();
    static_cast<AExportContext&>(cursor) = base;
    return cursor;
}

void* AViewExportProvider::clipboardData(uint32_t format, bool whole, ARenderer* renderer) {
    return renderer ? renderer->exportText(format, whole) : nullptr;
}

// --- layer

ARendererLayer::~ARendererLayer() {
    if (renderer_)
        renderer_->release();
    if (provider_)
        provider_->release();
}

void ARendererLayer::setRenderer(ARenderer* renderer) {
    if (renderer == renderer_)
        return;
    if (renderer)
        renderer->addRef();
    if (renderer_)
        renderer_->release();
    renderer_ = renderer;
    printer_.reset();
    if (renderer_ && !(renderer_->options & RendererBits::kNoFit)) {
        renderer_->setFrame(getLocalBounds(), false);
        renderer_->attachScroller(true);
    }
    setActive(hasFlags(kActive | kVisible));
}

void ARendererLayer::setExportProvider(AExportProvider* provider) {
    if (provider == provider_)
        return;
    if (provider)
        provider->addRef();
    if (provider_)
        provider_->release();
    provider_ = provider;
}

void ARendererLayer::setActive(bool on) {
    if (renderer_)
        renderer_->setActive(on);
    bool caret = renderer_ && (renderer_->state & RendererBits::kHighlightOn);
    if (caret && !caretTimer_) {
        caretTimer_ = addTimer(GetCaretBlinkTime());
    } else if (!caret && caretTimer_) {
        restartTimer(caretTimer_);
        caretTimer_ = 0;
    }
}

AHelpRecord ARendererLayer::helpTextAt(const APoint& point) {
    AHelpRecord record;
    AString text = renderer_ ? renderer_->helpTextAt(point) : AString();
    if (!text.empty()) {
        record.text = text;
        record.area = ARect(point, point);
        record.valid = 1;
        record.owner = this;
    }
    return record;
}

void ARendererLayer::detachItems() {
    if (caretTimer_) {
        restartTimer(caretTimer_);
        caretTimer_ = 0;
    }
    setRenderer(nullptr);
    printer_.reset();
    setExportProvider(nullptr);
    AViewLayer::detachItems();
}

long ARendererLayer::drawContent(const ARect& rect) {
    if (!renderer_)
        return 0;
    if (!(renderer_->state & RendererBits::kLaidOut)) {
        renderer_->setFrame(getLocalBounds(), false);
        renderer_->attach();
        renderer_->relayoutFrom(0, true);
    }
    renderer_->draw(rect);
    return 1;
}

long ARendererLayer::frameChanged(const APoint& size) {
    if (renderer_ && !(renderer_->options & RendererBits::kNoFit)) {
        const long oldWidth = renderer_->frame().width();
        renderer_->setFrame(getLocalBounds(), false);
        if (renderer_->state & RendererBits::kLaidOut) {
            renderer_->relayoutFrom(7, false);
            // Every line may wrap anew, not only those of the strip the resize uncovered.
            if (renderer_->frame().width() != oldWidth)
                invalidate();
        }
    }
    return AViewLayer::frameChanged(size);
}

AScrollingTracker* ARendererLayer::makeMouseTracker(AMouseEvent& event) {
    if (!renderer_)
        return AViewLayer::makeMouseTracker(event);
    return renderer_->hitAt(event, this);
}

ACommand* ARendererLayer::mouseMoved(AMouseEvent& event) {
    return renderer_ ? renderer_->mouseMoved(event) : AViewLayer::mouseMoved(event);
}

ACommand* ARendererLayer::rightMouseDown(AMouseEvent& event) {
    return renderer_ ? renderer_->rightMouseDown(event) : AViewLayer::rightMouseDown(event);
}

ACommand* ARendererLayer::doubleClick(AMouseEvent& event, long value) {
    return renderer_ ? renderer_->doubleClick(event, value) : AViewLayer::doubleClick(event, value);
}

ACommand* ARendererLayer::keyToCommand(AKeyEvent& event) {
    if (renderer_ && event.down && event.keyCode) {
        ACommand* c = renderer_->keyDown(event.keyCode, (event.modifiers() & kModShift) ? 0x4 : 0);
        if (c && c != passThroughCommand())
            return c;
    }
    return AViewLayer::keyToCommand(event);
}

long ARendererLayer::timerFired(uint16_t id, uint32_t now) {
    if (id && id == caretTimer_) {
        if (renderer_)
            renderer_->toggleHighlight();
        return 0;
    }
    return AViewLayer::timerFired(id, now);
}

bool ARendererLayer::scrollVertically(int16_t code, int32_t value, int16_t& shift, int32_t& delta) {
    if (renderer_ && renderer_->scrollVerticallyBy(code, value, delta)) {
        shift = 0;  // the renderer redraws itself
        return delta != 0;
    }
    return AViewLayer::scrollVertically(code, value, shift, delta);
}

bool ARendererLayer::canCopy() {
    return renderer_ && renderer_->hasSelection(wholeDocument != 0);
}

AString ARendererLayer::plainText(bool whole) {
    ADocModel* m = renderer_ ? renderer_->model() : nullptr;
    if (!m)
        return AString();
    if (whole)
        return m->exportText(0, m->getLength(), provider_, false);
    return m->exportSelection(provider_, false);
}

void* ARendererLayer::exportData(uint32_t format) {
    if (!renderer_)
        return nullptr;
    bool whole = wholeDocument != 0;
    if (!provider_)
        return renderer_->exportText(format, whole);
    if (RendererExport(provider_))
        return static_cast<AViewExportProvider*>(provider_)->clipboardData(format, whole, renderer_);
    if (format != kTextFormat || !renderer_->model())
        return nullptr;
    AString text = plainText(whole);
    return GlobalBlockOf(text.c_str(), static_cast<size_t>(text.length()), true);
}

void ARendererLayer::copyFormats(AFormatList& list) {
    if (renderer_)
        renderer_->addExportFormats(list);
}

bool ARendererLayer::writeText(AOutStream* stream, uint32_t format) {
    if (!stream || !renderer_)
        return false;
    if (RendererExport(provider_)) {
        AComponent* source = layerOwner() ? static_cast<AComponent*>(layerOwner()) : this;
        HGLOBAL data = static_cast<HGLOBAL>(source->renderFormat(format));
        const char* p = data ? static_cast<const char*>(GlobalLock(data)) : nullptr;
        if (p) {
            SIZE_T size = GlobalSize(data);
            // Text blocks end with their NUL; other formats are written whole.
            for (SIZE_T i = 0; i < size && (format != kTextFormat || p[i]); ++i)
                stream->writeChar(p[i]);
            GlobalUnlock(data);
        }
        if (data)
            GlobalFree(data);
        return p != nullptr;
    }
    ADocModel* m = renderer_->model();
    if (!m)
        return false;
    bool whole = wholeDocument != 0, markup = textOption != 0;
    bool ok = whole ? m->exportAllToStream(stream, provider_, markup)
                    : m->exportSelectionToStream(stream, provider_, markup);
    std::string header = provider_ ? std::string() : exportHeader();
    if (!header.empty()) {
        stream->writeString("\r\n");
        stream->writeString(header.c_str());
        stream->writeString("\r\n");
    }
    return ok;
}

bool ARendererLayer::writeRtf(AOutStream* stream, bool whole) {
    return WrittenTo<ARtfExportWriter>(this, stream, whole, 430);
}

bool ARendererLayer::writePlainText(AOutStream* stream, bool whole) {
    return WrittenTo<APlainExportWriter>(this, stream, whole, 443);
}

// --- printing: the page count is unknown until the printed copy runs out of text

ARendererPrinter* ARendererLayer::rendererPrinter() {
    if (!printer_)
        printer_.reset(CheckAlloc(makePrinter(), "gviews", 481));
    if (!printer_)
        ThrowAssert("gviews", 475);
    return printer_.get();
}

long ARendererLayer::countPages(const ARect&) {
    return 0;
}

void ARendererLayer::beginPrinting(const ARect& body) {
    if (!renderer_)
        return;
    ARendererPrinter* p = rendererPrinter();
    p->reset();
    p->prepare(body, renderer_);
}

bool ARendererLayer::pageAvailable(const APrintRange& range, long page) {
    if (!printer_ || !printer_->printedRenderer() || page > range.lastPage)
        return false;
    return page == 0 || page <= printer_->lastPrintedPage() || printer_->hasMorePages();
}

void ARendererLayer::drawPage(const ARect& body, long page, bool draw) {
    if (printer_ && page >= printer_->lastPrintedPage())
        printer_->printPage(body, page, draw);
}

// Asked before each page: the page after the last printed one may ask for its orientation.
long ARendererLayer::pageOrientation(long page) {
    if (!printer_ || page == 0 || page != printer_->lastPrintedPage() + 1)
        return 0;
    return printer_->nextPageKind(page);
}

void ARendererLayer::endPrinting() {
    if (printer_)
        printer_->reset();
}

// --- renderer view

void ARendererView::componentAdded(AComponent* component) {
    ALayerView::componentAdded(component);
    if (auto* layer = dynamic_cast<ARendererLayer*>(component))
        if (component->isDescendantOf(this))
            layer_ = layer;
}

void ARendererView::componentDeleted(AComponent* component) {
    if (component == layer_)
        layer_ = nullptr;
    ALayerView::componentDeleted(component);
}

void ARendererView::windowActivated(int16_t on) {
    ALayerView::windowActivated(on);
    if (layer_)
        layer_->setActive(on != 0);
}

ACommand* ARendererView::keyToCommand(AKeyEvent& event) {
    if (renderer() && event.down && event.keyCode) {
        ACommand* c = renderer()->keyDown(event.keyCode, (event.modifiers() & kModShift) ? 0x4 : 0);
        if (c && c != passThroughCommand())
            return c;
    }
    return ALayerView::keyToCommand(event);
}

// Model commands, hit navigation and the renderer's own command, after the item bindings.
void ARendererView::bindActions() {
    ALayerView::bindActions();
    addActionRange(120, this, 100, 103, nullptr);
    addActionRange(121, this, 110, 113, nullptr);
    addAction(35, this, 36, nullptr);
}

ACommand* ARendererView::doCommand(int16_t id, long argument) {
    ARenderer* r = renderer();
    switch (id) {
        case 35:
            if (r && r->canDoRendererCommand())
                return r->doRendererCommand();
            return noChangeCommand();
        case 120:
            if (r && r->model()) {
                if (argument == 102)
                    r->model()->collapseAll(0);
                else if (argument == 103)
                    r->model()->expandAll(0);
            }
            queueUpdate(0);
            return noChangeCommand();
        case 121: {
            AHitNavigator* n = r ? r->hitNavigator() : nullptr;
            if (n) {
                if (argument == 110)
                    n->showHit(n->currentHit().start, 40);
                else if (argument == 111)
                    n->showPreviousHit();
                else if (argument == 112)
                    n->showNextHit();
                else if (argument == 113)
                    n->showHit(n->currentHit().start, 72);
            }
            return noChangeCommand();
        }
        default:
            return ALayerView::doCommand(id, argument);
    }
}

int16_t ARendererView::commandStatus(int16_t id, long argument) {
    ARenderer* r = renderer();
    switch (id) {
        case 35:
            return r && r->canDoRendererCommand() ? 1 : 2;
        case 120:
            if (!r || !r->model())
                return 2;
            if (argument == 102)
                return r->model()->hasExpandableParts() ? 1 : 2;
            if (argument == 103)
                return r->model()->hasCollapsedParts() ? 1 : 2;
            return 2;
        case 121: {
            AHitNavigator* n = r ? r->hitNavigator() : nullptr;
            if (!n)
                return 2;
            if (argument == 110 || argument == 113)
                return n->currentHit().end > n->currentHit().start ? 1 : 2;
            if (argument == 111)
                return n->hasPreviousHit() ? 1 : 2;
            if (argument == 112)
                return n->hasNextHit() ? 1 : 2;
            return 2;
        }
        default:
            return ALayerView::commandStatus(id, argument);
    }
}

bool ARendererView::exportRtfFile(const char* file, bool whole) {
    if (!layer_ || !renderer() || !renderer()->model())
        return SaveFailed(file ? file : "", "no document to write");
    return SaveWhole(WithExtension(file, ".rtf"), WrittenBy<ARtfExportWriter>(layer_, whole, 430));
}

bool ARendererView::exportTextFile(const char* file, bool whole) {
    if (!layer_ || !renderer() || !renderer()->model())
        return false;
    return SaveWhole(WithExtension(file, ".txt"), WrittenBy<APlainExportWriter>(layer_, whole, 443));
}

bool ARendererView::exportToFile(const char* file, bool whole) {
    size_t n = file ? strlen(file) : 0;
    if (n >= 4 && _stricmp(file + n - 4, ".txt") == 0)
        return exportTextFile(file, whole);
    return exportRtfFile(file, whole);
}

AHelpRecord ARendererView::getHelp(const APoint& point) {
    AHelpRecord tip = layer_ ? layer_->helpTextAt(point) : AHelpRecord();
    return tip.valid ? tip : ALayerView::getHelp(point);
}

// The window answers as it would for a list box in it: a brush, and the colours it set on the DC.
COLORREF ARendererView::getBackColor() {
    ARenderer* r = renderer();
    AWindow* window = nullptr;
    for (AComponent* c = getParent(); c && !window; c = c->getParent())
        window = dynamic_cast<AWindow*>(c);
    HWND own = enclosingWindow();
    if (!r || !(r->options & RendererBits::kParentBackground) || !window ||
        !(window->windowFlags() & AWindow::kNoErase) || !window->getHWnd() || !own)
        return ALayerView::getBackColor();
    HDC dc = GetDC(own);
    if (!dc)
        return ALayerView::getBackColor();
    COLORREF text = GetTextColor(dc), back = GetBkColor(dc);
    auto brush = reinterpret_cast<HBRUSH>(SendMessageA(window->getHWnd(), WM_CTLCOLORLISTBOX,
                                                       reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(own)));
    COLORREF set = GetBkColor(dc);
    SetTextColor(dc, text);
    SetBkColor(dc, back);
    ReleaseDC(own, dc);
    LOGBRUSH lb;
    if (brush && GetObjectA(brush, sizeof lb, &lb) == sizeof lb && lb.lbStyle == BS_SOLID)
        return lb.lbColor;
    return set;
}

void* ARendererView::convertData(uint32_t format, void* handle) {
    if (layer_ && layer_->getExportProvider() && !RendererExport(layer_->getExportProvider()))
        return handle;
    return ALayerView::convertData(format, handle);
}

// --- layout-time views

void AStandardView::childrenLoaded() {
    ARendererView::childrenLoaded();
    auto* layer = CheckAlloc(new (std::nothrow) ARendererLayer(this, 0, ASizeSpec::fill), "gviews", 1018);
    AObject::completeNew(layer);
    layer->show(false);
}

void AHotspotView::childrenLoaded() {
    ARendererView::childrenLoaded();
    auto* bitmap = CheckAlloc(new (std::nothrow) ABitmapLayer(this, 0, ASizeSpec::fill), "gviews", 1055);
    AObject::completeNew(bitmap);
    bitmap->show(false);
    auto* layer = CheckAlloc(new (std::nothrow) ARendererLayer(this, 0, ASizeSpec::fill), "gviews", 1056);
    AObject::completeNew(layer);
    layer->show(false);
}

ABitmapLayer* AHotspotView::bitmapLayer() {
    for (ALink* link = children().firstLink(); link != children().sentinel(); link = link->next)
        if (auto* layer = dynamic_cast<ABitmapLayer*>(ChildOf(link)))
            return layer;
    return nullptr;
}

void AHotspotView::setBitmap(const void* packed, uint32_t size) {
    if (bitmap_)
        GlobalFree(bitmap_);
    bitmap_ = packed ? GlobalBlockOf(packed, size, false) : nullptr;
    size_ = bitmap_ ? size : 0;
}

void* AHotspotView::exportData(uint32_t format) {
    if (format != kBitmapFormat || !bitmap_)
        return nullptr;
    void* p = GlobalLock(bitmap_);
    void* copy = GlobalBlockOf(p, size_, false);
    GlobalUnlock(bitmap_);
    return copy;
}

void AHotspotView::copyFormats(AFormatList& list) {
    list.push_back(kBitmapFormat);
}

// --- load command

ALoadModelCmd::ALoadModelCmd(ARenderer* renderer, ADocModel* model, long position, long offset)
    : renderer_(renderer), model_(model), position_(position), offset_(offset) {
    if (renderer_)
        renderer_->addRef();
    if (model_)
        model_->addRef();
}

ALoadModelCmd::~ALoadModelCmd() {
    if (renderer_)
        renderer_->release();
    if (model_)
        model_->release();
}

// A command made by the registry has no renderer: it does nothing.
void ALoadModelCmd::execute() {
    if (!renderer_)
        return;
    renderer_->setModel(model_);
    if (model_) {
        renderer_->scrollToRange(position_, position_ + 1, 0x28);
        renderer_->attach();
    }
    (void)offset_;
}
