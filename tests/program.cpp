#include "tests/program.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstring>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string_view>
#include <thread>

extern char** environ;

namespace phonebook::test {

namespace {

std::string temporaryPath(const char* name) {
  const char* directory = std::getenv("TMPDIR");
  return std::string(directory != nullptr ? directory : "/tmp") + "/phonebook-test-" +
         std::to_string(::getpid()) + "-" + name;
}

std::string contentsOf(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream contents;
  contents << file.rdbuf();
  return contents.str();
}

void check(int result, const char* what) {
  if (result != 0) {
    throw std::runtime_error(what);
  }
}

}  // namespace

ProgramRun runProgram(const std::string& input, const ProgramOptions& options) {
  // The program may end before it has read all of its input; the writer must then not be killed.
  std::signal(SIGPIPE, SIG_IGN);

  int inputPipe[2];
  check(::pipe2(inputPipe, O_CLOEXEC), "pipe");
  const std::string outputPath =
      options.outputPath.empty() ? temporaryPath("output") : options.outputPath;
  const std::string errorsPath = temporaryPath("errors");

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, inputPipe[0], STDIN_FILENO);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, outputPath.c_str(),
                                   O_WRONLY | O_CREAT | O_TRUNC, 0600);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errorsPath.c_str(),
                                   O_WRONLY | O_CREAT | O_TRUNC, 0600);
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  sigset_t defaults;
  sigemptyset(&defaults);
  sigaddset(&defaults, SIGPIPE);
  posix_spawnattr_setsigdefault(&attributes, &defaults);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF);

  // The test's environment, with the options' variables in place of any of the same name.
  std::vector<std::string> environment = options.environment;
  for (char** variable = environ; *variable != nullptr; ++variable) {
    const std::string_view name = std::string_view(*variable).substr(0, std::strcspn(*variable, "="));
    const bool replaced = std::any_of(environment.begin(), environment.end(), [&](const auto& v) {
      return v.size() > name.size() && v.compare(0, name.size(), name) == 0 && v[name.size()] == '=';
    });
    if (!replaced) {
      environment.emplace_back(*variable);
    }
  }
  std::vector<char*> envp;
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
  if (spawned != 0) {
    ::close(inputPipe[1]);
    throw std::runtime_error("cannot start " + program);
  }

  std::thread writer([&input, fd = inputPipe[1]] {
    for (std::size_t written = 0; written < input.size();) {
      const ssize_t n = ::write(fd, input.data() + written, input.size() - written);
      if (n <= 0) {
        break;  // the program has stopped reading
      }
      written += static_cast<std::size_t>(n);
    }
    ::close(fd);
  });
  int waitStatus = 0;
  ::waitpid(pid, &waitStatus, 0);
  writer.join();

  ProgramRun run;
  run.status = WIFEXITED(waitStatus) ? WEXITSTATUS(waitStatus) : 128 + WTERMSIG(waitStatus);
  if (options.outputPath.empty()) {
    run.output = contentsOf(outputPath);
    ::unlink(outputPath.c_str());
  }
  run.errors = contentsOf(errorsPath);
  ::unlink(errorsPath.c_str());
  return run;
}

}  // namespace phonebook::test
