#include "jww/entity_reader.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "archive/archive_read.h"
#include "jww/entity_layout.h"

namespace plandown {

namespace {

// Decodes a fixed part from the work buffer; a 13-byte attribute block has no pen width.
struct BufferDecoder {
  const std::uint8_t* p;
  int attrSize;
  void Attr(TEntJwwAttr& a) {
    a.lGroup = GetU32(p);
    a.nPenStyle = p[4];
    a.nPenColor = GetU16(p + 5);
    if (attrSize == 15) {
      a.nPenWidth = GetU16(p + 7);
      p += 2;
    } else {
      a.nPenWidth = 0;
    }
    a.nLayer = GetU16(p + 7);
    a.nGLayer = GetU16(p + 9);
    a.sFlg = GetU16(p + 11);
    p += 13;
  }
  void D(double& d) {
    d = GetF64(p);
    p += 8;
  }
  void U32(std::uint32_t& v) {
    v = GetU32(p);
    p += 4;
  }
};

bool Invalid(double d) { return !std::isfinite(d); }

void RepairMojiSizes(TEntJwwMoji& m) {
  if (Invalid(m.dSizeX)) m.dSizeX = 3.0;
  if (Invalid(m.dSizeY)) m.dSizeY = 3.0;
  if (Invalid(m.dKankaku)) m.dKankaku = 0.0;
}

int KindOfClass(const std::string& name) {
  for (int k = 1; k <= kEntityKinds; ++k)
    if (name == kClassNames[k]) return k;
  return 0;
}

// Lengths follow the counts; spare capacity is kept rather than paid for with a copy.
template <class T>
void Trim(std::vector<T>& v, std::int32_t n) {
  v.resize(static_cast<std::size_t>(n));
}

void TrimList(EntityListRef l) {
  Trim(l.line, l.lineN);
  Trim(l.enko, l.enkoN);
  Trim(l.ten, l.tenN);
  Trim(l.moji, l.mojiN);
  Trim(l.sunpo, l.sunpoN);
  Trim(l.solid, l.solidN);
  Trim(l.block, l.blockN);
}

}  // namespace

std::int32_t DeclaredCount(std::uint32_t declared) {
  return static_cast<std::int32_t>(std::min<std::uint32_t>(declared, INT32_MAX));
}

std::size_t BoundedCount(std::uint64_t declared, std::uint64_t bytesLeft) {
  return static_cast<std::size_t>(std::min<std::uint64_t>(declared, bytesLeft / 2 + 1));
}

std::size_t EntityStreamReader::FixedSize(int payload) const {
  return static_cast<std::size_t>(AttrSize(ver_) + payload);
}

bool EntityStreamReader::ReadFixed(int payload, bool guarded) {
  std::size_t n = FixedSize(payload);
  std::memset(work_.data(), 0, n);
  std::size_t got = in_.Read(work_.data(), n);
  return got > 0 || !guarded;
}

bool EntityStreamReader::ReadEntity(int kind, EntityListRef& l) {
  BufferDecoder dec{work_.data(), AttrSize(ver_)};
  auto decodeAt = [&](auto fn, auto& rec) {
    dec.p = work_.data();
    fn(dec, rec);
  };
  switch (kind) {
    case kKindLine: {
      if (!ReadFixed(kLinePayload, true)) return false;
      TEntJwwLine& e = l.line.emplace_back();
      decodeAt([](auto& f, auto& r) { LineFields(f, r); }, e);
      ++l.lineN;
      return true;
    }
    case kKindEnko: {
      if (!ReadFixed(kEnkoPayload, true)) return false;
      TEntJwwEnko& e = l.enko.emplace_back();
      decodeAt([](auto& f, auto& r) { EnkoFields(f, r); }, e);
      ++l.enkoN;
      return true;
    }
    case kKindTen: {
      if (!ReadFixed(kTenPayload, true)) return false;
      TEntJwwTen e;
      decodeAt([](auto& f, auto& r) { TenFields(f, r); }, e);
      if (TenHasExtra(e)) {
        e.nCode = ReadU32(in_);
        e.radKaitenKaku = ReadF64(in_);
        e.dBairitsu = ReadF64(in_);
      }
      l.ten.push_back(e);
      ++l.tenN;
      return true;
    }
    case kKindMoji: {
      if (!ReadFixed(kMojiPayload, true)) return false;
      TEntJwwMoji& e = l.moji.emplace_back();
      decodeAt([](auto& f, auto& r) { MojiFields(f, r); }, e);
      e.strFontName = ReadCleanString(in_);
      e.str = ReadCleanString(in_);
      RepairMojiSizes(e);
      ++l.mojiN;
      return true;
    }
    case kKindSunpo: {
      TEntJwwSunpo e;
      // Own attribute block and dimension line: not guarded.
      std::size_t attrSize = static_cast<std::size_t>(AttrSize(ver_));
      std::memset(work_.data(), 0, attrSize);
      in_.Read(work_.data(), attrSize);
      dec.p = work_.data();
      dec.Attr(e.att);
      ReadFixed(kLinePayload, false);
      decodeAt([](auto& f, auto& r) { LineFields(f, r); }, e.Sen);
      if (!ReadFixed(kMojiPayload, true)) return false;
      decodeAt([](auto& f, auto& r) { MojiFields(f, r); }, e.Moji);
      e.Moji.strFontName = ReadCleanString(in_);
      e.Moji.str = ReadCleanString(in_);
      RepairMojiSizes(e.Moji);
      if (ver_ >= kVerSxf) {
        e.bSxfMode = ReadU16(in_);
        ReadFixed(kLinePayload, false);
        decodeAt([](auto& f, auto& r) { LineFields(f, r); }, e.Ho1);
        ReadFixed(kLinePayload, false);
        decodeAt([](auto& f, auto& r) { LineFields(f, r); }, e.Ho2);
        TEntJwwTen* pts[4] = {&e.Te1, &e.Te2, &e.Kt1, &e.Kt2};
        for (int i = 0; i < 4; ++i) {
          if (!ReadFixed(kTenPayload, i == 3)) return false;
          decodeAt([](auto& f, auto& r) { TenFields(f, r); }, *pts[i]);
          if (TenHasExtra(*pts[i])) {
            pts[i]->nCode = ReadU32(in_);
            pts[i]->radKaitenKaku = ReadF64(in_);
            pts[i]->dBairitsu = ReadF64(in_);
          }
        }
      } else {
        // Older dimensions have no SXF parts: the parts carry the dimension's attributes.
        e.bSxfMode = 0;
        e.Ho1 = TEntJwwLine{e.att};
        e.Ho2 = TEntJwwLine{e.att};
        for (TEntJwwTen* t : {&e.Te1, &e.Te2, &e.Kt1, &e.Kt2}) {
          *t = TEntJwwTen{};
          t->att = e.att;
          t->att.nPenStyle = 0;
        }
      }
      l.sunpo.push_back(std::move(e));
      ++l.sunpoN;
      return true;
    }
    case kKindSolid: {
      if (!ReadFixed(kSolidPayload, true)) return false;
      TEntJwwSolid& e = l.solid.emplace_back();
      decodeAt([](auto& f, auto& r) { SolidFields(f, r); }, e);
      e.Color = SolidHasColor(e) ? ReadU32(in_) : 0;
      ++l.solidN;
      return true;
    }
    case kKindBlock: {
      if (!ReadFixed(kBlockPayload, true)) return false;
      TEntJwwBlock& e = l.block.emplace_back();
      decodeAt([](auto& f, auto& r) { BlockFields(f, r); }, e);
      ++l.blockN;
      return true;
    }
  }
  return false;
}

void EntityStreamReader::ReadList(EntityListRef l, std::uint32_t declared) {
  l.order.assign(BoundedCount(declared, in_.remaining()), TEntJwwNo{});
  std::size_t p = 0;
  std::uint32_t i = 0;
  while (i < declared) {
    ObjectTag tag = ReadObjectTag(in_);
    int kind = 0;
    if (tag.isNewClass) {
      kind = KindOfClass(tag.className);
      if (kind == 0) throw ArchiveError(kMsgFileIo);
      slots_[kind] = mapIndex_++;
    } else {
      for (int k = 1; k <= kEntityKinds; ++k)
        if (slots_[k] != 0 && slots_[k] == tag.index) {
          kind = k;
          break;
        }
    }
    if (kind == 0) continue;  // names no class: nothing read, nothing counted
    if (ReadEntity(kind, l) && p < l.order.size()) {
      l.order[p++] = TEntJwwNo{kind, l.CountOf(kind) - 1};
    }
    ++i;
    ++mapIndex_;
  }
}

void EntityStreamReader::ReadSections(TJwEntityDoc& doc, std::int32_t& n1, std::int32_t& n2) {
  n2 = 0;
  doc.EntBlockDefN = 0;
  const std::uint32_t count = ReadMainCount();
  n1 = DeclaredCount(count);
  ReadMainList(doc, count);
  const std::uint32_t defs = ReadBlockDefCount();
  n2 = DeclaredCount(defs);
  ReadBlockDefs(doc, defs);
}

std::uint32_t EntityStreamReader::ReadMainCount() { return ReadCount(in_, /*guarded=*/true); }

std::uint32_t EntityStreamReader::ReadBlockDefCount() { return ReadCount(in_, /*guarded=*/false); }

void EntityStreamReader::ReadMainList(TJwEntityDoc& doc, std::uint32_t n1) {
  // On an error the entities read so far stay, with correct counts.
  ReadList(MainList(doc), n1);
  TrimList(MainList(doc));
}

void EntityStreamReader::ReadBlockDefs(TJwEntityDoc& doc, std::uint32_t count) {
  if (count == 0) return;
  doc.EntBlockDef.assign(BoundedCount(count, in_.remaining()), TEntJwwBlockDef{});
  doc.EntBlockDefN = static_cast<std::int32_t>(doc.EntBlockDef.size());
  for (std::size_t d = 0; d < doc.EntBlockDef.size(); ++d) {
    TEntJwwBlockDef& def = doc.EntBlockDef[d];
    ObjectTag tag = ReadObjectTag(in_);  // not checked
    if (tag.isNewClass) ++mapIndex_;
    if (!ReadFixed(kBlockDefPayload, true)) throw ArchiveError(kMsgFileIo);
    BufferDecoder dec{work_.data(), AttrSize(ver_)};
    BlockDefFields(dec, def);
    if (def.dtime >= kLongTimeFlag) {
      in_.Skip(kLongTimeBytes);
      def.dtime = static_cast<std::uint32_t>(d + 1);
    }
    def.strName = ReadCleanString(in_);
    std::uint32_t n = ReadCount(in_, /*guarded=*/false);
    def.N = DeclaredCount(n);
    ++mapIndex_;
    ReadList(MemberList(def), n);
    TrimList(MemberList(def));
  }
}

}  // namespace plandown
