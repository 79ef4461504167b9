// Runs the program on POSIX systems: posix_spawn, with a pipe or a file for each standard stream.
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <string_view>
#include <thread>
#include <utility>

#include "tests/program.h"

extern char** environ;

namespace phonebook::test {

namespace {

// The test's environment, with `added` in place of any variable of the same name.
std::vector<std::string> environmentWith(const std::vector<std::string>& added) {
  std::vector<std::string> environment = added;
  for (char** variable = environ; *variable != nullptr; ++variable) {
    const std::string_view name(*variable, std::strcspn(*variable, "="));
    const bool replaced = std::any_of(added.begin(), added.end(), [&](const std::string& v) {
      return v.size() > name.size() && v.compare(0, name.size(), name) == 0 &&
             v[name.size()] == '=';
    });
    if (!replaced) {
      environment.emplace_back(*variable);
    }
  }
  return environment;
}

// Waits for the process to end, up to `timeout`; kills it if it has not ended by then.
bool waitFor(pid_t pid, std::chrono::seconds timeout, int& status, rusage& usage) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    const pid_t ended = ::wait4(pid, &status, WNOHANG, &usage);
    if (ended == pid) {
      return true;
    }
    if (ended < 0 || std::chrono::steady_clock::now() > deadline) {
      ::kill(pid, SIGKILL);
      ::wait4(pid, &status, 0, &usage);
      return false;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
}

}  // namespace

std::string temporaryFile(const char* name) {
  const char* directory = std::getenv("TMPDIR");
  return std::string(directory != nullptr ? directory : "/tmp") + "/phonebook-test-" +
         std::to_string(::getpid()) + "-" + name;
}

ProgramRun runProgram(const std::vector<InputPiece>& input, const ProgramOptions& options) {
  // The program may end before it has read all of its input; the writer must then not be killed.
  std::signal(SIGPIPE, SIG_IGN);

  int inputPipe[2];
  int outputPipe[2] = {-1, -1};
  if (::pipe2(inputPipe, O_CLOEXEC) != 0 ||
      (options.outputReaderGone && ::pipe2(outputPipe, O_CLOEXEC) != 0)) {
    throw std::runtime_error("cannot make a pipe");
  }
  const std::string outputPath =
      options.outputPath.empty() ? temporaryFile("output") : options.outputPath;
  const std::string errorsPath = temporaryFile("errors");

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (options.inputPath.empty()) {
    posix_spawn_file_actions_adddup2(&actions, inputPipe[0], STDIN_FILENO);
  } else {
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, options.inputPath.c_str(), O_RDONLY,
                                     0);
  }
  if (options.outputReaderGone) {
    ::close(outputPipe[0]);
    posix_spawn_file_actions_adddup2(&actions, outputPipe[1], STDOUT_FILENO);
  } else {
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, outputPath.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0600);
  }
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errorsPath.c_str(),
                                   O_WRONLY | O_CREAT | O_TRUNC, 0600);
  // The program gets the usual action for a broken pipe, whatever the test has set for itself.
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  sigset_t defaults;
  sigemptyset(&defaults);
  sigaddset(&defaults, SIGPIPE);
  posix_spawnattr_setsigdefault(&attributes, &defaults);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF);

  std::vector<std::string> environment = environmentWith(options.environment);
  std::vector<char*> envp;
  envp.reserve(environment.size() + 1);
  for (std::string& variable : environment) {
    envp.push_back(variable.data());
  }
  envp.push_back(nullptr);

  std::string program = PHONEBOOK_PROGRAM;
  char* argv[] = {program.data(), nullptr};
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, program.c_str(), &actions, &attributes, argv, envp.data());
  posix_spawn_file_actions_destroy(&actions);
  posix_spawnattr_destroy(&attributes);
  ::close(inputPipe[0]);
  if (options.outputReaderGone) {
    ::close(outputPipe[1]);
  }
  if (spawned != 0) {
    ::close(inputPipe[1]);
    throw std::runtime_error("cannot start " + program);
  }
  // posix_spawn cannot set a resource limit in the child, so the limit is set on the running
  // program from here. That is soon enough: until its input is written the program only waits for
  // it, and what it has allocated by then is small and stays within the limit.
  if (options.addressSpaceLimit > 0) {
    const rlimit limit{options.addressSpaceLimit, options.addressSpaceLimit};
    if (::prlimit(pid, RLIMIT_AS, &limit, nullptr) != 0) {
      ::kill(pid, SIGKILL);
      ::waitpid(pid, nullptr, 0);
      ::close(inputPipe[1]);
      throw std::runtime_error("cannot limit the address space of " + program);
    }
  }

  int inputEnd = inputPipe[1];
  std::thread writer([&input, &options, &inputEnd] {
    for (const InputPiece& piece : input) {
      for (std::size_t time = 0; time < piece.times; ++time) {
        for (std::size_t written = 0; written < piece.text.size();) {
          const ssize_t n =
              ::write(inputEnd, piece.text.data() + written, piece.text.size() - written);
          if (n <= 0) {
            return;  // the program has stopped reading
          }
          written += static_cast<std::size_t>(n);
        }
      }
    }
    if (!options.holdInputOpen) {
      ::close(std::exchange(inputEnd, -1));
    }
  });
  int waitStatus = 0;
  rusage usage{};
  const bool ended = waitFor(pid, options.timeout, waitStatus, usage);
  writer.join();
  if (inputEnd >= 0) {
    ::close(inputEnd);
  }

  ProgramRun run;
  run.status = !ended                  ? -1
               : WIFEXITED(waitStatus) ? WEXITSTATUS(waitStatus)
                                       : 128 + WTERMSIG(waitStatus);
  run.peakKilobytes = usage.ru_maxrss;
  if (options.outputPath.empty() && !options.outputReaderGone) {
    run.output = contentsOf(outputPath);
    ::unlink(outputPath.c_str());
  }
  run.errors = contentsOf(errorsPath);
  ::unlink(errorsPath.c_str());
  return run;
}

}  // namespace phonebook::test
