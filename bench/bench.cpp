// The benchmark runner. For each size N it builds a scripted session of N contacts, runs the
// program on it with its output going to a file, and reports:
// - the program's CPU time (user and system) as a ratio to the floor's, the floor being a program
//   that only reads the session's input and writes the same output, both in 64 KiB blocks; the
//   two are run in alternation and the ratio is the median of several pairs;
// - input lines per second of the program's CPU time;
// - the program's write calls, and the most it may make: one per 64 KiB of output and one before
//   each read of the input;
// - bytes of memory per stored entry;
// - the time of removing position 1 from N entries.
// Every run of the program must write exactly the output of the first, and so must the floor.
//
// Usage: phonebook_bench [--sizes 10000,100000,1000000] [--pairs 5] [--smoke]
// --smoke runs the smallest session once and checks the output and the write calls, no timing.
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "bench/session.h"
#include "contacts/kinds.h"
#include "phonebook/phone_book.h"
#include "tests/sanitizer.h"

namespace phonebook::bench {
namespace {

struct Usage {
  double cpuSeconds = 0;  // user and system time
  long writeCalls = 0;
  int status = -1;
};

double seconds(const timeval& t) {
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
}

// The value of `key` in a /proc/PID/io file, or -1.
long ioCount(pid_t pid, const std::string& key) {
  std::ifstream io("/proc/" + std::to_string(pid) + "/io");
  std::string name;
  long value = 0;
  while (io >> name >> value) {
    if (name == key + ":") {
      return value;
    }
  }
  return -1;
}

// Runs a program with standard input from `inputPath` and standard output into `outputPath`.
Usage run(std::vector<std::string> argv, const std::string& inputPath,
          const std::string& outputPath) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, inputPath.c_str(), O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, outputPath.c_str(),
                                   O_WRONLY | O_CREAT | O_TRUNC, 0600);
  std::vector<char*> args;
  args.reserve(argv.size() + 1);
  for (std::string& arg : argv) {
    args.push_back(arg.data());
  }
  args.push_back(nullptr);
  pid_t pid = 0;
  Usage usage;
  const int spawned = posix_spawn(&pid, args[0], &actions, nullptr, args.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) {
    return usage;
  }
  // The system calls are counted while the ended process still exists, before it is reaped.
  siginfo_t ended{};
  ::waitid(P_PID, static_cast<id_t>(pid), &ended, WEXITED | WNOWAIT);
  usage.writeCalls = ioCount(pid, "syscw");
  int status = 0;
  rusage resources{};
  ::wait4(pid, &status, 0, &resources);
  usage.cpuSeconds = seconds(resources.ru_utime) + seconds(resources.ru_stime);
  usage.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  return usage;
}

std::string scratch(const std::string& name) {
  const char* directory = std::getenv("TMPDIR");
  return std::string(directory != nullptr ? directory : "/tmp") + "/phonebook-bench-" +
         std::to_string(::getpid()) + "-" + name;
}

void writeFile(const std::string& path, std::string_view contents) {
  std::ofstream(path, std::ios::binary)
      .write(contents.data(), static_cast<std::streamsize>(contents.size()));
}

std::string readFile(const std::string& path) {
  std::ostringstream contents;
  contents << std::ifstream(path, std::ios::binary).rdbuf();
  return contents.str();
}

// The peak resident memory, in kilobytes, of the program run on the session in `inputPath`.
long peakKilobytes(const std::string& inputPath) {
  const std::string resultPath = scratch("peak");
  run({PHONEBOOK_PEAK, resultPath, PHONEBOOK_PROGRAM}, inputPath, "/dev/null");
  const long kilobytes = std::atol(readFile(resultPath).c_str());
  std::remove(resultPath.c_str());
  return kilobytes;
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t middle = values.size() / 2;
  return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// Fills the phone book with `count` entries of the four kinds in turn.
void fill(std::size_t count) {
  phoneBook.clear();
  for (std::size_t i = 0; i < count; ++i) {
    const auto phone = static_cast<std::int32_t>(1000000000 + i % 100000000);
    switch (i % 4) {
      case 0:
        phoneBook.add(std::make_unique<Person>("Name12345", "Surname123", phone));
        break;
      case 1:
        phoneBook.add(std::make_unique<Work>("Name12345", "Surname123", phone, "Team 17"));
        break;
      case 2:
        phoneBook.add(std::make_unique<Family>("Name12345", "Surname123", phone, "990315"));
        break;
      default:
        phoneBook.add(std::make_unique<Friend>("Name12345", "Surname123", phone, 42));
        break;
    }
  }
}

// The median and the longest time of removing position 1, in microseconds.
std::pair<double, double> timeRemovals() {
  std::vector<double> times;
  for (int i = 0; i < 1000 && phoneBook.count() > 0; ++i) {
    const auto start = std::chrono::steady_clock::now();
    phoneBook.remove(1);
    const auto stop = std::chrono::steady_clock::now();
    times.push_back(std::chrono::duration<double, std::micro>(stop - start).count());
  }
  return {median(times), *std::max_element(times.begin(), times.end())};
}

struct Options {
  std::vector<std::size_t> sizes{10000, 100000, 1000000};
  int pairs = 5;
  bool smoke = false;
};

Options parse(int argc, char** argv) {
  Options options;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--smoke") {
      options.smoke = true;
      options.sizes = {1000};
      options.pairs = 1;
    } else if (arg == "--pairs" && i + 1 < argc) {
      options.pairs = std::max(1, std::atoi(argv[++i]));
    } else if (arg == "--sizes" && i + 1 < argc) {
      options.sizes.clear();
      std::istringstream list(argv[++i]);
      for (std::string size; std::getline(list, size, ',');) {
        options.sizes.push_back(std::stoul(size));
      }
    } else {
      std::cerr << "usage: phonebook_bench [--sizes N,N,...] [--pairs K] [--smoke]\n";
      std::exit(2);
    }
  }
  return options;
}

int runBenchmark(const Options& options) {
  const std::string program = PHONEBOOK_PROGRAM;
  const std::string floor = PHONEBOOK_FLOOR;
  const std::string sessionPath = scratch("session");
  const std::string expectedPath = scratch("expected");
  const std::string outputPath = scratch("output");
  int failures = 0;
  const auto fail = [&failures](const std::string& why) {
    std::fprintf(stderr, "phonebook_bench: %s\n", why.c_str());
    ++failures;
  };

  std::printf(
      "| contacts | input lines | output | CPU vs floor | lines/s | write calls (at most) | "
      "bytes per entry | remove position 1 (median / max) |\n"
      "|---:|---:|---:|---:|---:|---:|---:|---:|\n");
  std::fflush(stdout);
  for (const std::size_t contacts : options.sizes) {
    const std::string script = generateSession({.contacts = contacts});
    writeFile(sessionPath, script);
    const auto lines = std::count(script.begin(), script.end(), '\n');
    const std::string size = std::to_string(contacts) + " contacts";

    const Usage first = run({program}, sessionPath, expectedPath);
    const std::string expected = readFile(expectedPath);
    if (first.status != 0) {
      fail("the program ended with status " + std::to_string(first.status) + " at " + size);
    }
    // Reading a file, the program gets a full block at each read, and one more read finds its end.
    constexpr std::size_t block = std::size_t{64} * 1024;
    const auto allowedWrites =
        static_cast<long>((expected.size() + block - 1) / block + script.size() / block + 1);
    // The address sanitizer's runtime makes write calls of its own, counted with the program's.
    if (!test::underAddressSanitizer && first.writeCalls > allowedWrites) {
      fail("the program made " + std::to_string(first.writeCalls) + " write calls at " + size +
           ", more than " + std::to_string(allowedWrites));
    }

    std::vector<double> ratios;
    std::vector<double> programSeconds;
    for (int pair = 0; pair < options.pairs; ++pair) {
      const Usage p = run({program}, sessionPath, outputPath);
      if (readFile(outputPath) != expected) {
        fail("the program's output changed from one run to the next at " + size);
      }
      const Usage f = run({floor, expectedPath}, sessionPath, outputPath);
      if (f.status != 0 || readFile(outputPath) != expected) {
        fail("the floor did not write the program's output at " + size);
      }
      ratios.push_back(p.cpuSeconds / f.cpuSeconds);
      programSeconds.push_back(p.cpuSeconds);
    }

    writeFile(sessionPath,
              generateSession({.contacts = contacts, .listings = false, .removals = false}));
    const long adding = peakKilobytes(sessionPath);
    writeFile(sessionPath, "exit\n");
    const long empty = peakKilobytes(sessionPath);
    const double bytesPerEntry =
        static_cast<double>(adding - empty) * 1024.0 / static_cast<double>(contacts);

    fill(contacts);
    const auto [removeMedian, removeMax] = timeRemovals();
    phoneBook.clear();

    const double megabytes = static_cast<double>(expected.size()) / 1e6;
    if (options.smoke) {
      std::printf("| %zu | %td | %.2f MB | - | - | %ld (%ld) | - | - |\n", contacts, lines,
                  megabytes, first.writeCalls, allowedWrites);
    } else {
      std::printf("| %zu | %td | %.1f MB | %.2f | %.0f | %ld (%ld) | %.0f | %.2f / %.1f µs |\n",
                  contacts, lines, megabytes, median(ratios),
                  static_cast<double>(lines) / median(programSeconds), first.writeCalls,
                  allowedWrites, bytesPerEntry, removeMedian, removeMax);
    }
    std::fflush(stdout);
  }
  for (const std::string& path : {sessionPath, expectedPath, outputPath}) {
    std::remove(path.c_str());
  }
  return failures == 0 ? 0 : 1;
}

}  // namespace
}  // namespace phonebook::bench

int main(int argc, char** argv) {
  return phonebook::bench::runBenchmark(phonebook::bench::parse(argc, argv));
}
