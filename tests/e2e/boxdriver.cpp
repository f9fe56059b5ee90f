// The box driver: starts a command line in a folder, watches every message
// box of that process and of the processes it starts, writes down what each
// box shows and answers it as the plan says.
//
//   boxdriver PLAN RECORDS       run the plan, write the records
//   boxdriver --describe RECORDS write what this Windows is like (code pages,
//                                environment) for the scenario runner
//   boxdriver --hold             keep a window open until ended: Wine's desktop
//                                stays up between runs then, and a run does not
//                                wait for a new one to start
//
// PLAN is written by run_scenario.py, one item a line, byte strings in hex
// (they are Windows-1250 bytes, as the programs pass them to the system):
//
//   folder <hex>                     the current folder of the started program
//   command <hex>                    its command line
//   timeout <ms>                     how long to wait for each box and for the end
//   box <button> <caption> <text>    the next box expected, and the button to press
//
// In the command line, captions and texts, "{window}" stands for a window of
// the driver's own (its handle's low 16 bits in decimal), which a program
// can be told to use as the owner of its boxes.
//
// RECORDS has one record a line, fields "name=value", byte strings in hex
// (the A fields as the ANSI functions give them, the W fields as UTF-16LE):
//
//   driver acp= oemcp= window= windowarg= desktop= standin= hook=
//   start pid= image= t=
//   process pid= image= t=
//   box n= pid= t= caption= captionw= text= textw= buttons= default= icon= owner=
//   press n= button=
//   exit pid= image= code=
//   error text=
//   end ok=
//
// The processes are all kept in one job; every process started by a process
// of the job belongs to it too, so boxes of a started program are seen like
// those of the first one, and the driver waits until the last of them ends.
// A box that is not the one expected, a button that the box does not have,
// a box that does not come in time and processes that do not end in time end
// the run: the job's processes are terminated and the driver exits with 2.
#include <windows.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

const char IconProperty[] = "OrvolaBoxIcon";  // set by boxhook.dll, see there
const char* const IconNames[] = {"unknown", "none", "warning", "question", "error",
                                 "information", "other"};

struct Button {
  int id;
  const char* name;
};
const Button Buttons[] = {{IDOK, "OK"},         {IDCANCEL, "CANCEL"}, {IDABORT, "ABORT"},
                          {IDRETRY, "RETRY"},   {IDIGNORE, "IGNORE"}, {IDYES, "YES"},
                          {IDNO, "NO"},         {IDTRYAGAIN, "TRYAGAIN"},
                          {IDCONTINUE, "CONTINUE"}, {IDHELP, "HELP"}};

struct ExpectedBox {
  std::string button, caption, text;
};

struct Plan {
  std::string folder, command;
  DWORD timeout = 30000;
  std::vector<ExpectedBox> boxes;
};

struct Process {
  DWORD pid = 0;
  HANDLE handle = nullptr;
  std::string image;
  bool ended = false;
};

FILE* Records = nullptr;
LARGE_INTEGER Frequency, StartCounter;

double MillisecondsSinceStart() {
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return double(now.QuadPart - StartCounter.QuadPart) * 1000.0 / double(Frequency.QuadPart);
}

std::string Hex(const void* data, size_t size) {
  static const char digits[] = "0123456789abcdef";
  std::string out;
  const unsigned char* p = static_cast<const unsigned char*>(data);
  for (size_t i = 0; i < size; ++i) {
    out += digits[p[i] >> 4];
    out += digits[p[i] & 15];
  }
  return out;
}
std::string Hex(const std::string& s) { return Hex(s.data(), s.size()); }
std::string Hex(const std::wstring& s) { return Hex(s.data(), s.size() * sizeof(wchar_t)); }

bool Unhex(const std::string& hex, std::string& out) {
  if (hex == "-") {  // the empty string
    out.clear();
    return true;
  }
  if (hex.size() % 2) return false;
  out.clear();
  for (size_t i = 0; i < hex.size(); i += 2) {
    char pair[3] = {hex[i], hex[i + 1], 0};
    char* end;
    const long value = std::strtol(pair, &end, 16);
    if (*end) return false;
    out += static_cast<char>(value);
  }
  return true;
}

void Record(const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::vfprintf(Records, format, args);
  va_end(args);
  std::fputc('\n', Records);
  std::fflush(Records);
}

// Ends the run with an error record; the text is ASCII.
std::string Failure;
void Fail(const char* format, ...) {
  char text[1024];
  va_list args;
  va_start(args, format);
  std::vsnprintf(text, sizeof text, format, args);
  va_end(args);
  if (Failure.empty()) Failure = text;
  std::fprintf(stderr, "boxdriver: %s\n", text);
  Record("error text=%s", Hex(std::string(text)).c_str());
}

bool ReadPlan(const char* path, Plan& plan) {
  FILE* f = std::fopen(path, "rb");
  if (!f) return false;
  std::string all;
  char chunk[4096];
  for (size_t n; (n = std::fread(chunk, 1, sizeof chunk, f)) > 0;) all.append(chunk, n);
  std::fclose(f);
  bool ok = true;
  size_t start = 0;
  while (ok && start < all.size()) {
    size_t end = all.find('\n', start);
    if (end == std::string::npos) end = all.size();
    std::string s = all.substr(start, end - start);
    start = end + 1;
    if (!s.empty() && s.back() == '\r') s.pop_back();
    if (s.empty()) continue;
    std::vector<std::string> fields;
    for (size_t from = 0;;) {
      const size_t blank = s.find(' ', from);
      fields.push_back(s.substr(from, blank - from));
      if (blank == std::string::npos) break;
      from = blank + 1;
    }
    if (fields[0] == "folder" && fields.size() == 2)
      ok = Unhex(fields[1], plan.folder);
    else if (fields[0] == "command" && fields.size() == 2)
      ok = Unhex(fields[1], plan.command);
    else if (fields[0] == "timeout" && fields.size() == 2)
      plan.timeout = std::strtoul(fields[1].c_str(), nullptr, 10);
    else if (fields[0] == "box" && fields.size() == 4) {
      ExpectedBox box;
      box.button = fields[1];
      ok = Unhex(fields[2], box.caption) && Unhex(fields[3], box.text);
      plan.boxes.push_back(box);
    } else
      ok = false;
  }
  return ok;
}

void Replace(std::string& s, const std::string& from, const std::string& to) {
  for (size_t at = s.find(from); at != std::string::npos; at = s.find(from, at + to.size()))
    s.replace(at, from.size(), to);
}

// Every message of the driver's thread is handled at once: a box owned by a
// window of the driver disables and enables that window, and the system
// waits for the driver's thread while it does.
void PumpMessages() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

void Pause(DWORD milliseconds) {
  MsgWaitForMultipleObjects(0, nullptr, FALSE, milliseconds, QS_ALLINPUT);
  PumpMessages();
}

HWND CreateDriverWindow(const char* className) {
  WNDCLASSA wc;
  std::memset(&wc, 0, sizeof wc);
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = className;
  RegisterClassA(&wc);
  return CreateWindowExA(0, className, className, WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr,
                         nullptr, wc.hInstance, nullptr);
}

// The text of a window of another process: WM_GETTEXT reaches controls too.
std::string WindowTextA(HWND window) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length))
    return std::string();
  std::vector<char> buffer(length * 2 + 2);
  DWORD_PTR copied = 0;
  SendMessageTimeoutA(window, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()),
                      SMTO_ABORTIFHUNG, 5000, &copied);
  return std::string(buffer.data(), copied);
}

std::wstring WindowTextW(HWND window) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length))
    return std::wstring();
  std::vector<wchar_t> buffer(length + 1);
  DWORD_PTR copied = 0;
  SendMessageTimeoutW(window, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()),
                      SMTO_ABORTIFHUNG, 5000, &copied);
  return std::wstring(buffer.data(), copied);
}

// The static control that holds a box's text: id 0xFFFF.
HWND TextControl(HWND box) { return GetDlgItem(box, 0xFFFF); }

bool HasButton(HWND box, int id) {
  const HWND button = GetDlgItem(box, id);
  return button && IsWindowVisible(button);
}

std::string ButtonsOf(HWND box) {
  std::string names;
  for (const Button& b : Buttons)
    if (HasButton(box, b.id)) {
      if (!names.empty()) names += ',';
      names += b.name;
    }
  return names.empty() ? "-" : names;
}

// The default button: the one drawn as the default push button, which
// Enter presses.  DM_GETDEFID does not tell it everywhere (Wine answers IDOK
// for a box without an OK button).
const char* DefaultButtonOf(HWND box) {
  for (const Button& b : Buttons)
    if (HasButton(box, b.id) &&
        (GetWindowLongA(GetDlgItem(box, b.id), GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON)
      return b.name;
  return "-";
}

int ButtonId(const std::string& name) {
  for (const Button& b : Buttons)
    if (name == b.name) return b.id;
  return 0;
}

std::string ImageOf(HANDLE process) {
  if (!process) return std::string();
  char path[MAX_PATH * 2];
  DWORD size = sizeof path;
  if (!QueryFullProcessImageNameA(process, 0, path, &size)) return std::string();
  return std::string(path, size);
}

class Run {
 public:
  explicit Run(const Plan& plan) : plan_(plan) {}

  bool Execute() {
    if (!Prepare()) return false;
    STARTUPINFOA startup;
    std::memset(&startup, 0, sizeof startup);
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info;
    std::string line = plan_.command;
    QueryPerformanceCounter(&StartCounter);
    if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr,
                        plan_.folder.empty() ? nullptr : plan_.folder.c_str(), &startup, &info)) {
      Fail("the command line could not be started (error %lu)", GetLastError());
      return false;
    }
    if (!AssignProcessToJobObject(job_, info.hProcess)) {
      Fail("the process could not be put into the job (error %lu)", GetLastError());
      TerminateProcess(info.hProcess, 1);
      return false;
    }
    Process first;
    first.pid = info.dwProcessId;
    first.handle = info.hProcess;
    first.image = ImageOf(info.hProcess);
    processes_.push_back(first);
    Record("start pid=%lu image=%s t=%.1f", info.dwProcessId, Hex(first.image).c_str(),
           MillisecondsSinceStart());
    ResumeThread(info.hThread);
    CloseHandle(info.hThread);

    const bool ok = Watch();
    if (!ok) Stop();
    WriteExits();
    return ok;
  }

 private:
  bool Prepare() {
    job_ = CreateJobObjectA(nullptr, nullptr);
    port_ = CreateIoCompletionPort(INVALID_HANDLE_VALUE, nullptr, 0, 1);
    JOBOBJECT_ASSOCIATE_COMPLETION_PORT association;
    association.CompletionKey = job_;
    association.CompletionPort = port_;
    if (!job_ || !port_ ||
        !SetInformationJobObject(job_, JobObjectAssociateCompletionPortInformation, &association,
                                 sizeof association)) {
      Fail("no job object with a completion port (error %lu)", GetLastError());
      return false;
    }
    // if the driver itself goes, its processes go with it
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits;
    std::memset(&limits, 0, sizeof limits);
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    SetInformationJobObject(job_, JobObjectExtendedLimitInformation, &limits, sizeof limits);
    return true;
  }

  // Takes the job's news: processes started and ended.
  void ReadJobMessages() {
    DWORD message;
    ULONG_PTR key;
    LPOVERLAPPED data;
    while (GetQueuedCompletionStatus(port_, &message, &key, &data, 0)) {
      const DWORD pid = static_cast<DWORD>(reinterpret_cast<ULONG_PTR>(data));
      if (message == JOB_OBJECT_MSG_NEW_PROCESS) {
        if (Live(pid)) continue;  // the first one, known already
        Process p;
        p.pid = pid;
        p.handle = OpenProcess(PROCESS_QUERY_INFORMATION | SYNCHRONIZE, FALSE, pid);
        p.image = ImageOf(p.handle);
        processes_.push_back(p);
        Record("process pid=%lu image=%s t=%.1f", pid, Hex(p.image).c_str(),
               MillisecondsSinceStart());
      } else if (message == JOB_OBJECT_MSG_EXIT_PROCESS ||
                 message == JOB_OBJECT_MSG_ABNORMAL_EXIT_PROCESS) {
        if (Process* p = Live(pid)) p->ended = true;
      } else if (message == JOB_OBJECT_MSG_ACTIVE_PROCESS_ZERO) {
        allEnded_ = true;
      }
    }
  }

  // The process of the job with this id that has not ended; process ids
  // are used again once a process has ended.
  Process* Live(DWORD pid) {
    for (Process& p : processes_)
      if (p.pid == pid && !p.ended) return &p;
    return nullptr;
  }

  // A shown message box of the job's processes, or none.
  HWND FindBox() {
    for (HWND w = FindWindowExA(nullptr, nullptr, "#32770", nullptr); w;
         w = FindWindowExA(nullptr, w, "#32770", nullptr)) {
      DWORD pid = 0;
      GetWindowThreadProcessId(w, &pid);
      if (Live(pid) && IsWindowVisible(w)) return w;
    }
    return nullptr;
  }

  bool Watch() {
    size_t next = 0;
    double deadline = MillisecondsSinceStart() + plan_.timeout;
    for (;;) {
      PumpMessages();
      ReadJobMessages();
      if (const HWND box = FindBox()) {
        if (!Answer(box, next)) return false;
        ++next;
        deadline = MillisecondsSinceStart() + plan_.timeout;
        continue;
      }
      if (allEnded_) {
        if (next < plan_.boxes.size()) {
          Fail("the processes ended, box %u did not come", unsigned(next + 1));
          return false;
        }
        return true;
      }
      if (MillisecondsSinceStart() > deadline) {
        if (next < plan_.boxes.size())
          Fail("box %u did not come within %lu ms", unsigned(next + 1), plan_.timeout);
        else
          Fail("the processes did not end within %lu ms of the last box", plan_.timeout);
        return false;
      }
      Pause(2);
    }
  }

  // Writes the box down, checks it is the one expected and presses its button.
  bool Answer(HWND box, size_t index) {
    const double seen = MillisecondsSinceStart();
    DWORD pid = 0;
    GetWindowThreadProcessId(box, &pid);
    // a process just started may not tell its program yet
    Process* process = Live(pid);
    if (process && process->image.empty() && !(process->image = ImageOf(process->handle)).empty())
      Record("process pid=%lu image=%s t=%.1f", pid, Hex(process->image).c_str(), seen);
    // the hook marks the box's icon while the box is being made; a box shown
    // without the mark has not passed the hook
    const HANDLE icon = GetPropA(box, IconProperty);
    const int iconIndex = reinterpret_cast<INT_PTR>(icon) >= 0 &&
                                  reinterpret_cast<INT_PTR>(icon) < 7
                              ? int(reinterpret_cast<INT_PTR>(icon))
                              : 0;
    const HWND textControl = TextControl(box);
    const std::string caption = WindowTextA(box);
    const std::string text = textControl ? WindowTextA(textControl) : std::string();
    const HWND owner = GetWindow(box, GW_OWNER);
    Record("box n=%u pid=%lu t=%.1f caption=%s captionw=%s text=%s textw=%s buttons=%s "
           "default=%s icon=%s owner=%lu",
           unsigned(index + 1), pid, seen, Hex(caption).c_str(), Hex(WindowTextW(box)).c_str(),
           Hex(text).c_str(),
           Hex(textControl ? WindowTextW(textControl) : std::wstring()).c_str(),
           ButtonsOf(box).c_str(), DefaultButtonOf(box), IconNames[iconIndex],
           static_cast<unsigned long>(reinterpret_cast<ULONG_PTR>(owner)));
    if (index >= plan_.boxes.size()) {
      Fail("box %u came, but no more boxes were expected", unsigned(index + 1));
      return false;
    }
    const ExpectedBox& expected = plan_.boxes[index];
    if (caption != expected.caption || text != expected.text) {
      Fail("box %u is not the box expected", unsigned(index + 1));
      return false;
    }
    const int id = ButtonId(expected.button);
    if (!id || !HasButton(box, id)) {
      Fail("box %u has no button %s", unsigned(index + 1), expected.button.c_str());
      return false;
    }
    Record("press n=%u button=%s", unsigned(index + 1), expected.button.c_str());
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(box, id)));
    const double gone = MillisecondsSinceStart() + plan_.timeout;
    while (IsWindow(box)) {
      if (MillisecondsSinceStart() > gone) {
        Fail("box %u did not close after %s was pressed", unsigned(index + 1),
             expected.button.c_str());
        return false;
      }
      Pause(1);
    }
    return true;
  }

  // Ends what still runs after a failure.
  void Stop() {
    TerminateJobObject(job_, 1);
    const double until = MillisecondsSinceStart() + 5000;
    while (!allEnded_ && MillisecondsSinceStart() < until) {
      ReadJobMessages();
      Pause(5);
    }
  }

  void WriteExits() {
    ReadJobMessages();
    for (Process& p : processes_) {
      const DWORD pid = p.pid;
      DWORD code = STILL_ACTIVE;
      if (p.handle) {
        WaitForSingleObject(p.handle, 2000);
        if (p.image.empty()) p.image = ImageOf(p.handle);
        GetExitCodeProcess(p.handle, &code);
      }
      if (p.handle)
        Record("exit pid=%lu image=%s code=%lu", pid, Hex(p.image).c_str(), code);
      else  // it ended before it could be looked at
        Record("exit pid=%lu image=- code=unknown", pid);
    }
  }

  const Plan& plan_;
  HANDLE job_ = nullptr, port_ = nullptr;
  std::vector<Process> processes_;  // in the order they started
  bool allEnded_ = false;
};

// The hook that tells the boxes' icons (boxhook.dll beside the driver).
HHOOK InstallIconHook() {
  char path[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
  std::string dll(path, length);
  dll = dll.substr(0, dll.find_last_of("\\/") + 1) + "boxhook.dll";
  const HMODULE module = LoadLibraryA(dll.c_str());
  if (!module) return nullptr;
  const HOOKPROC proc = reinterpret_cast<HOOKPROC>(
      reinterpret_cast<void*>(GetProcAddress(module, "BoxHook")));
  return proc ? SetWindowsHookExA(WH_CALLWNDPROCRET, proc, module, 0) : nullptr;
}

int RunPlan(const char* planPath) {
  Plan plan;
  if (!ReadPlan(planPath, plan)) {
    Fail("the plan cannot be read");
    return 2;
  }
  // a window of the driver's own, which a program can be told to own its boxes
  const HWND window = CreateDriverWindow("OrvolaBoxDriver");
  // The viewer's boxes belong to the shell's desktop window ("Progman") when
  // no window is named.  Without a shell there is none; a window of that
  // class plays it then, so that those boxes have an owner to check.
  HWND desktop = FindWindowA("Progman", nullptr);
  const bool standIn = desktop == nullptr;
  if (standIn) desktop = CreateDriverWindow("Progman");
  const std::string windowArgument =
      std::to_string(reinterpret_cast<ULONG_PTR>(window) & 0xFFFF);
  Replace(plan.command, "{window}", windowArgument);
  for (ExpectedBox& box : plan.boxes) {
    Replace(box.caption, "{window}", windowArgument);
    Replace(box.text, "{window}", windowArgument);
  }
  const HHOOK hook = InstallIconHook();
  Record("driver acp=%u oemcp=%u window=%lu windowarg=%s desktop=%lu standin=%d hook=%d",
         GetACP(), GetOEMCP(), static_cast<unsigned long>(reinterpret_cast<ULONG_PTR>(window)),
         windowArgument.c_str(),
         static_cast<unsigned long>(reinterpret_cast<ULONG_PTR>(desktop)), standIn ? 1 : 0,
         hook ? 1 : 0);
  Run run(plan);
  const bool ok = run.Execute();
  if (hook) UnhookWindowsHookEx(hook);
  Record("end ok=%d", ok ? 1 : 0);
  return ok ? 0 : 2;
}

void DescribeVariable(const char* name) {
  char value[32768];
  const DWORD length = GetEnvironmentVariableA(name, value, sizeof value);
  if (length > 0 && length < sizeof value)
    Record("env name=%s value=%s", Hex(std::string(name)).c_str(),
           Hex(std::string(value, length)).c_str());
}

int Describe() {
  Record("system acp=%u oemcp=%u", GetACP(), GetOEMCP());
  for (const char* name : {"TEMP", "TMP", "WINDIR", "USERPROFILE", "APPDATA", "PROGRAMFILES"})
    DescribeVariable(name);
  Record("end ok=1");
  return 0;
}

int Hold() {
  CreateDriverWindow("OrvolaBoxDriverHold");
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  QueryPerformanceFrequency(&Frequency);
  QueryPerformanceCounter(&StartCounter);
  if (argc == 2 && std::strcmp(argv[1], "--hold") == 0) return Hold();
  if (argc != 3) {
    std::fprintf(stderr, "usage: boxdriver PLAN RECORDS | boxdriver --describe RECORDS\n");
    return 2;
  }
  Records = std::fopen(argv[2], "wb");
  if (!Records) {
    std::fprintf(stderr, "boxdriver: cannot write %s\n", argv[2]);
    return 2;
  }
  const int code = std::strcmp(argv[1], "--describe") == 0 ? Describe() : RunPlan(argv[1]);
  std::fclose(Records);
  return code;
}
