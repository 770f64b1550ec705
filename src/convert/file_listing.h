// The file list of the main window without its widgets: the rows of one folder with their
// type, memo, time, size and version, the type filter, the column sort and the opening of a
// file with the desktop's default application. Only headers are read, never whole files.
#pragma once
#include <array>
#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

#include "dos/jwc_data.h"
#include "dos/jwk_data.h"
#include "jws/jws_data.h"
#include "jww/jww_data.h"
#include "util/ustring.h"

namespace plandown {

// Columns of a row, in display order.
enum FileListColumn : int {
  kColumnName = 0,
  kColumnType = 1,
  kColumnMemo = 2,
  kColumnTime = 3,
  kColumnSize = 4,
  kColumnVersion = 5,
};
inline constexpr int kFileListColumns = 6;
inline constexpr std::array<std::u16string_view, kFileListColumns> kFileListHeaders = {
    u"ファイル名", u"種類", u"図面メモ", u"更新日時", u"サイズ", u"Ver."};

// The entries of the file-type box and the search mask of each.
struct FileTypeFilter {
  std::u16string_view entry;
  std::u16string_view mask;
};
inline constexpr std::array<FileTypeFilter, 6> kFileTypeFilters = {{
    {u"ALL Files (*.*)", u"*"},
    {u"Jw_cad ファイル (*.jw?)", u"*.jw?"},
    {u"Jw_cad 図面ファイル (*.jww)", u"*.jww"},
    {u"Jw_cad 図形ファイル (*.jws)", u"*.jws"},
    {u"JW_CAD 図面ファイル (*.jwc)", u"*.jwc"},
    {u"JW_CAD 図形ファイル (*.jwk)", u"*.jwk"},
}};
// The mask of a filter index; "*" for any index outside the list (also -1, none selected).
std::u16string_view FilterMask(int filterIndex);

// One row: the caption (file name) and the five sub-items, all as shown.
struct FileListRow {
  std::array<String, kFileListColumns> text;
  const String& caption() const { return text[kColumnName]; }
};

// The header readers of the four file kinds; reused from file to file so that the tables
// of a drawing header are allocated once per listing, not once per file.
struct HeaderDocuments {
  TJwwData JWW;
  TJwsData JWS;
  TJwcData JWC;
  TJwkData JWK;
};

struct FileInfoText {
  String version;  // format version in decimal, "DOS", or empty
  String memo;     // one-line memo without blanks, or empty
};

// Version and memo of one file, judged by its extension and read from its header only.
// A file that is not recognised or whose header cannot be read gives two empty texts.
FileInfoText GetFileInfo(const String& path, HeaderDocuments& docs);
FileInfoText GetFileInfo(const String& path);

// The files of a folder that match the filter, in name order (the order in which the
// file system of the drawings' home platform lists a folder): names compared as the
// name column sorts, whatever order the folder itself keeps.
struct FileListing {
  bool folderNamed = false;   // a folder was given at all
  bool folderExists = false;
  std::vector<FileListRow> rows;
};
FileListing ListFiles(std::u16string_view folder, int filterIndex, HeaderDocuments& docs);
// The same rows without reading a header (memo and version empty): what the folder's
// entries alone say, quick also for thousands of files; GetFileInfo fills in the rest.
FileListing ListFolderEntries(std::u16string_view folder, int filterIndex);
FileListing ListFiles(std::u16string_view folder, int filterIndex);

// Status texts of a listing: the one shown while it runs, and the one it ends with: the
// count; for a folder that does not exist, the text saying so; an empty text when no
// folder was named (the window at start, before a folder is chosen).
inline constexpr std::u16string_view kSearchingText = u"ファイル検索中です";
String SearchDoneText(std::size_t count);
String ListingStatusText(const FileListing& listing);

// The comparison of row texts: ordinal over UTF-16 units with only "a" to "z" folded onto
// "A" to "Z". Negative, zero or positive.
int CompareTextAscii(std::u16string_view a, std::u16string_view b);

// The sort state of the list and the column-click sort. Sort2 flips on every click,
// whichever column is clicked, so the first click sorts descending.
class FileListSort {
 public:
  int Sort1 = -1;  // column to sort by; -1 none
  int Sort2 = 0;   // 0 ascending, 1 descending

  // Records the clicked column, flips the direction and sorts the rows (a stable sort, so
  // rows that compare equal keep their order).
  void ColumnClick(int column, std::vector<FileListRow>& rows);
  // Sorts the rows by the current state (a stable sort), as a click leaves them.
  void Sort(std::vector<FileListRow>& rows) const;
  // The comparison for the current state; the size column compares by magnitude.
  int Compare(const FileListRow& item1, const FileListRow& item2) const;
};

// Texts of opening a file from the list.
inline constexpr std::u16string_view kNoReferenceFolderText = u"参照フォルダを指定して下さい。";
inline constexpr std::u16string_view kReferenceFolderMissingText = u"参照フォルダが存在しません。";
inline constexpr std::u16string_view kNoFileChosenText = u"ファイルを指示して下さい。";
String OpenedFileText(std::u16string_view path);
// The desktop could not open the file: it has no application for its type.
String OpenFailedText(std::u16string_view path);
// The file is no longer there.
String OpenMissingText(std::u16string_view path);

// What the window shows after a double click on the list: an optional beep, an optional
// error message box (the single OK button) and the status text; `opened` names the file
// handed to the opener, `openFailed` that the opener could not open it.
struct OpenFileOutcome {
  bool beep = false;
  bool messageBox = false;
  String statusText;
  String opened;
  bool openFailed = false;
};
// Answers whether the file could be handed to an application.
using FileOpener = std::function<bool(const String& path)>;
// Opens the current row's file of the reference folder; `current` is the first selected
// row or nullptr. When the opener fails, the text saying so goes to a message box and the
// status bar.
OpenFileOutcome OpenCurrentFile(std::u16string_view preFolder, const FileListRow* current,
                                const FileOpener& opener);
// The same with the desktop's default application.
OpenFileOutcome OpenCurrentFile(std::u16string_view preFolder, const FileListRow* current);

}  // namespace plandown
