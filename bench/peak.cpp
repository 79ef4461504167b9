// Runs a command and writes the peak resident memory of that command alone, in kilobytes, to a
// file. Usage: phonebook_peak RESULT COMMAND [ARGUMENTS...]
// The kernel counts into a process's peak the memory of the process it was started from, up to
// the start of the new program. The benchmark runner is large, so it measures through this small
// program, whose own memory stays below that of any program it runs.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: phonebook_peak RESULT COMMAND [ARGUMENTS...]\n");
    return 2;
  }
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::execv(argv[2], argv + 2);
    _exit(127);
  }
  int status = 0;
  rusage usage{};
  if (pid < 0 || ::wait4(pid, &status, 0, &usage) < 0) {
    return 1;
  }
  std::FILE* const result = std::fopen(argv[1], "w");
  if (result == nullptr) {
    return 1;
  }
  std::fprintf(result, "%ld\n", usage.ru_maxrss);
  std::fclose(result);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}
