// Draws a document as it is in memory into a Sink: the view fits the extent of what is
// drawn into the picture with a margin, on a white background.
#pragma once
#include <cstdint>
#include <vector>

#include "render/drawing_input.h"
#include "render/geometry.h"
#include "render/image_ref.h"
#include "render/scene.h"
#include "render/sink.h"

namespace plandown::render {

// Where the images that image texts name come from.
class ImageSource {
 public:
  virtual ~ImageSource() = default;
  // The image file's bytes; false when the image is not at hand.
  virtual bool Fetch(const ImageRef& ref, std::vector<std::uint8_t>& bytes) = 0;
};

// Picture sides are kept to this, so that a picture's memory stays bounded.
inline constexpr int kMaxPictureSide = 8192;
// Bytes of images one picture takes in at most; further images are shown as frames.
inline constexpr std::uint64_t kMaxImageBytesPerPicture = std::uint64_t{256} << 20;

struct PictureSize {
  int width = 0, height = 0;
};
// The largest picture within maxWidth × maxHeight with the proportions of the extent
// and its margins (the whole box for an empty or degenerate extent).
PictureSize FitPictureSize(const Extent& extent, int maxWidth, int maxHeight, int margin);

struct RenderOptions {
  int width = 1600;
  int height = 1200;
  int margin = 16;  // pixels on every side
  ImageSource* images = nullptr;
  WalkLimits limits;
};

struct RenderResult {
  Extent extent;  // of what is drawn, in drawing coordinates; empty for an empty picture
  WalkStats walk;
  std::uint64_t imagesShown = 0;
  std::uint64_t imageFrames = 0;  // images not at hand, drawn as a frame and their name
};

// The extent of what Render draws.
Extent DrawingExtent(const DrawingInput& in, const WalkLimits& limits = {});

// The view that fits `extent` into a width × height picture with the margin: drawing
// coordinates to picture coordinates (y downwards).
Affine FitView(const Extent& extent, int width, int height, int margin);

RenderResult Render(const DrawingInput& in, const RenderOptions& options, Sink& sink);

}  // namespace plandown::render
