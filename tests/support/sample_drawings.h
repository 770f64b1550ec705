// Small drawings built in code and written with the project's own writer: fixtures for
// the tests and the bundled examples. No test framework here, so that tools can use it.
#pragma once
#include <cstdint>

#include "jww/jww_data.h"
#include "util/ustring.h"

namespace plandown::samples {

// Empties the document and gives it tables that every generation writes unchanged, so a
// drawing made from it converts without corrections unless its entities ask for them.
void StartDrawing(TJwwData& doc, int version, const String& memo = {});

TEntJwwAttr Attr(std::uint16_t color = 1, std::uint8_t style = 1, std::uint16_t layer = 0);

// Each appends one entity to the main list (and its order entry) and returns its index.
int AddLine(TJwwData& doc, double x1, double y1, double x2, double y2, TEntJwwAttr att = Attr());
int AddArc(TJwwData& doc, double cx, double cy, double r, TEntJwwAttr att = Attr());
int AddPoint(TJwwData& doc, double x, double y);
int AddText(TJwwData& doc, double x, double y, const String& text, TEntJwwAttr att = Attr());
int AddSolid(TJwwData& doc, double x, double y, double size, TEntJwwAttr att = Attr());
// A dimension line with its value text; with `sxf` it carries SXF parts (4.20 and later).
int AddDimension(TJwwData& doc, double x1, double y1, double x2, double y2, bool sxf);
int AddInsert(TJwwData& doc, std::uint32_t number, double x, double y);

// Appends a block definition holding one line and one text.
TEntJwwBlockDef& AddDefinition(TJwwData& doc, std::uint32_t number, const String& name, const String& text);

// Counts, tree and references made consistent; call before FileOut.
void FinishDrawing(TJwwData& doc);

// A drawing with every entity kind, a block, a two-line memo and Japanese text.
void FillPlan(TJwwData& doc, int version);

// FillPlan written as `version`; false when the write failed.
bool WritePlan(const String& path, int version);

}  // namespace plandown::samples
