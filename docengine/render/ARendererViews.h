// Renderer views: the layer that owns a renderer and hands it the view's
// drawing, input, caret, clipboard and export; the layer view that finds its
// renderer layer and adds the document commands and file exports; the
// standard view that makes its layer when its layout is loaded; the command
// that installs a model; the default export provider of a layer.
//
// Without a renderer a layer behaves as a plain AViewLayer. Exports answer
// false when nothing could be written; files are replaced only when whole.
#pragma once

#include <memory>

#include "docengine/export/AExportProvider.h"
#include "docengine/render/ARenderer.h"
#include "docengine/render/ARendererPrinter.h"
#include "framework/components/ACommand.h"
#include "framework/views/ALayerView.h"

class ABitmapLayer;
class ARendererLayer;

// The provider a layer uses for its exports when none is set. With the
// renderer-export flag, the layer's clipboard data and text come from the
// renderer; without it, from the model's text export through this provider.
class AViewExportProvider : public AExportProvider {
public:
    AViewExportProvider(ARendererLayer* layer, bool rendererExport) : layer_(layer), rendererExport_(rendererExport) {}
    // The renderer's document with the layer's export header after it, named by its title.
    AExportCursor makeRootCursor() override;
    // The renderer's data of a clipboard format (a global block the caller frees), or null.
    virtual void* clipboardData(uint32_t format, bool whole, ARenderer* renderer);
    void setLayer(ARendererLayer* layer) { layer_ = layer; }
    ARendererLayer* getLayer() const { return layer_; }
    ARenderer* getRenderer() const;
    bool rendererExport() const { return rendererExport_; }

private:
    ARendererLayer* layer_;  // not counted
    bool rendererExport_;
};

class ARendererLayer : public AViewLayer {
    SV_DECLARE_CLASS(ARendererLayer)
public:
    ARendererLayer() = default;
    ARendererLayer(AComponent* parent, int16_t id, const ASizeSpec& rule) : AViewLayer(parent, id, rule) {}
    ~ARendererLayer() override;

    // Holds a reference; the same renderer again changes nothing.
    void setRenderer(ARenderer* renderer);
    ARenderer* getRenderer() const { return renderer_; }
    void setExportProvider(AExportProvider* provider);
    AExportProvider* getExportProvider() const { return provider_; }
    virtual void setActive(bool on);
    // The renderer's help at a point: a tip (valid 1) where its supplier has a text.
    virtual AHelpRecord helpTextAt(const APoint& point);
    // Writers over the renderer's model; false without a model.
    bool writeRtf(AOutStream* stream, bool whole);
    bool writePlainText(AOutStream* stream, bool whole);
    AString plainText(bool whole);
    // The clipboard data of a format (0: the first offered), or the model's
    // text followed by the export header; false when nothing was written.
    bool writeText(AOutStream* stream, uint32_t format);

    void readFrom(AMemoryStream& stream) override;
    void detachItems() override;
    long drawContent(const ARect& rect) override;
    long frameChanged(const APoint& size) override;
    AScrollingTracker* makeMouseTracker(AMouseEvent& event) override;
    ACommand* mouseMoved(AMouseEvent& event) override;
    ACommand* rightMouseDown(AMouseEvent& event) override;
    ACommand* doubleClick(AMouseEvent& event, long value) override;
    ACommand* keyToCommand(AKeyEvent& event) override;
    long timerFired(uint16_t id, uint32_t now) override;
    // A laid-out renderer answers the vertical scroll queries and scrolls itself.
    int32_t verticalLineStep() override { return renderer_ && renderer_->verticalPage() >= 0 ? 1 : -1; }
    int32_t maxScrollY() override { return renderer_ ? int32_t(renderer_->verticalScrollMax()) : -1; }
    int32_t scrollY() override { return renderer_ ? int32_t(renderer_->verticalScrollValue()) : -1; }
    int32_t visibleHeight() override { return renderer_ ? int32_t(renderer_->verticalPage()) : -1; }
    bool scrollVertically(int16_t code, int32_t value, int16_t& shift, int32_t& delta) override;
    bool canCopy() override;
    void* exportData(uint32_t format) override;
    void copyFormats(AFormatList& list) override;

    // Printing through the layer's printer (made on first use, dropped with the renderer).
    ARendererPrinter* rendererPrinter();
    void setPrinter(ARendererPrinter* printer) { printer_.reset(printer); }
    virtual ARendererPrinter* makePrinter() { return new ARendererPrinter(); }
    long countPages(const ARect& body) override;
    bool pageAvailable(const APrintRange& range, long page) override;
    void beginPrinting(const ARect& body) override;
    void endPrinting() override;
    void cancelPrinting() override { endPrinting(); }
    long pageOrientation(long page) override;
    void drawPage(const ARect& body, long page, bool draw) override;

    int16_t wholeDocument = 0;
    int16_t textOption = 0;  // nonzero: the model's text is written as slash markup
    uint16_t caretTimer() const { return caretTimer_; }

private:
    ARenderer* renderer_ = nullptr;        // one reference held
    AExportProvider* provider_ = nullptr;  // one reference held
    uint16_t caretTimer_ = 0;
    std::unique_ptr<ARendererPrinter> printer_;
};

class ARendererView : public ALayerView {
    SV_DECLARE_CLASS(ARendererView)
public:
    ARendererView() = default;
    ARendererView(AComponent* parent, int16_t id, const ASizeSpec& rule)
        : ALayerView(parent, id, rule, 0, 1, nullptr, 0x3000) {
        addItemFlags(kEditCommands | kItemCommands);
    }

    ARendererLayer* rendererLayer() const { return layer_; }
    ARenderer* renderer() const { return layer_ ? layer_->getRenderer() : nullptr; }

    // The extension becomes ".rtf" or ".txt"; false without a renderer layer or when not written.
    bool exportRtfFile(const char* file, bool whole);
    bool exportRtfFile(const char* file) { return exportRtfFile(file, layer_ && layer_->wholeDocument); }
    bool exportTextFile(const char* file, bool whole);
    bool exportTextFile(const char* file) { return exportTextFile(file, layer_ && layer_->wholeDocument); }
    // The writer of the file's type: plain text for ".txt", RTF otherwise; false when nothing was written.
    bool exportToFile(const char* file, bool whole);
    bool writeText(AOutStream* stream, uint32_t format) { return layer_ && layer_->writeText(stream, format); }

    void readFrom(AMemoryStream& stream) override;
    void componentAdded(AComponent* component) override;
    void componentDeleted(AComponent* component) override;
    void windowActivated(int16_t on) override;
    // The renderer layer sees the keys first when the view is the command target.
    ACommand* keyToCommand(AKeyEvent& event) override;
    void bindActions() override;
    ACommand* doCommand(int16_t id, long argument) override;
    int16_t commandStatus(int16_t id, long argument) override;
    bool canCopy() override { return layer_ && layer_->canCopy(); }
    void* exportData(uint32_t format) override { return layer_ ? layer_->exportData(format) : nullptr; }
    void copyFormats(AFormatList& list) override {
        if (layer_)
            layer_->copyFormats(list);
    }
    // Data the model exported through a provider is final; renderer data goes to the application.
    void* convertData(uint32_t format, void* handle) override;
    // The renderer layer's tip, else the item's own help.
    AHelpRecord getHelp(const APoint& point) override;
    // With renderer option 0x20 in a window with flag 0x80, the window's list-box colour.
    COLORREF getBackColor() override;

private:
    ARendererLayer* layer_ = nullptr;  // not owned
};

class AStandardView : public ARendererView {
    SV_DECLARE_CLASS(AStandardView)
public:
    AStandardView() = default;
    using ARendererView::ARendererView;
    void readFrom(AMemoryStream& stream) override;
    void childrenLoaded() override;
};

// A view whose clipboard holds a picture (format 8); its renderer draws above a bitmap.
class AHotspotView : public ARendererView {
    SV_DECLARE_CLASS(AHotspotView)
public:
    AHotspotView() = default;
    using ARendererView::ARendererView;
    void readFrom(AMemoryStream& stream) override;
    void childrenLoaded() override;
    bool canCopy() override { return bitmap_ != nullptr; }
    void* exportData(uint32_t format) override;
    void copyFormats(AFormatList& list) override;
    // The packed bitmap (header and bits) copied for the clipboard; the view keeps its own.
    void setBitmap(const void* packed, uint32_t size);
    // The layer under the renderer that shows the picture (made with the layers), or null.
    ABitmapLayer* bitmapLayer();

private:
    void* bitmap_ = nullptr;  // global memory block, owned
    uint32_t size_ = 0;
};

// Installs a model into a renderer when the command queue runs it.
class ALoadModelCmd : public ACommand {
    SV_DECLARE_CLASS(ALoadModelCmd)
public:
    ALoadModelCmd() = default;
    // Holds a reference on each (either may be null).
    ALoadModelCmd(ARenderer* renderer, ADocModel* model, long position, long offset);
    ~ALoadModelCmd() override;
    void execute() override;

private:
    ARenderer* renderer_ = nullptr;
    ADocModel* model_ = nullptr;
    long position_ = 0;
    long offset_ = 0;
};
