// The models that show result rows in a renderer: the rows of a getter one
// row a line (thumbnail rows, whose picture and link are brace constructs,
// through the full markup parser), and grouped rows as a tree whose groups
// open and close.
//
// The renderer takes its own reference on the model it is given.
#pragma once

class ABitmapSupplier;
class AClusteredLineGetter;
class ALevelledLineGetter;
class ALaidOutDocModel;
class ALineGetter;
class ARenderer;

// With a supplier the rows are thumbnails and the renderer takes the supplier.
void InstallRows(ARenderer* renderer, ALineGetter* getter, ABitmapSupplier* thumbnails);
// The tree of the groups (or of any rows at levels), every group closed (or, with openAll, open); the
// renderer's new model (null without a renderer).
ALaidOutDocModel* InstallTree(ARenderer* renderer, ALevelledLineGetter* grouped, bool openAll = false);
