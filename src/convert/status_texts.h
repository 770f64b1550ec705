// The fixed texts the conversion shows, in one place so that every front end and every
// test uses the same words.
#pragma once
#include <cstddef>
#include <string_view>

#include "util/ustring.h"

namespace plandown {

// Shown while one file is converted.
String ProgressText(std::u16string_view source, std::u16string_view destination);
// A source of generation 3.50 or older.
String OldVersionText(std::u16string_view source);
// A source that is no drawing of a readable generation, or whose header cannot be read.
String UnreadableText(std::u16string_view source);
// A destination that could not be written (the partial file is gone).
String WriteFailedText(std::u16string_view destination);
// A source or a destination that another program holds open; closing it cures it.
String SourceInUseText(std::u16string_view source);
String DestinationInUseText(std::u16string_view destination);
// A destination that an earlier file of the same run was already written to.
String DuplicateDestinationText(std::u16string_view source, std::u16string_view destination);
// A file that was not started because the run was cancelled.
String CancelledText(std::u16string_view source);
// How far a run is: "3 / 10".
String ProgressCountText(std::size_t done, std::size_t total);
// One message for a file of a kind that is not converted; `name` without folder.
String UnsupportedExtensionText(std::u16string_view name, std::u16string_view ext);
// The end of a run: how many files were written.
String CompletionText(int converted);

// Destination-folder refusals.
inline constexpr std::u16string_view kEmptyShapeText = u"変換出来ませんでした。";
inline constexpr std::u16string_view kNoDestinationText = u"保存先フォルダを指示して下さい。";
inline constexpr std::u16string_view kDestinationMissingText = u"保存先フォルダが存在しません。";
inline constexpr std::u16string_view kDestinationIsSourceText = u"保存先フォルダは参照フォルダと同じにしないで下さい。";

}  // namespace plandown
