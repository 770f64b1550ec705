#include "render/fonts.h"

#include <array>

#include "util/text.h"

namespace plandown::render {

namespace {

constexpr std::array<std::u16string_view, 11> kGothic = {
    u"Noto Sans CJK JP", u"Source Han Sans JP", u"IPAexGothic", u"IPAGothic", u"TakaoGothic", u"VL Gothic",
    u"Yu Gothic", u"Meiryo", u"MS Gothic", u"ＭＳ ゴシック", u"sans-serif"};
constexpr std::array<std::u16string_view, 9> kMincho = {
    u"Noto Serif CJK JP", u"Source Han Serif JP", u"IPAexMincho", u"IPAMincho", u"TakaoMincho",
    u"Yu Mincho", u"MS Mincho", u"ＭＳ 明朝", u"serif"};

bool IsMincho(std::u16string_view name) {
  const String upper = UpperText(name);
  return name.find(u"明朝") != std::u16string_view::npos || upper.find(u"MINCHO") != String::npos ||
         upper.find(u"ＭＩＮＣＨＯ") != String::npos || upper.find(u"SERIF") != String::npos;
}

}  // namespace

void FontFamilies(std::u16string_view drawingFont, std::vector<std::u16string_view>& out) {
  out.clear();
  if (!drawingFont.empty()) out.push_back(drawingFont);
  if (IsMincho(drawingFont))
    out.insert(out.end(), kMincho.begin(), kMincho.end());
  else
    out.insert(out.end(), kGothic.begin(), kGothic.end());
}

}  // namespace plandown::render
