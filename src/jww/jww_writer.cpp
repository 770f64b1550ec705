#include <algorithm>
#include <cmath>
#include <cstring>

#include "archive/archive_write.h"
#include "jww/downconvert.h"
#include "jww/entity_writer.h"
#include "jww/header_layout.h"
#include "jww/jww_data.h"
#include "jww/output_file.h"
#include "images/image_names.h"
#include "util/files.h"
#include "util/text.h"

namespace plandown {

namespace {

inline constexpr std::int32_t kMaxRgb = 0xFFFFFF;
inline constexpr std::int32_t kNarrowestMaxDrawWid = -101;
inline constexpr std::size_t kImageCopyPiece = 2048;
inline constexpr std::u16string_view kTempImageMarker = u"^@BM%temp%";

struct HeaderWriter {
  OutStream& out;
  int ver;
  bool unicode;
  WriteReport& rep;
  void I(std::int32_t v) { out.WriteI32(v); }
  void D(double v) { out.WriteF64(v); }
  void Reserved(std::size_t n, std::uint8_t fill) { out.Fill(fill, n); }
  void Str(const String& s) {
    StringWriteStats st;
    WriteString(out, s, unicode, &st);
    rep.charsReplaced += st.replacedChars;
    rep.stringsCut += st.cutStrings;
  }
  void Memo(const String& s) { Str(s); }
  void Name(const String& s) { Str(s); }  // prepared on the copy already
  void PrintWord(const TEntJwwHeader& h) {
    std::int32_t w = h.nPrtDispOnlyNonDraw;
    if (ver >= kVerPrintDpi) w += 10 * (h.nPrtDpi > 0 ? h.nPrtDpi : 1);
    out.WriteI32(w);
  }
  void LastD(double v) { out.WriteF64(v); }
};

template <class T>
void Clamp(T& v, T lo, T hi, WriteReport& rep) {
  if (v < lo) { v = lo; ++rep.valuesClamped; }
  else if (v > hi) { v = hi; ++rep.valuesClamped; }
}

void ClampSize(double& v, WriteReport& rep) {
  const double c = ClampTextSize(v);
  if (c != v && !(std::isnan(c) && std::isnan(v))) ++rep.valuesClamped;
  v = c;
}

// Whether an image text names an image: "^@BM%temp%" + name + "," ...; the upper-cased name.
bool ImageTextName(const String& s, String& name) {
  if (s.size() <= kTempImageMarker.size() || std::u16string_view(s).substr(0, kTempImageMarker.size()) != kTempImageMarker)
    return false;
  const std::size_t comma = s.find(u',', kTempImageMarker.size());
  if (comma == String::npos) return false;
  name = UpperText(s.substr(kTempImageMarker.size(), comma - kTempImageMarker.size()));
  return true;
}

}  // namespace

bool TJwwData::FileOut(const String& FName, int Ver) {
  OutputFile file(FName);
  if (!file.ok() || !FileOut(file.stream(), Ver)) {
    file.Abandon();
    return false;
  }
  return file.Commit();
}

bool TJwwData::FileOut(OutStream& out, int Ver) {
  lastReport_ = WriteReport{};
  WriteReport& rep = lastReport_;
  const bool unicode = (FileOutOpt & OptUnicodeStrings) != 0;

  try {
    // Signature and version.
    Enthd.jwID = u"JwwData.";
    out.Write("JwwData.", 8);
    out.WriteI32(Ver);

    // The header as written: a copy with the writer's clamps and the table rules applied.
    TEntJwwHeader h = Enthd;
    auto lgrp = EntLgrp;
    auto lay = EntLay;
    auto col = EntCol;
    auto ltp1 = EntLtp1;
    auto ltp2 = EntLtp2;
    auto ltp3 = EntLtp3;
    auto colS = EntColS;
    auto ltpS = EntLtpS;
    auto moj = EntMoj;
    lgrp.resize(kLayerGroups);
    lay.resize(kLayerGroups * kLayersPerGroup);
    col.resize(kPenRows);
    ltp1.resize(kLineTypeRows);
    ltp2.resize(kRandomLineRows);
    ltp3.resize(kLineType3Rows);
    colS.resize(kSxfColorRows);
    ltpS.resize(kSxfLineTypeRows);
    moj.resize(kMojiTypeRows);
    for (auto& l : lay) l.aStrLayName = PrepareName(l.aStrLayName);
    for (auto& g : lgrp) g.aStrGLayName = PrepareName(g.aStrGLayName);
    // The print flag is the last decimal digit of the print word; any other value (a
    // damaged file gives negative ones) would be read back as another flag and dpi.
    Clamp(h.nPrtDispOnlyNonDraw, 0, 9, rep);
    if (Ver <= kMaxDrawWidFloorVersion && h.nMaxDrawWid < kNarrowestMaxDrawWid) {
      h.nMaxDrawWid = kNarrowestMaxDrawWid;
      ++rep.valuesClamped;
    }
    for (int k = 0; k < kPenRows; ++k) {
      TEntJwwColorNo& c = col[static_cast<std::size_t>(k)];
      if (c.aPenColor < 0 || c.aPenColor > kMaxRgb) { c.aPenColor = 0; ++rep.valuesClamped; }
      Clamp(c.anPenWidth, 1, 16, rep);
      if (c.aPrtPenColor < 0 || c.aPrtPenColor > kMaxRgb) { c.aPrtPenColor = 0; ++rep.valuesClamped; }
      if (k == 0) c.aPrtPenColor = kMaxRgb;
      Clamp(c.anPrtPenWidth, 1, 500, rep);
      Clamp(c.adPrtTenHankei, 0.1, 10.0, rep);
    }
    if (Ver >= kVerSxf) {
      for (int i = 0; i < kSxfColorRows; ++i) colS[static_cast<std::size_t>(i)] = SxfColorRowForWrite(colS[static_cast<std::size_t>(i)], i);
      for (int i = 0; i < kSxfLineTypeRows; ++i) {
        bool repaired = false;
        ltpS[static_cast<std::size_t>(i)] = SxfLineTypeRowForWrite(ltpS[static_cast<std::size_t>(i)], i, &repaired);
        if (repaired) ++rep.sxfRowsRepaired;
      }
    }
    for (auto& m : moj) {
      ClampSize(m.adMojiX, rep);
      ClampSize(m.adMojiY, rep);
    }
    ClampSize(h.dMojiSizeX, rep);
    ClampSize(h.dMojiSizeY, rep);
    HeaderWriter hw{out, Ver, unicode, rep};
    VisitJwwHeader(hw, JwwHeaderRefs{h, lgrp, lay, col, ltp1, ltp2, ltp3, colS, ltpS, moj}, Ver);

    // Objects and referenced definitions.
    EntityStreamWriter ew(out, *this, Ver, Enthd.jwVer, rep);
    ew.WriteMainList(Enthd.n1);
    ew.WriteBlockDefs(Enthd.n2);

    if (Ver >= kVerBoundImages) {
      for (TBindImageType& b : BindImage) b.exf = false;
      auto flag = [&](const std::vector<TEntJwwNo>& order, const std::vector<TEntJwwMoji>& texts, std::int32_t n) {
        for (const TEntJwwNo& no : order) {
          if (no.EntType != kKindMoji || no.EntNo < 0 || no.EntNo >= n) continue;
          String name;
          if (!ImageTextName(texts[static_cast<std::size_t>(no.EntNo)].str, name)) continue;
          for (TBindImageType& b : BindImage)
            if (UpperText(b.Fname).starts_with(name)) {
              b.exf = true;
              break;
            }
        }
      };
      flag(EntNo, EntMoji, EntMojiN);
      for (const TEntJwwBlockDef& d : EntBlockDef) flag(d.mNo, d.mMoji, d.mMojiN);
      std::vector<std::pair<TBindImageType*, String>> images;
      for (TBindImageType& b : BindImage) {
        if (!b.exf) continue;
        const String plain = PlainImageFileName(b.Fname);
        const std::int64_t size = plain.empty() ? -1 : FileSizeAt(BindImageFolder + plain);
        if (size < 0 || size > INT32_MAX || !FileExistsAt(BindImageFolder + plain)) {
          b.exf = false;
          continue;
        }
        images.emplace_back(&b, BindImageFolder + plain);
      }
      if (!BindImageExp && !BindImageExr) {
        for (TBindImageType& b : BindImage) b.exf = false;
        images.clear();
      }
      out.WriteI32(static_cast<std::int32_t>(images.size()));
      std::vector<std::uint8_t> piece(kImageCopyPiece);
      for (auto& [b, path] : images) {
        // The size is taken from the open file, and exactly that many bytes follow it, so
        // the section stays consistent; a file that cannot be read fails the write.
        std::FILE* f = OpenFileAt(path, "rb");
        if (!f) throw std::runtime_error("image");
        const std::int64_t size = StreamSize(f);
        if (size < 0 || size > INT32_MAX) {
          std::fclose(f);
          throw std::runtime_error("image");
        }
        WriteString(out, b->Fname, unicode);
        out.WriteI32(static_cast<std::int32_t>(size));
        std::int64_t done = 0;
        while (done < size) {
          const std::size_t want = static_cast<std::size_t>(std::min<std::int64_t>(kImageCopyPiece, size - done));
          if (std::fread(piece.data(), 1, want, f) != want) {
            std::fclose(f);
            throw std::runtime_error("image");
          }
          out.Write(piece.data(), want);
          done += static_cast<std::int64_t>(want);
        }
        std::fclose(f);
      }
    }
  } catch (const std::exception&) {
    return false;
  }
  return out.ok();
}

}  // namespace plandown
