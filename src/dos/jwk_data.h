// The DOS-era shape file (JWK), as far as the file list uses it: recognition and the
// header. The entity part of the file is never read.
#pragma once
#include "dos/dos_data.h"
#include "dos/dos_types.h"

namespace plandown {

class TJwkData final : public TDosData<TEntJwkHeader> {
 public:
  TJwkData() : TDosData(dos::kJwkIdent) {}

 private:
  bool ReadDosHeader(InStream& in) override;
};

}  // namespace plandown
