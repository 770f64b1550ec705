// The home folder of a made-up user for the pictures in the documentation, so that they
// show the program as a user has it: /home/sato on Linux, C:\Users\sato on Windows, with
// the drawings folder "図面" (under "Documents" on Windows). Made for the test where it
// does not exist yet (as root on Linux; in wine's drive C), removed afterwards; HOME
// names it meanwhile, so the folder tree's home is the user's. A home an earlier test
// could not remove whole (a file still open) is taken again.
#pragma once
#include <filesystem>
#include <string>

#include "util/ustring.h"

namespace plandown::testing {

class DemoHome {
 public:
  // `folderName`: the drawings folder's name.
  explicit DemoHome(const char8_t* folderName = u8"図面");
  ~DemoHome();
  DemoHome(const DemoHome&) = delete;
  DemoHome& operator=(const DemoHome&) = delete;

  // Empty when the home is ready; else why it could not be made (the test skips).
  const std::string& problem() const { return problem_; }
  const std::filesystem::path& home() const { return home_; }
  const std::filesystem::path& drawings() const { return drawings_; }

 private:
  std::filesystem::path home_;
  std::filesystem::path drawings_;
  std::string problem_;
  bool made_ = false;
  bool hadHome_ = false;
  String savedHome_;
};

}  // namespace plandown::testing
