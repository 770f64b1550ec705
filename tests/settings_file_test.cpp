// The settings file: defaults, partial and garbled files, the exact written form, the
// hex-encoded folders, failed writes, and where the file lives.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "convert/file_listing.h"
#include "convert/settings_file.h"
#include "support/drawing_builder.h"
#include "support/file_bytes.h"
#include "support/temp_dir.h"
#include "util/desktop.h"
#include "util/files.h"
#include "util/paths.h"

namespace plandown {
namespace {

using testing::PathIn;
using testing::TempDir;
using testing::WriteFileBytes;

std::string Lines(const std::vector<std::string>& lines, const char* end = "\r\n") {
  std::string s;
  for (const std::string& l : lines) s += l + end;
  return s;
}

std::string FileText(const String& path) {
  const std::vector<std::uint8_t> b = testing::ReadFileBytes(path);
  return std::string(b.begin(), b.end());
}

// Every value off its default, the folders with Japanese and a drive-like prefix.
AppSettings Changed() {
  AppSettings s;
  s.MainLeft = -8;
  s.MainTop = 12;
  s.MainWidth = 1024;
  s.MainHeight = 768;
  s.FolderPanelWidth = 333;
  s.preFolder = u"C:\\図面";
  s.DestinationFolder = u"/home/利用者/出力 先";
  s.FileTypeIndex = 3;
  s.ColumnWidths = {101, 102, 103, 104, 105, 106};
  s.DialogLeft = 2147483647;
  s.DialogTop = -2147483647 - 1;
  s.Conversion.OutVersionIndex = 2;
  s.Conversion.ConvertBoundImages = 1;
  s.Conversion.DeleteSourceImage = 1;
  s.Conversion.ImageFormatIndex = 4;
  s.Conversion.JpegQuality = 90;
  return s;
}

void ExpectEqual(const AppSettings& a, const AppSettings& b) {
  EXPECT_EQ(a.MainLeft, b.MainLeft);
  EXPECT_EQ(a.MainTop, b.MainTop);
  EXPECT_EQ(a.MainWidth, b.MainWidth);
  EXPECT_EQ(a.MainHeight, b.MainHeight);
  EXPECT_EQ(a.FolderPanelWidth, b.FolderPanelWidth);
  EXPECT_EQ(a.preFolder, b.preFolder);
  EXPECT_EQ(a.DestinationFolder, b.DestinationFolder);
  EXPECT_EQ(a.FileTypeIndex, b.FileTypeIndex);
  EXPECT_EQ(a.ColumnWidths, b.ColumnWidths);
  EXPECT_EQ(a.DialogLeft, b.DialogLeft);
  EXPECT_EQ(a.DialogTop, b.DialogTop);
  EXPECT_EQ(a.Conversion.OutVersionIndex, b.Conversion.OutVersionIndex);
  EXPECT_EQ(a.Conversion.ConvertBoundImages, b.Conversion.ConvertBoundImages);
  EXPECT_EQ(a.Conversion.DeleteSourceImage, b.Conversion.DeleteSourceImage);
  EXPECT_EQ(a.Conversion.ImageFormatIndex, b.Conversion.ImageFormatIndex);
  EXPECT_EQ(a.Conversion.JpegQuality, b.Conversion.JpegQuality);
}

TEST(SettingsFile, NoFileGivesDefaultsAndKeepsTheDestination) {
  TempDir dir;
  AppSettings s = Changed();
  EXPECT_FALSE(LoadSettings(PathIn(dir, u"none.dat"), s));
  AppSettings expected;
  expected.DestinationFolder = Changed().DestinationFolder;
  ExpectEqual(s, expected);
  // A folder in the file's place is no file either.
  s = Changed();
  EXPECT_FALSE(LoadSettings(dir.folder(), s));
  ExpectEqual(s, expected);

  // Saving the defaults: 21 lines, empty folders, 75 last.
  const String path = PathIn(dir, u"first.dat");
  ASSERT_TRUE(SaveSettings(path, AppSettings{}));
  EXPECT_EQ(FileText(path),
            Lines({"64", "64", "600", "520", "200", "", "", "0", "80", "80", "80", "80", "80", "80", "64", "64", "0",
                   "0", "0", "0", "75"}));
}

TEST(SettingsFile, WrittenFormAndRoundTrip) {
  TempDir dir;
  const String path = PathIn(dir, u"plandown.dat");
  // An older, longer file is replaced as a whole.
  WriteFileBytes(dir, u"plandown.dat", std::string(5000, '7'));
  ASSERT_TRUE(SaveSettings(path, Changed()));
  EXPECT_EQ(FileText(path),
            Lines({"-8", "12", "1024", "768", "333", "433A5CE59BB3E99DA2",
                   "2F686F6D652FE588A9E794A8E880852FE587BAE58A9B20E58588", "3", "101", "102", "103", "104", "105",
                   "106", "2147483647", "-2147483648", "2", "1", "1", "4", "90"}));
  AppSettings back;
  ASSERT_TRUE(LoadSettings(path, back));
  ExpectEqual(back, Changed());
  // Nothing but the settings file is left in the folder.
  std::size_t entries = 0;
  for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.path())) ++entries;
  EXPECT_EQ(entries, 1u);
}

TEST(SettingsFile, PartialAndGarbledFiles) {
  TempDir dir;
  const std::vector<std::string> full = {"10", "20", "800", "600", "150", "433A5C", "2F746D70", "2",
                                         "1",  "2",  "3",   "4",   "5",   "6",      "30",       "40",
                                         "1",  "1",  "0",   "3",   "50"};
  auto upTo = [&](std::size_t n) { return std::vector<std::string>(full.begin(), full.begin() + n); };
  std::string noLastEnding = Lines(full, "\n");
  noLastEnding.pop_back();
  struct Case {
    const char* what;
    std::string bytes;
    void (*check)(const AppSettings&);
  };
  const std::vector<Case> cases = {
      {"sixteen lines: the five conversion settings read as 0, quality too", Lines(upTo(16)),
       [](const AppSettings& s) {
         EXPECT_EQ(s.DialogTop, 40);
         EXPECT_EQ(s.Conversion.JpegQuality, 0);
         EXPECT_EQ(s.Conversion.ConvertBoundImages, 0);
       }},
      {"two lines: the rest reads as empty, the destination too", Lines(upTo(2)),
       [](const AppSettings& s) {
         EXPECT_EQ(s.MainTop, 20);
         EXPECT_EQ(s.MainWidth, 0);
         EXPECT_EQ(s.DestinationFolder, u"");
         EXPECT_EQ(s.FileTypeIndex, 0);
         EXPECT_EQ(s.ColumnWidths[5], 0);
       }},
      {"empty file", "",
       [](const AppSettings& s) {
         EXPECT_EQ(s.MainLeft, 0);
         EXPECT_EQ(s.DialogLeft, 0);
       }},
      {"LF endings, none after the last line", noLastEnding,
       [](const AppSettings& s) {
         EXPECT_EQ(s.preFolder, u"C:\\");
         EXPECT_EQ(s.DestinationFolder, u"/tmp");
         EXPECT_EQ(s.Conversion.JpegQuality, 50);
       }},
      {"CR endings", Lines(full, "\r"),
       [](const AppSettings& s) {
         EXPECT_EQ(s.FileTypeIndex, 2);
         EXPECT_EQ(s.Conversion.ImageFormatIndex, 3);
       }},
      {"integers and folders as their readers take them",
       Lines({" 64", "64 ", "$1F", "abc", std::string("31\0\0", 4), "4G41", "433a5c", "9", "2147483648", "-7",
              "0x1f", "\xff\xfe", "+5", "", "1.5"}),
       [](const AppSettings& s) {
         EXPECT_EQ(s.MainLeft, 64);
         EXPECT_EQ(s.MainTop, 0);
         EXPECT_EQ(s.MainWidth, 31);
         EXPECT_EQ(s.MainHeight, 0);
         EXPECT_EQ(s.FolderPanelWidth, 31);
         EXPECT_EQ(s.preFolder, u"");  // the bad first pair gives byte 0, which ends the text
         EXPECT_EQ(s.DestinationFolder, u"C:\\");
         EXPECT_EQ(s.FileTypeIndex, -1);  // no entry of the type box
         EXPECT_EQ(s.ColumnWidths, (std::array<std::int32_t, 6>{0, -7, 31, 0, 5, 0}));
         EXPECT_EQ(s.DialogLeft, 0);
         EXPECT_EQ(s.Conversion.JpegQuality, 0);
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    AppSettings s = Changed();
    ASSERT_TRUE(LoadSettings(WriteFileBytes(dir, u"s.dat", c.bytes), s));
    c.check(s);
  }

  // An index the type box has no entry for lists everything and is written back as -1.
  AppSettings s;
  ASSERT_TRUE(LoadSettings(WriteFileBytes(dir, u"s.dat", Lines({"1", "2", "3", "4", "5", "", "", "9"})), s));
  EXPECT_EQ(FilterMask(s.FileTypeIndex), u"*");
  ASSERT_TRUE(SaveSettings(PathIn(dir, u"s.dat"), s));
  const std::string head = Lines({"1", "2", "3", "4", "5", "", "", "-1"});
  EXPECT_EQ(FileText(PathIn(dir, u"s.dat")).substr(0, head.size()), head);
}

TEST(SettingsFile, PreviewSwitchesFollowTheTwentyOneLinesOnlyWhenNeeded) {
  TempDir dir;
  const std::vector<std::string> base = {"64", "64", "600", "520", "200", "", "", "0", "80", "80", "80",
                                         "80", "80", "80", "64", "64", "0", "0", "0", "0", "75"};
  auto with = [&](std::vector<std::string> later) {
    std::vector<std::string> lines = base;
    lines.insert(lines.end(), later.begin(), later.end());
    return lines;
  };
  // Written: the switches and the sash up to the last one not at its default; none when
  // all are.
  const struct {
    int shown, after, sash;
    std::vector<std::string> lines;
  } written[] = {
      {0, 0, 0, base},
      {1, 0, 0, with({"1"})},
      {0, 1, 0, with({"0", "1"})},
      {1, 1, 0, with({"1", "1"})},
      {0, 0, 310, with({"0", "0", "310"})},
  };
  for (const auto& c : written) {
    AppSettings s;
    s.PreviewShown = c.shown;
    s.PreviewAfter = c.after;
    s.PreviewSash = c.sash;
    const String path = PathIn(dir, u"w.dat");
    ASSERT_TRUE(SaveSettings(path, s));
    EXPECT_EQ(FileText(path), Lines(c.lines)) << c.shown << c.after;
    AppSettings back;
    back.PreviewShown = 7;
    ASSERT_TRUE(LoadSettings(path, back));
    EXPECT_EQ(back.PreviewShown, c.shown);
    EXPECT_EQ(back.PreviewAfter, c.after);
    EXPECT_EQ(back.PreviewSash, c.sash);
    EXPECT_EQ(back.Conversion.JpegQuality, 75);
  }
  // The main window's maximised state comes after the preview's lines.
  AppSettings maximized;
  maximized.MainMaximized = 1;
  ASSERT_TRUE(SaveSettings(PathIn(dir, u"m.dat"), maximized));
  EXPECT_EQ(FileText(PathIn(dir, u"m.dat")), Lines(with({"0", "0", "0", "1"})));
  AppSettings back;
  ASSERT_TRUE(LoadSettings(PathIn(dir, u"m.dat"), back));
  EXPECT_EQ(back.MainMaximized, 1);
  EXPECT_EQ(back.MainWidth, 600);
  // Read: a file of older versions, or one cut short, leaves the preview off; a short file
  // never takes its last lines for the switches.
  const struct {
    const char* what;
    std::vector<std::string> lines;
    int shown, after;
  } read[] = {
      {"sixteen lines", std::vector<std::string>(base.begin(), base.begin() + 16), 0, 0},
      {"twenty-one lines", base, 0, 0},
      {"twenty-two lines", with({"1"}), 1, 0},
      {"a later version's further lines", with({"1", "1", "5", "x", "y"}), 1, 1},
  };
  for (const auto& c : read) {
    AppSettings s;
    ASSERT_TRUE(LoadSettings(WriteFileBytes(dir, u"r.dat", Lines(c.lines)), s));
    EXPECT_EQ(s.PreviewShown, c.shown) << c.what;
    EXPECT_EQ(s.PreviewAfter, c.after) << c.what;
    EXPECT_EQ(s.MainMaximized, 0) << c.what;
  }
}

TEST(SettingsFile, FailedWritesLeaveNoFile) {
  TempDir dir;
  const String missingFolder = PathIn(dir, u"missing/plandown.dat");
  EXPECT_FALSE(SaveSettings(missingFolder, Changed()));
  EXPECT_FALSE(FileExistsAt(missingFolder));
  // A folder in the file's place stays a folder.
  std::filesystem::create_directory(dir.path() / "taken.dat");
  EXPECT_FALSE(SaveSettings(PathIn(dir, u"taken.dat"), Changed()));
  EXPECT_TRUE(FolderExists(PathIn(dir, u"taken.dat")));
  std::size_t entries = 0;
  for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.path())) ++entries;
  EXPECT_EQ(entries, 1u);  // no temporary file left behind
}

TEST(SettingsFile, LocationBesideTheExecutableOrPerUser) {
  // The per-user file lies in a "plandown" folder joined with the platform's separator.
  auto perUser = [](std::u16string_view config) { return String(config) + u"plandown" + PathDelim() + u"plandown.dat"; };
  struct Case {
    std::u16string_view exe;
    bool writable;
    std::u16string_view config;
    String expected;
  };
  const std::vector<Case> cases = {
      {u"/opt/app/plandown", true, u"/home/u/.config/", u"/opt/app/plandown.dat"},
      {u"/opt/my.app/plandown", true, u"", u"/opt/my.app/plandown.dat"},
      {u"C:\\Program Files\\Plandown\\plandown.exe", true, u"", u"C:\\Program Files\\Plandown\\plandown.dat"},
      {u"/usr/bin/plandown", false, u"/home/u/.config/", perUser(u"/home/u/.config/")},
      {u"/usr/bin/plandown", false, u"", u"/usr/bin/plandown.dat"},  // nowhere better to look
      {u"", false, u"/cfg/", perUser(u"/cfg/")},
      {u"", false, u"", u""},
  };
  for (const Case& c : cases) EXPECT_EQ(ChooseSettingsFileName(c.exe, c.writable, c.config), c.expected) << ToUtf8(c.exe);

  // The test program's folder is writable, so its file lies beside it.
  const String exe = ExecutablePath();
  ASSERT_FALSE(exe.empty());
  EXPECT_TRUE(ExtractName(exe).starts_with(u"plandown_tests"));
  EXPECT_TRUE(FileExistsAt(exe));
  EXPECT_EQ(DefaultSettingsFileName(), ChangeExt(exe, u".dat"));
}

#ifdef _WIN32
TEST(SettingsFile, PerUserConfigurationFolder) {
  const wchar_t* old = _wgetenv(L"APPDATA");
  const std::wstring oldValue = old ? old : L"";
  const struct {
    const wchar_t* appData;
    std::u16string_view expected;
  } cases[] = {
      {L"C:\\Users\\u\\AppData\\Roaming", u"C:\\Users\\u\\AppData\\Roaming\\"},
      {L"D:\\設定\\", u"D:\\設定\\"},
      {L"", u""},
  };
  for (const auto& c : cases) {
    _wputenv_s(L"APPDATA", c.appData);
    EXPECT_EQ(UserConfigFolder(), c.expected) << ToUtf8(c.expected);
  }
  _wputenv_s(L"APPDATA", oldValue.c_str());

  TempDir dir;
  EXPECT_TRUE(FolderWritable(dir.folder()));
  EXPECT_FALSE(FolderWritable(dir.folder() + u"missing"));
  EXPECT_FALSE(FolderWritable(u""));
  // The probe file of the check is gone again.
  EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}
#else
TEST(SettingsFile, PerUserConfigurationFolder) {
  const char* oldXdg = std::getenv("XDG_CONFIG_HOME");
  const char* oldHome = std::getenv("HOME");
  const std::string xdgValue = oldXdg ? oldXdg : "", homeValue = oldHome ? oldHome : "";
  struct Case {
    const char* xdg;
    const char* home;
    std::u16string_view expected;
  };
  const std::vector<Case> cases = {
      {"/x/cfg", "/home/u", u"/x/cfg/"},
      {"/x/cfg/", "/home/u", u"/x/cfg/"},
      {"relative/cfg", "/home/u", u"/home/u/.config/"},  // a relative value is ignored
      {nullptr, "/home/u", u"/home/u/.config/"},
      {nullptr, nullptr, u""},
  };
  for (const Case& c : cases) {
    c.xdg ? setenv("XDG_CONFIG_HOME", c.xdg, 1) : unsetenv("XDG_CONFIG_HOME");
    c.home ? setenv("HOME", c.home, 1) : unsetenv("HOME");
    EXPECT_EQ(UserConfigFolder(), c.expected) << (c.xdg ? c.xdg : "(unset)");
  }
  oldXdg ? setenv("XDG_CONFIG_HOME", xdgValue.c_str(), 1) : unsetenv("XDG_CONFIG_HOME");
  oldHome ? setenv("HOME", homeValue.c_str(), 1) : unsetenv("HOME");

  TempDir dir;
  EXPECT_TRUE(FolderWritable(dir.folder()));
  EXPECT_FALSE(FolderWritable(dir.folder() + u"missing"));
  EXPECT_FALSE(FolderWritable(u""));
}
#endif

}  // namespace
}  // namespace plandown
