"""The built program, run as its users run it: from a shell, with pipes and files for its standard
streams (subprocess); by another program that answers each prompt in turn, and at a terminal
(pexpect). Every output is compared whole, byte for byte.

    /usr/bin/python3 -m pytest tests --program build/dev/phonebook
"""
import datetime
import io
import os
import re
import resource
import signal
import subprocess
import tempfile
import threading
import time

import pexpect
import pexpect.popen_spawn
import pytest

PROMPT = "QZ-4821-07356>"
MENU = "Phone Book\n1. Add person\n2. Remove person\n3. Print phone book\n"
TYPES = "Select Type\n1. Person\n2. Work\n3. Family\n4. Friend\n"
RETRY = "Please try again.\n"
INVALID_COMMAND = "Invalid command.\n" + RETRY
NOT_AN_INTEGER = "Invalid Input. Correct input type is integer.\n" + RETRY
ADDED = "Successfully added new person.\n"
REMOVED = "A person is successfully deleted from the Phone Book!\n"
LISTING = "Phone Book Print\n"
INDEX = "Enter Index of person: "
NAME, PHONE, TEAM, AGE, BIRTHDAY = "Name: ", "Phone number: ", "Team: ", "Age: ", "Birthday: "
ASKED = PROMPT + TYPES + PROMPT + NAME  # a new contact's questions, up to its name
ADD_PERSON = "1\n1\nAnn Lee\n010-1234-5678\n"
PERSON_ADDED = ASKED + PHONE + ADDED
MB = 1 << 20
LINE = b"x" * (100 * MB)  # a line of 100 MB, without its line end
EOF = None  # typed in a conversation: the end of input (Ctrl-D at a terminal)

# A terminal of the kind most have, with no locale set, and a home with no ~/.editrc.
TERMINAL = dict({name: value for name, value in os.environ.items()
                 if name not in ("LANG", "LANGUAGE") and not name.startswith("LC_")},
                TERM="xterm", HOME="/nonexistent")
LEFT, RIGHT, HOME, END, UP, DOWN = "\x1b[D", "\x1b[C", "\x1b[H", "\x1b[F", "\x1b[A", "\x1b[B"
BACKSPACE, DELETE, ESC = "\x7f", "\x1b[3~", "\x1b"
CTRL_C, CTRL_D, CTRL_J, CTRL_K, CTRL_U, CTRL_V, CTRL_W = "\x03", "\x04", "\n", "\v", "\x15", "\x16", "\x17"
ADD_WORK = "1\r2\rAnn Lee\r010-1234-5678\r"  # up to the team, typed at a terminal
# What each key leaves of "ab cd" with the cursor at its start, before "cd", at its end, and of an
# empty line; None where it ends input.
KEYS = {CTRL_D: ("b cd", "ab d", "ab cd", None), DELETE: ("b cd", "ab d", "ab cd", ""),
        BACKSPACE: ("ab cd", "abcd", "ab c", ""), CTRL_K: ("", "ab ", "ab cd", ""),
        CTRL_U: ("", "", "", ""), CTRL_W: ("ab cd", "cd", "ab ", "")}
PLACES = ("ab cd" + HOME, "ab cd" + HOME + RIGHT * 3, "ab cd", "")

# pexpect's reader of pipes is written for older Pythons.
pytestmark = pytest.mark.filterwarnings("ignore:setDaemon:DeprecationWarning")

LIMITS = {"address space": resource.RLIMIT_AS, "file size": resource.RLIMIT_FSIZE}
WINDOWS_HAS_NO = {
    "stdout": "/dev/full, a device that refuses every write as a full disk does",
    "stdin": "way to open a directory as a file",
    "address space": "limit on a process's address space (setrlimit)",
    "file size": "limit on the size of the files a process writes (setrlimit)",
    "terminal": "pseudo-terminal",
    "line editor": "pseudo-terminal",
    "TZ": "POSIX TZ: it takes its time zone from its own settings",
}


def invalid(label):
    return f"Invalid {label}.\n" + RETRY


def on_screen(text):
    """The text as a terminal shows it, each line end as CR LF."""
    return text.replace("\n", "\r\n").encode()


class Program:
    """The program under test: how it is started, and how its output looks where it arrives."""

    def __init__(self, path):
        self.windows = path.endswith(".exe")
        self.command = ["wine", path] if self.windows else [path]
        with open(path, "rb") as binary:
            contents = binary.read()
        # The address sanitizer reserves terabytes of address space and keeps freed memory aside for
        # a while: the program's memory then says nothing about the program.
        self.sanitized = b"__asan_init" in contents
        self.editing = b"el_gets" in contents  # built with line editing

    def require(self, *needs):
        """Skips the test where the system or the build cannot give it what it needs."""
        for need in needs:
            if self.windows and need in WINDOWS_HAS_NO:
                pytest.skip("Windows has no " + WINDOWS_HAS_NO[need])
            if self.sanitized and need in ("address space", "memory"):
                pytest.skip("the address sanitizer's memory says nothing about the program's")
            if not self.editing and need == "line editor":
                pytest.skip("the program is built without line editing")

    def written(self, *pieces):
        """The output made of `pieces` as it reaches a pipe or a file, where Windows ends each
        line with CR LF; bytes among them are taken as they are."""
        text = b"".join(piece if isinstance(piece, bytes) else piece.encode() for piece in pieces)
        return text.replace(b"\n", b"\r\n") if self.windows else text

    def start(self, args=(), limits=(), **options):
        """Starts the program (subprocess.Popen with `options`) with `limits`, (resource, value)
        pairs, set in its process; a write beyond the file size limit fails there."""
        def limit():
            signal.signal(signal.SIGXFSZ, signal.SIG_IGN)
            for what, value in limits:
                resource.setrlimit(what, (value, value))
        return subprocess.Popen(self.command + list(args), preexec_fn=limit, **options)

    def run(self, input=b"", stdout=subprocess.PIPE, stderr=subprocess.PIPE, **options):
        """Runs the program to its end with `input` written to its standard input, unless a `stdin`
        among the options takes its place, and returns its output, errors (standard error's line
        ends as a line feed) and exit status."""
        with self.start(stdin=options.pop("stdin", subprocess.PIPE), stdout=stdout,
                        stderr=stderr, **options) as process:
            output, errors = process.communicate(None if process.stdin is None else input, 60)
        return output, (errors or b"").decode().replace("\r\n", "\n"), process.returncode


@pytest.fixture(scope="session")
def phonebook(pytestconfig):
    return Program(pytestconfig.getoption("program"))


def check(actual, expected):
    """Compares two outputs, showing where they part rather than both in full."""
    if actual != expected:
        at = 0
        while actual[at:at + 4096] == expected[at:at + 4096]:
            at += 4096
        while actual[at:at + 1] == expected[at:at + 1]:
            at += 1
        pytest.fail(f"the output ({len(actual)} bytes, not {len(expected)}) differs at byte {at}:\n"
                    f"  got      {actual[max(0, at - 60):at + 60]!r}\n"
                    f"  expected {expected[max(0, at - 60):at + 60]!r}")


@pytest.mark.parametrize("input, arrangement, output, errors, status", [
    pytest.param(b"\nhelp\r\nexit\r\n", {}, PROMPT + MENU + PROMPT + INVALID_COMMAND + PROMPT,
                 "", 0, id="a short session with CR LF line ends"),
    pytest.param(b"\nhelp\r\nexit\r\n", {"args": ["extra", "words"]},
                 PROMPT + MENU + PROMPT + INVALID_COMMAND + PROMPT, "", 0,
                 id="arguments, which are ignored"),
    pytest.param(b"\n", {}, PROMPT + MENU + PROMPT, "", 0, id="end of input ends the run"),
    pytest.param(b"\n\n\n", {"stdout": "/dev/full"}, None,
                 "phonebook: cannot write to standard output: No space left on device\n", 1,
                 id="a full disk"),
    pytest.param(b"", {"stdin": "/"}, PROMPT,
                 "phonebook: cannot read standard input: Is a directory\n", 1,
                 id="unreadable input"),
    pytest.param(LINE + b"\nexit\n", {"address space": 128 * MB}, PROMPT,
                 "phonebook: out of memory\n", 1, id="a line larger than the memory allowed"),
    # The second block of output goes only in part into a file that then cannot grow.
    pytest.param(b"\n" * 2000, {"file size": 100000}, (PROMPT + (MENU + PROMPT) * 2000)[:100000],
                 "phonebook: cannot write to standard output: File too large\n", 1,
                 id="a write taken in part"),
])
def test_session(phonebook, input, arrangement, output, errors, status):
    phonebook.require(*arrangement)
    options = {"args": arrangement.get("args", ()),
               "limits": [(LIMITS[need], value) for need, value in arrangement.items()
                          if need in LIMITS]}
    if "stdin" in arrangement:
        options["stdin"] = os.open(arrangement["stdin"], os.O_RDONLY)
    with open(arrangement["stdout"], "wb") if output is None else tempfile.TemporaryFile() as file:
        _, actual_errors, actual_status = phonebook.run(input, stdout=file, **options)
        if output is not None:
            file.seek(0)
            check(file.read(), phonebook.written(output))
    assert (actual_errors, actual_status) == (errors, status)
    if output is not None and "file size" not in arrangement:  # the message last in a shared pipe
        merged, _, merged_status = phonebook.run(input, stderr=subprocess.STDOUT, **options)
        check(merged, phonebook.written(output + errors))
        assert merged_status == status
    if "stdin" in options:
        os.close(options["stdin"])


@pytest.mark.parametrize("zone, hours", [(None, None), ("AHEAD-14", 14), ("BEHIND+12", -12)],
                         ids=["local time", "14 hours ahead of UTC", "12 hours behind UTC"])
def test_contacts_of_every_kind(phonebook, zone, hours):
    """Adds, lists and removes contacts of every kind; the family member's birthday is tomorrow
    where the program runs. A zone 14 hours ahead of UTC is on a later date than one 12 hours
    behind, at every moment, so at least one of the two is on another date than UTC."""
    if zone:
        phonebook.require("TZ")
    env = dict(os.environ, TZ=zone) if zone else None
    clock = datetime.timezone(datetime.timedelta(hours=hours)) if zone else None
    while True:  # until the run begins and ends on the same date
        today = datetime.datetime.now(clock).date()
        birthday = (today + datetime.timedelta(days=1)).strftime("99%m%d")
        output, errors, status = phonebook.run((
            ADD_PERSON + "1\n2\nBob Kim\n02-1234-5678\nSales\n"
            f"1\n3\nCy Oh\n010-0001-0001\n{birthday}\n1\n4\nDee Park\n02-0012-3456\n25\n"
            "2\n1\n3\nexit\n").encode(), env=env)
        if datetime.datetime.now(clock).date() == today:
            break
    check(output, phonebook.written(
        PERSON_ADDED, ASKED, PHONE, TEAM, ADDED, ASKED, PHONE, BIRTHDAY, ADDED, ASKED, PHONE, AGE,
        ADDED, PROMPT, INDEX, REMOVED, PROMPT, LISTING, "1. Bob Kim_02-1234-5678_Sales\n",
        f"2. Cy Oh_010-0001-0001_{birthday}_1\n", "3. Dee Park_02-0012-3456_25\n", PROMPT))
    assert (errors, status) == ("", 0)


def test_the_day_count_changes_when_local_midnight_passes_during_a_run(phonebook):
    """A zone is made up whose midnight comes seconds after the start; the same family member
    is listed before it, one day before the birthday, and after it, on the birthday itself."""
    phonebook.require("TZ")
    midnight = int(time.time()) + 3  # local time there is UTC plus `ahead` seconds
    ahead = -midnight % 86400
    day = datetime.datetime.fromtimestamp(midnight + ahead, datetime.timezone.utc)
    if (day.month, day.day) == (2, 29):
        pytest.skip("a birthday on 29 February cannot be typed")
    birthday = day.strftime("99%m%d")
    zone = f"LOCAL-{ahead // 3600}:{ahead // 60 % 60:02}:{ahead % 60:02}"
    with phonebook.start(stdin=subprocess.PIPE, stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                         env=dict(os.environ, TZ=zone)) as process:
        process.stdin.write(f"1\n3\nCy Oh\n010-0001-0001\n{birthday}\n3\n".encode())
        process.stdin.flush()
        time.sleep(max(0.0, midnight + 0.2 - time.time()))
        output, errors = process.communicate(b"3\nexit\n", 60)
    listed = PROMPT + LISTING + f"1. Cy Oh_010-0001-0001_{birthday}_"
    check(output, phonebook.written(ASKED, PHONE, BIRTHDAY, ADDED, listed, "1\n", listed, "0\n",
                                    PROMPT))
    assert (errors, process.returncode) == (b"", 0)


@pytest.mark.parametrize("before, after, output", [
    ("", "\nexit\n", [PROMPT, INVALID_COMMAND, PROMPT]),
    ("1\n", "\n" + ADD_PERSON[2:] + "exit\n",
     [PROMPT, TYPES, PROMPT, NOT_AN_INTEGER, TYPES, PROMPT, NAME, PHONE, ADDED, PROMPT]),
    ("1\n1\n", "\nAnn Lee\n010-1234-5678\nexit\n",
     [ASKED, invalid("Name"), NAME, PHONE, ADDED, PROMPT]),
    ("1\n1\nAnn Lee\n", "\n010-1234-5678\nexit\n",
     [ASKED, PHONE, invalid("Phone number"), PHONE, ADDED, PROMPT]),
    ("1\n4\nAnn Lee\n010-1234-5678\n", "\n7\nexit\n",
     [ASKED, PHONE, AGE, invalid("Age"), AGE, ADDED, PROMPT]),
    ("1\n3\nAnn Lee\n010-1234-5678\n", "\n",
     [ASKED, PHONE, BIRTHDAY, invalid("Birthday"), BIRTHDAY]),
    (ADD_PERSON + "2\n", "\n1\nexit\n",
     [PERSON_ADDED, PROMPT, INDEX, NOT_AN_INTEGER, INDEX, REMOVED, PROMPT]),
    ("1\n2\nAnn Lee\n010-1234-5678\n", "\n3\nexit\n",
     [ASKED, PHONE, TEAM, ADDED, PROMPT, LISTING, "1. Ann Lee_010-1234-5678_", LINE, "\n", PROMPT]),
], ids=["command", "type", "name", "phone number", "age", "birthday, then end of input", "index",
        "team, taken and listed"])
def test_line_of_100_megabytes(phonebook, before, after, output):
    """A line of 100 MB at every question, refused or taken: in memory once while it is read (and
    64 MB of it twice as its buffer last doubles), and at the last prompt only where it is stored.
    Memory is read while the program waits at its last prompt, once all its output is there."""
    expected = phonebook.written(*output)
    last = max(1, after.rfind("\n", 0, len(after) - 1) + 1)  # where the last line begins
    with tempfile.TemporaryFile() as file, phonebook.start(
            stdin=subprocess.PIPE, stdout=file, stderr=subprocess.PIPE) as process:
        for piece in before.encode(), LINE, after[:last].encode():
            process.stdin.write(piece)
        process.stdin.flush()
        deadline = time.time() + 60
        while os.fstat(file.fileno()).st_size < len(expected) and time.time() < deadline:
            time.sleep(0.01)
        with open(f"/proc/{process.pid}/status") as status:  # the peak so far and what is held now
            memory = dict(line.split()[:2] for line in status if line.startswith("Vm"))
        _, errors = process.communicate(after[last:].encode(), 60)
        file.seek(0)
        check(file.read(), expected)
    assert (errors, process.returncode) == (b"", 0)
    if not (phonebook.windows or phonebook.sanitized):
        stored = len(LINE) if LINE in output else 0
        assert int(memory["VmHWM:"]) * 1024 < 140 * MB
        assert int(memory["VmRSS:"]) * 1024 < stored + 24 * MB


def test_end_when_the_reader_of_the_output_has_gone(phonebook):
    """Nothing is typed and input stays open: only the broken pipe can end the run."""
    reading, writing = os.pipe()
    os.close(reading)
    with phonebook.start(stdin=subprocess.PIPE, stdout=writing, stderr=subprocess.PIPE) as process:
        os.close(writing)
        status = process.wait(60)
        errors = process.stderr.read().decode().replace("\r\n", "\n")
    if phonebook.windows:  # no signal for it there: the write fails like any other
        assert (errors, status) == ("phonebook: cannot write to standard output: Broken pipe\n", 1)
    else:
        assert status == -signal.SIGPIPE


@pytest.mark.parametrize("over, typed_in, steps, written", [
    pytest.param("pipes", None, [
        ("", PROMPT), ("1\n", TYPES + PROMPT), ("2\n", NAME), ("Ann Lee\n", PHONE),
        ("010-1234-5678\n", TEAM), (f"Sa{ESC}les\n", ADDED + PROMPT),
        ("3\n", LISTING + f"1. Ann Lee_010-1234-5678_Sa{ESC}les\n" + PROMPT), ("2\n", INDEX),
        ("1\n", REMOVED + PROMPT), ("3\n", LISTING + PROMPT), ("exit\n", "")], None,
        id="every prompt is there before the program waits on a pipe; stored bytes as they are"),
    pytest.param("terminal", None, [("", PROMPT), ("\r", MENU + PROMPT), (EOF, "\n")], None,
                 id="Ctrl-D at a terminal ends the run on a fresh line"),
    pytest.param("terminal", f"\n1\n2\nAnn Lee\n010-1234-5678\nSa{ESC}les\x9bé\n3\n", [
        ("", PROMPT + MENU + PROMPT + TYPES + PROMPT + NAME + PHONE + TEAM + ADDED + PROMPT +
         LISTING + "1. Ann Lee_010-1234-5678_Sa^[lesM-BM-^[é\n" + PROMPT + "\n")], None,
                 id="the terminal shows output of input from a file, stored controls escaped, and a fresh line"),
    pytest.param("terminal", None, [("\n", ""), ("bogus", ""), (EOF, ""), (EOF, "")],
                 PROMPT + MENU + PROMPT + INVALID_COMMAND + PROMPT,
                 id="output to a file from the terminal, with no fresh line; input that has ended stays ended"),
])
def test_conversation(phonebook, tmp_path, over, typed_in, steps, written):
    """Types each step's keys and waits for its answer before typing on; the whole screen is
    compared at the end, unless keys edited a line, which the line editor redraws in its own way.
    `typed_in` is standard input from a file instead of the keyboard; `written`, when given, is what
    the program wrote into a file as its standard output."""
    phonebook.require(over)
    if typed_in is not None:
        (tmp_path / "input").write_text(typed_in)

    def redirect():  # in the program's process, before it starts
        if typed_in is not None:
            os.dup2(os.open(tmp_path / "input", os.O_RDONLY), 0)
        if written is not None:
            os.dup2(os.open(tmp_path / "output", os.O_WRONLY | os.O_CREAT, 0o600), 1)

    if over != "pipes":
        program = pexpect.spawn(phonebook.command[0], phonebook.command[1:], timeout=10,
                                preexec_fn=redirect, env=TERMINAL)
        shown = on_screen  # the terminal also echoes what is typed
        echo = lambda text: shown(text.replace("\r", "\n")) if text.rstrip("\r\n").isprintable() \
            else None
    else:
        program = pexpect.popen_spawn.PopenSpawn(phonebook.command, timeout=10)
        shown, echo = phonebook.written, lambda text: b""
    screen = program.logfile_read = io.BytesIO()
    expected = b""
    for typed, answer in steps:
        if typed is EOF:
            program.sendeof()
        else:
            program.send(typed)
            expected = None if expected is None or echo(typed) is None else expected + echo(typed)
        if expected is not None:
            expected += shown(answer)
        if answer:
            program.expect_exact(shown(answer))
    program.expect(pexpect.EOF)
    if expected is not None:
        check(screen.getvalue(), expected)
    assert program.wait() == 0
    if written is not None:
        check((tmp_path / "output").read_bytes(), phonebook.written(written))


def at_editor(phonebook, tmp_path, env=(), errors="terminal"):
    """The program at its prompt at a terminal, `env` changing its environment (None unsets)."""
    def redirect():
        if errors != "terminal":
            os.close(2)
        if errors == "file":
            os.open(tmp_path / "errors", os.O_WRONLY | os.O_CREAT, 0o600)  # as descriptor 2
    environment = {name: value for name, value in dict(TERMINAL, **dict(env)).items() if value}
    program = pexpect.spawn(phonebook.command[0], timeout=20, preexec_fn=redirect, env=environment)
    program.delaybeforesend = None  # the line editor takes keys typed ahead
    program.expect_exact(PROMPT)
    return program


def answered(program, keys, answer, timeout=20):
    """Types `keys` from a thread of its own while `answer` is awaited: the echo of a long text is
    read as it comes, so the terminal never fills with it while typing waits on the program."""
    def type_all(data=keys.encode()):
        while data:
            data = data[os.write(program.child_fd, data):]
    typist = threading.Thread(target=type_all, daemon=True)
    typist.start()
    program.expect_exact(answer, timeout=timeout)
    typist.join()


def teams_typed(program, rows):
    """Types each row's lines, then its keys at a new work contact's team; returns the teams."""
    for lines, keys in rows:
        for line in lines:
            program.send(line + "\r")
            program.expect_exact(PROMPT)
        program.send(ADD_WORK)
        program.expect_exact(TEAM)  # the keys go to the editor, not to the terminal's own editing
        answered(program, keys + "\r", on_screen(ADDED + PROMPT))
    program.send("3\r")
    program.expect_exact(on_screen(LISTING))
    program.expect_exact(PROMPT)
    return [line.split("_", 2)[-1] for line in program.before.decode().split("\r\n")[:-1]]


@pytest.mark.parametrize("locale, term, errors, editrc", [
    (None, "xterm", "terminal", None), ("C", "dumb", "file", "HOME"),
    ("C.UTF-8", "vt100", "closed", "EDITRC"), ("xx_XX.UTF-8", None, "terminal", None)])
def test_keys_at_the_line_editor(phonebook, tmp_path, locale, term, errors, editrc):
    """Editing keys, Home, End, Ctrl-V, UTF-8, Up, Down and ~/.editrc store what the screen shows."""
    phonebook.require("line editor")
    (tmp_path / ".editrc").write_text("bind ^G ed-move-to-end\n")
    rows = [((), place + key, left) for key, lefts in KEYS.items()
            for place, left in zip(PLACES, lefts) if left is not None]
    rows += [((), f"Ann Lee{home}H{end}E{left}{left}{DELETE}", "HAnn LeE")
             for home, end, left in [("\x1b[1~", "\x1b[4~", LEFT), ("\x1b[7~", "\x1b[8~", "\x1bOD"),
                                     (HOME, END, LEFT), ("\x1bOH", "\x1bOF", "\x1bOD")]]
    rows += [((), f"Bo{CTRL_V}{CTRL_J}x{CTRL_V}\ry Kim", "Boxy Kim"),
             ((), f"Sa{CTRL_V}{ESC}le{CTRL_V}{CTRL_C}s", "Sa^[le^Cs"),
             ((), f"junk{CTRL_U}é Dx{HOME}C{END}{BACKSPACE}o{LEFT}x",
              "C Dxo" if locale == "C" else "Cé Dxo"),
             ((), f"ab{HOME}\x07c", "abc" if editrc else "cab"),
             (("X ",), UP * 5, "X "), (("a", "", "b", "b"), UP * 6, "a"),  # as typed; no "", no repeat
             ((), "draft" + UP * 2 + DOWN * 2, "draft")]
    env = {"LC_ALL": locale, "TERM": term, "HOME": editrc and str(tmp_path),
           "EDITRC": editrc == "EDITRC" and str(tmp_path / ".editrc")}
    program = at_editor(phonebook, tmp_path, env, errors)
    assert teams_typed(program, [row[:2] for row in rows]) == [row[2] for row in rows]
    program.send(ADD_WORK)
    program.expect_exact(TEAM)
    program.send(CTRL_D)
    program.expect(pexpect.EOF)
    assert (program.before, program.wait()) == (b"\r\n", 0)
    assert errors != "file" or (tmp_path / "errors").read_bytes() == b""


def test_long_lines_and_many_at_a_terminal(phonebook, tmp_path):
    """Long lines and many are taken whole and not held; Ctrl-C stops a listing where it is."""
    phonebook.require("line editor")
    program = at_editor(phonebook, tmp_path)

    name = "A" * 3000 + " " + "B" * 3000
    program.send("1\r1\r")
    program.expect_exact(NAME)
    answered(program, name + "\r", PHONE)
    program.send("010-1234-5678\r")
    program.expect_exact(on_screen(ADDED + PROMPT))
    program.send("3\r")
    program.expect_exact(f"1. {name}_010-1234-5678\r\n{PROMPT}")
    answered(program, "x" * 1100000 + "\r", on_screen(INVALID_COMMAND + PROMPT), 120)
    many = [f"n{n:03}" + "y" * 996 for n in range(501)]
    assert teams_typed(program, [((), UP * 5), (many, UP * 600)])[1:] == ["3", many[5]]
    if not phonebook.sanitized:
        with open(f"/proc/{program.pid}/status") as status:
            held = int(next(line.split()[1] for line in status if line.startswith("VmRSS:")))
        assert held * 1024 < 24 * MB
    teams_typed(program, [((), "t" * 20000)] + [((), UP * 5)] * 19)
    program.send("3\r")
    time.sleep(1)  # the terminal is not read meanwhile: the program waits to write
    program.send(CTRL_C)
    program.expect_exact("\r\n" + PROMPT)
    assert program.before.count(b"t") < 200000
    program.send("exit\r")
    program.expect(pexpect.EOF)
    assert program.wait() == 0


def test_the_terminal_after_ctrl_z_and_ctrl_c(phonebook):
    """In a shell with job control: Ctrl-Z stops the program and fg brings it back, the line typed
    so far still there; Ctrl-C abandons a line; after exit the terminal echoes and reads whole
    lines again, as the shell's read shows: Backspace is taken by the terminal."""
    phonebook.require("line editor")
    shell = pexpect.spawn("sh", ["-i"], timeout=10, env=dict(TERMINAL, PS1="$ "))
    shell.expect_exact("$ ")
    shell.sendline(phonebook.command[0])
    shell.expect_exact(PROMPT)
    shell.send("1\r1\r")
    shell.expect_exact(NAME)
    shell.send("Ann Le")
    shell.expect_exact("Ann Le")
    shell.sendcontrol("z")
    shell.expect_exact("$ ")
    shell.sendline("fg")
    shell.expect_exact(NAME + "Ann Le")
    shell.send(f"{LEFT}x{END}e\r010-1234-5678\r3\r")
    shell.expect_exact(on_screen(LISTING + "1. Ann Lxee_010-1234-5678\n" + PROMPT))
    shell.send("bogus" + CTRL_C)
    shell.expect_exact("\r\n" + PROMPT)
    shell.send("exit\r")
    shell.expect_exact("$ ")
    shell.sendline('echo "status $?"; read line; echo "[$line]"')
    shell.expect_exact("status 0")
    shell.send(f"ab{BACKSPACE}c\r")
    shell.expect_exact("ab\b \bc\r\n[ac]")
    shell.sendline("exit")
    shell.expect(pexpect.EOF)


def test_ctrl_z_ends_input_at_a_windows_console(phonebook):
    """Under Wine on a pseudo-terminal, which Wine makes a Windows console, with the terminal's
    suspend key off: Ctrl-Z within a line is data, at a line's start (then Enter) the end of input.
    The screen is compared without the escape sequences with which Wine draws its console."""
    if not phonebook.windows:
        pytest.skip("Ctrl-Z ends input at a Windows console only")
    program = pexpect.spawn("sh", ["-c", 'stty susp undef && exec "$@"', "sh"] + phonebook.command,
                            timeout=30)
    screen = program.logfile_read = io.BytesIO()
    program.expect_exact(PROMPT)
    program.send("a\x1a\r")
    program.expect_exact(PROMPT)
    program.send("\x1a\r")
    program.expect(pexpect.EOF)
    shown = re.sub(rb"\x1b\[[0-9;?]*[A-Za-z]|\r", b"", screen.getvalue())
    check(shown, f"{PROMPT}a^Z\n{INVALID_COMMAND}{PROMPT}^Z\n\n".encode())
    assert program.wait() == 0
