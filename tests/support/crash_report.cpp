#include "support/crash_report.h"

#ifdef _WIN32
#include <windows.h>

#include <cstdio>

namespace plandown::test {
namespace {

void PrintFrame(int index, DWORD64 address) {
  HMODULE module = nullptr;
  char name[MAX_PATH] = "?";
  if (GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                         reinterpret_cast<LPCSTR>(address), &module))
    GetModuleFileNameA(module, name, sizeof name);
  const char* base = name;
  for (const char* p = name; *p != '\0'; ++p)
    if (*p == '\\' || *p == '/') base = p + 1;
  std::fprintf(stderr, "  #%-2d %s+0x%llx\n", index, base,
               static_cast<unsigned long long>(address - reinterpret_cast<DWORD64>(module)));
}

LONG WINAPI PrintCrash(EXCEPTION_POINTERS* info) {
  const EXCEPTION_RECORD& record = *info->ExceptionRecord;
  std::fprintf(stderr, "crash: exception 0x%08lx at %p", record.ExceptionCode, record.ExceptionAddress);
  if (record.ExceptionCode == EXCEPTION_ACCESS_VIOLATION && record.NumberParameters >= 2)
    std::fprintf(stderr, " (%s 0x%llx)", record.ExceptionInformation[0] == 1 ? "write to" : "read of",
                 static_cast<unsigned long long>(record.ExceptionInformation[1]));
  std::fprintf(stderr, "\n");
  CONTEXT context = *info->ContextRecord;
  for (int i = 0; i < 48 && context.Rip != 0; ++i) {
    PrintFrame(i, context.Rip);
    DWORD64 imageBase = 0;
    RUNTIME_FUNCTION* function = RtlLookupFunctionEntry(context.Rip, &imageBase, nullptr);
    if (function == nullptr) {
      // A leaf function: the return address is on top of the stack.
      context.Rip = *reinterpret_cast<DWORD64*>(context.Rsp);
      context.Rsp += 8;
      continue;
    }
    void* handlerData = nullptr;
    DWORD64 establisher = 0;
    RtlVirtualUnwind(UNW_FLAG_NHANDLER, imageBase, context.Rip, function, &context, &handlerData, &establisher,
                     nullptr);
  }
  std::fflush(stderr);
  return EXCEPTION_CONTINUE_SEARCH;
}

}  // namespace

void ReportCrashes() { SetUnhandledExceptionFilter(PrintCrash); }

}  // namespace plandown::test
#else
namespace plandown::test {
void ReportCrashes() {}
}  // namespace plandown::test
#endif
