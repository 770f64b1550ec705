#include "convert/converted_in_memory.h"

#include "archive/instream.h"
#include "archive/outstream.h"
#include "convert/image_texts.h"

namespace plandown {

namespace {

// The image texts of a document as they were, put back when the scope ends.
class ImageTextsKept {
 public:
  explicit ImageTextsKept(TJwEntityDoc& doc) {
    Keep(doc.EntMoji, doc.EntMojiN);
    for (TEntJwwBlockDef& def : doc.EntBlockDef) Keep(def.mMoji, def.mMojiN);
  }
  ~ImageTextsKept() {
    for (auto& [text, was] : kept_) *text = std::move(was);
  }
  void Renamed(RenamedImageTexts& out) const {
    for (const auto& [text, was] : kept_)
      if (*text != was) out.emplace_back(*text, was);
  }
  ImageTextsKept(const ImageTextsKept&) = delete;
  ImageTextsKept& operator=(const ImageTextsKept&) = delete;

 private:
  void Keep(std::vector<TEntJwwMoji>& texts, std::int32_t count) {
    const std::size_t n = std::min(texts.size(), static_cast<std::size_t>(std::max(count, 0)));
    for (std::size_t i = 0; i < n; ++i)
      if (texts[i].str.starts_with(u"^@BM")) kept_.emplace_back(&texts[i].str, texts[i].str);
  }
  std::vector<std::pair<String*, String>> kept_;
};

template <class Document>
bool WriteAndReadBack(Document& doc, const ConversionSettings& settings, int version, Document& after,
                      WriteReport& report, RenamedImageTexts* renamed) {
  std::vector<std::uint8_t> bytes;
  bool written = false;
  {
    const ImageTextsKept kept(doc);
    RewriteImageTexts(doc, settings);
    if (renamed) kept.Renamed(*renamed);
    const std::int32_t options = doc.FileOutOpt;
    doc.SetFileOutOption(0);  // as the conversion writes
    OutStream out(&bytes);
    written = doc.FileOut(out, version) && out.Close();
    doc.FileOutOpt = options;
    report = doc.LastWriteReport();
  }
  if (!written) return false;
  after.BindImageExp = false;
  after.BindImageExr = false;
  InStream in(bytes);
  return after.FileIn(in);
}

}  // namespace

bool ConvertInMemory(TJwwData& doc, const ConversionSettings& settings, TJwwData& after, WriteReport& report,
                     RenamedImageTexts* renamed) {
  return WriteAndReadBack(doc, settings, TargetVersion(settings.OutVersionIndex), after, report, renamed);
}

bool ConvertInMemory(TJwsData& doc, const ConversionSettings& settings, TJwsData& after, WriteReport& report,
                     RenamedImageTexts* renamed) {
  return WriteAndReadBack(doc, settings, TJwsData::AdjustedVersion(TargetVersion(settings.OutVersionIndex)), after,
                          report, renamed);
}

}  // namespace plandown
