// Runs the program on Windows: CreateProcess, with a pipe or a file for each standard stream.
#include <windows.h>
// After windows.h, which it needs.
#include <psapi.h>

#include <cstdio>
#include <initializer_list>
#include <stdexcept>
#include <thread>

#include "tests/process_windows.h"
#include "tests/program.h"

namespace phonebook::test {

Pipe makePipe() {
  HANDLE read = nullptr;
  HANDLE write = nullptr;
  if (!CreatePipe(&read, &write, nullptr, 0)) {
    throw std::runtime_error("cannot make a pipe");
  }
  return {Handle(read), Handle(write)};
}

Handle startProgram(HANDLE input, HANDLE output, HANDLE errors) {
  for (HANDLE stream : {input, output, errors}) {
    SetHandleInformation(stream, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
  }
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = input;
  startup.hStdOutput = output;
  startup.hStdError = errors;
  std::string commandLine = "phonebook";
  PROCESS_INFORMATION started{};
  if (!CreateProcessA(PHONEBOOK_PROGRAM, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                      nullptr, &startup, &started)) {
    return {};
  }
  CloseHandle(started.hThread);
  return Handle(started.hProcess);
}

int waitForExit(HANDLE process, std::chrono::milliseconds timeout) {
  if (WaitForSingleObject(process, static_cast<DWORD>(timeout.count())) != WAIT_OBJECT_0) {
    TerminateProcess(process, 1);
    WaitForSingleObject(process, INFINITE);
    return -1;
  }
  DWORD status = 0;
  GetExitCodeProcess(process, &status);
  return static_cast<int>(status);
}

namespace {

// A file for the program's standard stream, opened for reading or created for writing.
Handle openFile(const std::string& path, bool forWriting) {
  Handle file(CreateFileA(path.c_str(), forWriting ? GENERIC_WRITE : GENERIC_READ,
                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                          forWriting ? CREATE_ALWAYS : OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                          nullptr));
  if (!file) {
    throw std::runtime_error("cannot open " + path);
  }
  return file;
}

}  // namespace

std::string temporaryFile(const char* name) {
  char directory[MAX_PATH + 1];
  const DWORD length = GetTempPathA(sizeof directory, directory);
  return std::string(directory, length) + "phonebook-test-" +
         std::to_string(GetCurrentProcessId()) + "-" + name;
}

ProgramRun runProgram(const std::vector<InputPiece>& input, const ProgramOptions& options) {
  if (!options.environment.empty() || options.addressSpaceLimit > 0) {
    throw std::runtime_error("no environment or address-space limit is set for a run on Windows");
  }
  const std::string outputPath =
      options.outputPath.empty() ? temporaryFile("output") : options.outputPath;
  const std::string errorsPath = temporaryFile("errors");

  Pipe inputPipe = makePipe();
  Handle inputFile = options.inputPath.empty() ? Handle() : openFile(options.inputPath, false);
  Pipe outputPipe;
  Handle outputFile;
  if (options.outputReaderGone) {
    outputPipe = makePipe();
    outputPipe.read = Handle();
  } else {
    outputFile = openFile(outputPath, true);
  }
  Handle errorsFile = openFile(errorsPath, true);
  const Handle process =
      startProgram(inputFile ? inputFile.get() : inputPipe.read.get(),
                   outputFile ? outputFile.get() : outputPipe.write.get(), errorsFile.get());
  if (!process) {
    throw std::runtime_error("cannot start " PHONEBOOK_PROGRAM);
  }
  // Only the program holds its ends now: once it ends, writing to its input fails.
  inputPipe.read = Handle();
  inputFile = Handle();
  outputPipe.write = Handle();
  outputFile = Handle();
  errorsFile = Handle();

  std::thread writer([&input, &options, &inputPipe] {
    for (const InputPiece& piece : input) {
      for (std::size_t time = 0; time < piece.times; ++time) {
        for (std::size_t written = 0; written < piece.text.size();) {
          DWORD n = 0;
          if (!WriteFile(inputPipe.write.get(), piece.text.data() + written,
                         static_cast<DWORD>(piece.text.size() - written), &n, nullptr)) {
            return;  // the program has stopped reading
          }
          written += n;
        }
      }
    }
    if (!options.holdInputOpen) {
      inputPipe.write = Handle();
    }
  });
  ProgramRun run;
  run.status = waitForExit(process.get(), options.timeout);
  writer.join();

  PROCESS_MEMORY_COUNTERS memory{};
  const bool measured =
      GetProcessMemoryInfo(process.get(), &memory, sizeof memory) && memory.PeakWorkingSetSize > 0;
  run.peakKilobytes = measured ? static_cast<long>(memory.PeakWorkingSetSize / 1024) : -1;
  if (options.outputPath.empty() && !options.outputReaderGone) {
    run.output = contentsOf(outputPath);
    std::remove(outputPath.c_str());
  }
  run.errors = contentsOf(errorsPath);
  std::remove(errorsPath.c_str());
  return run;
}

}  // namespace phonebook::test
