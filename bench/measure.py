#!/usr/bin/env python3
"""Measures the phone book program on scripted sessions and prints Markdown tables.

Usage: python3 bench/measure.py --program PATH [--sizes 10000,100000,1000000] [--pairs 7]
                                [--removal-sizes 1000000,10000000] [--smoke]

Per size N, a session of N contacts (four kinds in turn, a refused field now and then, a removal
after every tenth contact, a listing after every fifth of them and at the end) gives: CPU time
(user + system) over that of a floor, a C program built here that only reads the session and
writes the program's output, both in 64 KiB blocks (median of --pairs ratios, run in turn);
input lines per second of CPU; write calls against their bound; bytes per entry, the slope of
peak memory between add-only runs of N and N/2. Per removal size N: the extra CPU time of N/10
removals at random positions after N adds, over the adds alone. Every run must write the bytes
of the first; a failed check ends with status 1. --smoke: 1000 contacts, checks only.
"""
import argparse, hashlib, os, random, resource, statistics, sys, tempfile

BLOCK = 64 * 1024
FLOOR_C = r"""#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
static char in[65536];
int main(int argc, char **argv) {
  struct stat st; int fd = argc == 2 ? open(argv[1], O_RDONLY) : -1;
  if (fd < 0 || fstat(fd, &st) != 0) return 2;
  size_t size = (size_t)st.st_size, n;
  char *out = size ? mmap(0, size, PROT_READ, MAP_PRIVATE | MAP_POPULATE, fd, 0) : 0;
  if (out == MAP_FAILED) return 2;
  while (read(0, in, sizeof in) > 0) {}
  for (size_t at = 0; at < size; at += n)
    if (write(1, out + at, n = size - at < sizeof in ? size - at : sizeof in) != (ssize_t)n) return 1;
  return 0;
}
"""
failures = []


def check(ok, why):
    if not ok:
        print(f"measure.py: {why}", file=sys.stderr)
        failures.append(why)


def contact(rng, i, refusals):
    """The lines that add contact i; with refusals, a wrong name or phone number comes first."""
    kind, r = (i - 1) % 4 + 1, rng.randrange
    lines = ["1", str(kind)] + (["Nameless"] if refusals and i % 50 == 0 else [])
    lines.append(f"Name{r(100000)} Surname{r(1000)}")
    lines += ["010-123-4567"] if refusals and i % 70 == 0 else []
    lines.append(f"{'010' if i % 2 == 0 else '02'}-{r(10000):04}-{r(10000):04}")
    if kind == 2:
        lines.append(f"Team {r(40)}")
    elif kind == 3:
        lines.append(f"{r(100):02}{r(1, 13):02}{r(1, 29):02}")  # no 29th of February
    elif kind == 4:
        lines.append(str(r(90)))
    return lines


def write_session(path, n, mixed=True):
    """Writes a session of n contacts line by line, add-only unless mixed; returns its lines."""
    rng, count, stored, every = random.Random(20261207), 0, 0, max(n // 5, 1)
    with open(path, "w") as f:
        def put(lines):
            nonlocal count
            f.write("\n".join(lines) + "\n")
            count += len(lines)
        for i in range(1, n + 1):
            put(contact(rng, i, mixed))
            stored += 1
            if mixed and i % 10 == 0:
                put(["2", str(rng.randrange(stored) + 1)])
                stored -= 1
            if mixed and i % every == 0:
                put(["3"])
        put(["3", "exit"] if mixed else ["exit"])
    return count


def write_removal_sessions(adds_path, both_path, n, removals):
    """n adds then exit; and the same adds, then removals at positions valid at the time, exit."""
    rng = random.Random(7356)
    with open(adds_path, "w") as adds, open(both_path, "w") as both:
        for i in range(1, n + 1):
            text = "\n".join(contact(rng, i, False)) + "\n"
            adds.write(text)
            both.write(text)
        adds.write("exit\n")
        both.writelines(f"2\n{rng.randrange(size) + 1}\n" for size in range(n, n - removals, -1))
        both.write("exit\n")


def run(argv, stdin, stdout):
    """Runs argv on the given files; returns its exit status, CPU seconds, peak KiB, write calls."""
    actions = [(os.POSIX_SPAWN_OPEN, 0, stdin, os.O_RDONLY, 0),
               (os.POSIX_SPAWN_OPEN, 1, stdout, os.O_WRONLY | os.O_CREAT | os.O_TRUNC, 0o600)]
    pid = os.posix_spawnp(argv[0], argv, os.environ, file_actions=actions)
    os.waitid(os.P_PID, pid, os.WEXITED | os.WNOWAIT)  # ended, not yet reaped: /proc still has it
    with open(f"/proc/{pid}/io") as io:
        writes = next(int(line.split()[1]) for line in io if line.startswith("syscw:"))
    _, status, use = os.wait4(pid, 0)
    return os.waitstatus_to_exitcode(status), use.ru_utime + use.ru_stime, use.ru_maxrss, writes


def chunks(path):
    """A file's contents in 1 MiB pieces, so that no file is ever held whole."""
    with open(path, "rb") as f:
        while piece := f.read(1 << 20):
            yield piece


def holds(path, needle):
    """Whether a file holds these bytes, looked for in pieces that overlap by the needle's length."""
    tail = b""
    for piece in chunks(path):
        if needle in tail + piece:
            return True
        tail = piece[-len(needle):]
    return False


def digest(path):
    h = hashlib.sha256()
    for piece in chunks(path):
        h.update(piece)
    return h.digest()


def bytes_per_entry(program, session, n):
    """The slope of peak memory from n/2 to n added contacts; None where Python's peak may hide it."""
    peaks = []
    for m in (n, n // 2):
        write_session(session, m, mixed=False)
        status, _, peak, _ = run([program], session, os.devnull)
        check(status == 0, f"the program ended with status {status} adding {m} contacts")
        peaks.append(peak)
    own = resource.getrusage(resource.RUSAGE_SELF).ru_maxrss  # counted into a child's at its exec
    return (peaks[0] - peaks[1]) * 1024 / (n - n // 2) if peaks[1] > 2 * own else None


def measure(args, floor, tmp, n):
    """The row of the main table for n contacts."""
    session, expected, output = (os.path.join(tmp, name) for name in ("in", "expected", "out"))
    lines = write_session(session, n)
    status, _, _, writes = run([args.program], session, expected)
    check(status == 0, f"the program ended with status {status} at {n} contacts")
    out_size, in_size = os.path.getsize(expected), os.path.getsize(session)
    bound = -(-out_size // BLOCK) + in_size // BLOCK + 1
    check(args.asan or writes <= bound, f"{writes} write calls at {n} contacts, more than {bound}")
    want, ratios, cpus = digest(expected), [], []
    for _ in range(args.pairs):
        status, cpu, _, _ = run([args.program], session, output)
        check(status == 0 and digest(output) == want, f"the program's output changed at {n}")
        status, floor_cpu, _, _ = run([floor, expected], session, output)
        check(status == 0 and digest(output) == want, f"the floor did not replay the output at {n}")
        ratios.append(cpu / max(floor_cpu, 1e-6))
        cpus.append(cpu)
    per_entry = None if args.smoke or n < 100000 else bytes_per_entry(args.program, session, n)
    timing = "- | -" if args.smoke else \
        f"{statistics.median(ratios):.2f} | {lines / statistics.median(cpus):,.0f}"
    return (f"| {n:,} | {lines:,} | {in_size / 1e6:.2f} MB | {out_size / 1e6:.1f} MB | {timing} | "
            f"{writes:,} ({bound:,}) | {'-' if per_entry is None else f'{per_entry:.0f}'} |")


def removal(args, tmp, n):
    """The row of the removal table for n entries."""
    adds, both, removals = os.path.join(tmp, "adds"), os.path.join(tmp, "both"), n // 10
    write_removal_sessions(adds, both, n, removals)
    alone, with_removals = [], []
    for _ in range(args.pairs):
        status_both, cpu_both, _, _ = run([args.program], both, os.devnull)
        status_adds, cpu_adds, _, _ = run([args.program], adds, os.devnull)
        check(status_both == status_adds == 0, f"the program failed a removal session at {n}")
        alone.append(cpu_adds)
        with_removals.append(cpu_both)
    cost = statistics.median((b - a) / removals * 1e6 for a, b in zip(alone, with_removals))
    return (f"| {n:,} | {removals:,} | {statistics.median(alone):.2f} s | "
            f"{statistics.median(with_removals):.2f} s | {cost:.2f} µs |")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--program", required=True)
    parser.add_argument("--sizes", default="10000,100000,1000000")
    parser.add_argument("--pairs", type=int, default=7)
    parser.add_argument("--removal-sizes", default="1000000,10000000")
    parser.add_argument("--smoke", action="store_true")
    args = parser.parse_args()
    sizes = [1000] if args.smoke else [int(s) for s in args.sizes.split(",") if s]
    removal_sizes = [] if args.smoke else [int(s) for s in args.removal_sizes.split(",") if s]
    args.pairs = 1 if args.smoke else max(1, args.pairs)
    if not os.access(args.program, os.X_OK):
        check(False, f"no program to run at {args.program}")
        return 1
    # The address sanitizer's runtime makes write calls of its own.
    args.asan = holds(args.program, b"__asan_init")
    with tempfile.TemporaryDirectory(prefix="phonebook-bench-") as tmp:
        floor = os.path.join(tmp, "floor")
        with open(floor + ".c", "w") as f:
            f.write(FLOOR_C)
        status = run(["cc", "-O2", "-o", floor, floor + ".c"], os.devnull, os.devnull)[0]
        check(status == 0, f"cc could not build the floor (status {status})")
        print("| contacts | input lines | input | output | CPU vs floor | lines/s "
              "| write calls (at most) | bytes per entry |\n|" + "---:|" * 8, flush=True)
        for n in sizes if status == 0 else []:
            print(measure(args, floor, tmp, n), flush=True)
        if removal_sizes and status == 0:
            print("\n| entries | removals | CPU, adds alone | CPU, adds and removals "
                  "| per removal |\n|" + "---:|" * 5, flush=True)
            for n in removal_sizes:
                print(removal(args, tmp, n), flush=True)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
