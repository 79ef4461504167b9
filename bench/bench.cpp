// The benchmark runner. For each size N it builds a scripted session of N contacts and reports:
// input lines per second; the program's CPU time as a ratio to the floor's (the same reads and
// writes and nothing else), measured in alternation, median of several pairs; bytes of memory per
// stored entry; the time of one listing of N entries, and its write calls; and the time of
// removing position 1 from N entries.
//
// Usage: phonebook_bench [--sizes 10000,100000,1000000] [--pairs 5] [--smoke]
// --smoke runs the smallest session once and checks the floor's replay, with no timing.
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "bench/session.h"
#include "bench/trace.h"
#include "contacts/kinds.h"
#include "phonebook/commands.h"
#include "phonebook/phone_book.h"

namespace phonebook::bench {
namespace {

struct Usage {
  double cpuSeconds = 0;  // user and system time
  int status = -1;
};

double seconds(const timeval& t) {
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
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
  if (posix_spawn(&pid, args[0], &actions, nullptr, args.data(), environ) != 0) {
    posix_spawn_file_actions_destroy(&actions);
    return usage;
  }
  posix_spawn_file_actions_destroy(&actions);
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

std::string readFile(const std::string& path);

// The peak resident memory, in kilobytes, of the program run on the session in `inputPath`.
long peakKilobytes(const std::string& inputPath) {
  const std::string resultPath = scratch("peak");
  run({PHONEBOOK_PEAK, resultPath, PHONEBOOK_PROGRAM}, inputPath, "/dev/null");
  const long kilobytes = std::atol(readFile(resultPath).c_str());
  std::remove(resultPath.c_str());
  return kilobytes;
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

// The count of write calls this process has made, as the kernel counts them.
long writeCalls() {
  std::ifstream io("/proc/self/io");
  std::string key;
  long value = 0;
  while (io >> key >> value) {
    if (key == "syscw:") {
      return value;
    }
  }
  return -1;
}

struct Listing {
  double milliseconds;
  long writeCalls;
};

// Times one listing of the phone book into /dev/null, with this process's standard output
// pointed there for the while.
Listing timeListing() {
  std::cout.flush();
  const int savedOutput = ::dup(STDOUT_FILENO);
  const int null = ::open("/dev/null", O_WRONLY);
  ::dup2(null, STDOUT_FILENO);
  ::close(null);
  std::vector<double> times;
  long calls = 0;
  for (int i = 0; i < 3; ++i) {
    const long before = writeCalls();
    const auto start = std::chrono::steady_clock::now();
    printPhoneBook();
    const auto stop = std::chrono::steady_clock::now();
    calls = writeCalls() - before;
    times.push_back(std::chrono::duration<double, std::milli>(stop - start).count());
  }
  ::dup2(savedOutput, STDOUT_FILENO);
  ::close(savedOutput);
  return {median(times), calls};
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
  const std::string tracePath = scratch("trace");
  const std::string outputPath = scratch("output");
  const std::string floorOutputPath = scratch("floor-output");
  int failures = 0;

  std::printf(
      "| contacts | input lines | lines/s | CPU vs floor, to a file | CPU vs floor, to /dev/null "
      "| bytes per entry | listing of N | write calls in it | remove position 1 (median / max) "
      "|\n|---:|---:|---:|---:|---:|---:|---:|---:|---:|\n");
  std::fflush(stdout);
  for (const std::size_t contacts : options.sizes) {
    const std::string script = generateSession({.contacts = contacts});
    writeFile(sessionPath, script);
    writeFile(tracePath, recordTrace(script));
    const auto lines = std::count(script.begin(), script.end(), '\n');

    // The floor must write exactly what the program writes, or the comparison means nothing.
    const Usage check = run({program}, sessionPath, outputPath);
    const Usage floorCheck = run({floor, tracePath}, sessionPath, floorOutputPath);
    if (check.status != 0 || floorCheck.status != 0 ||
        readFile(outputPath) != readFile(floorOutputPath)) {
      std::fprintf(stderr, "the floor's output differs from the program's at %zu contacts\n",
                   contacts);
      ++failures;
    }

    std::vector<double> toFile;
    std::vector<double> toNull;
    std::vector<double> programSeconds;
    for (int pair = 0; pair < options.pairs; ++pair) {
      const Usage p = run({program}, sessionPath, outputPath);
      const Usage f = run({floor, tracePath}, sessionPath, floorOutputPath);
      toFile.push_back(p.cpuSeconds / f.cpuSeconds);
      const Usage pn = run({program}, sessionPath, "/dev/null");
      const Usage fn = run({floor, tracePath}, sessionPath, "/dev/null");
      toNull.push_back(pn.cpuSeconds / fn.cpuSeconds);
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
    const Listing listing = timeListing();
    const auto [removeMedian, removeMax] = timeRemovals();
    phoneBook.clear();

    if (options.smoke) {
      std::printf("| %zu | %td | - | - | - | - | - | %ld | - |\n", contacts, lines,
                  listing.writeCalls);
    } else {
      std::printf("| %zu | %td | %.0f | %.2f | %.2f | %.0f | %.1f ms | %ld | %.2f / %.1f µs |\n",
                  contacts, lines, static_cast<double>(lines) / median(programSeconds),
                  median(toFile), median(toNull), bytesPerEntry, listing.milliseconds,
                  listing.writeCalls, removeMedian, removeMax);
    }
    std::fflush(stdout);
  }
  for (const std::string& path : {sessionPath, tracePath, outputPath, floorOutputPath}) {
    std::remove(path.c_str());
  }
  return failures == 0 ? 0 : 1;
}

}  // namespace
}  // namespace phonebook::bench

int main(int argc, char** argv) {
  return phonebook::bench::runBenchmark(phonebook::bench::parse(argc, argv));
}
