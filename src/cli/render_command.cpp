#include "cli/render_command.h"

#include <algorithm>
#include <ostream>
#include <set>

#include "cli/exit_codes.h"
#include "cli/result_text.h"
#include "convert/conversion_report.h"
#include "convert/destination_check.h"
#include "convert/picture_source.h"
#include "convert/status_texts.h"
#include "jww/versions.h"
#include "render/png_file.h"
#include "render/svg_sink.h"
#include "util/paths.h"

namespace plandown::cli {

namespace {

// The picture of `source` in the folder `destination`: its name with the picture's extension.
String PicturePath(const String& destination, const String& source, PictureFormat format) {
  return AddPathDelim(destination) + ChangeExt(ExtractName(source), format == PictureFormat::kPng ? u".png" : u".svg");
}

FileConversion RenderOne(const String& source, const String& picture, const Arguments& args) {
  FileConversion r;
  r.source = source;
  r.destination = picture;
  PictureSource src;
  ReadForPicture(source, args.given.outVersion ? std::optional(args.settings) : std::nullopt, src);
  r.sourceVersion = src.sourceVersion;
  if (!src.Drawable()) {
    r.outcome = src.refusal == Refusal::kNone ? Outcome::kFailed : Outcome::kRefused;
    r.refusal = src.refusal;
    r.note = src.note;
    r.reason = src.reason;
    return r;
  }
  r.fileIn = src.cleanRead;
  r.report = src.report;
  r.targetVersion = src.targetVersion;

  const render::DrawingInput in = src.Input();
  render::RenderOptions options;
  options.images = src.images.get();
  // The picture takes the drawing's proportions within the box asked for.
  const render::PictureSize size =
      render::FitPictureSize(render::DrawingExtent(in, options.limits), args.width, args.height, options.margin);
  options.width = size.width;
  options.height = size.height;
  render::RenderResult drawn;
  bool written = false;
  if (args.format == PictureFormat::kPng) {
    const PngPictureStatus status = render::SavePngPicture(in, options, picture, drawn);
    written = status == PngPictureStatus::kWritten;
    if (status == PngPictureStatus::kNoGraphics) r.note = u"the graphics library could not start";
  } else {
    written = render::WriteSvgPicture(in, options, picture, drawn);
  }
  if (!written) {
    r.outcome = Outcome::kFailed;
    if (r.note.empty()) r.note = WriteFailedText(picture);
    return r;
  }
  r.outcome = src.cleanRead ? Outcome::kConverted : Outcome::kConvertedDamaged;
  return r;
}

void PrintRendered(std::ostream& out, const FileConversion& r) {
  if (!r.Written()) {
    PrintNotDone(out, r);
    return;
  }
  out << (r.outcome == Outcome::kConverted ? "rendered: " : "rendered from a damaged source: ") << ToUtf8(r.source)
      << " -> " << ToUtf8(r.destination) << " (" << VersionText(r.sourceVersion);
  if (r.targetVersion != 0) out << " -> " << VersionText(r.targetVersion);
  out << ")\n";
  PrintChanges(out, r.report);
}

void PrintSummary(std::ostream& out, const std::vector<FileConversion>& results) {
  const OutcomeCounts n = CountOutcomes(results);
  out << "\nrendered: " << n.converted << ", rendered from a damaged source: " << n.convertedDamaged
      << ", refused: " << n.refused << ", failed: " << n.failed << "\n";
  const std::size_t notDone = static_cast<std::size_t>(n.refused + n.failed);
  if (notDone == 0) return;
  out << "not rendered: " << notDone << "\n";
  for (const FileConversion& r : results)
    if (!r.Written()) out << "  " << ToUtf8(r.source) << ": " << NotDoneReason(r) << "\n";
}

}  // namespace

int RunRender(const Arguments& args, std::ostream& out, std::ostream& err) {
  const String destination = FromUtf8(args.out.value_or(std::string()));
  // No source folder is refused: a picture never takes the name of a drawing.
  const DestinationProblem problem = CheckDestinationFolder(destination, {});
  if (problem != DestinationProblem::kNone) {
    err << "plandown: " << ToUtf8(DestinationProblemText(problem)) << "\n";
    return kExitUsage;
  }
  std::vector<FileConversion> results;
  std::set<String> written;
  for (const std::string& file : args.files) {
    const String source = FromUtf8(file);
    const String picture = PicturePath(destination, source, args.format);
    FileConversion r;
    // A later file of the same name would replace the picture of an earlier one.
    const String identity = PathIdentity(picture);
    if (written.contains(identity)) {
      r.source = source;
      r.destination = picture;
      r.refusal = Refusal::kDuplicateDestination;
      r.note = DuplicateDestinationText(source, picture);
    } else {
      r = RenderOne(source, picture, args);
      if (r.Written()) written.insert(identity);
    }
    PrintRendered(out, r);
    out.flush();
    results.push_back(std::move(r));
  }
  PrintSummary(out, results);
  const bool clean =
      std::all_of(results.begin(), results.end(), [](const FileConversion& r) { return r.outcome == Outcome::kConverted; });
  return clean ? kExitOk : kExitFileProblem;
}

}  // namespace plandown::cli
