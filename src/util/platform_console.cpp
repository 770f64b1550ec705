#include "util/console.h"

#include <iostream>

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <streambuf>
#include <string_view>

#include "util/platform_codepage.h"
#include "util/ustring.h"
#endif

namespace plandown {

#ifdef _WIN32
namespace {

// The code page of text that goes to a file or a pipe: the console's output code page
// when the program has a console (what `more`, `findstr` and `type` there decode), else
// the ANSI code page.
// PLANDOWN_UTF8=1 keeps UTF-8 (and LF line ends) for scripts and tools that want it.
bool Utf8Asked() {
  wchar_t value[8] = {};
  const DWORD n = GetEnvironmentVariableW(L"PLANDOWN_UTF8", value, 8);
  return n > 0 && n < 8 && std::wstring_view(value, n) != L"0";
}

UINT RedirectedCodePage() {
  const UINT console = GetConsoleOutputCP();
  return console != 0 ? console : GetACP();
}

// UTF-16 in the code page `cp`; each character it lacks becomes "?" (no best fit: "é"
// must not turn into "e" unseen).
std::string EncodeForCodePage(std::u16string_view text, UINT cp) {
  if (cp == 932) {
    std::size_t replaced = 0;
    const std::vector<std::uint8_t> bytes = platform::EncodeCp932(text, replaced);
    return std::string(bytes.begin(), bytes.end());
  }
  if (text.empty()) return {};
  const wchar_t* in = reinterpret_cast<const wchar_t*>(text.data());
  const int n = static_cast<int>(text.size());
  BOOL used = FALSE;
  // Some code pages (the ISO-2022 ones, UTF-7) take neither flags nor a default character.
  DWORD flags = WC_NO_BEST_FIT_CHARS;
  const char* fallback = "?";
  int size = WideCharToMultiByte(cp, flags, in, n, nullptr, 0, fallback, &used);
  if (size <= 0) {
    flags = 0;
    fallback = nullptr;
    size = WideCharToMultiByte(cp, flags, in, n, nullptr, 0, nullptr, nullptr);
  }
  if (size <= 0) return ToUtf8(text);
  std::string out(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(cp, flags, in, n, out.data(), size, fallback, fallback ? &used : nullptr);
  return out;
}

// Writes UTF-8 to a standard handle: converted to UTF-16 for a console; for a file or a
// pipe, converted to the code page that Windows programs there read, with CR LF line
// ends, unless kept as UTF-8 bytes (JSON). A character cut by the end of the buffer waits
// for its remaining bytes.
class HandleBuffer final : public std::streambuf {
 public:
  explicit HandleBuffer(DWORD which) : handle_(GetStdHandle(which)) {
    DWORD mode = 0;
    console_ = handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE && GetConsoleMode(handle_, &mode) != 0;
    if (!console_ && !Utf8Asked()) {
      codePage_ = RedirectedCodePage();
      crLf_ = true;
    }
    setp(buffer_, buffer_ + sizeof buffer_);
  }
  ~HandleBuffer() override { sync(); }

  // From now on the UTF-8 bytes go to a file or pipe unchanged.
  void KeepUtf8() {
    sync();
    codePage_ = CP_UTF8;
    crLf_ = false;
  }

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
  bool Converts() const { return console_ || codePage_ != CP_UTF8; }

  // Writes the buffered text; keeps an incomplete last character unless `all`.
  int Drain(bool all) {
    std::size_t n = static_cast<std::size_t>(pptr() - pbase());
    std::size_t keep = all || !Converts() ? 0 : IncompleteTail(pbase(), n);
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

  // LF becomes CR LF unless a CR is already before it (also across writes).
  std::string WithCrLf(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    for (const char c : text) {
      if (c == '\n' && !afterCr_) out += '\r';
      out += c;
      afterCr_ = c == '\r';
    }
    return out;
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
    std::string converted;
    if (codePage_ != CP_UTF8) {
      converted = EncodeForCodePage(FromUtf8(std::string_view(p, n)), codePage_);
      p = converted.data();
      n = converted.size();
    }
    if (crLf_) {
      converted = WithCrLf(std::string_view(p, n));
      p = converted.data();
      n = converted.size();
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
  UINT codePage_ = CP_UTF8;  // of a file or pipe
  bool crLf_ = false;        // of a file or pipe
  bool afterCr_ = false;
  char buffer_[4096];
};

HandleBuffer& OutputBuffer() {
  static HandleBuffer buffer(STD_OUTPUT_HANDLE);
  return buffer;
}

}  // namespace

std::vector<std::string> CommandLineWords(int, char**) {
  std::vector<std::string> words;
  int count = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &count);
  if (argv == nullptr) return words;
  for (int i = 1; i < count; ++i) {
    const std::wstring_view w(argv[i]);
    // The Windows way of asking for help; no file can be named "?" there.
    if (w == L"/?") {
      words.emplace_back("--help");
      continue;
    }
    words.push_back(ToUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(w.data()), w.size())));
  }
  LocalFree(argv);
  return words;
}

std::ostream& StandardOutput() {
  static std::ostream stream(&OutputBuffer());
  return stream;
}

void KeepStandardOutputUtf8() { OutputBuffer().KeepUtf8(); }

bool QuotesCannotBeInWords() { return true; }

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
void KeepStandardOutputUtf8() {}
bool QuotesCannotBeInWords() { return false; }
std::ostream& StandardError() { return std::cerr; }
#endif

}  // namespace plandown
