#include "convert/file_listing.h"

#include "convert/file_kind.h"

#include <algorithm>
#include <stdexcept>
#include <string>

#include "util/desktop.h"
#include "util/files.h"
#include "util/paths.h"
#include "util/search.h"
#include "util/text.h"

namespace plandown {
namespace {

// LowerExt refuses a path with characters paths may not hold; such a file has no type.
template <class Doc>
bool ReadHeader(Doc& doc, const String& path) {
  return doc.FileCheck(path) && doc.FileHeaderIn(path);
}

template <class DosDoc>
FileInfoText DosInfo(DosDoc& doc, const String& path) {
  FileInfoText info;
  if (ReadHeader(doc, path)) {
    info.version = u"DOS";
    info.memo = StripBlanks(MemoToLine(doc.Enthd.comment1 + u" " + doc.Enthd.comment2));
  }
  return info;
}

// The size in bytes; the search keeps only the low 32 bits, which would show a file of
// 2 GiB or more with a wrong or negative size.
String SizeText(const String& path, std::int32_t searchSize) {
  std::int64_t size = FileSizeAt(path);
  if (size < 0) size = static_cast<std::uint32_t>(searchSize);
  return FromUtf8(std::to_string(size));
}

char16_t FoldAscii(char16_t c) { return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - (u'a' - u'A')) : c; }

}  // namespace

std::u16string_view FilterMask(int filterIndex) {
  if (filterIndex < 0 || filterIndex >= static_cast<int>(kFileTypeFilters.size())) return u"*";
  return kFileTypeFilters[static_cast<std::size_t>(filterIndex)].mask;
}

FileInfoText GetFileInfo(const String& path, HeaderDocuments& docs) {
  FileInfoText info;
  // Regular files only: opening a pipe for reading would block the listing.
  if (!FileExistsAt(path)) return info;
  switch (FileKindOf(path)) {
    case FileKind::kJww:
      if (ReadHeader(docs.JWW, path)) {
        info.version = IntToText(docs.JWW.Enthd.jwVer);
        info.memo = StripBlanks(MemoToLine(docs.JWW.Enthd.strMemo));
      }
      break;
    case FileKind::kJws:
      if (ReadHeader(docs.JWS, path)) info.version = IntToText(docs.JWS.Enthd.jwVer);
      break;
    case FileKind::kJwc:
      info = DosInfo(docs.JWC, path);
      break;
    case FileKind::kJwk:
      info = DosInfo(docs.JWK, path);
      break;
    case FileKind::kUnknown:
      break;
  }
  return info;
}

FileInfoText GetFileInfo(const String& path) {
  HeaderDocuments docs;
  return GetFileInfo(path, docs);
}

FileListing ListFolderEntries(std::u16string_view folder, int filterIndex) {
  FileListing listing;
  listing.folderNamed = !folder.empty();
  if (!FolderExists(folder)) return listing;
  listing.folderExists = true;
  // One separator, also for a folder that already ends in one (a root).
  const String base = AddPathDelim(folder);
  std::vector<TFileField> found = SearchFolder(base, FilterMask(filterIndex));
  listing.rows.reserve(found.size());
  for (TFileField& f : found) {
    const String path = base + f.name;
    FileListRow row;
    row.text[kColumnType] = ExtensionOf(f.name);
    row.text[kColumnTime] = f.date + u" " + f.time;
    row.text[kColumnSize] = SizeText(path, f.size);
    row.text[kColumnName] = std::move(f.name);
    listing.rows.push_back(std::move(row));
  }
  FileListSort byName;
  byName.Sort1 = kColumnName;
  byName.Sort(listing.rows);
  return listing;
}

FileListing ListFiles(std::u16string_view folder, int filterIndex, HeaderDocuments& docs) {
  FileListing listing = ListFolderEntries(folder, filterIndex);
  const String base = AddPathDelim(folder);
  for (FileListRow& row : listing.rows) {
    FileInfoText info = GetFileInfo(base + row.caption(), docs);
    row.text[kColumnMemo] = std::move(info.memo);
    row.text[kColumnVersion] = std::move(info.version);
  }
  return listing;
}

FileListing ListFiles(std::u16string_view folder, int filterIndex) {
  HeaderDocuments docs;
  return ListFiles(folder, filterIndex, docs);
}

String SearchDoneText(std::size_t count) {
  return u"ファイル検索しました（ファイル数：" + FromUtf8(std::to_string(count)) + u"）";
}

String ListingStatusText(const FileListing& listing) {
  if (listing.folderExists) return SearchDoneText(listing.rows.size());
  return listing.folderNamed ? String(kReferenceFolderMissingText) : String();
}

int CompareTextAscii(std::u16string_view a, std::u16string_view b) {
  const std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    const char16_t x = FoldAscii(a[i]), y = FoldAscii(b[i]);
    if (x != y) return x < y ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

int FileListSort::Compare(const FileListRow& item1, const FileListRow& item2) const {
  if (Sort1 < 0 || Sort1 >= kFileListColumns) return 0;
  const String* t1 = &item1.text[static_cast<std::size_t>(Sort1)];
  const String* t2 = &item2.text[static_cast<std::size_t>(Sort1)];
  String padded;
  if (Sort1 == kColumnSize && t1->size() != t2->size()) {
    // Left-padding the shorter number makes the text order the order of magnitude.
    const bool firstShorter = t1->size() < t2->size();
    const String& shorter = firstShorter ? *t1 : *t2;
    const int pad = static_cast<int>((firstShorter ? t2 : t1)->size() - shorter.size());
    padded = RepeatText(u" ", pad) + shorter;
    (firstShorter ? t1 : t2) = &padded;
  }
  return Sort2 == 0 ? CompareTextAscii(*t1, *t2) : CompareTextAscii(*t2, *t1);
}

void FileListSort::ColumnClick(int column, std::vector<FileListRow>& rows) {
  Sort1 = column;
  Sort2 = 1 - Sort2;
  Sort(rows);
}

void FileListSort::Sort(std::vector<FileListRow>& rows) const {
  std::stable_sort(rows.begin(), rows.end(),
                   [this](const FileListRow& a, const FileListRow& b) { return Compare(a, b) < 0; });
}

String OpenedFileText(std::u16string_view path) { return u"ファイル「" + String(path) + u"」"; }

String OpenFailedText(std::u16string_view path) {
  return OpenedFileText(path) + u"を開けませんでした。この種類のファイルを開くアプリケーションが見つかりません。";
}

String OpenMissingText(std::u16string_view path) {
  return OpenedFileText(path) + u"が見つかりません。削除されたか、名前が変更された可能性があります。";
}

OpenFileOutcome OpenCurrentFile(std::u16string_view preFolder, const FileListRow* current, const FileOpener& opener) {
  OpenFileOutcome out;
  auto refuse = [&out](std::u16string_view text, bool box) {
    out.messageBox = box;
    out.statusText = String(text);
    return out;
  };
  if (StripBlanks(preFolder).empty()) {
    out.beep = true;
    return refuse(kNoReferenceFolderText, true);
  }
  if (!FolderExists(preFolder)) return refuse(kReferenceFolderMissingText, true);
  if (current == nullptr) return refuse(kNoFileChosenText, true);
  if (current->caption().empty()) return refuse(kNoFileChosenText, false);
  out.opened = AddPathDelim(preFolder) + current->caption();
  // A file gone since the list was read: the desktop would only say that it has no
  // program for it, or nothing at all.
  if (!FileExistsAt(out.opened)) {
    out.openFailed = true;
    return refuse(OpenMissingText(out.opened), true);
  }
  if (!opener(out.opened)) {
    out.openFailed = true;
    return refuse(OpenFailedText(out.opened), true);
  }
  out.statusText = OpenedFileText(out.opened);
  return out;
}

OpenFileOutcome OpenCurrentFile(std::u16string_view preFolder, const FileListRow* current) {
  return OpenCurrentFile(preFolder, current, [](const String& path) { return OpenWithDefaultApp(path); });
}

}  // namespace plandown
