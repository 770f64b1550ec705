#include "support/robustness.h"

#include <cmath>
#include <filesystem>
#include <fstream>
#include <vector>

#include "archive/instream.h"
#include "archive/outstream.h"
#include "convert/file_listing.h"
#include "convert/settings_file.h"
#include "dos/jwc_data.h"
#include "dos/jwk_data.h"
#include "images/gzip.h"
#include "images/image_text.h"
#include "jws/jws_data.h"
#include "jww/jww_data.h"
#include "support/picture_check.h"
#include "support/predict.h"
#include "util/paths.h"
#include "util/text.h"

namespace plandown::testing {

namespace {

namespace fs = std::filesystem;

constexpr int kTargets[] = {600, 420, 351, 300};

void Note(std::string& out, const std::string& what) {
  if (what.empty()) return;
  if (!out.empty()) out += "; ";
  out += what;
}

bool WriteInput(const fs::path& p, InputBytes bytes) {
  std::ofstream f(p, std::ios::binary | std::ios::trunc);
  f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(f);
}

std::vector<std::uint8_t> FileContent(const fs::path& p) {
  std::ifstream f(p, std::ios::binary | std::ios::ate);
  if (!f) return {};
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(f.tellg()));
  f.seekg(0);
  f.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  bytes.resize(static_cast<std::size_t>(f.gcount()));
  return bytes;
}

void RemoveQuietly(const fs::path& p) {
  std::error_code ec;
  fs::remove_all(p, ec);
}

std::string CheckList(const char* where, const EntityListRef& l) {
  std::string out;
  auto count = [&](const char* kind, std::int32_t n, std::size_t size) {
    if (n < 0 || static_cast<std::size_t>(n) != size)
      Note(out, std::string(where) + ": " + kind + " count " + std::to_string(n) + " with " + std::to_string(size) + " entries");
  };
  count("line", l.lineN, l.line.size());
  count("arc", l.enkoN, l.enko.size());
  count("point", l.tenN, l.ten.size());
  count("text", l.mojiN, l.moji.size());
  count("dimension", l.sunpoN, l.sunpo.size());
  count("solid", l.solidN, l.solid.size());
  count("insert", l.blockN, l.block.size());
  for (const TEntJwwNo& no : l.order) {
    if (no.EntType == 0) continue;
    if (no.EntType < 1 || no.EntType > kEntityKinds || no.EntNo < 0 || no.EntNo >= l.CountOf(no.EntType)) {
      Note(out, std::string(where) + ": order entry " + std::to_string(no.EntType) + "/" + std::to_string(no.EntNo) +
                    " points at nothing");
      break;
    }
  }
  return out;
}

template <class Document>
std::string CheckHeaderPromise(const Document& doc, bool result) {
  std::string out = CheckDocumentConsistent(doc);
  if (result && !doc.HeaderRead()) Note(out, "FileIn succeeded without a header");
  return out;
}

// Writes `doc` at every target and reads each file back as `Document`.
template <class Document>
std::string RoundTrip(Document& doc, const TempDir& scratch, const char* name, int (*written)(int)) {
  const fs::path file = scratch.path() / name;
  const fs::path again = scratch.path() / (std::string(name) + ".again");
  const String path = FromFsPath(file);
  std::string out;
  for (int ask : kTargets) {
    const int ver = written(ask);
    const std::string at = "written at " + std::to_string(ask);
    if (!doc.FileOut(path, ask)) {
      Note(out, at + ": FileOut failed");
      continue;
    }
    Document back;
    InStream in(path);
    if (!back.FileIn(in)) Note(out, at + ": the written file does not read back");
    if (in.remaining() != 0) Note(out, at + ": " + std::to_string(in.remaining()) + " bytes left unread");
    if (back.Enthd.jwVer != ver) Note(out, at + ": reads back as generation " + std::to_string(back.Enthd.jwVer));
    const std::string counts = CountsMismatch(back, back.Enthd.n1, Predict(doc, doc.Enthd.jwVer, ver));
    if (!counts.empty()) Note(out, at + ": counts read/predicted " + counts);
    if (back.EntBlockNum != doc.EntBlockNum)
      Note(out, at + ": " + std::to_string(back.EntBlockNum) + " definitions in use, " + std::to_string(doc.EntBlockNum) +
                    " before");
    // What the writer wrote it writes again to the byte: nothing is lost on the way back.
    if (!back.FileOut(FromFsPath(again), ask) || FileContent(again) != FileContent(file))
      Note(out, at + ": the file read back is written otherwise");
  }
  RemoveQuietly(file);
  RemoveQuietly(again);
  return out;
}

int SameVersion(int v) { return v; }

// Settings values in file order, for comparing two loads.
std::vector<std::int32_t> Numbers(const AppSettings& s) {
  std::vector<std::int32_t> v = {s.MainLeft, s.MainTop, s.MainWidth, s.MainHeight, s.FolderPanelWidth, s.FileTypeIndex};
  v.insert(v.end(), s.ColumnWidths.begin(), s.ColumnWidths.end());
  for (std::int32_t x : {s.DialogLeft, s.DialogTop, s.Conversion.OutVersionIndex, s.Conversion.ConvertBoundImages,
                         s.Conversion.DeleteSourceImage, s.Conversion.ImageFormatIndex, s.Conversion.JpegQuality})
    v.push_back(x);
  return v;
}

bool HasLoneSurrogate(std::u16string_view s) {
  for (std::size_t i = 0; i < s.size(); ++i) {
    const char16_t c = s[i];
    if (c >= 0xD800 && c <= 0xDBFF) {
      if (i + 1 < s.size() && s[i + 1] >= 0xDC00 && s[i + 1] <= 0xDFFF) {
        ++i;
        continue;
      }
      return true;
    }
    if (c >= 0xDC00 && c <= 0xDFFF) return true;
  }
  return false;
}

}  // namespace

std::string CheckDocumentConsistent(const TJwEntityDoc& doc) {
  std::string out = CheckList("main list", MainList(doc));
  if (doc.EntBlockDefN < 0 || static_cast<std::size_t>(doc.EntBlockDefN) != doc.EntBlockDef.size())
    Note(out, "definition count " + std::to_string(doc.EntBlockDefN) + " with " + std::to_string(doc.EntBlockDef.size()));
  for (const TEntJwwBlockDef& def : doc.EntBlockDef) {
    const std::string members = CheckList("definition", MemberList(def));
    if (!members.empty()) {
      Note(out, members);
      break;
    }
  }
  if (doc.EntBlockTreeN < 0 || static_cast<std::size_t>(doc.EntBlockTreeN) != doc.EntBlockTree.size())
    Note(out, "tree count " + std::to_string(doc.EntBlockTreeN) + " with " + std::to_string(doc.EntBlockTree.size()));
  if (doc.EntBlockTree.size() > static_cast<std::size_t>(TJwEntityDoc::kMaxBlockTreeNodes)) Note(out, "tree beyond its cap");
  for (std::size_t k = 0; k < doc.EntBlockTree.size(); ++k) {
    const TEntJwwBlockTree& node = doc.EntBlockTree[k];
    if (node.parent >= static_cast<std::int32_t>(k) || node.parent < -1 || node.defno < -1 ||
        node.defno >= static_cast<std::int32_t>(doc.EntBlockDef.size())) {
      Note(out, "tree node " + std::to_string(k) + " points at nothing");
      break;
    }
  }
  if (doc.EntBlockNum < 0 || doc.EntBlockNum > doc.EntBlockDefN)
    Note(out, std::to_string(doc.EntBlockNum) + " definitions in use of " + std::to_string(doc.EntBlockDefN));
  if (doc.BindImageN < 0 || static_cast<std::size_t>(doc.BindImageN) != doc.BindImage.size())
    Note(out, "image count " + std::to_string(doc.BindImageN) + " with " + std::to_string(doc.BindImage.size()));
  return out;
}

std::string CheckJwwRead(InputBytes bytes, const TempDir& scratch) {
  const fs::path images = scratch.path() / "images";
  fs::create_directories(images);
  TJwwData doc;
  doc.BindImageExp = true;
  doc.BindImageFolder = AddPathDelim(FromFsPath(images));
  InStream in(bytes);
  std::string out = CheckHeaderPromise(doc, doc.FileIn(in));
  if (doc.HeaderRead()) Note(out, CheckPicture(render::InputOf(doc)));
  if (!doc.BindImage.empty()) {
    for (const fs::directory_entry& e : fs::directory_iterator(scratch.path()))
      if (e.path() != images) Note(out, "extraction wrote " + e.path().filename().string() + " outside its folder");
    for (const fs::directory_entry& e : fs::directory_iterator(images))
      if (!e.is_regular_file()) Note(out, "extraction made " + e.path().filename().string() + ", which is no plain file");
  }
  RemoveQuietly(images);
  return out;
}

std::string CheckJwsRead(InputBytes bytes, const TempDir&) {
  TJwsData doc;
  InStream in(bytes);
  std::string out = CheckHeaderPromise(doc, doc.FileIn(in));
  if (doc.HeaderRead()) Note(out, CheckPicture(render::InputOf(doc)));
  return out;
}

std::string CheckJwwRoundTrip(InputBytes bytes, const TempDir& scratch) {
  TJwwData doc;
  doc.BindImageExr = true;  // the image section is read (and listed) as far as it goes
  InStream in(bytes);
  doc.FileIn(in);
  if (!doc.HeaderRead()) return {};
  // No target generation holds images.
  doc.BindImageExr = false;
  return RoundTrip(doc, scratch, "round-trip.jww", SameVersion);
}

std::string CheckJwsRoundTrip(InputBytes bytes, const TempDir& scratch) {
  TJwsData doc;
  InStream in(bytes);
  doc.FileIn(in);
  if (!doc.HeaderRead()) return {};
  return RoundTrip(doc, scratch, "round-trip.jws", TJwsData::AdjustedVersion);
}

std::string CheckRoundTrip(InputBytes bytes, const TempDir& scratch) {
  std::string out = CheckJwwRoundTrip(bytes, scratch);
  const std::string shape = CheckJwsRoundTrip(bytes, scratch);
  if (!shape.empty()) Note(out, "shape: " + shape);
  return out;
}

std::string CheckDosHeaders(InputBytes bytes, const TempDir& scratch) {
  const fs::path file = scratch.path() / "dos.jwc";
  if (!WriteInput(file, bytes)) return "the input file could not be written";
  const String path = FromFsPath(file);
  TJwcData jwc;
  TJwkData jwk;
  jwc.FileCheck(path);
  jwk.FileCheck(path);
  jwc.FileHeaderIn(path);
  jwk.FileHeaderIn(path);
  RemoveQuietly(file);
  return {};
}

std::string CheckGzip(InputBytes bytes, const TempDir& scratch) {
  constexpr std::size_t kLimit = 1 << 20;
  std::string out;
  std::vector<std::uint8_t> whole;
  const bool complete = InflateGzip(bytes, whole, kLimit);
  if (whole.size() > kLimit) Note(out, "inflated " + std::to_string(whole.size()) + " bytes past the limit");
  if (complete) {
    // A limit of exactly the output still completes; one byte less stops there.
    std::vector<std::uint8_t> exact;
    if (!InflateGzip(bytes, exact, whole.size()) || exact != whole) Note(out, "a limit equal to the output does not complete");
    if (!whole.empty()) {
      std::vector<std::uint8_t> cut;
      if (InflateGzip(bytes, cut, whole.size() - 1)) Note(out, "a limit one byte short still completes");
      if (cut.size() != whole.size() - 1 || !std::equal(cut.begin(), cut.end(), whole.begin()))
        Note(out, "a limit one byte short does not give the output up to it");
    }
  }
  const fs::path src = scratch.path() / "image.gz";
  const fs::path dst = scratch.path() / "image";
  if (!WriteInput(src, bytes)) return "the input file could not be written";
  const bool fileComplete = InflateGzipFile(FromFsPath(src), FromFsPath(dst), kLimit);
  if (fileComplete != complete) Note(out, "the file form and the memory form disagree on completion");
  if (FileContent(dst) != whole) Note(out, "the file form gives other bytes than the memory form");
  RemoveQuietly(src);
  RemoveQuietly(dst);
  return out;
}

std::string CheckSettingsFile(InputBytes bytes, const TempDir& scratch) {
  const fs::path file = scratch.path() / "settings.dat";
  const fs::path again = scratch.path() / "saved.dat";
  if (!WriteInput(file, bytes)) return "the input file could not be written";
  std::string out;
  AppSettings loaded;
  if (!LoadSettings(FromFsPath(file), loaded)) Note(out, "an existing settings file does not load");
  if (loaded.FileTypeIndex < -1 || loaded.FileTypeIndex >= static_cast<std::int32_t>(kFileTypeFilters.size()))
    Note(out, "type index " + std::to_string(loaded.FileTypeIndex) + " outside the list");
  if (!SaveSettings(FromFsPath(again), loaded)) {
    Note(out, "loaded settings cannot be saved");
  } else {
    AppSettings reloaded;
    reloaded.DestinationFolder = u"elsewhere";
    if (!LoadSettings(FromFsPath(again), reloaded)) Note(out, "saved settings do not load");
    if (Numbers(reloaded) != Numbers(loaded)) Note(out, "a number changed through a save and a load");
    if (reloaded.preFolder != loaded.preFolder || reloaded.DestinationFolder != loaded.DestinationFolder)
      Note(out, "a folder changed through a save and a load");
  }
  RemoveQuietly(file);
  RemoveQuietly(again);
  return out;
}

std::string CheckTextHelpers(InputBytes bytes, const TempDir&) {
  std::string out;
  String text;
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
    text.push_back(static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8)));

  TextToInt(text);
  if (!std::isfinite(TextToFloat(text))) Note(out, "TextToFloat gave a value that is not finite");
  if (bytes.size() >= 4) {
    const std::int32_t n = static_cast<std::int32_t>(GetU32(bytes.data()));
    if (TextToInt(IntToText(n)) != n) Note(out, "TextToInt does not read IntToText(" + std::to_string(n) + ")");
  }

  const String line = MemoToLine(text);
  for (char16_t c : line)
    if (c < u' ') {
      Note(out, "MemoToLine kept a control character");
      break;
    }
  if (!text.empty() && (line.empty() || line.size() > text.size())) Note(out, "MemoToLine gave a line of the wrong size");
  if (MemoToLine(line) != line) Note(out, "MemoToLine of its own line changed it");

  const String decoded = DecodeHexText(text);
  if (decoded.find(u'\0') != String::npos) Note(out, "DecodeHexText gave a NUL");
  if (DecodeHexText(EncodeHexText(decoded)) != decoded) Note(out, "a decoded hex text does not encode back the same");
  if (!HasLoneSurrogate(text) && text.find(u'\0') == String::npos && DecodeHexText(EncodeHexText(text)) != text)
    Note(out, "a text does not survive EncodeHexText and DecodeHexText");

  ConversionSettings s;
  const std::uint8_t pick = bytes.empty() ? 0 : bytes.back();
  s.ConvertBoundImages = pick & 1;
  s.ImageFormatIndex = (pick >> 1) % 8 - 1;  // -1 .. 6: the known indexes and one past each end
  const String image = RewriteImageText(text, s);
  if (!text.starts_with(u"^@BM%temp%") || text.find(u',') == String::npos) {
    if (image != text) Note(out, "RewriteImageText changed a text that is no bound-image text");
  } else {
    const std::size_t comma = image.find(u',');
    if (!image.starts_with(u"^@BM") || comma == String::npos ||
        image.substr(comma) != text.substr(text.find(u',')))
      Note(out, "RewriteImageText did not keep the marker and everything from the first comma");
  }
  return out;
}

}  // namespace plandown::testing
