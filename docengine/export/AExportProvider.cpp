// Export providers.
#include "docengine/export/AExportProvider.h"

#include "base/procedural/AError.h"
#include "docengine/model/AIndexedDocModel.h"
#include "docengine/parser/ASegParser.h"
#include "docengine/parser/ATextFragParser.h"
#include "docengine/text/AStringReader.h"

namespace {

AExportCursor WithModel(const AExportCursor& cursor, ADocModel* model) {
    AExportCursor copy(cursor);
    copy.setModel(model);
    if (model)
        model->release();  // the copy holds it now
    return copy;
}

}  // namespace

AExportCursor AExportProvider::epilogueCursor(long index, ADocRange range, const AExportCursor& cursor) {
    return WithModel(cursor, epilogueModel(index, range));
}

AExportCursor AExportProvider::prologueCursor(long index, ADocRange range, const AExportCursor& cursor) {
    return WithModel(cursor, prologueModel(index, range));
}

AExportLink AExportProvider::makeLink(const AString& target, uint16_t, const AString& prefix) {
    AExportLink link;
    link.text = linkText(target, prefix);
    return link;
}

AString AExportProvider::linkText(const AString& target, const AString& prefix) {
    if (prefix.empty())
        return target;
    AString text(prefix);
    text += ":";
    text += target;
    return text;
}

ADocModel* AExportProvider::makeModel(const AString& text, const AString&) {
    if (text.empty())
        return nullptr;
    ARefHold<AStringReader> reader(CheckAlloc(new AStringReader(text.c_str(), -1), "gexport", 644));
    ARefHold<ASegParser> segments(CheckAlloc(new AReaderSegParser(reader.get()), "gexport", 645));
    ARefHold<AFragParser> fragments(CheckAlloc(new ATextFragParser('/'), "gexport", 646));
    ADocModel* model = CheckAlloc(new AIndexedDocModel(segments.get(), fragments.get(), nullptr), "gexport", 648);
    model->addRef();
    return model;
}

ARendererExportProvider::ARendererExportProvider(ADocModel* model, AStyleSheet* sheet, const AString& trailer,
                                                 const AString& title)
    : model_(model), sheet_(sheet), trailer_(trailer), title_(title) {
    if (model_)
        model_->addRef();
}

ARendererExportProvider::~ARendererExportProvider() {
    ReleaseAndNull(model_);
}

AExportCursor ARendererExportProvider::makeRootCursor() {
    ADocModel* trailer = makeModel(trailer_, title_);
    AExportCursor cursor(model_, sheet_, trailer, title_);
    if (trailer)
        trailer->release();
    return cursor;
}
