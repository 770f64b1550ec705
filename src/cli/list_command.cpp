#include "cli/list_command.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <ostream>

#include "cli/exit_codes.h"
#include "cli/text_output.h"
#include "convert/file_listing.h"
#include "util/json_text.h"

namespace plandown::cli {

namespace {

// Column names of the text table and keys of the JSON objects, in column order.
constexpr std::array<const char*, kFileListColumns> kColumnKeys = {"name", "type", "memo", "modified", "size", "version"};

void PrintTable(std::ostream& out, const std::vector<FileListRow>& rows) {
  std::array<std::size_t, kFileListColumns> widths{};
  for (int c = 0; c < kFileListColumns; ++c) {
    widths[c] = std::char_traits<char>::length(kColumnKeys[c]);
    for (const FileListRow& r : rows) widths[c] = std::max(widths[c], DisplayWidth(r.text[c]));
  }
  const auto line = [&](const std::array<String, kFileListColumns>& cells) {
    std::string text;
    for (int c = 0; c < kFileListColumns; ++c) {
      const std::string pad(widths[c] - DisplayWidth(cells[c]), ' ');
      if (c) text += "  ";
      // Sizes stand right-aligned, as in the window.
      text += c == kColumnSize ? pad + ToUtf8(cells[c]) : ToUtf8(cells[c]) + pad;
    }
    text.erase(text.find_last_not_of(' ') + 1);
    out << text << "\n";
  };
  std::array<String, kFileListColumns> header;
  for (int c = 0; c < kFileListColumns; ++c) header[c] = FromUtf8(kColumnKeys[c]);
  line(header);
  for (const FileListRow& r : rows) line(r.text);
}

void PrintJson(std::ostream& out, const std::vector<FileListRow>& rows) {
  Json list = Json::array();
  for (const FileListRow& r : rows) {
    Json row = Json::object();
    for (int c = 0; c < kFileListColumns; ++c) {
      const std::string text = ToUtf8(r.text[c]);
      // The size is a number; every other column is the text the list shows.
      std::int64_t size = 0;
      if (c == kColumnSize && std::from_chars(text.data(), text.data() + text.size(), size).ec == std::errc()) row[kColumnKeys[c]] = size;
      else row[kColumnKeys[c]] = text;
    }
    list.push_back(std::move(row));
  }
  out << JsonDocument(list);
}

}  // namespace

int RunList(const Arguments& args, std::ostream& out, std::ostream& err) {
  const String folder = FromUtf8(args.files.front());
  FileListing listing = ListFiles(folder, args.filterIndex);
  if (!listing.folderExists) {
    err << "plandown: " << ToUtf8(kReferenceFolderMissingText) << " (" << args.files.front() << ")\n";
    return kExitUsage;
  }
  // The folder's own order differs between file systems: rows are put in name order
  // first, so that rows equal in the sort column keep an order that is the same everywhere.
  FileListSort byName;
  byName.Sort1 = kColumnName;
  byName.Sort(listing.rows);
  FileListSort sort;
  sort.Sort1 = args.sortColumn.value_or(kColumnName);
  sort.Sort2 = args.descending ? 1 : 0;
  sort.Sort(listing.rows);
  if (args.json) {
    PrintJson(out, listing.rows);
  } else {
    PrintTable(out, listing.rows);
    out << ToUtf8(ListingStatusText(listing)) << "\n";
  }
  return kExitOk;
}

}  // namespace plandown::cli
