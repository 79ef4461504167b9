// The operating system's side of the program on POSIX systems.
#include <unistd.h>

#include <cerrno>

#include "console/platform.h"

#if PHONEBOOK_LINE_EDITING
#include <histedit.h>

#include <clocale>
#include <string>
#endif

namespace phonebook::platform {

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

// libedit with its emacs keys. The lines typed in this run are kept for Up and Down in a history
// in memory, never written anywhere; it holds the last historySize lines that are not empty, each
// once, and none longer than longLine. The editor is made at its first line, and made anew after
// a line longer than longLine, so that it lets go of the memory such a line took.
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
      return {{}, errno != 0 ? errno : ENOMEM};
    }
    prompt_.assign(prompt);
    int count = 0;
    errno = 0;
    const char* const line = ::el_gets(editor_, &count);
    if (line == nullptr || count <= 0) {
      return {{}, count < 0 ? (errno != 0 ? errno : EIO) : 0};
    }
    const std::string_view text(line, static_cast<std::size_t>(count));
    if (text.size() > longLine) {
      tookLongLine_ = true;
    } else if (text != "\n") {
      HistEvent event;
      ::history(history_, &event, H_ENTER, line);
    }
    return {text};
  }

 private:
  static constexpr int historySize = 500;

  bool start() {
    if (history_ == nullptr) {  // the first line of the run
      // Characters beyond ASCII are read in the user's locale; where none is set (the C locale,
      // which has none of them), as UTF-8, which terminals write today.
      const char* const locale = std::setlocale(LC_CTYPE, "");
      if (locale == nullptr || std::string_view(locale) == "C" ||
          std::string_view(locale) == "POSIX") {
        std::setlocale(LC_CTYPE, "C.UTF-8");
      }
      history_ = ::history_init();
      if (history_ == nullptr) {
        return false;
      }
      HistEvent event;
      ::history(history_, &event, H_SETSIZE, historySize);
      ::history(history_, &event, H_SETUNIQUE, 1);
    }
    editor_ = ::el_init("phonebook", stdin, stdout, stderr);
    if (editor_ == nullptr) {
      return false;
    }
    ::el_set(editor_, EL_CLIENTDATA, this);
    ::el_set(editor_, EL_PROMPT, &Editline::prompt);
    ::el_set(editor_, EL_EDITOR, "emacs");
    ::el_set(editor_, EL_HIST, ::history, history_);
    // The terminal's settings are put back when a signal ends or stops the program at the prompt.
    ::el_set(editor_, EL_SIGNAL, 1);
    // Wide texts, which the editor keeps as they are (narrow ones it copies and never frees).
    ::el_wset(editor_, EL_ADDFN, L"phonebook-delete-or-end",
              L"Delete the character under the cursor; end input on an empty line", &deleteOrEnd);
    ::el_set(editor_, EL_BIND, "^D", "phonebook-delete-or-end", nullptr);
    return true;
  }

  void end() {
    if (editor_ != nullptr) {
      ::el_end(editor_);
      editor_ = nullptr;
    }
  }

  static char* prompt(EditLine* editor) {
    void* self = nullptr;
    ::el_get(editor, EL_CLIENTDATA, &self);
    return static_cast<Editline*>(self)->prompt_.data();
  }

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

  EditLine* editor_ = nullptr;
  History* history_ = nullptr;
  std::string prompt_;
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
