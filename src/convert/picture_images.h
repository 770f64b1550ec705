// Where a picture finds the images its image texts name: a drawing's bound images, as
// the reader extracted them (compressed ones are inflated in memory), and linked images
// on disk, by their path or beside the drawing.
#pragma once
#include <map>
#include <vector>

#include "convert/converted_in_memory.h"
#include "jww/types.h"
#include "render/renderer.h"

namespace plandown {

class DrawingImages final : public render::ImageSource {
 public:
  // `drawing`: the drawing's path; `boundFolder`: where its bound images were extracted
  // (with a trailing separator; empty when none were); `bound`: its image list.
  DrawingImages(const String& drawing, const String& boundFolder, std::vector<TBindImageType> bound);
  // Image texts a conversion renamed name the bound images they named before.
  void AddRenamed(const RenamedImageTexts& renamed);
  bool Fetch(const render::ImageRef& ref, std::vector<std::uint8_t>& bytes) override;

 private:
  bool FetchBound(const String& name, std::vector<std::uint8_t>& bytes) const;
  bool FetchLinked(const String& name, std::vector<std::uint8_t>& bytes) const;

  String folder_;
  String boundFolder_;
  std::vector<TBindImageType> bound_;
  std::map<String, String> renamed_;  // upper-cased name as written -> bound name
};

}  // namespace plandown
