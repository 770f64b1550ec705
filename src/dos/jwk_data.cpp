#include "dos/jwk_data.h"

#include "archive/archive_read.h"
#include "dos/dos_header.h"

namespace plandown {
namespace {

constexpr int kBlock2Fields = 9;
// Scales this small (zero and negative ones included) are unset; they mean 1.
constexpr double kMinScale = 1e-14;

}  // namespace

bool TJwkData::ReadDosHeader(InStream& in) {
  TEntJwkHeader& h = Enthd;
  const std::vector<String>& p = h.para;
  bool ok = true;
  try {
    dos::ReadIdentBlock(in, h.jwID, h.comment1, h.comment2);
    SplitFields(dos::ReadTextBlock(in), kBlock2Fields);
    h.lineCount = dos::FieldInt(p, 0);
    h.arcCount = dos::FieldInt(p, 1);
    h.tenCount = dos::FieldInt(p, 2);
    h.mojiCount = dos::FieldInt(p, 3);
    h.org_x = dos::FieldFloat(p, 4);
    h.org_y = dos::FieldFloat(p, 5);
    h.dispScale = dos::FieldFloat(p, 6);
    h.strSpace = dos::FieldInt(p, 7);
    h.scale = dos::FieldFloat(p, 8);
    if (h.scale <= kMinScale) h.scale = 1.0f;
  } catch (const ArchiveError&) {
    ok = false;
  }
  h.para.clear();
  return ok;
}

}  // namespace plandown
