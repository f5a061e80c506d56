// The export provider of the reader's document export: the view's text (or
// its selection only) in the text size of the export options, with the
// document's title and, on request, the article's table of contents before it
// and the reader's notes after it.
//
// Options, sources and the parts' sheet are not owned and must outlive the
// exporter; a missing options object or sheet is an assertion ("appclass").
// Install it on the view's layer (setLayer, then the layer's setExportProvider).
#pragma once

#include "docengine/render/ARendererViews.h"

class ALongDicInfo;
class APrintSources;
class AStyleSheet;

class ASVRendererExporter : public AViewExportProvider {
public:
    ASVRendererExporter(ALongDicInfo* options, APrintSources* sources, AStyleSheet* partSheet)
        : AViewExportProvider(nullptr, false), options_(options), sources_(sources), partSheet_(partSheet) {}

    // The main text's cursor.
    AExportCursor makeRootCursor() override;
    // A leading part's cursor: its model in the parts' sheet.
    AExportCursor prologueCursor(long index, ADocRange range, const AExportCursor& cursor) override;
    // 0: the title; 1: the table of contents (key 5 clear, key 6 set, a contents to give).
    ADocModel* prologueModel(long index, ADocRange range) override;
    // 0: the reader's notes (key 5 clear, key 7 set).
    ADocModel* epilogueModel(long index, ADocRange range) override;

private:
    void checkOptions() const;

    ALongDicInfo* options_;    // not owned
    APrintSources* sources_;   // not owned
    AStyleSheet* partSheet_;   // not owned: the application's sheet 2
};
