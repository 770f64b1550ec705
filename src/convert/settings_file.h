// The settings file: window layout, the two folders, the type filter, the list's column
// widths, the settings dialog's position and the conversion settings, 21 text lines;
// then the preview pane's two switches, the sash above it and the main window's maximised
// state, on lines of their own after those.
#pragma once
#include <array>
#include <cstdint>

#include "convert/settings.h"
#include "util/ustring.h"

namespace plandown {

inline constexpr int kSettingsLines = 21;

struct AppSettings {
  std::int32_t MainLeft = 64;    // main window, outer edges and size
  std::int32_t MainTop = 64;
  std::int32_t MainWidth = 600;
  std::int32_t MainHeight = 520;
  std::int32_t FolderPanelWidth = 200;  // the folder-tree panel
  String preFolder;                     // reference folder
  String DestinationFolder;             // destination folder
  std::int32_t FileTypeIndex = 0;       // type filter; -1 when no entry is selected
  std::array<std::int32_t, 6> ColumnWidths{80, 80, 80, 80, 80, 80};
  std::int32_t DialogLeft = 64;  // settings dialog
  std::int32_t DialogTop = 64;
  ConversionSettings Conversion;
  // Lines 22 to 25, written only as far as one of them holds other than its default, so
  // that the file of a window without them stays the 21 lines every version reads; a file
  // without them gives the defaults.
  std::int32_t PreviewShown = 0;  // the preview pane is open
  std::int32_t PreviewAfter = 0;  // it shows the drawing as the conversion would write it
  std::int32_t PreviewSash = 0;   // the list's height over the preview, pixels; 0: not chosen
  // The main window is maximised; its edges above are those it comes back to.
  std::int32_t MainMaximized = 0;
};

// Sets every value but DestinationFolder to its default, then applies the lines of the file
// in order. A file that ends early gives its missing lines as empty texts (0 or an empty
// folder); one that cannot be opened or read leaves what was applied so far. A type filter
// index outside the filter list becomes -1 (no entry selected). Values are not otherwise
// checked. Returns whether a file was read.
bool LoadSettings(const String& path, AppSettings& settings);

// Writes the 21 lines and the preview lines that are needed, each ended by CR LF, through a temporary file that replaces the
// file at path only when complete. On failure there is no file at path and nothing is
// reported beyond the result.
bool SaveSettings(const String& path, const AppSettings& settings);

// The settings file beside the executable (its path with the extension ".dat") when the
// executable's folder is writable, else "plandown/plandown.dat" in the per-user
// configuration folder, which is then created.
String DefaultSettingsFileName();
// The choice itself: `configFolder` ends with a separator or is empty (then the
// executable's file is used whatever).
String ChooseSettingsFileName(std::u16string_view exePath, bool exeFolderWritable, std::u16string_view configFolder);

}  // namespace plandown
