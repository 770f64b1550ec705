#include "util/console.h"

#include <iostream>

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <cstring>
#include <streambuf>

#include "util/ustring.h"
#endif

namespace plandown {

#ifdef _WIN32
namespace {

// Writes UTF-8 to a standard handle: converted to UTF-16 for a console, as bytes for
// anything else. A character cut by the end of the buffer waits for its remaining bytes.
class HandleBuffer final : public std::streambuf {
 public:
  explicit HandleBuffer(DWORD which) : handle_(GetStdHandle(which)) {
    DWORD mode = 0;
    console_ = handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE && GetConsoleMode(handle_, &mode) != 0;
    setp(buffer_, buffer_ + sizeof buffer_);
  }
  ~HandleBuffer() override { sync(); }

 protected:
  int_type overflow(int_type c) override {
    if (Drain(false) != 0) return traits_type::eof();
    if (!traits_type::eq_int_type(c, traits_type::eof())) {
      *pptr() = traits_type::to_char_type(c);
      pbump(1);
    }
    return traits_type::not_eof(c);
  }
  int sync() override { return Drain(true); }

 private:
  // Writes the buffered text; keeps an incomplete last character unless `all`.
  int Drain(bool all) {
    std::size_t n = static_cast<std::size_t>(pptr() - pbase());
    std::size_t keep = all || !console_ ? 0 : IncompleteTail(pbase(), n);
    const bool ok = Write(pbase(), n - keep);
    std::memmove(buffer_, pbase() + (n - keep), keep);
    setp(buffer_, buffer_ + sizeof buffer_);
    pbump(static_cast<int>(keep));
    return ok ? 0 : -1;
  }

  // Bytes at the end that begin a UTF-8 character without all of its bytes.
  static std::size_t IncompleteTail(const char* p, std::size_t n) {
    for (std::size_t back = 1; back <= 3 && back <= n; ++back) {
      const unsigned char c = static_cast<unsigned char>(p[n - back]);
      if ((c & 0xC0) == 0x80) continue;  // a continuation byte: look further back
      const std::size_t length = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
      return length > back ? back : 0;
    }
    return 0;
  }

  bool Write(const char* p, std::size_t n) {
    if (n == 0) return true;
    if (handle_ == nullptr || handle_ == INVALID_HANDLE_VALUE) return false;
    if (console_) {
      const String text = FromUtf8(std::string_view(p, n));
      const wchar_t* w = reinterpret_cast<const wchar_t*>(text.data());
      std::size_t left = text.size();
      while (left > 0) {
        DWORD done = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(left, 8192));
        if (!WriteConsoleW(handle_, w, chunk, &done, nullptr) || done == 0) return false;
        w += done;
        left -= done;
      }
      return true;
    }
    while (n > 0) {
      DWORD done = 0;
      const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(n, 1 << 20));
      if (!WriteFile(handle_, p, chunk, &done, nullptr) || done == 0) return false;
      p += done;
      n -= done;
    }
    return true;
  }

  HANDLE handle_;
  bool console_ = false;
  char buffer_[4096];
};

}  // namespace

std::vector<std::string> CommandLineWords(int, char**) {
  std::vector<std::string> words;
  int count = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &count);
  if (argv == nullptr) return words;
  for (int i = 1; i < count; ++i) {
    const std::wstring_view w(argv[i]);
    words.push_back(ToUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(w.data()), w.size())));
  }
  LocalFree(argv);
  return words;
}

std::ostream& StandardOutput() {
  static HandleBuffer buffer(STD_OUTPUT_HANDLE);
  static std::ostream stream(&buffer);
  return stream;
}

std::ostream& StandardError() {
  static HandleBuffer buffer(STD_ERROR_HANDLE);
  static std::ostream stream(&buffer);
  stream.setf(std::ios::unitbuf);  // like std::cerr: every output reaches the screen at once
  return stream;
}

#else
std::vector<std::string> CommandLineWords(int argc, char** argv) {
  return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
}

std::ostream& StandardOutput() { return std::cout; }
std::ostream& StandardError() { return std::cerr; }
#endif

}  // namespace plandown
