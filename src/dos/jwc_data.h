// The DOS-era drawing file (JWC), as far as the file list uses it: recognition and the
// header. The entity part of the file is never read.
#pragma once
#include "dos/dos_data.h"
#include "dos/dos_types.h"

namespace plandown {

class TJwcData final : public TDosData<TEntJwcHeader> {
 public:
  TJwcData() : TDosData(dos::kJwcIdent) {}

 private:
  bool ReadDosHeader(InStream& in) override;
};

}  // namespace plandown
