#include "jww/entity_writer.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "archive/archive_write.h"
#include "jww/downconvert.h"
#include "jww/entity_layout.h"
#include "jww/versions.h"

namespace plandown {

namespace {

inline constexpr int kSlotBlockDef = 8;

bool ValidEntry(const EntityListRef& l, const TEntJwwNo& no) {
  return no.EntType >= kKindLine && no.EntType <= kKindBlock && no.EntNo >= 0 && no.EntNo < l.CountOf(no.EntType);
}

}  // namespace

// Fixed fields of the records are gathered here and go to the stream in one piece.
class EntityStreamWriter::RecordBuffer {
 public:
  RecordBuffer(OutStream& out, int ver, WriteReport* rep) : out_(out), ver_(ver), rep_(rep) {}
  ~RecordBuffer() { Flush(); }

  int kind = 0;  // attribute kind of the record being written
  void Attr(const TEntJwwAttr& a) { n_ += EncodeAttr(Room(kMaxAttrBytes), ver_, a, kind, rep_); }
  void D(double d) {
    std::uint64_t v;
    std::memcpy(&v, &d, 8);
    Put(v, 8);
  }
  void U32(std::uint32_t v) { Put(v, 4); }
  void U16(std::uint16_t v) { Put(v, 2); }
  void ClassRef(std::uint32_t index) { n_ += EncodeClassRef(Room(kMaxClassRefBytes), index); }
  void Flush() {
    out_.Write(buf_, n_);
    n_ = 0;
  }

 private:
  std::uint8_t* Room(std::size_t k) {
    if (n_ + k > sizeof(buf_)) Flush();
    return buf_ + n_;
  }
  void Put(std::uint64_t v, int bytes) {
    std::uint8_t* p = Room(static_cast<std::size_t>(bytes));
    if constexpr (std::endian::native == std::endian::little) {
      std::memcpy(p, &v, static_cast<std::size_t>(bytes));
    } else {
      for (int i = 0; i < bytes; ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
    }
    n_ += static_cast<std::size_t>(bytes);
  }

  OutStream& out_;
  int ver_;
  WriteReport* rep_;
  std::uint8_t buf_[4096];
  std::size_t n_ = 0;
};

EntityStreamWriter::EntityStreamWriter(OutStream& out, const TJwEntityDoc& doc, int Ver, int srcVer, WriteReport& rep)
    : out_(out), doc_(doc), ver_(Ver), srcVer_(srcVer), unicode_((doc.FileOutOpt & OptUnicodeStrings) != 0),
      rep_(rep), blocks_(doc.EntBlockDef), rec_(std::make_unique<RecordBuffer>(out, Ver, &rep)) {}

EntityStreamWriter::~EntityStreamWriter() = default;

void EntityStreamWriter::BeginObject(int slot) {
  if (slots_[slot] == 0) {
    rec_->Flush();
    WriteNewClass(out_, ver_, slot == kSlotBlockDef ? kClassBlockDef : kClassNames[slot]);
    slots_[slot] = mapIndex_++;
  } else {
    rec_->ClassRef(static_cast<std::uint32_t>(slots_[slot]));
  }
  ++mapIndex_;
}

void EntityStreamWriter::WriteText(std::u16string_view s) {
  rec_->Flush();
  StringWriteStats st;
  WriteString(out_, s, unicode_, &st);
  rep_.charsReplaced += st.replacedChars;
  rep_.stringsCut += st.cutStrings;
}

void EntityStreamWriter::WriteName(const String& s) {
  if (NameIsPrepared(s)) WriteText(s);
  else WriteText(PrepareName(s));
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
  RecordBuffer& enc = *rec_;
  const int opt = doc_.FileOutOpt;
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
      WriteName(e.strFontName);
      if (TextStringIsPrepared(e.str, opt)) WriteText(e.str);
      else WriteText(PrepareTextString(e.str, opt));
      break;
    }
    case kKindSunpo: {
      const TEntJwwSunpo& e = l.sunpo[i];
      BeginObject(kKindSunpo);
      enc.kind = kAttrSunpo;
      enc.Attr(e.att);
      writeLine(e.Sen);
      writeMojiFixed(e.Moji);
      WriteName(e.Moji.strFontName);
      if (DimensionTextIsPrepared(e.Moji.str, opt)) WriteText(e.Moji.str);
      else WriteText(PrepareDimensionText(e.Moji.str, opt));
      if (ver_ >= kVerSxf) {
        enc.U16(e.bSxfMode);
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
      if (SolidHasColor(e)) enc.U32(e.Color);
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
  rec_->Flush();
  WriteCount(out_, CountObjects(l, entries));
  for (std::size_t i = 0; i < entries; ++i)
    if (ValidEntry(l, l.order[i])) WriteObject(l, l.order[i]);
  rec_->Flush();
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
  rec_->Flush();
  WriteCount(out_, written);
  for (std::size_t d = 0; d < n; ++d) {
    const TEntJwwBlockDef& def = doc_.EntBlockDef[d];
    if (!def.ref_flag) {
      ++rep_.definitionsDropped;
      continue;
    }
    BeginObject(kSlotBlockDef);
    rec_->kind = kAttrBlockDef;
    rec_->Attr(def.att);
    rec_->U32(RenumberedBlock(blocks_.FindDef(def.nNumber), def.nNumber, doc_.EntBlockNum));
    rec_->U32(def.bRefferd);
    rec_->U32(def.dtime);
    WriteName(def.strName);
    const EntityListRef members = MemberList(def);
    WriteList(members, static_cast<std::size_t>(std::max<std::int32_t>(def.N, 0)));
  }
}

}  // namespace plandown
