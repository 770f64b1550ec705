#include "support/image_fixtures.h"

#include <gtest/gtest.h>
#include <wx/mstream.h>
#include <zlib.h>

namespace plandown::testing {

wxImage TestPicture(int w, int h) {
  wxImage img(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      img.SetRGB(x, y, static_cast<unsigned char>(30 * x), static_cast<unsigned char>(40 * y),
                 static_cast<unsigned char>(200 - 5 * x * y));
  return img;
}

Bytes8 Encoded(const wxImage& img, wxBitmapType type) {
  wxMemoryOutputStream out;
  EXPECT_TRUE(img.SaveFile(out, type));
  Bytes8 bytes(out.GetSize());
  out.CopyTo(bytes.data(), bytes.size());
  return bytes;
}

Bytes8 GzipBytes(const Bytes8& data) {
  z_stream zs{};
  EXPECT_EQ(deflateInit2(&zs, 9, Z_DEFLATED, 15 + 16, 8, Z_DEFAULT_STRATEGY), Z_OK);
  Bytes8 out(deflateBound(&zs, data.size()) + 64);
  zs.next_in = const_cast<Bytes8::value_type*>(data.data());
  zs.avail_in = static_cast<uInt>(data.size());
  zs.next_out = out.data();
  zs.avail_out = static_cast<uInt>(out.size());
  EXPECT_EQ(deflate(&zs, Z_FINISH), Z_STREAM_END);
  out.resize(zs.total_out);
  deflateEnd(&zs);
  return out;
}

std::set<std::string> FilesUnder(const std::filesystem::path& root) {
  std::set<std::string> files;
  for (const auto& e : std::filesystem::recursive_directory_iterator(root))
    if (e.is_regular_file()) files.insert(std::filesystem::relative(e.path(), root).generic_string());
  return files;
}

}  // namespace plandown::testing
