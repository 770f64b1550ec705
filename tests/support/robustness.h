// Promises that hold for any input bytes whatever: the fuzz targets run these checks on
// generated inputs, the regression tests on inputs that once broke one. Each check returns
// an empty text when the promise holds, else what went wrong. Checks that need files work
// in the given scratch folder and remove what they wrote there.
#pragma once
#include <cstdint>
#include <span>
#include <string>

#include "jww/entity_doc.h"
#include "support/temp_dir.h"

namespace plandown::testing {

using InputBytes = std::span<const std::uint8_t>;

// The lists of a read document agree with their counts; every entry of an order list,
// tree node and image entry points at something that exists.
std::string CheckDocumentConsistent(const TJwEntityDoc& doc);

// A drawing read from memory, with its bound images extracted into the scratch folder:
// the document is consistent, a true result comes with a header, extraction writes only
// plain files inside its own folder, and what was read renders as a picture whose
// primitives keep the renderer's promises (see picture_check.h).
std::string CheckJwwRead(InputBytes bytes, const TempDir& scratch);
// A shape read from memory: consistent, a true result comes with a header, and it
// renders as a drawing does.
std::string CheckJwsRead(InputBytes bytes, const TempDir& scratch);

// Whatever the readers take in with a header, written at each of 6.00, 4.20, 3.51 and
// 3.00, reads back completely, as the generation written and with the counts the writer's
// rules predict, and what was read back is written again to the same bytes. Inputs
// without a header pass.
std::string CheckJwwRoundTrip(InputBytes bytes, const TempDir& scratch);
std::string CheckJwsRoundTrip(InputBytes bytes, const TempDir& scratch);
// Both of the above: an input is tried as a drawing and as a shape.
std::string CheckRoundTrip(InputBytes bytes, const TempDir& scratch);

// The bytes as a JWC and as a JWK file: recognition and header reading end without a fault.
std::string CheckDosHeaders(InputBytes bytes, const TempDir& scratch);

// The bytes as a compressed bound image: the output never passes the limit, the limit
// cuts exactly where it says, and the file form gives what the memory form gives.
std::string CheckGzip(InputBytes bytes, const TempDir& scratch);

// The bytes as a settings file: an existing file loads, the type index is one the list
// has or -1, and what was loaded survives a save and a second load unchanged.
std::string CheckSettingsFile(InputBytes bytes, const TempDir& scratch);

// The bytes as UTF-16 text for the parsing helpers: numbers come back finite or as the
// number written, one-line memos hold no control character, hex texts decode to what
// encodes back the same, and image texts keep everything from their first comma.
std::string CheckTextHelpers(InputBytes bytes, const TempDir& scratch);

}  // namespace plandown::testing
