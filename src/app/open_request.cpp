#include "app/open_request.h"

#include "util/files.h"
#include "util/paths.h"

namespace plandown::app {

namespace {

// Without trailing separators, except where the path is a root ("/", "C:\").
String WithoutTrailingDelim(String path) {
  while (path.size() > 1 && IsPathDelim(path.back()) && !(path.size() == 3 && path[1] == u':')) path.pop_back();
  return path;
}

}  // namespace

OpenRequest MakeOpenRequest(const std::vector<String>& paths) {
  OpenRequest request;
  String folderKey;
  std::vector<String> missing;
  std::vector<String> otherPlace;
  for (const String& given : paths) {
    if (given.empty()) continue;
    const String path = WithoutTrailingDelim(given);
    const bool isFolder = FolderExists(path);
    const bool isFile = !isFolder && FileExistsAt(path);
    if (!isFolder && !isFile) {
      missing.push_back(path);
      request.leftOut.push_back(path);
      continue;
    }
    if (request.folder.empty()) {
      request.folder = isFolder ? path : WithoutTrailingDelim(ExtractFolder(path));
      folderKey = PathIdentity(request.folder);
      if (isFile) request.select.push_back(ExtractName(path));
      continue;
    }
    // Only files of the folder shown can be selected in it.
    if (isFile && PathIdentity(ExtractFolder(path)) == folderKey) {
      request.select.push_back(ExtractName(path));
      continue;
    }
    otherPlace.push_back(path);
    request.leftOut.push_back(path);
  }
  String text;
  if (!otherPlace.empty()) {
    text += u"一覧に表示できるのは1つのフォルダだけです。「" + request.folder + u"」を表示し、次の" +
            FromUtf8(std::to_string(otherPlace.size())) + u"項目は表示していません：";
    for (const String& p : otherPlace) text += u"\n" + p;
  }
  if (!missing.empty()) {
    if (!text.empty()) text += u"\n\n";
    text += u"次の" + FromUtf8(std::to_string(missing.size())) + u"項目は見つかりませんでした：";
    for (const String& p : missing) text += u"\n" + p;
  }
  request.message = std::move(text);
  return request;
}

}  // namespace plandown::app
