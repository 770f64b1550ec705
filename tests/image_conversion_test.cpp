// Whole drawings with bound images, converted through the conversion layer: which files
// reach the destination, what the image texts say, and that nothing is left or written
// anywhere else.
#include <gtest/gtest.h>
#include <wx/image.h>
#include <wx/mstream.h>

#include <filesystem>
#include <fstream>

#include "archive/archive_write.h"
#include "convert/convert_file.h"
#include "images/image_convert.h"
#include "jww/jww_data.h"
#include "support/drawing_builder.h"
#include "support/image_fixtures.h"
#include "support/temp_dir.h"
#include "util/paths.h"
#include "util/text.h"

#include <unistd.h>

namespace plandown {
namespace {

namespace fs = std::filesystem;
using testing::Bytes8;
using testing::FilesUnder;
using testing::TempDir;

void WriteAll(const fs::path& p, const Bytes8& b) {
  std::ofstream(p, std::ios::binary).write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
}

// A 7.00 drawing whose image section holds: a compressed BMP that was a JPEG before binding
// (photo_jpg.bmp.gz), a plain Logo.PNG, an upper-case "scan.BMP.GZ", a hostile name with
// folder parts, then an empty-name entry and a zero-size entry.
struct ImageDrawing {
  TempDir work;
  fs::path source;
  Bytes8 bmp, png;

  ImageDrawing() {
    EXPECT_TRUE(InitImageLibrary());
    bmp = testing::Encoded(testing::TestPicture(9, 6), wxBITMAP_TYPE_BMP);
    png = testing::Encoded(testing::TestPicture(4, 3), wxBITMAP_TYPE_PNG);
    const fs::path images = work.path() / "images";
    fs::create_directories(images);
    WriteAll(images / "photo_jpg.bmp.gz", testing::GzipBytes(bmp));
    WriteAll(images / "Logo.PNG", png);
    WriteAll(images / "scan.BMP.GZ", testing::GzipBytes(bmp));
    WriteAll(images / "evil.png", png);

    TJwwData d;
    testing::SampleDrawing(d);
    testing::ListBuilder main(MainList(d));
    main.Add(testing::Text(u"^@BM%temp%photo_jpg.bmp,100,50"));
    main.Add(testing::Text(u"^@BM%temp%Logo.PNG,20,20"));
    main.Add(testing::Text(u"^@BM%temp%scan.BMP,30,30"));
    main.Add(testing::Text(u"^@BM%temp%..\\..\\evil.png,5,5"));
    testing::Finish(d);
    d.BindImageFolder = FromFsPath(images) + u"/";
    d.BindImageExp = true;
    for (const char16_t* n : {u"photo_jpg.bmp.gz", u"Logo.PNG", u"scan.BMP.GZ", u"..\\..\\evil.png"})
      d.BindImage.push_back({n, 0, false});
    d.BindImageN = static_cast<std::int32_t>(d.BindImage.size());
    source = work.path() / "src" / "drawing.jww";
    fs::create_directories(source.parent_path());
    EXPECT_TRUE(d.FileOut(FromFsPath(source), 700));
    AppendOddEntries();
  }

  // The writer only writes images that exist: the empty-name and zero-size entries are
  // appended by hand (neither carries content).
  void AppendOddEntries() {
    std::fstream f(source, std::ios::in | std::ios::out | std::ios::binary);
    Bytes8 all((std::istreambuf_iterator<char>(f)), {});
    Bytes8 tail;
    OutStream out(&tail);
    WriteString(out, u"");
    out.WriteI32(5);
    WriteString(out, u"zero.png");
    out.WriteI32(0);
    all.insert(all.end(), tail.begin(), tail.end());
    // The count stands after the definitions; find it from the drawing without images.
    TJwwData plain;
    plain.BindImageExr = true;
    ASSERT_TRUE(plain.FileIn(FromFsPath(source)));
    ASSERT_EQ(plain.BindImageN, 4);
    WriteAll(source, all);
    Reopen(all);
  }
  void Reopen(Bytes8& all) {
    // Patch the image count from 4 to 6: it is the first Integer 4 before the first image name.
    const Bytes8 needle = {4, 0, 0, 0, 16, 'p', 'h', 'o', 't', 'o'};
    auto it = std::search(all.begin(), all.end(), needle.begin(), needle.end());
    ASSERT_NE(it, all.end());
    *it = 6;
    WriteAll(source, all);
  }
};

struct Result {
  std::set<std::string> files;
  std::vector<String> texts;
};

Result Convert(ImageDrawing& fx, const ConversionSettings& s, const fs::path& dest) {
  SilentConversionUi ui;
  fs::create_directories(dest);
  const FileConversion r = ConvertFile({FromFsPath(fx.source), FromFsPath(dest / "drawing.jww"), {}}, s, ui);
  EXPECT_TRUE(r.Written());
  TJwwData back;
  EXPECT_TRUE(back.FileIn(FromFsPath(dest / "drawing.jww")));
  Result out;
  out.files = FilesUnder(dest);
  for (const TEntJwwMoji& m : back.EntMoji)
    if (m.str.starts_with(u"^@BM")) out.texts.push_back(m.str);
  return out;
}

ConversionSettings Images(int convert, int index, int deleteSource = 0, int quality = 75) {
  ConversionSettings s;
  s.ConvertBoundImages = convert;
  s.ImageFormatIndex = index;
  s.DeleteSourceImage = deleteSource;
  s.JpegQuality = quality;
  return s;
}

// This process's extraction folders.
std::set<fs::path> TempEntries() {
  const std::string mine = "plandown-" + std::to_string(getpid()) + "-";
  std::set<fs::path> e;
  for (const auto& d : fs::directory_iterator(fs::temp_directory_path()))
    if (d.path().filename().string().starts_with(mine)) e.insert(d.path());
  return e;
}

TEST(ImageConversion, FilesAndTextsForEachSetting) {
  ImageDrawing fx;
  struct Case {
    ConversionSettings s;
    std::set<std::string> files;
    std::vector<String> texts;
  } cases[] = {
      {Images(0, 0),
       {"drawing.jww", "photo_jpg.bmp", "Logo.PNG", "scan.BMP", "evil.png"},
       {u"^@BMphoto_jpg.bmp,100,50", u"^@BMLogo.PNG,20,20", u"^@BMscan.BMP,30,30", u"^@BM..\\..\\evil.png,5,5"}},
      {Images(1, 0),
       {"drawing.jww", "photo_jpg.bmp", "photo.jpg", "Logo.PNG", "scan.BMP", "evil.png"},
       {u"^@BMphoto.jpg,100,50", u"^@BMLogo.PNG,20,20", u"^@BMscan.BMP,30,30", u"^@BM..\\..\\evil.png,5,5"}},
      {Images(1, 3),
       // Logo.png is Logo.PNG where the drawings are opened (names ignore case there).
       {"drawing.jww", "photo_jpg.bmp", "photo.png", "Logo.PNG", "scan.BMP", "scan.png", "evil.png"},
       {u"^@BMphoto.png,100,50", u"^@BMLogo.png,20,20", u"^@BMscan.png,30,30", u"^@BM..\\..\\evil.png,5,5"}},
      {Images(1, 2, /*deleteSource=*/1),
       {"drawing.jww", "photo.gif", "Logo.gif", "scan.gif", "evil.gif"},
       {u"^@BMphoto.gif,100,50", u"^@BMLogo.gif,20,20", u"^@BMscan.gif,30,30", u"^@BM..\\..\\evil.gif,5,5"}},
  };
  const auto before = TempEntries();
  const auto workBefore = FilesUnder(fx.work.path());
  int i = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(i);
    const fs::path dest = fx.work.path() / ("out" + std::to_string(i++));
    Result r = Convert(fx, c.s, dest);
    EXPECT_EQ(r.files, c.files);
    EXPECT_EQ(r.texts, c.texts);
    // Every file a text names is there (names compared without regard to case).
    for (const String& t : r.texts) {
      const std::string name = ToUtf8(LowerText(ExtractName(t.substr(4, t.find(u',') - 4))));
      bool found = false;
      for (const std::string& f : r.files) found = found || ToUtf8(LowerText(FromUtf8(f))) == name;
      EXPECT_TRUE(found) << ToUtf8(t);
    }
  }
  EXPECT_EQ(TempEntries(), before) << "an extraction folder was left behind";
  // Nothing was written outside the destination folders.
  std::set<std::string> workAfter;
  for (const std::string& f : FilesUnder(fx.work.path()))
    if (!f.starts_with("out")) workAfter.insert(f);
  EXPECT_EQ(workAfter, workBefore);
  EXPECT_FALSE(fs::exists(fx.work.path().parent_path() / "evil.png"));
}

TEST(ImageConversion, EveryFormatDecodesAndJpegQualityMatters) {
  ImageDrawing fx;
  struct Case {
    int index;
    const char* file;
  } cases[] = {{1, "photo.bmp"}, {2, "photo.gif"}, {3, "photo.png"}, {4, "photo.jpg"}, {5, "photo.tif"}};
  for (const Case& c : cases) {
    const fs::path dest = fx.work.path() / ("fmt" + std::to_string(c.index));
    Convert(fx, Images(1, c.index), dest);
    wxImage img;
    ASSERT_TRUE(img.LoadFile(wxString::FromUTF8((dest / c.file).string()))) << c.file;
    EXPECT_EQ(img.GetWidth(), 9);
    EXPECT_EQ(img.GetHeight(), 6);
  }
  Convert(fx, Images(1, 4, 0, 10), fx.work.path() / "q10");
  Convert(fx, Images(1, 4, 0, 95), fx.work.path() / "q95");
  EXPECT_NE(fs::file_size(fx.work.path() / "q10" / "photo.jpg"), fs::file_size(fx.work.path() / "q95" / "photo.jpg"));
}

}  // namespace
}  // namespace plandown
