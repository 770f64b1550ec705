#include "jww/entity_reader.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "archive/archive_read.h"
#include "jww/entity_layout.h"
#include "util/large_arrays.h"

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

void ReleaseSpareRoom(EntityListRef l) {
  ReleaseUnusedCapacity(l.line);
  ReleaseUnusedCapacity(l.enko);
  ReleaseUnusedCapacity(l.ten);
  ReleaseUnusedCapacity(l.moji);
  ReleaseUnusedCapacity(l.sunpo);
  ReleaseUnusedCapacity(l.solid);
  ReleaseUnusedCapacity(l.block);
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

const std::uint8_t* EntityStreamReader::Fixed(int payload, bool guarded) {
  return Take(FixedSize(payload), guarded);
}

const std::uint8_t* EntityStreamReader::Take(std::size_t n, bool guarded) {
  // Decoded in place when the stream holds them all; a short read leaves the rest 0.
  if (const std::uint8_t* p = in_.Contiguous(n)) {
    in_.Advance(n);
    return p;
  }
  std::memset(work_.data(), 0, n);
  const std::size_t got = in_.Read(work_.data(), n);
  return got > 0 || !guarded ? work_.data() : nullptr;
}

void EntityStreamReader::ReadTenExtra(TEntJwwTen& t) {
  if (!TenHasExtra(t)) return;
  BufferDecoder dec{Take(kTenExtra, false), AttrSize(ver_)};
  TenExtraFields(dec, t);
}

bool EntityStreamReader::ReadEntity(int kind, EntityListRef& l) {
  const int attrSize = AttrSize(ver_);
  switch (kind) {
    case kKindLine: {
      BufferDecoder dec{Fixed(kLinePayload, true), attrSize};
      if (!dec.p) return false;
      LineFields(dec, l.line.emplace_back());
      ++l.lineN;
      return true;
    }
    case kKindEnko: {
      BufferDecoder dec{Fixed(kEnkoPayload, true), attrSize};
      if (!dec.p) return false;
      EnkoFields(dec, l.enko.emplace_back());
      ++l.enkoN;
      return true;
    }
    case kKindTen: {
      BufferDecoder dec{Fixed(kTenPayload, true), attrSize};
      if (!dec.p) return false;
      TEntJwwTen& e = l.ten.emplace_back();
      TenFields(dec, e);
      ReadTenExtra(e);
      ++l.tenN;
      return true;
    }
    case kKindMoji: {
      BufferDecoder dec{Fixed(kMojiPayload, true), attrSize};
      if (!dec.p) return false;
      TEntJwwMoji& e = l.moji.emplace_back();
      MojiFields(dec, e);
      e.strFontName = ReadCleanString(in_);
      e.str = ReadCleanString(in_);
      RepairMojiSizes(e);
      ++l.mojiN;
      return true;
    }
    case kKindSunpo: {
      TEntJwwSunpo e;
      // Own attribute block and dimension line: not guarded.
      BufferDecoder dec{Take(static_cast<std::size_t>(attrSize), false), attrSize};
      dec.Attr(e.att);
      dec = BufferDecoder{Fixed(kLinePayload, false), attrSize};
      LineFields(dec, e.Sen);
      dec = BufferDecoder{Fixed(kMojiPayload, true), attrSize};
      if (!dec.p) return false;
      MojiFields(dec, e.Moji);
      e.Moji.strFontName = ReadCleanString(in_);
      e.Moji.str = ReadCleanString(in_);
      RepairMojiSizes(e.Moji);
      if (ver_ >= kVerSxf) {
        e.bSxfMode = ReadU16(in_);
        dec = BufferDecoder{Fixed(kLinePayload, false), attrSize};
        LineFields(dec, e.Ho1);
        dec = BufferDecoder{Fixed(kLinePayload, false), attrSize};
        LineFields(dec, e.Ho2);
        TEntJwwTen* pts[4] = {&e.Te1, &e.Te2, &e.Kt1, &e.Kt2};
        for (int i = 0; i < 4; ++i) {
          dec = BufferDecoder{Fixed(kTenPayload, i == 3), attrSize};
          if (!dec.p) return false;
          TenFields(dec, *pts[i]);
          ReadTenExtra(*pts[i]);
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
      BufferDecoder dec{Fixed(kSolidPayload, true), attrSize};
      if (!dec.p) return false;
      TEntJwwSolid& e = l.solid.emplace_back();
      SolidFields(dec, e);
      e.Color = 0;
      if (SolidHasColor(e)) {
        dec = BufferDecoder{Take(4, false), attrSize};
        dec.U32(e.Color);
      }
      ++l.solidN;
      return true;
    }
    case kKindBlock: {
      BufferDecoder dec{Fixed(kBlockPayload, true), attrSize};
      if (!dec.p) return false;
      BlockFields(dec, l.block.emplace_back());
      ++l.blockN;
      return true;
    }
  }
  return false;
}

void EntityStreamReader::ReserveMainList(EntityListRef l, std::uint32_t declared) {
  // Room for as many records of each kind as the declared count and the bytes left allow,
  // so that the arrays never move while they fill. Only where untouched room is free: it
  // comes to several times the bytes left, nearly all of it never used.
  if (!ReservedMemoryIsLazy()) return;
  const std::uint64_t left = in_.remaining();
  constexpr std::size_t kTag = 2, kString = 1;
  auto bound = [&](std::size_t objectBytes) {
    return static_cast<std::size_t>(std::min<std::uint64_t>(declared, left / objectBytes + 1));
  };
  std::size_t sunpoBytes = kTag + FixedSize(0) + FixedSize(kLinePayload) + FixedSize(kMojiPayload) + 2 * kString;
  if (ver_ >= kVerSxf) sunpoBytes += 2 + 2 * FixedSize(kLinePayload) + 4 * FixedSize(kTenPayload);
  ReserveLargeArray(l.line, bound(kTag + FixedSize(kLinePayload)));
  ReserveLargeArray(l.enko, bound(kTag + FixedSize(kEnkoPayload)));
  ReserveLargeArray(l.ten, bound(kTag + FixedSize(kTenPayload)));
  ReserveLargeArray(l.moji, bound(kTag + FixedSize(kMojiPayload) + 2 * kString));
  ReserveLargeArray(l.sunpo, bound(sunpoBytes));
  ReserveLargeArray(l.solid, bound(kTag + FixedSize(kSolidPayload)));
  ReserveLargeArray(l.block, bound(kTag + FixedSize(kBlockPayload)));
}

void EntityStreamReader::ReadList(EntityListRef l, std::uint32_t declared) {
  // The order list gets one entry per declared object (as far as the bytes left could
  // hold them); entries of objects dropped or missing stay zero at its end.
  const std::size_t entries = BoundedCount(declared, in_.remaining());
  l.order.clear();
  ReserveLargeArray(l.order, entries);
  l.order.reserve(entries);
  try {
    std::uint32_t i = 0;
    while (i < declared) {
      int kind = 0;
      const std::uint8_t* t = in_.Contiguous(2);
      const std::uint16_t word = t ? GetU16(t) : 0;
      if (t && word != kTagNewClass && word != kTagLongClassRef) {
        // A short class reference, the common case.
        in_.Advance(2);
        const std::int64_t index = static_cast<std::int64_t>(word) - kTagClassRefBase;
        for (int k = 1; k <= kEntityKinds; ++k)
          if (slots_[k] != 0 && slots_[k] == index) {
            kind = k;
            break;
          }
      } else {
        ObjectTag tag = ReadObjectTag(in_);
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
      }
      if (kind == 0) continue;  // names no class: nothing read, nothing counted
      if (ReadEntity(kind, l) && l.order.size() < entries) l.order.push_back(TEntJwwNo{kind, l.CountOf(kind) - 1});
      ++i;
      ++mapIndex_;
    }
  } catch (...) {
    l.order.resize(entries);
    throw;
  }
  l.order.resize(entries);
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
  ReserveMainList(MainList(doc), n1);
  ReadList(MainList(doc), n1);
  TrimList(MainList(doc));
  ReleaseSpareRoom(MainList(doc));
}

void EntityStreamReader::ReadBlockDefs(TJwEntityDoc& doc, std::uint32_t count) {
  if (count == 0) return;
  doc.EntBlockDef.assign(BoundedCount(count, in_.remaining()), TEntJwwBlockDef{});
  doc.EntBlockDefN = static_cast<std::int32_t>(doc.EntBlockDef.size());
  for (std::size_t d = 0; d < doc.EntBlockDef.size(); ++d) {
    TEntJwwBlockDef& def = doc.EntBlockDef[d];
    ObjectTag tag = ReadObjectTag(in_);  // not checked
    if (tag.isNewClass) ++mapIndex_;
    BufferDecoder dec{Fixed(kBlockDefPayload, true), AttrSize(ver_)};
    if (!dec.p) throw ArchiveError(kMsgFileIo);
    BlockDefFields(dec, def);
    if (def.dtime >= kLongTimeFlag) {
      in_.Skip(kLongTimeBytes);
      def.dtime = static_cast<std::uint32_t>(d + 1);
    }
    def.strName = ReadCleanString(in_);
    std::uint32_t n = ReadCount(in_, /*guarded=*/false);
    def.N = DeclaredCount(n);
    ++mapIndex_;
    // Members are read into arrays kept from one definition to the next and then take
    // arrays of their exact size, instead of growing arrays of their own step by step.
    try {
      ReadList(MemberList(members_), n);
    } catch (...) {
      TakeMembers(def);
      throw;
    }
    TakeMembers(def);
  }
}

void EntityStreamReader::TakeMembers(TEntJwwBlockDef& def) {
  auto take = [](auto& from, auto& to, std::int32_t& fromN, std::int32_t& toN) {
    to.assign(std::make_move_iterator(from.begin()), std::make_move_iterator(from.end()));
    from.clear();
    toN = fromN;
    fromN = 0;
  };
  TEntJwwBlockDef& m = members_;
  def.mNo.assign(m.mNo.begin(), m.mNo.end());
  m.mNo.clear();
  take(m.mLine, def.mLine, m.mLineN, def.mLineN);
  take(m.mEnko, def.mEnko, m.mEnkoN, def.mEnkoN);
  take(m.mTen, def.mTen, m.mTenN, def.mTenN);
  take(m.mMoji, def.mMoji, m.mMojiN, def.mMojiN);
  take(m.mSunpo, def.mSunpo, m.mSunpoN, def.mSunpoN);
  take(m.mSolid, def.mSolid, m.mSolidN, def.mSolidN);
  take(m.mBlock, def.mBlock, m.mBlockN, def.mBlockN);
}

}  // namespace plandown
