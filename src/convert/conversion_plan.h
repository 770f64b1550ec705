// Which files a run converts and into which folders, from the files and folders a user
// names, and whether those folders may be used.
#pragma once
#include <vector>

#include "convert/conversion_run.h"
#include "convert/destination_check.h"
#include "util/ustring.h"

namespace plandown {

// A named file stands for itself and goes into `destination`. A named folder stands for
// its drawings and shapes (".jww" and ".jws" in any case, in name order) and, with
// `recursive`, for those of its sub-folders, each going into the same relative folder
// under `destination`. The destination itself is never searched, so that the output of
// an earlier run is not taken for input. Links to folders are not followed.
std::vector<ConversionJob> PlanConversion(const std::vector<String>& inputs, const String& destination,
                                          bool recursive);

// The folder a source file lies in: "." for a bare name.
String SourceFolderOf(const String& source);

// The first reason the jobs may not run: the destination is not given or does not exist,
// or a folder that a file is written to is the folder of a source (the folders
// themselves compared, not their texts). `source` names the source file concerned.
struct PlanProblem {
  DestinationProblem problem = DestinationProblem::kNone;
  String source;
};
PlanProblem CheckPlan(const std::vector<ConversionJob>& jobs, const String& destination);

// Creates the destination folders that do not exist yet. False when one could not be
// made; its files then fail to be written.
bool MakeDestinationFolders(const std::vector<ConversionJob>& jobs);

}  // namespace plandown
