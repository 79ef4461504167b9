#!/usr/bin/env python3
"""Measures the phone book program on scripted sessions; prints Markdown tables.
Per size N (N contacts, refused fields, a removal per ten, six listings): CPU time over a floor's
that only moves the same input and output in 64 KiB blocks (median of pairs run in turn), lines
per CPU second, instructions per input line (callgrind, where valgrind is), write calls (bound),
bytes per entry (peak memory from N/2 to N contacts); per removal size N: CPU time per removal at
random positions. Any output unlike the first run's fails (status 1). --smoke: 1000 contacts,
checks only. TMPDIR=/dev/shm steadies the cost of writing."""
import argparse, hashlib, os, random, resource, shutil, statistics, subprocess, sys, tempfile

DIGITS = [f"{k:04}" for k in range(10000)]  # four digits each, faster than formatting every time
FLOOR_C = rb"""#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>
int main(int argc, char **argv) {  /* floor OUTPUT < session > copy: read all, write OUTPUT */
  static char in[65536];
  int fd = argc == 2 ? open(argv[1], O_RDONLY) : -1;  /* a failed map fails the writes */
  off_t size = fd < 0 ? -1 : lseek(fd, 0, SEEK_END);
  char *out = size > 0 ? mmap(0, size, PROT_READ, MAP_PRIVATE | MAP_POPULATE, fd, 0) : 0;
  while (read(0, in, sizeof in) > 0) {}
  for (off_t at = 0; at < size; at += 65536)  /* a short write shows in the copy's digest */
    if (write(1, out + at, size - at < 65536 ? size - at : 65536) < 0) return 1;
}
"""
failures = []


def check(ok, why):
    if not ok:
        print(f"measure.py: {why}", file=sys.stderr)
        failures.append(why)


def contact(rng, i, refusals):
    """The lines that add contact i; with refusals, a wrong name or phone number comes first."""
    kind, (x, y) = (i - 1) % 4 + 1, divmod(rng.getrandbits(96), 10**16)  # one draw, cut in fields
    text = f"1\n{kind}\n" + ("Nameless\n" if refusals and i % 50 == 0 else "")
    text += f"Name{y % 100000} Surname{y // 10**5 % 1000}\n"
    text += "010-123-4567\n" if refusals and i % 70 == 0 else ""
    text += f"{'010' if i % 2 == 0 else '02'}-{DIGITS[y // 10**8 % 10000]}-{DIGITS[y // 10**12]}\n"
    if kind == 2:
        text += f"Team {x % 40}\n"
    elif kind == 3:  # days up to the 28th: never a 29th of February
        text += f"{DIGITS[x % 100 * 100 + x // 100 % 12 + 1]}{DIGITS[x // 1200 % 28 + 1][2:]}\n"
    elif kind == 4:
        text += f"{x % 90}\n"
    return text


def write_session(path, n, mixed=True):
    """Writes a session of n contacts as it goes, add-only unless mixed; returns its line count."""
    rng, every, lines = random.Random(20261207), max(n // 5, 1), 0
    with open(path, "w") as f:
        for i in range(1, n + 1):
            text = contact(rng, i, mixed)
            if mixed and i % 10 == 0:  # i added, i // 10 - 1 removed before: any stored position
                text += f"2\n{rng.randrange(i - i // 10 + 1) + 1}\n"
            text += "3\n" if mixed and i % every == 0 else ""
            f.write(text)
            lines += text.count("\n")
        f.write("3\nexit\n" if mixed else "exit\n")
    return lines + (2 if mixed else 1)


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


def digest(path):
    with open(path, "rb") as f:  # read in pieces, never whole
        return hashlib.file_digest(f, "sha256").digest()


def bytes_per_entry(program, session, n):
    """The slope of peak memory from n/2 to n added contacts; "-" where Python's peak hides it."""
    peaks = []
    for m in (n, n // 2):
        write_session(session, m, mixed=False)
        status, _, peak, _ = run([program], session, os.devnull)
        check(status == 0, f"the program ended with status {status} adding {m} contacts")
        peaks.append(peak)
    own = resource.getrusage(resource.RUSAGE_SELF).ru_maxrss  # counted into a child's at its exec
    return f"{(peaks[0] - peaks[1]) * 1024 / (n - n // 2):.0f}" if peaks[1] > 2 * own else "-"


def measure(args, floor, tmp, n):
    """The row of the main table for n contacts."""
    session, expected, output = (os.path.join(tmp, name) for name in ("in", "expected", "out"))
    lines = write_session(session, n)
    status, _, _, writes = run([args.program], session, expected)
    out_size, in_size = os.path.getsize(expected), os.path.getsize(session)
    bound = -(-out_size // 65536) + in_size // 65536 + 1  # per 64 KiB out, per read after output
    check(status == 0 and (args.instrumented or writes <= bound),
          f"{n} contacts: status {status}, {writes} write calls (at most {bound})")
    want = digest(expected)

    def replay(argv, who):  # CPU seconds of one run that must write the first run's bytes
        status, cpu, _, _ = run(argv, session, output)
        check(status == 0 and digest(output) == want, f"the {who} changed the output at {n}")
        return max(cpu, 1e-6)
    pairs = [(replay([args.program], "program"), replay([floor, expected], "floor"))
             for _ in range(args.pairs)]  # in turn
    timing = "- | -" if args.smoke else (f"{statistics.median(p / f for p, f in pairs):.2f} | "
                                        f"{lines / statistics.median(p for p, _ in pairs):,.0f}")
    per_line = "-"  # instructions per input line, which callgrind counts alike on any machine
    if shutil.which("valgrind") and not (args.smoke or args.instrumented):
        replay(["valgrind", "-q", "--tool=callgrind", f"--callgrind-out-file={tmp}/callgrind",
                args.program], "program under callgrind")
        with open(f"{tmp}/callgrind") as f:  # its line "summary: N" counts the whole run's
            per_line = f"{int(next(l for l in f if l.startswith('summary:'))[8:]) / lines:.0f}"
    per_entry = "-" if args.smoke or n < 100000 else bytes_per_entry(args.program, session, n)
    return (f"| {n:,} | {lines:,} | {in_size / 1e6:.2f} MB | {out_size / 1e6:.1f} MB | {timing} | "
            f"{per_line} | {writes:,} ({bound:,}) | {per_entry} |")


def removal(args, tmp, n):
    """The row of the removal table for n entries."""
    adds, both, removals, rng = f"{tmp}/adds", f"{tmp}/both", n // 10, random.Random(7356)
    write_session(adds, n, mixed=False)
    shutil.copyfile(adds, both)
    os.truncate(both, os.path.getsize(both) - len("exit\n"))  # the same adds, without their exit
    with open(both, "a") as f:  # then removals at positions valid at the time
        f.writelines(f"2\n{rng.randrange(size) + 1}\n" for size in range(n, n - removals, -1))
        f.write("exit\n")
    runs = [(run([args.program], both, os.devnull), run([args.program], adds, os.devnull))
            for _ in range(args.pairs)]  # in turn
    check(all(b[0] == a[0] == 0 for b, a in runs), f"the program failed a removal session at {n}")
    cost = statistics.median((b[1] - a[1]) / removals * 1e6 for b, a in runs)
    return (f"| {n:,} | {removals:,} | {statistics.median(a[1] for _, a in runs):.2f} s | "
            f"{statistics.median(b[1] for b, _ in runs):.2f} s | {cost:.2f} µs |")


def main():
    sizes = lambda text: [int(size) for size in text.split(",") if size]
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--program", required=True)
    parser.add_argument("--sizes", type=sizes, default="10000,100000,1000000")
    parser.add_argument("--pairs", type=lambda text: max(1, int(text)), default=7)
    parser.add_argument("--removal-sizes", type=sizes, default="1000000,10000000")
    parser.add_argument("--smoke", action="store_true")
    args = parser.parse_args()
    if args.smoke:
        args.sizes, args.removal_sizes, args.pairs = [1000], [], 1
    if not os.access(args.program, os.X_OK):
        sys.exit(f"measure.py: no program to run at {args.program}")
    # The address sanitizer's runtime and coverage counters (at exit) make write calls of their own.
    marks = ["grep", "-qE", "__asan_init|__gcov_init", args.program]
    args.instrumented = run(marks, os.devnull, os.devnull)[0] == 0
    with tempfile.TemporaryDirectory(prefix="phonebook-bench-") as tmp:
        floor = os.path.join(tmp, "floor")
        if subprocess.run(["cc", "-O2", "-x", "c", "-o", floor, "-"], input=FLOOR_C).returncode:
            sys.exit("measure.py: cc could not build the floor")
        print("| contacts | input lines | input | output | CPU vs floor | lines/s | instructions "
              "per line | write calls (at most) | bytes per entry |\n|" + "---:|" * 9, flush=True)
        for n in args.sizes:
            print(measure(args, floor, tmp, n), flush=True)
        if args.removal_sizes:
            print("\n| entries | removals | CPU, adds alone | CPU, adds and removals "
                  "| per removal |\n|" + "---:|" * 5, flush=True)
        for n in args.removal_sizes:
            print(removal(args, tmp, n), flush=True)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
