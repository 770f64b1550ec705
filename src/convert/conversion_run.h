// A run of conversions into destination folders: one per command or button press.
#pragma once
#include <atomic>
#include <functional>
#include <mutex>
#include <set>
#include <vector>

#include "convert/conversion_request.h"
#include "convert/conversion_result.h"
#include "convert/conversion_ui.h"
#include "convert/settings.h"

namespace plandown {

// One file of a run and the folder it is converted into.
struct ConversionJob {
  String source;
  String destinationFolder;
};

class ConversionRun {
 public:
  ConversionRun(const ConversionSettings& settings, ConversionUi& ui) : settings_(settings), ui_(ui) {}

  // Converts `source` into the file of the same name in `destinationFolder` (which the
  // caller has checked with CheckDestinationFolder). Within a run no destination is
  // written twice, and no backup made earlier in the run is overwritten: a second backup
  // that would take the same ".BAK" name keeps its extension (a.jws -> a.jws.BAK).
  const FileConversion& Convert(const String& source, const String& destinationFolder);

  // Where bound images are extracted while a drawing is converted (with a trailing
  // separator); empty, the default: a private folder for each conversion. One folder
  // cannot serve conversions side by side, so with it set ConvertAll works one at a time.
  void SetImageFolder(String folder) { imageFolder_ = std::move(folder); }

  // Converts the jobs with up to `workers` conversions at once, with the files, results
  // and texts of calling Convert for each job in order: every conversion has its own
  // documents and image folder; jobs that share a destination or a backup name run one
  // after the other in job order, and so does the placing of bound images into a shared
  // folder. The UI hears each file's texts, and `finished` (when given) is called with
  // each result, on the calling thread and in job order, as soon as the jobs before it
  // are done. An exception of a conversion ends the run once the earlier jobs are told,
  // and is thrown again here.
  // After RequestCancel no further job is started: the files being converted are finished
  // whole, and every job not started ends refused as cancelled (told to `finished` too).
  void ConvertAll(const std::vector<ConversionJob>& jobs, int workers,
                  const std::function<void(const FileConversion&)>& finished = {});

  // Asks ConvertAll to start no further file; safe from any thread, at any time.
  void RequestCancel();
  bool CancelRequested() const { return cancel_; }

  // Shows and returns the completion text, which counts the files written.
  String Finish();

  const std::vector<FileConversion>& Results() const { return results_; }
  int WrittenCount() const;
  // Every file was written after a clean read.
  bool AllClean() const;

 private:
  // One job with its UI; `turn` orders its placing of images among parallel jobs.
  FileConversion ConvertJob(const ConversionJob& job, ConversionUi& ui, ImagePlacementTurn* turn);
  // The result of a job that a cancel kept from starting.
  static FileConversion Cancelled(const ConversionJob& job);

  ConversionSettings settings_;
  ConversionUi& ui_;
  String imageFolder_;
  std::vector<FileConversion> results_;
  std::mutex keysMutex_;  // guards written_ and backups_ while jobs run side by side
  std::set<String> written_;  // PathIdentity of each file written and backup made
  std::set<String> backups_;
  std::atomic<bool> cancel_{false};
  std::mutex cancelMutex_;            // guards wakeCancel_
  std::function<void()> wakeCancel_;  // wakes a parallel run waiting for jobs
};

}  // namespace plandown
