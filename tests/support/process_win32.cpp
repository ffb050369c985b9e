// The Windows side of the process helper: CreateProcessA with pipes, both
// output streams drained by threads of their own so neither can fill up.
#include <windows.h>

#include <stdexcept>
#include <thread>

#include "process.hpp"

namespace kit::test {

namespace {

// One argument as the C run-time splits a command line. Arguments without
// blanks or quotes go as they are, so that "*.txt" can still be expanded by a
// program that asks its run-time to.
std::string quote(const std::string& arg) {
  if (!arg.empty() && arg.find_first_of(" \t\"") == std::string::npos) {
    return arg;
  }
  std::string out = "\"";
  std::size_t backslashes = 0;
  for (const char c : arg) {
    if (c == '\\') {
      ++backslashes;
      continue;
    }
    out.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
    backslashes = 0;
    out += c;
  }
  out.append(backslashes * 2, '\\');
  return out + "\"";
}

struct Handle {
  HANDLE h = nullptr;
  ~Handle() { reset(); }
  void reset() {
    if (h != nullptr && h != INVALID_HANDLE_VALUE) CloseHandle(h);
    h = nullptr;
  }
};

void makePipe(Handle& read, Handle& write, bool childReads) {
  SECURITY_ATTRIBUTES sa{sizeof sa, nullptr, TRUE};
  if (!CreatePipe(&read.h, &write.h, &sa, 0)) throw std::runtime_error("CreatePipe failed");
  // Only the child's end is inherited.
  SetHandleInformation(childReads ? write.h : read.h, HANDLE_FLAG_INHERIT, 0);
}

void drain(HANDLE from, std::string& into) {
  char buffer[65536];
  DWORD got = 0;
  while (ReadFile(from, buffer, sizeof buffer, &got, nullptr) && got > 0) {
    into.append(buffer, got);
  }
}

}  // namespace

RunResult run(const std::string& program, const std::vector<std::string>& args,
              const RunOptions& options) {
  Handle inRead, inWrite, outRead, outWrite, errRead, errWrite;
  makePipe(inRead, inWrite, true);
  makePipe(outRead, outWrite, false);
  makePipe(errRead, errWrite, false);
  Handle outFile;
  if (!options.stdoutFile.empty()) {
    SECURITY_ATTRIBUTES sa{sizeof sa, nullptr, TRUE};
    outFile.h = CreateFileA(options.stdoutFile.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &sa,
                            CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (outFile.h == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot open stdout file");
  }

  std::string commandLine = quote(program);
  for (const std::string& arg : args) commandLine += " " + quote(arg);

  STARTUPINFOA si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdInput = inRead.h;
  si.hStdOutput = options.stdoutFile.empty() ? outWrite.h : outFile.h;
  si.hStdError = errWrite.h;
  PROCESS_INFORMATION pi{};
  const std::string cwd = options.cwd.string();
  if (!CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                      cwd.empty() ? nullptr : cwd.c_str(), &si, &pi)) {
    throw std::runtime_error("CreateProcess " + program + " failed");
  }
  CloseHandle(pi.hThread);
  inRead.reset();
  outWrite.reset();
  errWrite.reset();
  outFile.reset();

  RunResult result;
  std::thread outThread(drain, outRead.h, std::ref(result.out));
  std::thread errThread(drain, errRead.h, std::ref(result.err));
  if (options.stdinData) {
    const std::string& feed = *options.stdinData;
    for (std::size_t fed = 0; fed < feed.size();) {
      DWORD wrote = 0;
      const auto chunk = static_cast<DWORD>(std::min<std::size_t>(feed.size() - fed, 1 << 16));
      if (!WriteFile(inWrite.h, feed.data() + fed, chunk, &wrote, nullptr)) break;
      fed += wrote;
    }
  }
  inWrite.reset();
  outThread.join();
  errThread.join();
  WaitForSingleObject(pi.hProcess, INFINITE);
  DWORD code = 0;
  GetExitCodeProcess(pi.hProcess, &code);
  CloseHandle(pi.hProcess);
  result.status = static_cast<int>(code);
  return result;
}

}  // namespace kit::test
