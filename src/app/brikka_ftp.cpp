// brikka-ftp: the game's FTP client on the command line. Connects, runs each COMMAND in
// order in one session, then quits:
//
//   brikka-ftp [--active] [--ascii] [--timeout S] [--user U] [--password P] [--verbose]
//              HOST[:PORT] COMMAND...
//
// Each COMMAND is one argument holding the command and its operands ("get a.txt b.txt");
// quote an operand that has spaces in it ("get 'my file' copy"); a command of one operand
// takes the rest of its text ("rm my file"). Exit status 0 when every command succeeded
// (however the goodbye went), else the failing method's status (1 failed, 2 timed out,
// 3 cancelled); 64 for a bad command line. HOST is a name or an IPv4 address.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "net/cftp_client.h"
#include "net/cftp_error.h"
#include "net/host_port.h"
#include "platform/console.h"
#include "platform/net/net_loop.h"

namespace {

constexpr int kUsageError = 64;

struct Command {
  std::string text;                // as given, for messages
  std::vector<std::string> words;  // the command word and its operands
};

struct Options {
  bool active = false, ascii = false, verbose = false;
  int timeout = -1;  // -1: the client's default
  bool has_user = false;
  std::string user, password, host;
  int32_t port = 21;
  std::vector<Command> commands;
};

int Usage(const std::string& why) {
  if (!why.empty()) std::fprintf(stderr, "brikka-ftp: %s\n", why.c_str());
  std::fprintf(stderr,
               "usage: brikka-ftp [--active] [--ascii] [--timeout S] [--user U] [--password P]"
               " [--verbose] HOST[:PORT] COMMAND...\n"
               "--timeout: seconds to wait for the server, 1 to 32767 (default 60)\n"
               "commands: pwd | cd DIR | ls | get REMOTE LOCAL | resume REMOTE LOCAL |\n"
               "          put LOCAL REMOTE | put-from N LOCAL REMOTE | mkdir DIR | rmdir DIR |\n"
               "          rm FILE | mv OLD NEW\n");
  return kUsageError;
}

// Splits one COMMAND argument into words: blanks separate, quotes group, '\' escapes.
bool SplitWords(const std::string& text, std::vector<std::string>& words) {
  std::string word;
  bool in_word = false;
  char quote = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (quote) {
      if (c == quote)
        quote = 0;
      else if (c == '\\' && quote == '"' && i + 1 < text.size())
        word += text[++i];
      else
        word += c;
    } else if (c == '\'' || c == '"') {
      quote = c;
      in_word = true;
    } else if (c == '\\' && i + 1 < text.size()) {
      word += text[++i];
      in_word = true;
    } else if (c == ' ' || c == '\t') {
      if (in_word) words.push_back(word);
      word.clear();
      in_word = false;
    } else {
      word += c;
      in_word = true;
    }
  }
  if (in_word) words.push_back(word);
  return quote == 0;
}

bool ParseNumber(const std::string& text, long long low, long long high, long long& out) {
  if (text.empty() || text.size() > 18) return false;
  out = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    out = out * 10 + (c - '0');
  }
  return out >= low && out <= high;
}

// How many operands each command takes.
int OperandCount(const std::string& word) {
  if (word == "pwd" || word == "ls") return 0;
  if (word == "cd" || word == "mkdir" || word == "rmdir" || word == "rm") return 1;
  if (word == "get" || word == "resume" || word == "put" || word == "mv") return 2;
  if (word == "put-from") return 3;
  return -1;
}

// "rm my file.txt": a command of one operand given more words, none of them quoted, takes
// the rest of the text as that operand, spaces and all.
void JoinSingleOperand(Command& command) {
  if (command.words.size() < 3 || OperandCount(command.words[0]) != 1) return;
  if (command.text.find_first_of("'\"\\") != std::string::npos) return;
  const size_t verb_end = command.text.find_first_of(" \t", command.text.find_first_not_of(" \t"));
  const size_t start = command.text.find_first_not_of(" \t", verb_end);
  command.words.resize(1);
  command.words.push_back(command.text.substr(start));
}

std::string CheckCommand(const Command& command) {
  if (command.words.empty()) return "empty command";
  const int wanted = OperandCount(command.words[0]);
  if (wanted < 0) return "unknown command \"" + command.words[0] + "\"";
  if (static_cast<int>(command.words.size()) != wanted + 1) {
    return "\"" + command.words[0] + "\" takes " + std::to_string(wanted) + " operand(s)";
  }
  long long n = 0;
  if (command.words[0] == "put-from" && !ParseNumber(command.words[1], 0, INT32_MAX, n)) {
    return "put-from needs a byte position from 0 to 2147483647";
  }
  return std::string();
}

// Returns "" when the arguments are good, else what is wrong with them.
std::string ParseArguments(int argc, char** argv, Options& options) {
  int i = 1;
  for (; i < argc && std::string(argv[i]).rfind("--", 0) == 0; ++i) {
    const std::string flag = argv[i];
    const bool has_value = i + 1 < argc;
    long long n = 0;
    if (flag == "--active")
      options.active = true;
    else if (flag == "--ascii")
      options.ascii = true;
    else if (flag == "--verbose")
      options.verbose = true;
    else if (flag == "--timeout" && has_value) {
      // 0 would switch the client's time-out off and let a silent server hold us for ever.
      if (!ParseNumber(argv[i + 1], 1, 32767, n)) return "--timeout takes 1 to 32767 seconds";
      options.timeout = static_cast<int>(n);
      ++i;
    } else if (flag == "--user" && has_value) {
      options.user = argv[++i];
      options.has_user = true;
    } else if (flag == "--password" && has_value) {
      options.password = argv[++i];
    } else {
      return "bad option " + flag;
    }
  }
  if (i >= argc) return "no host given";
  if (std::string why = net::ParseHostPort(argv[i++], options.host, options.port); !why.empty()) {
    return why;
  }
  for (; i < argc; ++i) {
    Command command{argv[i], {}};
    if (!SplitWords(command.text, command.words)) return "unbalanced quotes in " + command.text;
    JoinSingleOperand(command);
    if (std::string why = CheckCommand(command); !why.empty()) return why;
    options.commands.push_back(std::move(command));
  }
  return std::string();
}

const char* StateName(int32_t state) {
  static const char* const kNames[] = {"idle",
                                       "not connected",
                                       "connecting",
                                       "connected",
                                       "authenticating",
                                       "logged in",
                                       "changing directory",
                                       "deleting a file",
                                       "removing a directory",
                                       "creating a directory",
                                       "renaming",
                                       "establishing the data connection",
                                       "data connection established",
                                       "retrieving directory information",
                                       "directory information retrieved",
                                       "downloading",
                                       "download finished",
                                       "uploading",
                                       "upload finished",
                                       "quitting"};
  return state >= 0 && state < 20 ? kNames[state] : "unknown";
}

// One FTP session driven to completion method by method on the network loop.
class Session {
 public:
  Session(platform::NetLoop& loop, const Options& options)
      : loop_(loop), options_(options), client_(loop), tty_(platform::StandardErrorIsTerminal()) {
    Configure();
  }

  int Run() {
    if (int status = Await("connect", [&] { client_.Connect(); })) return status;
    for (const Command& command : options_.commands) {
      if (int status = RunCommand(command)) {
        Finish(status);
        return status;
      }
    }
    Quit();
    return 0;
  }

 private:
  void Configure() {
    client_.SetFtpServer(options_.host);
    client_.SetRemotePort(options_.port);
    if (options_.has_user) {
      client_.SetUserName(options_.user);
      client_.SetPassword(options_.password);
    }
    client_.SetPassiveMode(!options_.active);
    client_.SetTransferMode(options_.ascii ? 0 : 1);
    if (options_.timeout >= 0) client_.SetTimeOut(static_cast<int16_t>(options_.timeout));
    auto done = [this](int32_t status) {
      status_ = status;
      done_ = true;
    };
    for (auto* event : {&client_.OnConnect, &client_.OnCreateDirectory, &client_.OnDeleteFile,
                        &client_.OnGetCurrentDirectory, &client_.OnSetCurrentDirectory,
                        &client_.OnRemoveDirectory, &client_.OnRenameFile, &client_.OnDownloadFile,
                        &client_.OnUploadFile, &client_.OnEnumFiles, &client_.OnQuitSession}) {
      *event = done;
    }
    client_.OnStateChange = [this](int32_t state) {
      ReportState(state);
      // A QUIT whose connection fails ends with the idle state and no completion event.
      if (quitting_ && (state == 0 || state == 1)) done_ = true;
    };
    client_.SessionProtocolMessage = [this](int32_t kind, const std::string& text) {
      if (options_.verbose) ReportProtocol(kind, text);
    };
    client_.OnDataTransferProgress = [this](int64_t bytes) { ReportProgress(bytes); };
  }

  // Starts a method and runs the loop until its completion event; returns the status.
  int Await(const std::string& what, const std::function<void()>& start) {
    done_ = false;
    status_ = 0;
    try {
      start();
    } catch (const net::NetError& e) {
      std::fprintf(stderr, "brikka-ftp: %s: error %d: %s\n", what.c_str(), e.Number,
                   e.Description.c_str());
      return 1;
    }
    while (!done_) loop_.RunOne(1000);
    ClearProgress();
    if (status_ != 0) ReportFailure(what, status_);
    return status_;
  }

  // Every command is done: the goodbye can no longer change the outcome. A server that has
  // already hung up, or hangs up before it answers, is fine.
  void Quit() {
    if (client_.FtpSessionState() == 1) return;
    quitting_ = true;
    try {
      client_.QuitSession();
    } catch (const net::NetError& e) {
      if (e.Number != net::kFtpErrNotConnected) {
        std::fprintf(stderr, "brikka-ftp: quit: error %d: %s\n", e.Number, e.Description.c_str());
      }
      return;
    }
    done_ = false;
    status_ = 0;
    while (!done_) loop_.RunOne(1000);
    if (status_ != 0) ReportFailure("quit", status_);
  }

  int RunCommand(const Command& command) {
    const auto& w = command.words;
    const std::string& verb = w[0];
    progress_total_ = -1;
    progress_name_.clear();
    if (verb == "pwd") {
      int status = Await(command.text, [&] { client_.GetCurrentDirectory(); });
      if (status == 0) std::printf("%s\n", client_.CurrentDirectory().c_str());
      return status;
    }
    if (verb == "ls") {
      int status = Await(command.text, [&] { client_.EnumFiles(); });
      if (status == 0) PrintListing();
      return status;
    }
    if (verb == "cd") return Await(command.text, [&] { client_.SetCurrentDirectory(w[1]); });
    if (verb == "mkdir") return Await(command.text, [&] { client_.CreateDirectory(w[1]); });
    if (verb == "rmdir") return Await(command.text, [&] { client_.RemoveDirectory(w[1]); });
    if (verb == "rm") return Await(command.text, [&] { client_.DeleteFile(w[1]); });
    if (verb == "mv") return Await(command.text, [&] { client_.RenameFile(w[1], w[2]); });
    if (verb == "get" || verb == "resume") {
      progress_name_ = w[1];
      return Await(command.text, [&] { client_.DownloadFile(w[1], w[2], verb == "get"); });
    }
    const bool from = verb == "put-from";
    const std::string& local = w[from ? 2 : 1];
    const std::string& remote = w[from ? 3 : 2];
    const int32_t start = from ? std::atoi(w[1].c_str()) : 0;
    progress_name_ = local;
    progress_total_ = LocalSize(local);
    return Await(command.text, [&] { client_.UploadFile(local, remote, start); });
  }

  // After a failed command: a session still standing is closed politely; one that timed
  // out is cut, since its method is still waiting.
  void Finish(int status) {
    if (status == net::CFtpClient::kTimedOut || client_.Busy()) {
      client_.CloseControlConnection();
    } else {
      Quit();
    }
  }

  void PrintListing() {
    for (const net::CFtpFile& file : client_.CurrentDirectoryFiles()) {
      const bool link = !file.IsDirectory && !file.Permissions.empty() &&
                        (file.Permissions[0] == 'l' || file.Permissions[0] == 'L');
      const auto& d = file.LastWriteTime;
      std::string name = file.FileName;
      if (link && !file.FilePath.empty()) name += " -> " + file.FilePath;
      std::printf("%c\t%lld\t%04d-%02d-%02d %02d:%02d\t%s\n",
                  file.IsDirectory ? 'd' : (link ? 'l' : '-'),
                  static_cast<long long>(file.FileSize), d.year, d.month, d.day, d.hour, d.minute,
                  name.c_str());
    }
    std::fflush(stdout);
  }

  void ReportFailure(const std::string& what, int32_t status) {
    if (status == net::CFtpClient::kTimedOut) {
      std::fprintf(stderr, "brikka-ftp: %s timed out: no answer from the server in %d s\n",
                   what.c_str(), client_.TimeOut());
      return;
    }
    if (status == net::CFtpClient::kCancelled) {
      std::fprintf(stderr, "brikka-ftp: %s cancelled\n", what.c_str());
      return;
    }
    const net::CFtpError& error = client_.LastFtpError();
    std::string text = error.Description;
    if (text.empty()) text = "the server answered: " + LastReplyLine();
    if (error.Number == 0) {
      std::fprintf(stderr, "brikka-ftp: %s failed: %s\n", what.c_str(), text.c_str());
    } else {
      std::fprintf(stderr, "brikka-ftp: %s failed: error %d: %s\n", what.c_str(), error.Number,
                   text.c_str());
    }
  }

  // The last line the server sent, for refusals we have no text of our own for.
  std::string LastReplyLine() const {
    std::string text = client_.LastServerResponse();
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    const size_t start = text.rfind('\n');
    return start == std::string::npos ? text : text.substr(start + 1);
  }

  void ReportState(int32_t state) {
    if (state == last_state_) return;
    last_state_ = state;
    ClearProgress();
    std::fprintf(stderr, "state %d: %s\n", state, StateName(state));
  }

  void ReportProtocol(int32_t kind, const std::string& text) {
    ClearProgress();
    if (kind == 0) {
      const bool secret = text.rfind("PASS ", 0) == 0;
      std::fprintf(stderr, "> %s\n", secret ? "PASS ****" : text.c_str());
      return;
    }
    size_t start = 0;
    while (start <= text.size()) {
      size_t end = text.find('\n', start);
      if (end == std::string::npos) end = text.size();
      std::string line = text.substr(start, end - start);
      if (!line.empty() && line.back() == '\r') line.pop_back();
      std::fprintf(stderr, "< %s\n", line.c_str());
      start = end + 1;
    }
  }

  // A progress line redrawn in place, only on a terminal and at most ten times a second.
  void ReportProgress(int64_t bytes) {
    if (!tty_ || progress_name_.empty()) return;
    const auto now = std::chrono::steady_clock::now();
    if (now - last_progress_ < std::chrono::milliseconds(100)) return;
    last_progress_ = now;
    if (progress_total_ > 0) {
      std::fprintf(stderr, "\r%s: %lld of %lld bytes (%d%%)\033[K", progress_name_.c_str(),
                   static_cast<long long>(bytes), static_cast<long long>(progress_total_),
                   static_cast<int>(bytes * 100 / progress_total_));
    } else {
      std::fprintf(stderr, "\r%s: %lld bytes\033[K", progress_name_.c_str(),
                   static_cast<long long>(bytes));
    }
    progress_shown_ = true;
  }

  void ClearProgress() {
    if (!progress_shown_) return;
    std::fprintf(stderr, "\r\033[K");
    progress_shown_ = false;
  }

  static int64_t LocalSize(const std::string& path) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return -1;
    std::fseek(f, 0, SEEK_END);
    const int64_t size = std::ftell(f);
    std::fclose(f);
    return size;
  }

  platform::NetLoop& loop_;
  const Options& options_;
  net::CFtpClient client_;
  bool tty_;
  bool done_ = false;
  bool quitting_ = false;
  int32_t status_ = 0;
  int32_t last_state_ = 1;
  std::string progress_name_;
  int64_t progress_total_ = -1;
  bool progress_shown_ = false;
  std::chrono::steady_clock::time_point last_progress_{};
};

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (std::string why = ParseArguments(argc, argv, options); !why.empty()) return Usage(why);
  platform::NetLoop loop;
  Session session(loop, options);
  return session.Run();
}
