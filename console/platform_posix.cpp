// The operating system's side of the program on POSIX systems.
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>

#include "console/platform.h"

#if PHONEBOOK_LINE_EDITING
#include <histedit.h>
#include <termios.h>

#include <algorithm>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <string>
#include <utility>

#include "console/line_history.h"
#endif

namespace phonebook::platform {

namespace {

// Set by SIGINT (Ctrl-C) once lines are typed at the line editor, until taken.
volatile std::sig_atomic_t interruptPending = 0;

bool takeInterrupt() {
  const bool pending = interruptPending != 0;
  interruptPending = 0;
  return pending;
}

}  // namespace

Transfer readStandardInput(char* data, std::size_t size) {
  for (;;) {
    const ssize_t n = ::read(STDIN_FILENO, data, size);
    if (n >= 0) {
      return {static_cast<std::size_t>(n), 0};
    }
    if (errno != EINTR) {
      return {0, errno};
    }
  }
}

Transfer writeStandardOutput(const char* data, std::size_t size) {
  std::size_t written = 0;
  while (written < size) {
    if (takeInterrupt()) {
      return {written, 0, true};
    }
    const ssize_t n = ::write(STDOUT_FILENO, data + written, size - written);
    if (n < 0) {
      if (errno == EINTR) {
        continue;
      }
      return {written, errno};
    }
    written += static_cast<std::size_t>(n);
  }
  return {written, 0};
}

bool standardOutputIsTerminal() { return ::isatty(STDOUT_FILENO) == 1; }

bool toLocalTime(std::time_t time, std::tm& local) {
  return ::localtime_r(&time, &local) != nullptr;
}

#if PHONEBOOK_LINE_EDITING

namespace {

extern "C" void noteInterrupt(int /*signal*/) { interruptPending = 1; }

constexpr EditedLine endOfInput = {{}, true};
constexpr EditedLine abandonedLine = {{}, false, true};

// The failure of the read that just failed; `otherwise` where it left no error number.
EditedLine failedRead(int otherwise) { return {{}, false, false, errno != 0 ? errno : otherwise}; }

// libedit with its emacs keys, and the user's own settings from ~/.editrc (or the file EDITRC
// names) on top. The lines typed in this run are kept for Up and Down in a LineHistory, never
// written anywhere. The editor is made at its first line, and made anew after a line longer than
// longLine, so that it lets go of the memory such a line took.
//
// Ctrl-C is a key while a line is edited: the terminal sends no SIGINT for it then. At other
// times, while output goes to the terminal, SIGINT stops the output instead of the program.
class Editline final : public LineEditor {
 public:
  Editline() = default;
  ~Editline() override {
    end();
    if (history_ != nullptr) {
      ::history_end(history_);
    }
  }
  Editline(const Editline&) = delete;
  Editline& operator=(const Editline&) = delete;

  EditedLine editLine(std::string_view prompt) override {
    if (tookLongLine_) {
      end();
      tookLongLine_ = false;
    }
    if (editor_ == nullptr && !start()) {
      return failedRead(ENOMEM);
    }
    prompt_.assign(prompt);
    abandoned_ = false;
    takeInterrupt();  // a Ctrl-C while the program was busy has nothing left to stop
    int count = 0;
    errno = 0;
    const char* const line = ::el_gets(editor_, &count);
    if (abandoned_) {
      return abandonedLine;
    }
    if (line == nullptr) {
      if (count < 0 && errno == EINTR && takeInterrupt()) {  // SIGINT sent by another program
        std::fputs("\n", stdout);  // where the editor writes, and as it would have
        std::fflush(stdout);
        return abandonedLine;
      }
      return count < 0 ? failedRead(EIO) : endOfInput;
    }
    // The length from the text: some libedit releases count characters, not bytes.
    std::string_view text(line);
    if (text.ends_with('\n')) {
      text.remove_suffix(1);
    }
    if (text.size() > longLine) {
      tookLongLine_ = true;
    }
    if (lines_.add(text)) {
      remember();
    }
    return {text};
  }

 private:
  bool start() {
    if (history_ == nullptr) {  // the first line of the run
      setLocale();
      struct sigaction interrupt = {};
      if (::sigaction(SIGINT, nullptr, &interrupt) == 0 && interrupt.sa_handler != SIG_IGN) {
        interrupt.sa_handler = noteInterrupt;
        interrupt.sa_flags = 0;  // not restarted: a write that waits for the terminal ends at once
        ::sigemptyset(&interrupt.sa_mask);
        ::sigaction(SIGINT, &interrupt, nullptr);
      }
      history_ = ::history_init();
      if (history_ == nullptr) {
        return false;
      }
      HistEvent event;
      ::history(history_, &event, H_SETSIZE, static_cast<int>(LineHistory::mostLines));
    }
    editor_ = ::el_init("phonebook", stdin, stdout, stderr);
    if (editor_ == nullptr) {
      return false;
    }
    ::el_set(editor_, EL_CLIENTDATA, this);
    ::el_set(editor_, EL_PROMPT, &Editline::prompt);
    ::el_set(editor_, EL_EDITOR, "emacs");
    ::el_set(editor_, EL_HIST, ::history, history_);
    // The terminal's settings are put back when a signal stops or ends the program at the prompt.
    ::el_set(editor_, EL_SIGNAL, 1);
    ::el_source(editor_, nullptr);  // the user's settings

    // Wide texts, which the editor keeps as they are (narrow ones it copies and never frees).
    ::el_wset(editor_, EL_ADDFN, L"phonebook-delete-or-end",
              L"Delete the character under the cursor; end input on an empty line", &deleteOrEnd);
    ::el_wset(editor_, EL_ADDFN, L"phonebook-abandon", L"Abandon the line", &abandon);
    ::el_wset(editor_, EL_ADDFN, L"phonebook-quoted-insert",
              L"Insert the next key as it is, unless it ends a line", &quotedInsert);
    ::el_set(editor_, EL_BIND, "^D", "phonebook-delete-or-end", nullptr);
    ::el_set(editor_, EL_BIND, "^V", "phonebook-quoted-insert", nullptr);
    ::el_set(editor_, EL_BIND, "^C", "phonebook-abandon", nullptr);
    ::el_set(editor_, EL_BIND, "-a", "^C", "phonebook-abandon", nullptr);
    ::el_set(editor_, EL_SETTY, "-d", "-intr", "intr=", nullptr);  // Ctrl-C as a key, not a signal
    const char* mode = nullptr;
    if (::el_get(editor_, EL_EDITOR, &mode) == 0 && std::string_view(mode) == "emacs") {
      // Home, End and Delete as terminals send them, whatever the terminal type says.
      for (const auto& [keys, function] : {std::pair{"\\e[1~", "ed-move-to-beg"},
                                           {"\\e[7~", "ed-move-to-beg"},
                                           {"\\e[4~", "ed-move-to-end"},
                                           {"\\e[8~", "ed-move-to-end"},
                                           {"\\e[3~", "ed-delete-next-char"}}) {
        ::el_set(editor_, EL_BIND, keys, function, nullptr);
      }
    }
    return true;
  }

  // Characters beyond ASCII are read in the locale that LC_ALL, LC_CTYPE or LANG names; as UTF-8,
  // which terminals write today, where none is named or the one named is not installed.
  static void setLocale() {
    const bool named = std::any_of(std::begin(localeVariables), std::end(localeVariables),
                                   [](const char* variable) {
                                     const char* const name = std::getenv(variable);
                                     return name != nullptr && *name != '\0';
                                   });
    if (!named || std::setlocale(LC_CTYPE, "") == nullptr) {
      std::setlocale(LC_CTYPE, "C.UTF-8");
    }
  }
  static constexpr const char* localeVariables[] = {"LC_ALL", "LC_CTYPE", "LANG"};

  // Hands lines_ to the editor's history, which drops one trailing space from a line it calls
  // back: a line that ends in a space is given to it with one more.
  void remember() {
    HistEvent event;
    ::history(history_, &event, H_CLEAR);
    for (const std::string& line : lines_.lines()) {
      ::history(history_, &event, H_ENTER, (line + (line.ends_with(' ') ? " " : "")).c_str());
    }
  }

  void end() {
    if (editor_ != nullptr) {
      ::el_end(editor_);
      editor_ = nullptr;
    }
  }

  static Editline& self(EditLine* editor) {
    void* self = nullptr;
    ::el_get(editor, EL_CLIENTDATA, &self);
    return *static_cast<Editline*>(self);
  }

  static char* prompt(EditLine* editor) { return self(editor).prompt_.data(); }

  // Ctrl-D ends input on an empty line, as at a shell, and writes nothing: the program then ends
  // on a line of its own. Inside a line it deletes the character under the cursor.
  static unsigned char deleteOrEnd(EditLine* editor, int /*key*/) {
    const LineInfo* const line = ::el_line(editor);
    if (line->buffer == line->lastchar) {
      return CC_EOF;
    }
    if (line->cursor == line->lastchar) {
      return CC_ERROR;
    }
    ::el_cursor(editor, 1);
    ::el_deletestr(editor, 1);
    return CC_REFRESH;
  }

  // Ctrl-C: the line is ended as Enter ends it, the cursor going below it, and is abandoned.
  static unsigned char abandon(EditLine* editor, int /*key*/) {
    self(editor).abandoned_ = true;
    ::el_push(editor, "\n");
    return CC_NORM;
  }

  // Ctrl-V: the next key is put in the line as it is, a control key included, with the terminal
  // holding back none (Ctrl-C, Ctrl-Z, Ctrl-S, Ctrl-Q). A line end is not put in, since it would
  // make two answers of one line: Ctrl-V then Enter or Ctrl-J only beeps.
  static unsigned char quotedInsert(EditLine* editor, int /*key*/) {
    termios editing = {};
    const bool held = ::tcgetattr(STDIN_FILENO, &editing) == 0;
    if (held) {
      termios raw = editing;
      raw.c_lflag &= ~static_cast<tcflag_t>(ISIG | IEXTEN);
      raw.c_iflag &= ~static_cast<tcflag_t>(IXON | ICRNL | INLCR | IGNCR);
      ::tcsetattr(STDIN_FILENO, TCSADRAIN, &raw);
    }
    wchar_t key = 0;
    const int read = ::el_wgetc(editor, &key);
    if (held) {
      ::tcsetattr(STDIN_FILENO, TCSADRAIN, &editing);
    }
    if (read != 1) {
      return CC_EOF;
    }
    if (key == L'\n' || key == L'\r' || key == L'\0') {
      return CC_ERROR;
    }
    const wchar_t text[] = {key, L'\0'};
    ::el_winsertstr(editor, text);
    return CC_REFRESH;
  }

  EditLine* editor_ = nullptr;
  History* history_ = nullptr;
  LineHistory lines_;
  std::string prompt_;
  bool abandoned_ = false;
  bool tookLongLine_ = false;
};

}  // namespace

LineEditor* terminalLineEditor() {
  if (::isatty(STDIN_FILENO) != 1 || ::isatty(STDOUT_FILENO) != 1) {
    return nullptr;
  }
  static Editline editor;
  return &editor;
}

#else

LineEditor* terminalLineEditor() { return nullptr; }

#endif

}  // namespace phonebook::platform
