// Dossiers and their lines.
#include "panes/docks/workspace/Dossier.h"

#include "panes/docks/workspace/StoreLines.h"

Dossier::Dossier(ADossierManager* manager, const char* name) : manager_(manager) {
    setName(name);
}

void Dossier::setName(const char* name) {
    name_ = OneLine(name);
}

// A dossier: "DOSSIER", its name, "INTERNALS", then its element list.
void Dossier::write(AFileStream& stream) const {
    WriteStoreLine(stream, "DOSSIER");
    WriteStoreLine(stream, name_.c_str());
    WriteStoreLine(stream, "INTERNALS");
    elements_.write(stream);
}

void Dossier::read(AStoreReader& reader) {
    reader.line();
    setName(reader.line().c_str());
    reader.line();
    elements_.read(reader);
}
