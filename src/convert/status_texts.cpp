#include "convert/status_texts.h"

#include <string>

#include "util/text.h"

namespace plandown {

namespace {
String Quoted(std::u16string_view path) { return u"ファイル「" + String(path) + u"」"; }
}  // namespace

String ProgressText(std::u16string_view source, std::u16string_view destination) {
  return Quoted(source) + u"→「" + String(destination) + u"」変換中です。";
}

String OldVersionText(std::u16string_view source) {
  return Quoted(source) + u"は旧バージョンデータですので変換しませんでした。";
}

String UnreadableText(std::u16string_view source) {
  return Quoted(source) + u"は読み込めませんでしたので変換しませんでした。";
}

String WriteFailedText(std::u16string_view destination) {
  return Quoted(destination) + u"に書き込めませんでした。";
}

String SourceInUseText(std::u16string_view source) {
  return Quoted(source) + u"は他のプログラムが使用中ですので変換しませんでした。閉じてからもう一度試して下さい。";
}

String DestinationInUseText(std::u16string_view destination) {
  return Quoted(destination) + u"は他のプログラムが使用中ですので書き込めませんでした。閉じてからもう一度試して下さい。";
}

String DuplicateDestinationText(std::u16string_view source, std::u16string_view destination) {
  return u"保存先「" + String(destination) + u"」には既に別のファイルを変換しましたので、" + Quoted(source) +
         u"は変換しませんでした。";
}

String CancelledText(std::u16string_view source) {
  return u"変換が中止されましたので、" + Quoted(source) + u"は変換しませんでした。";
}

String ProgressCountText(std::size_t done, std::size_t total) {
  return FromUtf8(std::to_string(done) + " / " + std::to_string(total));
}

String UnsupportedExtensionText(std::u16string_view name, std::u16string_view ext) {
  return u"このファイル拡張子（種類）の変換には対応していません。\r\nファイル名：" + String(name) +
         u"\r\n　　拡張子：" + String(ext);
}

String CompletionText(int converted) { return IntToText(converted) + u"個のファイルを変換しました。"; }

}  // namespace plandown
