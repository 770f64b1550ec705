#include "jww/jww_data.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "archive/archive_read.h"
#include "archive/instream.h"
#include "images/image_names.h"
#include "jww/entity_reader.h"
#include "jww/header_layout.h"
#include "util/codepage.h"
#include "util/files.h"

namespace plandown {

namespace {

inline constexpr std::size_t kSignatureBytes = 8;
inline constexpr std::size_t kImageCopyPiece = 2048;

struct HeaderReader {
  InStream& in;
  void I(std::int32_t& v) { v = ReadI32(in); }
  void D(double& v) { v = ReadF64(in); }
  void Reserved(std::size_t n, std::uint8_t) { in.Skip(n); }
  void Memo(String& s) { s = ReadString(in); }
  void Name(String& s) { s = ReadCleanString(in); }
  void PrintWord(TEntJwwHeader& h) {
    std::int32_t w = ReadI32(in);
    h.nPrtDispOnlyNonDraw = w % 10;
    h.nPrtDpi = w / 10;
  }
  void LastD(double& v) {
    std::uint8_t b[8] = {};
    if (in.Read(b, 8) == 0) throw ArchiveError(kMsgFileIo);
    v = GetF64(b);
  }
};

String ReadSignature(InStream& in, bool* complete = nullptr) {
  std::uint8_t sig[kSignatureBytes] = {};
  std::size_t got = in.Read(sig, kSignatureBytes);
  if (complete) *complete = got == kSignatureBytes;
  return AnsiBytesToText(std::span<const std::uint8_t>(sig, got));
}

bool Invalid(double d) { return !std::isfinite(d); }

// Widths derived from nMaxDrawWid (values at or below -101 mark 1/100 mm widths).
void DeriveLineWidth(TEntJwwHeader& h) {
  const std::int32_t v = h.nMaxDrawWid;
  h.bSenHaba100 = false;
  h.nMaxDrawWidBak = v;
  if (v <= -101) {
    h.bSenHaba100 = true;
    if (v >= -500 && v <= -401) h.nMaxDrawWidBak = 400 + v;
    else if (v >= -300 && v <= -201) h.nMaxDrawWidBak = -v - 200;
    else h.nMaxDrawWidBak = -100;
  }
}

}  // namespace

void TJwwData::DataInit() {
  ClearEntities();
  Enthd = TEntJwwHeader{};
  Enthd.dPrtBairitsu = Enthd.dMemoriHyoujiMin = Enthd.dMemoriX = Enthd.dMemoriY = 1.0;
  Enthd.dBairitsu = Enthd.dHanniBairitsu = 1.0;
  for (int i = 1; i <= 8; ++i) {
    Enthd.dZoomJumpBairitsu[i] = 1.0;
    Enthd.nZoomJumpGLay[i] = -1;
  }
  EntLgrp = {};
  EntLay = {};
  EntCol = {};
  EntLtp1 = {};
  EntLtp2 = {};
  EntLtp3 = {};
  EntColS = {};
  EntLtpS = {};
  EntMoj = {};
  headerRead_ = false;
}

void TJwwData::DataFree() {
  // Member arrays go with the definitions themselves.
  DataInit();
}

bool TJwwData::FileCheck(const String& FName) const {
  InStream in(FName);
  if (!in.ok()) return false;
  if (ReadSignature(in) != u"JwwData.") return false;
  std::uint8_t b[4];
  if (in.Read(b, 4) != 4) return false;
  const std::int32_t ver = GetI32(b);
  return ver >= kJwwMinVersion && ver <= kJwwMaxVersion;
}

bool TJwwData::ReadHeader(InStream& in) {
  EntLgrp.assign(kLayerGroups, {});
  EntLay.assign(kLayerGroups * kLayersPerGroup, {});
  EntCol.assign(kPenRows, {});
  EntLtp1.assign(kLineTypeRows, {});
  EntLtp2.assign(kRandomLineRows, {});
  EntLtp3.assign(kLineType3Rows, {});
  EntMoj.assign(kMojiTypeRows, {});
  EntColS.assign(kSxfColorRows, {});
  EntLtpS.assign(kSxfLineTypeRows, {});
  bool ok = true;
  try {
    Enthd.jwID = ReadSignature(in);
    if (Enthd.jwID != u"JwwData.") throw ArchiveError(kMsgJwwHeader);
    Enthd.jwVer = ReadI32(in);
    if (Enthd.jwVer < kJwwMinVersion || Enthd.jwVer > kJwwMaxVersion) throw ArchiveError(kMsgJwwVersion);
    HeaderReader reader{in};
    VisitJwwHeader(reader, JwwHeaderRefs{Enthd, EntLgrp, EntLay, EntCol, EntLtp1, EntLtp2, EntLtp3, EntColS, EntLtpS, EntMoj},
                   Enthd.jwVer);
  } catch (const ArchiveError&) {
    ok = false;
  }
  if (Enthd.jwID == u"JwwData." && Enthd.jwVer >= kJwwMinVersion && Enthd.jwVer <= kJwwMaxVersion) {
    DeriveLineWidth(Enthd);
    for (TEntJwwMojiType& m : EntMoj) {
      if (Invalid(m.adMojiX)) m.adMojiX = 3.0;
      if (Invalid(m.adMojiY)) m.adMojiY = 3.0;
      if (Invalid(m.adMojiD)) m.adMojiD = 0.0;
    }
    if (Invalid(Enthd.dMojiSizeX)) Enthd.dMojiSizeX = 3.0;
    if (Invalid(Enthd.dMojiSizeY)) Enthd.dMojiSizeY = 3.0;
    if (Invalid(Enthd.dMojiKankaku)) Enthd.dMojiKankaku = 0.0;
  }
  return ok;
}

bool TJwwData::FileHeaderIn(const String& FName) {
  DataInit();
  InStream in(FName);
  if (!in.ok()) return false;
  return ReadHeader(in);
}

bool TJwwData::FileIn(const String& FName) {
  DataInit();
  InStream in(FName);
  if (!in.ok()) return false;
  return FileIn(in);
}

bool TJwwData::FileIn(InStream& in) {
  DataInit();
  if (!ReadHeader(in)) return false;
  headerRead_ = true;
  bool ok = true;
  try {
    EntityStreamReader(in, Enthd.jwVer).ReadSections(*this, Enthd.n1, Enthd.n2);
    if (Enthd.jwVer >= kVerBoundImages) ReadBoundImages(in);
  } catch (const ArchiveError&) {
    ok = false;
  }
  MakeBlockTree();
  return ok;
}

void TJwwData::ReadBoundImages(InStream& in) {
  BindImageInit();
  if (!BindImageExp && !BindImageExr) return;
  const std::int32_t count = ReadI32(in);
  if (count <= 0) return;
  // Every entry takes at least five bytes (name length and size).
  BindImage.reserve(static_cast<std::size_t>(std::min<std::uint64_t>(count, in.remaining() / 5 + 1)));
  std::vector<std::uint8_t> piece(kImageCopyPiece);
  for (std::int32_t e = 0; e < count; ++e) {
    if (in.remaining() == 0) {
      BindImageN = static_cast<std::int32_t>(BindImage.size());
      throw ArchiveError(kMsgFileIo);
    }
    TBindImageType img;
    img.Fname = ReadCleanString(in);
    img.Fsize = ReadI32(in);
    BindImage.push_back(img);
    BindImageN = static_cast<std::int32_t>(BindImage.size());
    if (img.Fname.empty() || img.Fsize == 0) continue;
    const std::uint64_t content = img.Fsize > 0 ? static_cast<std::uint64_t>(img.Fsize) : 0;
    const String plain = PlainImageFileName(img.Fname);
    if (!BindImageExp || plain.empty()) {
      in.Skip(content);
      continue;
    }
    const String path = BindImageFolder + plain;
    std::FILE* f = OpenFileAt(path, "wb");
    bool failed = f == nullptr;
    std::uint64_t done = 0;
    while (!failed && done < content) {
      const std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(kImageCopyPiece, content - done));
      const std::size_t got = in.Read(piece.data(), want);
      if (got > 0 && std::fwrite(piece.data(), 1, got, f) != got) failed = true;
      done += want;
      if (got < want) break;  // the file ended
    }
    if (f && std::fclose(f) != 0) failed = true;
    if (failed) {
      DeleteFileAt(path);
      // Go on with the next entry where it begins.
      if (done < content) in.Skip(content - done);
    }
  }
}

}  // namespace plandown
