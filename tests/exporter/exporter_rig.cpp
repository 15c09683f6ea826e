#include "exporter_rig.h"

#include <curl/curl.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <stdexcept>
#include <thread>

extern char** environ;

namespace kestrova::test {

namespace {

constexpr int kStartTimeoutMs = 15000;
constexpr auto kStopTimeout = std::chrono::seconds(10);

// The first line of `descriptor`, waiting at most `timeoutMs`.
std::string FirstLine(int descriptor, int timeoutMs) {
  std::string line;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (line.find('\n') == std::string::npos) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now()).count();
    pollfd ready{descriptor, POLLIN, 0};
    if (left <= 0 || ::poll(&ready, 1, static_cast<int>(left)) <= 0) {
      throw std::runtime_error("exporter: no first line in time");
    }
    char buffer[256];
    const ssize_t count = ::read(descriptor, buffer, sizeof buffer);
    if (count <= 0) {
      throw std::runtime_error("exporter: its output ended before the first line");
    }
    line.append(buffer, static_cast<std::size_t>(count));
  }
  return line.substr(0, line.find('\n'));
}

std::size_t Collect(char* data, std::size_t size, std::size_t count, void* sink) {
  static_cast<std::string*>(sink)->append(data, size * count);
  return size * count;
}

}  // namespace

ExporterProcess::ExporterProcess(const std::vector<std::string>& arguments) {
#ifndef KESTROVA_EXPORTER_PATH
  (void)arguments;
  throw std::runtime_error("kestrova-exporter was not built with the tests");
#else
  std::vector<std::string> strings = {KESTROVA_EXPORTER_PATH, "--listen", "127.0.0.1:0"};
  strings.insert(strings.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (std::string& argument : strings) {
    argv.push_back(argument.data());
  }
  argv.push_back(nullptr);
  int output[2];
  if (::pipe2(output, O_CLOEXEC) != 0) {
    throw std::runtime_error("exporter: no pipe for its output");
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, output[1], STDOUT_FILENO);
  const int spawned = ::posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  ::close(output[1]);
  if (spawned != 0) {
    ::close(output[0]);
    pid_ = -1;
    throw std::runtime_error("exporter: cannot start " + strings[0]);
  }
  try {
    const std::string line = FirstLine(output[0], kStartTimeoutMs);
    const std::string prefix = "kestrova-exporter: listening on ";
    if (!line.starts_with(prefix)) {
      throw std::runtime_error("exporter: unexpected first line '" + line + "'");
    }
    baseUrl_ = "http://" + line.substr(prefix.size());
  } catch (...) {
    ::close(output[0]);
    Terminate();
    throw;
  }
  // The exporter writes nothing more; its output pipe may close.
  ::close(output[0]);
#endif
}

ExporterProcess::~ExporterProcess() { Terminate(); }

int ExporterProcess::Terminate() {
  if (pid_ <= 0) {
    return -1;
  }
  ::kill(pid_, SIGTERM);
  const auto deadline = std::chrono::steady_clock::now() + kStopTimeout;
  int status = 0;
  pid_t reaped = 0;
  while ((reaped = ::waitpid(pid_, &status, WNOHANG)) == 0 && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  if (reaped == 0) {
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, &status, 0);
    pid_ = -1;
    return -1;
  }
  pid_ = -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

HttpAnswer Fetch(const std::string& url, const std::vector<std::string>& headers, const std::string& method) {
  CURL* curl = curl_easy_init();
  if (curl == nullptr) {
    throw std::runtime_error("curl_easy_init failed");
  }
  HttpAnswer answer;
  curl_slist* list = nullptr;
  for (const std::string& header : headers) {
    list = curl_slist_append(list, header.c_str());
  }
  curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
  curl_easy_setopt(curl, CURLOPT_HTTPHEADER, list);
  curl_easy_setopt(curl, CURLOPT_CUSTOMREQUEST, method.c_str());
  curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &Collect);
  curl_easy_setopt(curl, CURLOPT_WRITEDATA, &answer.body);
  curl_easy_setopt(curl, CURLOPT_TIMEOUT, 20L);
  curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
  const CURLcode result = curl_easy_perform(curl);
  char* type = nullptr;
  curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &answer.status);
  curl_easy_getinfo(curl, CURLINFO_CONTENT_TYPE, &type);
  answer.contentType = type != nullptr ? type : "";
  curl_slist_free_all(list);
  curl_easy_cleanup(curl);
  if (result != CURLE_OK) {
    throw std::runtime_error(std::string("no answer from ") + url + ": " + curl_easy_strerror(result));
  }
  return answer;
}

RequestCounts ParseRequestTally(const std::string& answer) {
  RequestCounts counts;
  long limited = 0;
  long rcon = 0;
  long rconLimited = 0;
  if (std::sscanf(answer.c_str(), "ok info %ld %ld rcon %ld %ld status %ld", &counts.info, &limited, &rcon,
                  &rconLimited, &counts.status) != 5) {
    throw std::runtime_error("not a request tally: '" + answer + "'");
  }
  return counts;
}

}  // namespace kestrova::test
