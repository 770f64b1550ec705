#include "util/json_text.h"

namespace plandown {

namespace {

std::string Scalar(const Json& value) { return value.dump(-1, ' ', false, Json::error_handler_t::replace); }

// `depth` is 0 for the document itself and 1 for a member of an object at the top.
std::string Layout(const Json& value, int depth) {
  if (value.is_array() && !value.empty() && depth <= 1) {
    std::string text = "[";
    const std::string indent(static_cast<std::size_t>(depth) + 1, ' ');
    for (std::size_t i = 0; i < value.size(); ++i) text += (i ? ",\n" : "\n") + indent + JsonLine(value[i]);
    return text + "\n" + std::string(static_cast<std::size_t>(depth), ' ') + "]";
  }
  if (value.is_object() && depth == 0) {
    std::string text = "{";
    bool first = true;
    for (const auto& [key, member] : value.items()) {
      text += (first ? "" : ",\n ") + Scalar(Json(key)) + ": " + Layout(member, 1);
      first = false;
    }
    return text + "}";
  }
  return JsonLine(value);
}

}  // namespace

std::string JsonLine(const Json& value) {
  if (value.is_object()) {
    std::string text = "{";
    bool first = true;
    for (const auto& [key, member] : value.items()) {
      text += (first ? "" : ", ") + Scalar(Json(key)) + ": " + JsonLine(member);
      first = false;
    }
    return text + "}";
  }
  if (value.is_array()) {
    std::string text = "[";
    for (std::size_t i = 0; i < value.size(); ++i) text += (i ? ", " : "") + JsonLine(value[i]);
    return text + "]";
  }
  return Scalar(value);
}

std::string JsonDocument(const Json& value) { return Layout(value, 0) + "\n"; }

}  // namespace plandown
