// What a conversion tells its user. The command line and the desktop window each
// implement it; the conversion layer never prints or shows anything itself.
#pragma once
#include "util/ustring.h"

namespace plandown {

class ConversionUi {
 public:
  virtual ~ConversionUi() = default;
  // The one-line status text (progress, refusals, the completion count); empty clears it.
  virtual void Status(const String& text) = 0;
  // A message the user has to acknowledge (lines separated by CR LF).
  virtual void Message(const String& text) = 0;
  // Brackets the work on one file, so that a window can pause its folder polling.
  virtual void FileStarted() {}
  virtual void FileFinished() {}
};

// A UI that drops everything, for callers that only want the results.
class SilentConversionUi final : public ConversionUi {
 public:
  void Status(const String&) override {}
  void Message(const String&) override {}
};

}  // namespace plandown
