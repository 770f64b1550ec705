#include "jww/entity_writer.h"

#include <algorithm>

#include "archive/archive_write.h"
#include "jww/downconvert.h"
#include "jww/entity_layout.h"
#include "jww/versions.h"

namespace plandown {

namespace {

inline constexpr int kSlotBlockDef = 8;

struct StreamEncoder {
  OutStream& out;
  int ver;
  int kind;
  WriteReport* rep;
  void Attr(const TEntJwwAttr& a) { WriteAttr(out, ver, a, kind, rep); }
  void D(double d) { out.WriteF64(d); }
  void U32(std::uint32_t v) { out.WriteU32(v); }
};

bool ValidEntry(const EntityListRef& l, const TEntJwwNo& no) {
  return no.EntType >= kKindLine && no.EntType <= kKindBlock && no.EntNo >= 0 && no.EntNo < l.CountOf(no.EntType);
}

}  // namespace

EntityStreamWriter::EntityStreamWriter(OutStream& out, const TJwEntityDoc& doc, int Ver, int srcVer, WriteReport& rep)
    : out_(out), doc_(doc), ver_(Ver), srcVer_(srcVer), unicode_((doc.FileOutOpt & OptUnicodeStrings) != 0),
      rep_(rep), blocks_(doc.EntBlockDef) {}

void EntityStreamWriter::BeginObject(int slot) {
  if (slots_[slot] == 0) {
    WriteNewClass(out_, ver_, slot == kSlotBlockDef ? kClassBlockDef : kClassNames[slot]);
    slots_[slot] = mapIndex_++;
  } else {
    WriteClassRef(out_, static_cast<std::uint32_t>(slots_[slot]));
  }
  ++mapIndex_;
}

void EntityStreamWriter::WriteText(const String& s) {
  StringWriteStats st;
  WriteString(out_, s, unicode_, &st);
  rep_.charsReplaced += st.replacedChars;
  rep_.stringsCut += st.cutStrings;
}

std::uint32_t EntityStreamWriter::CountObjects(const EntityListRef& l, std::size_t entries) const {
  std::uint64_t n = 0;
  for (std::size_t i = 0; i < entries; ++i) {
    const TEntJwwNo& no = l.order[i];
    if (!ValidEntry(l, no)) continue;
    ++n;
    if (no.EntType == kKindSunpo && DecomposesDimension(ver_, srcVer_, l.sunpo[static_cast<std::size_t>(no.EntNo)]))
      n += kDecomposedExtraObjects;
  }
  return static_cast<std::uint32_t>(std::min<std::uint64_t>(n, 0xFFFFFFFFu));
}

void EntityStreamWriter::WriteObject(const EntityListRef& l, const TEntJwwNo& no) {
  const std::size_t i = static_cast<std::size_t>(no.EntNo);
  StreamEncoder enc{out_, ver_, 0, &rep_};
  auto writeLine = [&](const TEntJwwLine& e) {
    enc.kind = kAttrLine;
    LineFields(enc, e);
  };
  auto writeTen = [&](const TEntJwwTen& e, bool kariten) {
    enc.kind = kAttrTen;
    enc.Attr(e.att);
    enc.D(e.start_x);
    enc.D(e.start_y);
    enc.U32(kariten ? 1u : e.bKariten);
    if (TenHasExtra(e)) TenExtraFields(enc, e);
  };
  auto writeMojiFixed = [&](const TEntJwwMoji& e) {
    enc.kind = kAttrMoji;
    enc.Attr(e.att);
    enc.D(e.start_x); enc.D(e.start_y); enc.D(e.end_x); enc.D(e.end_y);
    enc.U32(e.nMojiShu);
    const double sx = ClampTextSize(e.dSizeX), sy = ClampTextSize(e.dSizeY);
    if (sx != e.dSizeX) ++rep_.valuesClamped;
    if (sy != e.dSizeY) ++rep_.valuesClamped;
    enc.D(sx); enc.D(sy); enc.D(e.dKankaku); enc.D(e.degKakudo);
  };
  switch (no.EntType) {
    case kKindLine:
      BeginObject(kKindLine);
      writeLine(l.line[i]);
      break;
    case kKindEnko:
      BeginObject(kKindEnko);
      enc.kind = kAttrEnko;
      EnkoFields(enc, l.enko[i]);
      break;
    case kKindTen:
      BeginObject(kKindTen);
      writeTen(l.ten[i], false);
      break;
    case kKindMoji: {
      const TEntJwwMoji& e = l.moji[i];
      BeginObject(kKindMoji);
      writeMojiFixed(e);
      WriteText(PrepareName(e.strFontName));
      WriteText(PrepareTextString(e.str, doc_.FileOutOpt));
      break;
    }
    case kKindSunpo: {
      const TEntJwwSunpo& e = l.sunpo[i];
      BeginObject(kKindSunpo);
      enc.kind = kAttrSunpo;
      enc.Attr(e.att);
      writeLine(e.Sen);
      writeMojiFixed(e.Moji);
      WriteText(PrepareName(e.Moji.strFontName));
      WriteText(PrepareDimensionText(e.Moji.str, doc_.FileOutOpt));
      if (ver_ >= kVerSxf) {
        out_.WriteU16(e.bSxfMode);
        writeLine(e.Ho1);
        writeLine(e.Ho2);
        writeTen(e.Te1, false);
        writeTen(e.Te2, false);
        writeTen(e.Kt1, false);
        writeTen(e.Kt2, false);
      } else if (DecomposesDimension(ver_, srcVer_, e)) {
        // The SXF parts become entities of their own; the base points are temporary points.
        ++rep_.dimensionsDecomposed;
        BeginObject(kKindLine);
        writeLine(e.Ho1);
        BeginObject(kKindLine);
        writeLine(e.Ho2);
        BeginObject(kKindTen);
        writeTen(e.Te1, false);
        BeginObject(kKindTen);
        writeTen(e.Te2, false);
        BeginObject(kKindTen);
        writeTen(e.Kt1, true);
        BeginObject(kKindTen);
        writeTen(e.Kt2, true);
      }
      break;
    }
    case kKindSolid: {
      const TEntJwwSolid& e = l.solid[i];
      BeginObject(kKindSolid);
      enc.kind = kAttrSolid;
      SolidFields(enc, e);
      if (SolidHasColor(e)) out_.WriteU32(e.Color);
      break;
    }
    case kKindBlock: {
      const TEntJwwBlock& e = l.block[i];
      BeginObject(kKindBlock);
      enc.kind = kAttrBlock;
      enc.Attr(e.att);
      enc.D(e.DPKijunTen_x); enc.D(e.DPKijunTen_y);
      enc.D(e.dBairitsuX); enc.D(e.dBairitsuY); enc.D(e.radKaitenKaku);
      enc.U32(RenumberedBlock(blocks_.FindDef(e.nNumber), e.nNumber, doc_.EntBlockNum));
      break;
    }
  }
}

void EntityStreamWriter::WriteList(const EntityListRef& l, std::size_t entries) {
  entries = std::min(entries, l.order.size());
  WriteCount(out_, CountObjects(l, entries));
  for (std::size_t i = 0; i < entries; ++i)
    if (ValidEntry(l, l.order[i])) WriteObject(l, l.order[i]);
}

void EntityStreamWriter::WriteMainList(std::int32_t entries) {
  WriteList(MainList(doc_), static_cast<std::size_t>(std::max<std::int32_t>(entries, 0)));
}

void EntityStreamWriter::WriteBlockDefs(std::int32_t entries) {
  const std::size_t n = std::min(static_cast<std::size_t>(std::max<std::int32_t>(entries, 0)), doc_.EntBlockDef.size());
  // The count is that of the definitions actually written (EntBlockNum after a read), so
  // the section stays readable even for a document whose marks were changed by hand.
  std::uint32_t written = 0;
  for (std::size_t d = 0; d < n; ++d)
    if (doc_.EntBlockDef[d].ref_flag) ++written;
  WriteCount(out_, written);
  for (std::size_t d = 0; d < n; ++d) {
    const TEntJwwBlockDef& def = doc_.EntBlockDef[d];
    if (!def.ref_flag) {
      ++rep_.definitionsDropped;
      continue;
    }
    BeginObject(kSlotBlockDef);
    WriteAttr(out_, ver_, def.att, kAttrBlockDef, &rep_);
    out_.WriteU32(RenumberedBlock(blocks_.FindDef(def.nNumber), def.nNumber, doc_.EntBlockNum));
    out_.WriteU32(def.bRefferd);
    out_.WriteU32(def.dtime);
    WriteText(PrepareName(def.strName));
    const EntityListRef members = MemberList(def);
    WriteList(members, static_cast<std::size_t>(std::max<std::int32_t>(def.N, 0)));
  }
}

}  // namespace plandown
