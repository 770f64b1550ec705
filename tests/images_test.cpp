// Bound images: name reduction, gzip inflation, the image-folder operations of a drawing
// document, image-text rewriting, image format conversion and the private temp folder.
#include <gtest/gtest.h>
#include <wx/image.h>
#include <wx/mstream.h>
#include <zlib.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "convert/settings.h"
#include "images/gzip.h"
#include "images/image_convert.h"
#include "images/image_names.h"
#include "images/image_text.h"
#include "images/temp_folder.h"
#include "jww/entity_doc.h"
#include "support/image_fixtures.h"
#include "util/files.h"
#include "util/paths.h"

namespace plandown {
namespace {

namespace fs = std::filesystem;
using Bytes8 = std::vector<std::uint8_t>;

// ---- fixtures -------------------------------------------------------------------------

Bytes8 ReadAll(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return Bytes8(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteAll(const fs::path& p, const Bytes8& bytes) {
  std::ofstream out(p, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

Bytes8 TextBytes(std::string_view s) { return Bytes8(s.begin(), s.end()); }

String U(const fs::path& p) { return FromFsPath(p); }

using testing::Encoded;
using testing::FilesUnder;
using testing::GzipBytes;
using testing::TestPicture;

// Writes a gzip file the way the drawing program stores a compressed image.
void WriteGzFile(const fs::path& p, const Bytes8& data) {
  gzFile gz = gzopen(p.string().c_str(), "wb");
  ASSERT_NE(gz, nullptr);
  ASSERT_EQ(gzwrite(gz, data.data(), static_cast<unsigned>(data.size())), static_cast<int>(data.size()));
  ASSERT_EQ(gzclose(gz), Z_OK);
}

class ScratchDir {
 public:
  ScratchDir() {
    std::random_device rd;
    root_ = fs::temp_directory_path() / ("images-test-" + std::to_string(rd()) + std::to_string(rd()));
    fs::create_directories(root_);
  }
  ~ScratchDir() {
    std::error_code ec;
    fs::remove_all(root_, ec);
  }
  const fs::path& root() const { return root_; }

 private:
  fs::path root_;
};

// The document's constructor is for the drawing classes; the bound-image list is all a
// test needs.
struct ImageDoc : TJwEntityDoc {
  void Add(const String& name, std::int32_t size) {
    BindImage.push_back(TBindImageType{name, size, false});
    BindImageN = static_cast<std::int32_t>(BindImage.size());
  }
};

ConversionSettings Settings(int convert, int index, int deleteSource = 0, int quality = 75) {
  ConversionSettings s;
  s.ConvertBoundImages = convert;
  s.ImageFormatIndex = index;
  s.DeleteSourceImage = deleteSource;
  s.JpegQuality = quality;
  return s;
}

class ImagesTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(InitImageLibrary()); }
  ScratchDir scratch;
};

// ---- plain names ----------------------------------------------------------------------

TEST(ImageNames, StoredNamesBecomePlainFileNames) {
  struct Case {
    std::u16string_view stored;
    std::u16string_view plain;
  };
  const Case cases[] = {
      {u"photo_jpg.bmp.gz", u"photo_jpg.bmp.gz"},
      {u"図面_JPG.bmp", u"図面_JPG.bmp"},
      {u"..\\..\\x", u"x"},
      {u"../../x", u"x"},
      {u"/etc/x", u"x"},
      {u"C:x", u"x"},
      {u"c:\\pics\\a.png", u"a.png"},
      {u"a/b\\c.gif", u"c.gif"},
      {u"C:..", u""},
      {u"..", u""},
      {u".", u""},
      {u"dir\\", u""},
      {u"C:", u""},
      {u"", u""},
      {std::u16string_view(u"a\0b.png", 7), u"ab.png"},
#ifdef _WIN32
      {u"a?b|c.png", u"abc.png"},
      {u"x. ", u"x"},
      {u"CON.bmp", u""},
      {u"lpt1", u""},
#endif
  };
  for (const Case& c : cases) EXPECT_EQ(PlainImageFileName(c.stored), c.plain) << ToUtf8(c.stored);
}

TEST(ImageNames, InflatedNameDropsGzOnlyFromCompressedNames) {
  EXPECT_EQ(InflatedImageName(u"photo_jpg.bmp.gz"), u"photo_jpg.bmp");
  EXPECT_EQ(InflatedImageName(u"scan.BMP.GZ"), u"scan.BMP");
  EXPECT_EQ(InflatedImageName(u"Logo.PNG"), u"Logo.PNG");
  EXPECT_EQ(InflatedImageName(u"..\\..\\x.gz"), u"x");
  EXPECT_EQ(InflatedImageName(u".gz"), u"");
  EXPECT_EQ(InflatedImageName(u"..gz"), u"");  // would name the folder itself
  EXPECT_TRUE(IsCompressedImageName(u"a.Gz"));
  EXPECT_FALSE(IsCompressedImageName(u"a.tgz"));
  EXPECT_FALSE(IsCompressedImageName(u""));
}

// ---- gzip -----------------------------------------------------------------------------

TEST(Gzip, InflatesWithinTheLimitAndKeepsWhatCameBeforeAFault) {
  Bytes8 data(300000);
  std::mt19937 rng(7);
  for (auto& b : data) b = static_cast<std::uint8_t>(rng() % 16);  // compressible, not trivial
  const Bytes8 gz = GzipBytes(data);
  Bytes8 out;

  EXPECT_TRUE(InflateGzip(gz, out, data.size()));
  EXPECT_EQ(out, data);

  // The bound: exactly the limit is written, and hitting it is not success.
  EXPECT_FALSE(InflateGzip(gz, out, data.size() - 1));
  EXPECT_EQ(out, Bytes8(data.begin(), data.end() - 1));
  EXPECT_FALSE(InflateGzip(gz, out, 0));
  EXPECT_TRUE(out.empty());

  // Cut short: a prefix of the data survives.
  EXPECT_FALSE(InflateGzip(std::span(gz).first(gz.size() / 2), out, data.size()));
  ASSERT_FALSE(out.empty());
  EXPECT_TRUE(std::equal(out.begin(), out.end(), data.begin()));

  // A damaged byte in the middle of the stream stops inflation with what came before.
  Bytes8 damaged = gz;
  damaged[damaged.size() / 2] ^= 0xFF;
  EXPECT_FALSE(InflateGzip(damaged, out, data.size()));
  EXPECT_LE(out.size(), data.size());

  // Not gzip at all: zlib framing, plain bytes, nothing.
  Bytes8 zlibFramed(compressBound(data.size()));
  uLongf zlen = zlibFramed.size();
  ASSERT_EQ(compress(zlibFramed.data(), &zlen, data.data(), data.size()), Z_OK);
  zlibFramed.resize(zlen);
  for (const Bytes8& bad : {zlibFramed, TextBytes("BM not gzip"), Bytes8{}}) {
    EXPECT_FALSE(InflateGzip(bad, out, data.size()));
    EXPECT_TRUE(out.empty());
  }
}

TEST(Gzip, ABombStopsAtTheLimit) {
  const Bytes8 gz = GzipBytes(Bytes8(64u << 20, 0));  // 64 MiB of zeros in about 64 KiB
  ASSERT_LT(gz.size(), 1u << 20);
  Bytes8 out;
  EXPECT_FALSE(InflateGzip(gz, out, 1u << 20));
  EXPECT_EQ(out.size(), 1u << 20);
}

TEST(Gzip, FileInflationCreatesNothingWithoutASource) {
  ScratchDir dir;
  const fs::path src = dir.root() / "missing.gz";
  const fs::path dst = dir.root() / "missing";
  EXPECT_FALSE(InflateGzipFile(U(src), U(dst), kMaxInflatedImageBytes));
  EXPECT_FALSE(fs::exists(dst));

  // With a limit the file holds exactly the limit.
  WriteGzFile(dir.root() / "big.gz", Bytes8(100000, 'z'));
  EXPECT_FALSE(InflateGzipFile(U(dir.root() / "big.gz"), U(dir.root() / "big"), 4096));
  EXPECT_EQ(fs::file_size(dir.root() / "big"), 4096u);
}

// ---- bound-image files of a document --------------------------------------------------

class BoundImagesTest : public ImagesTest {
 protected:
  void SetUp() override {
    ImagesTest::SetUp();
    work = scratch.root() / "work";
    img = work / "sub" / "img";
    dst = work / "sub" / "dst";
    fs::create_directories(img);
    fs::create_directories(dst);
    doc.BindImageFolder = U(img / "");
    bmp = Encoded(TestPicture(), wxBITMAP_TYPE_BMP);
    png = Encoded(TestPicture(3, 2), wxBITMAP_TYPE_PNG);
  }

  // What the reader leaves in the image folder: the content under the plain name (given
  // here, not derived, so that a faulty reduction cannot lead the fixture astray), and no
  // file for an empty name or size 0.
  void Extracted(const String& stored, const char* onDisk, const Bytes8& content, bool gzip = false) {
    const Bytes8 storedBytes = gzip ? GzipBytes(content) : content;
    doc.Add(stored, static_cast<std::int32_t>(storedBytes.size()));
    if (*onDisk == 0 || storedBytes.empty()) return;
    if (gzip)
      WriteGzFile(img / onDisk, content);
    else
      WriteAll(img / onDisk, content);
  }

  fs::path work, img, dst;
  Bytes8 bmp, png;
  ImageDoc doc;
};

TEST_F(BoundImagesTest, ExplodeCopyAndDeleteGiveExactlyTheExpectedFiles) {
  // Files where hostile names would lead a careless implementation.
  WriteAll(work / "evil.gz", TextBytes("decoy"));
  WriteAll(work / "evil", TextBytes("decoy"));
  WriteAll(work / "evil.png", TextBytes("decoy"));
  WriteAll(dst / "Logo.PNG", TextBytes("older file of that name"));

  Extracted(u"photo_jpg.bmp.gz", "photo_jpg.bmp.gz", bmp, true);
  Extracted(u"Logo.PNG", "Logo.PNG", png);
  Extracted(u"scan.BMP.GZ", "scan.BMP.GZ", bmp, true);
  Extracted(u"", "", {});
  Extracted(u"zero.png", "zero.png", {});
  Extracted(u"..\\..\\evil.gz", "evil.gz", TextBytes("EVIL"), true);
  Extracted(u"../../evil.png", "evil.png", png);
  Extracted(u"/etc/plandown_images_test.png", "plandown_images_test.png", png);
  Extracted(u"C:y.png", "y.png", png);
  Extracted(u"..", "", png);

  doc.BindImageExplode();
  EXPECT_EQ(FilesUnder(img), (std::set<std::string>{"photo_jpg.bmp.gz", "photo_jpg.bmp", "Logo.PNG", "scan.BMP.GZ",
                                                    "scan.BMP", "evil.gz", "evil", "evil.png",
                                                    "plandown_images_test.png", "y.png"}));
  EXPECT_EQ(ReadAll(img / "photo_jpg.bmp"), bmp);
  EXPECT_EQ(ReadAll(img / "scan.BMP"), bmp);
  EXPECT_EQ(ReadAll(img / "evil"), TextBytes("EVIL"));

  doc.BindImageCopy(U(dst));  // without a trailing separator
  EXPECT_EQ(FilesUnder(dst),
            (std::set<std::string>{"photo_jpg.bmp", "Logo.PNG", "scan.BMP", "evil", "evil.png",
                                    "plandown_images_test.png", "y.png"}));
  EXPECT_EQ(ReadAll(dst / "photo_jpg.bmp"), bmp);
  EXPECT_EQ(ReadAll(dst / "Logo.PNG"), png);  // overwritten
  EXPECT_EQ(ReadAll(dst / "y.png"), png);

  doc.BindImageDeleteGzFile();
  EXPECT_EQ(FilesUnder(img), (std::set<std::string>{"photo_jpg.bmp", "Logo.PNG", "scan.BMP", "evil",
                                                    "evil.png", "plandown_images_test.png", "y.png"}));
  doc.BindImageDeleteNonGzFile();
  EXPECT_TRUE(FilesUnder(img).empty());

  // Nothing was written or deleted outside the two folders.
  EXPECT_EQ(FilesUnder(work).size(), FilesUnder(dst).size() + 3);
  for (const char* decoy : {"evil.gz", "evil", "evil.png"}) EXPECT_EQ(ReadAll(work / decoy), TextBytes("decoy"));
  EXPECT_FALSE(fs::exists("/etc/plandown_images_test.png"));
}

TEST_F(BoundImagesTest, ADamagedStreamKeepsItsInflatedPrefix) {
  Bytes8 big(200000);
  std::mt19937 rng(3);
  for (auto& b : big) b = static_cast<std::uint8_t>(rng() % 8);
  Bytes8 gz = GzipBytes(big);
  gz.resize(gz.size() / 2);
  WriteAll(img / "cut_png.bmp.gz", gz);
  doc.Add(u"cut_png.bmp.gz", static_cast<std::int32_t>(gz.size()));

  doc.BindImageExplode();
  const Bytes8 part = ReadAll(img / "cut_png.bmp");
  ASSERT_FALSE(part.empty());
  EXPECT_LT(part.size(), big.size());
  EXPECT_TRUE(std::equal(part.begin(), part.end(), big.begin()));

  doc.BindImageCopy(U(dst / ""));
  EXPECT_EQ(ReadAll(dst / "cut_png.bmp"), part);
  doc.BindImageDeleteGzFile();
  doc.BindImageDeleteNonGzFile();
  EXPECT_TRUE(FilesUnder(img).empty());
}

TEST_F(BoundImagesTest, TheCountBoundsTheListAndOddStatesAreHarmless) {
  Extracted(u"a.png", "a.png", png);
  Extracted(u"b.png", "b.png", png);
  doc.BindImageN = 1;  // b.png is past the count
  doc.BindImageCopy(U(dst));
  EXPECT_EQ(FilesUnder(dst), std::set<std::string>{"a.png"});

  doc.BindImageN = 1000;  // a count larger than the list
  doc.BindImageDeleteNonGzFile();
  EXPECT_TRUE(FilesUnder(img).empty());
  doc.BindImageN = -5;
  doc.BindImageExplode();

  // Copying into the image folder itself must not truncate the images.
  Extracted(u"c.png", "c.png", png);
  doc.BindImageCopy(U(img));
  EXPECT_EQ(ReadAll(img / "c.png"), png);

  // Without an image folder nothing touches the working directory.
  const fs::path cwd = fs::current_path();
  fs::current_path(work);
  WriteGzFile(work / "w.gz", png);
  ImageDoc nofolder;
  nofolder.Add(u"w.gz", 10);
  nofolder.BindImageExplode();
  nofolder.BindImageDeleteGzFile();
  fs::current_path(cwd);
  EXPECT_TRUE(fs::exists(work / "w.gz"));
  EXPECT_FALSE(fs::exists(work / "w"));
}

// ---- image texts ----------------------------------------------------------------------

TEST(ImageText, RewritesBoundImageTexts) {
  struct Case {
    std::u16string_view text;
    int convert;
    int index;
    std::u16string_view expected;
  };
  const Case cases[] = {
      // Conversion off: only "%temp%" goes, whatever the index.
      {u"^@BM%temp%photo_jpg.bmp,100,50", 0, 3, u"^@BMphoto_jpg.bmp,100,50"},
      // Conversion on: the suffix gives the format, the index may force another.
      {u"^@BM%temp%photo_jpg.bmp,100,50", 1, 0, u"^@BMphoto.jpg,100,50"},
      {u"^@BM%temp%photo_jpg.bmp,100,50", 1, 1, u"^@BMphoto.bmp,100,50"},
      {u"^@BM%temp%photo_jpg.bmp,100,50", 1, 2, u"^@BMphoto.gif,100,50"},
      {u"^@BM%temp%photo_jpg.bmp,100,50", 1, 3, u"^@BMphoto.png,100,50"},
      {u"^@BM%temp%photo_jpg.bmp,100,50", 1, 4, u"^@BMphoto.jpg,100,50"},
      {u"^@BM%temp%photo_jpg.bmp,100,50", 1, 5, u"^@BMphoto.tif,100,50"},
      {u"^@BM%temp%photo_jpg.bmp,100,50", 1, 6, u"^@BMphoto.jpg,100,50"},
      {u"^@BM%temp%photo_jpg.bmp,100,50", 1, -1, u"^@BMphoto.jpg,100,50"},
      // Every suffix, in any case.
      {u"^@BM%temp%a_bmp.bmp,1", 1, 0, u"^@BMa.bmp,1"},
      {u"^@BM%temp%a_GIF.bmp,1", 1, 0, u"^@BMa.gif,1"},
      {u"^@BM%temp%a_png.bmp,1", 1, 0, u"^@BMa.png,1"},
      {u"^@BM%temp%a_Tif.bmp,1", 1, 0, u"^@BMa.tif,1"},
      {u"^@BM%temp%a_jpeg.bmp,1", 1, 0, u"^@BMa.jpeg,1"},
      {u"^@BM%temp%map_TIFF.bmp,1", 1, 0, u"^@BMmap.tiff,1"},
      {u"^@BM%temp%_gif.bmp,1", 1, 0, u"^@BM.gif,1"},
      {u"^@BM%temp%pic_PNG,1", 1, 0, u"^@BMpic.png,1"},
      {u"^@BM%temp%a_jpeg.bmp,1", 1, 5, u"^@BMa.tif,1"},
      // No suffix: the name keeps its own extension unless the index forces one.
      {u"^@BM%temp%scan.bmp,1", 1, 0, u"^@BMscan.bmp,1"},
      {u"^@BM%temp%scan.bmp,1", 1, 1, u"^@BMscan.bmp,1"},
      {u"^@BM%temp%scan.bmp,1", 1, 2, u"^@BMscan.gif,1"},
      {u"^@BM%temp%scan,1", 1, 3, u"^@BMscan.png,1"},
      // Only the first comma ends the name; the parameters stay as they are.
      {u"^@BM%temp%a_tif.bmp,1,2,,x", 1, 0, u"^@BMa.tif,1,2,,x"},
      {u"^@BM%temp%a.bmp,", 0, 0, u"^@BMa.bmp,"},
      // The text keeps the stored name, folder parts and all.
      {u"^@BM%temp%..\\..\\x_jpg.bmp,1", 1, 0, u"^@BM..\\..\\x.jpg,1"},
      {u"^@BM%temp%C:/etc/x.bmp,1", 0, 0, u"^@BMC:/etc/x.bmp,1"},
      // Left alone: ordinary image texts, short or comma-less texts, other markers.
      {u"^@BMplain_jpg.bmp,1", 1, 3, u"^@BMplain_jpg.bmp,1"},
      {u"^@BM%tem", 1, 3, u"^@BM%tem"},
      {u"^@BM%temp%photo_jpg.bmp", 1, 3, u"^@BM%temp%photo_jpg.bmp"},
      {u"^@bm%temp%a.bmp,1", 1, 3, u"^@bm%temp%a.bmp,1"},
      {u"^@BM%TEMP%a.bmp,1", 1, 3, u"^@BM%TEMP%a.bmp,1"},
      {u"", 1, 3, u""},
      {u"壁 W=120", 1, 3, u"壁 W=120"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(RewriteImageText(String(c.text), Settings(c.convert, c.index)), c.expected)
        << ToUtf8(c.text) << " convert=" << c.convert << " index=" << c.index;
}

// ---- format conversion ----------------------------------------------------------------

TEST_F(ImagesTest, SaveImageAsWritesEachFormat) {
  const wxImage picture = TestPicture();
  const fs::path src = scratch.root() / "src.png";
  WriteAll(src, Encoded(picture, wxBITMAP_TYPE_PNG));
  // Largest colour error allowed per channel; JPEG's depends on the encoder, and GIF's
  // palette comes from a quantiser that works on coarse colour cells.
  constexpr int kAnyColour = 256;
  struct Case {
    const char* name;
    wxBitmapType type;
    int tolerance;
  };
  const Case cases[] = {
      {"out.bmp", wxBITMAP_TYPE_BMP, 0},           {"out.gif", wxBITMAP_TYPE_GIF, 8},
      {"out.png", wxBITMAP_TYPE_PNG, 0},           {"out.jpg", wxBITMAP_TYPE_JPEG, kAnyColour},
      {"out.jpeg", wxBITMAP_TYPE_JPEG, kAnyColour}, {"out.tif", wxBITMAP_TYPE_TIFF, 0},
      {"out.tiff", wxBITMAP_TYPE_TIFF, 0},         {"OUT2.PNG", wxBITMAP_TYPE_PNG, 0},
  };
  for (const Case& c : cases) {
    const fs::path dst = scratch.root() / c.name;
    ASSERT_TRUE(SaveImageAs(U(src), U(dst), 75)) << c.name;
    const Bytes8 bytes = ReadAll(dst);
    wxMemoryInputStream stream(bytes.data(), bytes.size());
    wxImage back;
    ASSERT_TRUE(back.LoadFile(stream, c.type)) << c.name << " is not in its format";
    EXPECT_EQ(back.GetWidth(), 7) << c.name;
    EXPECT_EQ(back.GetHeight(), 5) << c.name;
    for (int y = 0; y < 5; ++y)
      for (int x = 0; x < 7; ++x) {
        EXPECT_LE(std::abs(back.GetRed(x, y) - picture.GetRed(x, y)), c.tolerance) << c.name;
        EXPECT_LE(std::abs(back.GetGreen(x, y) - picture.GetGreen(x, y)), c.tolerance) << c.name;
        EXPECT_LE(std::abs(back.GetBlue(x, y) - picture.GetBlue(x, y)), c.tolerance) << c.name;
      }
  }
  // Only the results are there: no temporary files were left behind.
  EXPECT_EQ(FilesUnder(scratch.root()).size(), std::size(cases) + 1);
}

TEST_F(ImagesTest, JpegQualityReachesTheEncoder) {
  wxImage noisy(64, 64);
  std::mt19937 rng(11);
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 64; ++x)
      noisy.SetRGB(x, y, static_cast<unsigned char>(rng()), static_cast<unsigned char>(rng()),
                   static_cast<unsigned char>(rng()));
  const fs::path src = scratch.root() / "noisy.bmp";
  WriteAll(src, Encoded(noisy, wxBITMAP_TYPE_BMP));
  for (int q : {0, 10, 95, 100})
    ASSERT_TRUE(SaveImageAs(U(src), U(scratch.root() / ("q" + std::to_string(q) + ".jpg")), q)) << q;
  const auto size = [&](int q) { return fs::file_size(scratch.root() / ("q" + std::to_string(q) + ".jpg")); };
  EXPECT_LT(size(0), size(10));
  EXPECT_LT(size(10), size(95));
  EXPECT_LT(size(95), size(100));
}

TEST_F(ImagesTest, AFailedSaveLeavesNoFileAndKeepsAnOldOne) {
  const fs::path src = scratch.root() / "src.png";
  WriteAll(src, Encoded(TestPicture(), wxBITMAP_TYPE_PNG));
  const fs::path junk = scratch.root() / "junk.bmp";
  WriteAll(junk, TextBytes("BM but not a bitmap"));
  const fs::path old = scratch.root() / "old.png";
  WriteAll(old, TextBytes("previous content"));

  EXPECT_FALSE(SaveImageAs(U(src), U(scratch.root() / "out.xyz"), 75));       // no encoder
  EXPECT_FALSE(SaveImageAs(U(src), U(scratch.root() / "noext"), 75));         // no extension
  EXPECT_FALSE(SaveImageAs(U(scratch.root() / "none.png"), U(scratch.root() / "a.png"), 75));  // no source
  EXPECT_FALSE(SaveImageAs(U(junk), U(scratch.root() / "b.png"), 75));        // not an image
  EXPECT_FALSE(SaveImageAs(U(junk), U(old), 75));                             // keeps the old file
  EXPECT_FALSE(SaveImageAs(U(src), U(scratch.root() / "missing" / "c.png"), 75));  // no folder
  EXPECT_EQ(FilesUnder(scratch.root()), (std::set<std::string>{"src.png", "junk.bmp", "old.png"}));
  EXPECT_EQ(ReadAll(old), TextBytes("previous content"));

  // A good save replaces the old file.
  EXPECT_TRUE(SaveImageAs(U(src), U(old), 75));
  EXPECT_EQ(ReadAll(old), ReadAll(src));
}

TEST_F(ImagesTest, SavesFromSeveralThreadsAreSerialised) {
  const fs::path src = scratch.root() / "src.bmp";
  WriteAll(src, Encoded(TestPicture(40, 30), wxBITMAP_TYPE_BMP));
  const char* exts[] = {".gif", ".png", ".jpg", ".tif"};
  std::vector<std::thread> threads;
  std::vector<int> ok(16, 0);
  for (int i = 0; i < 16; ++i)
    threads.emplace_back([&, i] {
      ok[i] = SaveImageAs(U(src), U(scratch.root() / ("t" + std::to_string(i) + exts[i % 4])), 50);
    });
  for (auto& t : threads) t.join();
  EXPECT_EQ(std::count(ok.begin(), ok.end(), 1), 16);
}

class ConvertImageTest : public ImagesTest {
 protected:
  void SetUp() override {
    ImagesTest::SetUp();
    bmp = Encoded(TestPicture(), wxBITMAP_TYPE_BMP);
    png = Encoded(TestPicture(), wxBITMAP_TYPE_PNG);
  }
  fs::path Dir() const { return scratch.root(); }
  String Folder() const { return U(scratch.root() / ""); }
  Bytes8 bmp, png;
};

TEST_F(ConvertImageTest, ConvertsToTheNameTheTextGets) {
  // For each stored name and format, the rewritten text must name a file that exists.
  const std::u16string_view names[] = {u"photo_jpg.bmp.gz", u"scan.bmp.gz", u"map_TIFF.bmp.gz", u"pic.png.gz",
                                       u"pic_gif.png.gz"};
  for (std::u16string_view stored : names) {
    for (int index = 0; index <= 5; ++index) {
      fs::remove_all(Dir());
      fs::create_directories(Dir());
      const String plain = InflatedImageName(stored);
      const bool isBmp = plain.ends_with(u".bmp");
      WriteAll(Dir() / ToFsPath(plain), isBmp ? bmp : png);
      const ConversionSettings s = Settings(1, index);
      ConvertExtractedImage(String(stored), Folder(), s);
      const String text = RewriteImageText(u"^@BM%temp%" + plain + u",10,10", s);
      const String named = text.substr(4, text.find(u',') - 4);
      SCOPED_TRACE(ToUtf8(stored) + " index " + std::to_string(index));
      EXPECT_TRUE(fs::exists(Dir() / ToFsPath(named))) << ToUtf8(named);
      EXPECT_TRUE(fs::exists(Dir() / ToFsPath(plain)));  // the source stays
      wxImage back;
      EXPECT_TRUE(back.LoadFile(wxString::FromUTF8((Dir() / ToFsPath(named)).string())));
    }
  }
}

TEST_F(ConvertImageTest, DeletesTheSourceOnlyAfterAGoodConversion) {
  WriteAll(Dir() / "photo_jpg.bmp", bmp);
  ConvertExtractedImage(u"photo_jpg.bmp.gz", Folder(), Settings(1, 0, 1));
  EXPECT_EQ(FilesUnder(Dir()), std::set<std::string>{"photo.jpg"});

  // A source that does not load: no target, and the source stays.
  WriteAll(Dir() / "bad_png.bmp", TextBytes("not an image"));
  ConvertExtractedImage(u"bad_png.bmp.gz", Folder(), Settings(1, 0, 1));
  EXPECT_FALSE(fs::exists(Dir() / "bad.png"));
  EXPECT_TRUE(fs::exists(Dir() / "bad_png.bmp"));

  // The target is the source itself: it is neither rewritten nor deleted.
  WriteAll(Dir() / "pic.png", png);
  WriteAll(Dir() / "Scan.BMP", bmp);
  ConvertExtractedImage(u"pic.png.gz", Folder(), Settings(1, 3, 1));
  ConvertExtractedImage(u"pic.png.gz", Folder(), Settings(1, 0, 1));
  ConvertExtractedImage(u"Scan.BMP.gz", Folder(), Settings(1, 1, 1));
  EXPECT_EQ(ReadAll(Dir() / "pic.png"), png);
  EXPECT_EQ(ReadAll(Dir() / "Scan.BMP"), bmp);
  EXPECT_EQ(FilesUnder(Dir()), (std::set<std::string>{"photo.jpg", "bad_png.bmp", "pic.png", "Scan.BMP"}));
}

// ---- temporary folder -----------------------------------------------------------------

TEST(TempFolder, PrivateFolderIsCreatedAndRemovedWithItsContents) {
  const String a = CreatePrivateTempFolder();
  const String b = CreatePrivateTempFolder();
  ASSERT_FALSE(a.empty());
  ASSERT_FALSE(b.empty());
  EXPECT_NE(a, b);
  const fs::path pa = ToFsPath(a);
  EXPECT_FALSE(pa.has_filename());  // ends with a separator
  EXPECT_TRUE(fs::is_directory(pa));
  EXPECT_TRUE(SameFile(pa.parent_path().parent_path(), fs::temp_directory_path()));
#ifndef _WIN32
  EXPECT_EQ(fs::status(pa).permissions() & fs::perms::all, fs::perms::owner_all);
#endif
  WriteAll(pa / "left.bmp", TextBytes("x"));
  EXPECT_TRUE(RemovePrivateTempFolder(a));
  EXPECT_FALSE(fs::exists(pa));
  EXPECT_TRUE(RemovePrivateTempFolder(b));

  // Only folders of its own making.
  ScratchDir other;
  WriteAll(other.root() / "keep", TextBytes("x"));
  EXPECT_FALSE(RemovePrivateTempFolder(U(other.root())));
  EXPECT_FALSE(RemovePrivateTempFolder(U(fs::temp_directory_path())));
  EXPECT_FALSE(RemovePrivateTempFolder(u""));
  EXPECT_TRUE(fs::exists(other.root() / "keep"));
}

}  // namespace
}  // namespace plandown
