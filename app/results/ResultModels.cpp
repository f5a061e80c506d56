// Result rows installed in renderers.
#include "app/results/ResultModels.h"

#include <new>

#include "app/results/AClusteredLineGetter.h"
#include "app/results/ATreeLineParser.h"
#include "base/procedural/AError.h"
#include "docengine/model/AIndexedDocModel.h"
#include "docengine/model/ALaidOutDocModel.h"
#include "docengine/parser/AFragParserVariants.h"
#include "docengine/parser/ASegParser.h"
#include "docengine/render/ARenderer.h"
#include "docengine/styles/ABitmapSupplier.h"

void InstallRows(ARenderer* renderer, ALineGetter* getter, ABitmapSupplier* thumbnails) {
    if (!thumbnails) {
        renderer->setSourceModel(getter, nullptr);
        return;
    }
    renderer->setBitmapSupplier(thumbnails);
    // A label-and-target row cannot hold the picture's braces.
    ARefHold<ASegParser> segments(CheckAlloc(new (std::nothrow) ASourceSegParser(getter), "results", 30));
    ARefHold<AFragParser> fragments(CheckAlloc(new (std::nothrow) ATextFragParser('/'), "results", 31));
    ARefHold<ADocModel> model(
        CheckAlloc(new (std::nothrow) AIndexedDocModel(segments.get(), fragments.get(), nullptr), "results", 32));
    renderer->setModel(model.get());
}

ALaidOutDocModel* InstallTree(ARenderer* renderer, ALevelledLineGetter* grouped, bool openAll) {
    ARefHold<ATreeLineParser> parser(CheckAlloc(new (std::nothrow) ATreeLineParser(grouped), "results", 40));
    ARefHold<AFragParser> fragments(CheckAlloc(new (std::nothrow) ALayoutFragParser('/'), "results", 41));
    ARefHold<ALaidOutDocModel> model(
        CheckAlloc(new (std::nothrow) ALaidOutDocModel(parser.get(), fragments.get(), nullptr), "results", 43));
    // Sections start open; set before the renderer depends on the model.
    if (!openAll)
        model->collapseAll(0);
    if (!renderer)
        return nullptr;
    renderer->setModel(model.get());
    return model.get();
}
