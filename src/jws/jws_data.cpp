#include "jws/jws_data.h"

#include "archive/archive_read.h"
#include "archive/instream.h"
#include "jww/entity_reader.h"
#include "jww/entity_writer.h"
#include "jww/output_file.h"
#include "util/codepage.h"

namespace plandown {

namespace {

inline constexpr char kJwsSignature[] = "JwsData";
inline constexpr std::size_t kJwsSignatureBytes = 7;
inline constexpr std::size_t kJwsFiller = 193;  // written as "."
inline constexpr std::uint8_t kJwsFillerByte = 0x2E;
inline constexpr int kJwsLayerGroups = 16;

// The header after the filler, in file order, for reading and writing alike.
template <class F>
void VisitJwsHeader(F& f, TEntJwsHeader& h, std::vector<TEntJwwLayerGroup>& groups) {
  f.D(h.BasePoint_x);
  f.D(h.BasePoint_y);
  for (TEntJwwLayerGroup& g : groups) f.D(g.adScale);
  for (std::int32_t* v : {&h.dmy01, &h.dmy02, &h.dmy03, &h.dmy04, &h.dmy05, &h.dmy06}) f.I(*v);
  for (double* v : {&h.dmy11, &h.dmy12, &h.dmy13, &h.dmy14, &h.dmy15, &h.dmy16}) f.D(*v);
  f.D(h.Mx1);
  f.D(h.My1);
  f.D(h.Mx2);
  f.LastD(h.My2);
}

struct JwsHeaderReader {
  InStream& in;
  void I(std::int32_t& v) { v = ReadI32(in); }
  void D(double& v) { v = ReadF64(in); }
  void LastD(double& v) { v = ReadF64Guarded(in); }
};

struct JwsHeaderWriter {
  OutStream& out;
  void I(std::int32_t v) { out.WriteI32(v); }
  void D(double v) { out.WriteF64(v); }
  void LastD(double v) { out.WriteF64(v); }
};

String ReadJwsSignature(InStream& in) {
  std::uint8_t sig[kJwsSignatureBytes] = {};
  const std::size_t got = in.Read(sig, kJwsSignatureBytes);
  return AnsiBytesToText(std::span<const std::uint8_t>(sig, got));
}

}  // namespace

void TJwsData::DataInit() {
  ClearEntities();
  Enthd = TEntJwsHeader{};
  EntLgrp = {};
  EntMoj = {};
  headerRead_ = false;
}

void TJwsData::DataFree() { DataInit(); }

int TJwsData::AdjustedVersion(int Ver) {
  if (Ver <= kJwsMinWriteVersion) return kJwsMinWriteVersion;
  if (Ver == 300) return kJwsWrite300As;
  return Ver;
}

bool TJwsData::FileCheck(const String& FName) const {
  InStream in(FName);
  if (!in.ok() || ReadJwsSignature(in) != u"JwsData") return false;
  if (in.Skip(kJwsFiller) != kJwsFiller) return false;
  std::uint8_t b[4];
  if (in.Read(b, 4) != 4) return false;
  const std::int32_t ver = GetI32(b);
  return ver >= kJwsMinVersion && ver <= kJwsMaxVersion;
}

bool TJwsData::ReadJwsHeader(InStream& in) {
  EntLgrp.assign(kJwsLayerGroups, {});
  try {
    Enthd.jwID = ReadJwsSignature(in);
    if (Enthd.jwID != u"JwsData") throw ArchiveError(kMsgJwsHeader);
    in.Skip(kJwsFiller);
    Enthd.jwVer = ReadI32(in);
    if (Enthd.jwVer < kJwsMinVersion || Enthd.jwVer > kJwsMaxVersion) throw ArchiveError(kMsgJwsVersion);
    for (TEntJwwLayerGroup& g : EntLgrp) {
      g.anGLay = 2;
      g.anWriteLay = 0;
      g.anGLayProtect = 0;
      g.aStrGLayName.clear();
    }
    JwsHeaderReader r{in};
    VisitJwsHeader(r, Enthd, EntLgrp);
  } catch (const ArchiveError&) {
    return false;
  }
  return true;
}

bool TJwsData::FileHeaderIn(const String& FName) {
  DataInit();
  InStream in(FName);
  return in.ok() && ReadJwsHeader(in);
}

bool TJwsData::FileIn(const String& FName) {
  DataInit();
  InStream in(FName);
  if (!in.ok()) return false;
  return FileIn(in);
}

bool TJwsData::FileIn(InStream& in) {
  DataInit();
  if (!ReadJwsHeader(in)) return false;
  headerRead_ = true;
  bool ok = true;
  try {
    EntityStreamReader(in, Enthd.jwVer).ReadSections(*this, Enthd.n1, Enthd.n2);
  } catch (const ArchiveError&) {
    ok = false;
  }
  MakeBlockTree();
  return ok;
}

bool TJwsData::FileOut(const String& FName, int Ver) {
  OutputFile file(FName);
  if (!file.ok() || !FileOut(file.stream(), Ver)) {
    file.Abandon();
    return false;
  }
  return file.Commit();
}

bool TJwsData::FileOut(OutStream& out, int Ver) {
  lastReport_ = WriteReport{};
  Ver = AdjustedVersion(Ver);
  try {
    Enthd.jwID = u"JwsData";
    out.Write(kJwsSignature, kJwsSignatureBytes);
    out.Fill(kJwsFillerByte, kJwsFiller);
    out.WriteI32(Ver);
    TEntJwsHeader h = Enthd;
    std::vector<TEntJwwLayerGroup> groups = EntLgrp;
    groups.resize(kJwsLayerGroups);
    JwsHeaderWriter w{out};
    VisitJwsHeader(w, h, groups);
    EntityStreamWriter ew(out, *this, Ver, Enthd.jwVer, lastReport_);
    ew.WriteMainList(Enthd.n1);
    ew.WriteBlockDefs(Enthd.n2);
  } catch (const std::exception&) {
    return false;
  }
  return out.ok();
}

}  // namespace plandown
