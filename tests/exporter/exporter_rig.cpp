// SPDX-License-Identifier: GPL-3.0-or-later
#include "exporter_rig.h"

#include <curl/curl.h>
#include <signal.h>

#include <chrono>
#include <stdexcept>
#include <thread>

namespace kestrova::test {

namespace {

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
  std::vector<std::string> all = {"--listen", "127.0.0.1:0"};
  all.insert(all.end(), arguments.begin(), arguments.end());
  program_ = std::make_unique<ChildProgram>(KESTROVA_EXPORTER_PATH, all);
  const std::string prefix = "kestrova-exporter: listening on ";
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(15);
  for (std::string out = program_->Out(); !out.ends_with('\n'); out = program_->Out()) {
    if (std::chrono::steady_clock::now() > deadline) {
      throw std::runtime_error("exporter: no address line; it wrote '" + program_->Err() + "'");
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  const std::string line = program_->Out();
  if (!line.starts_with(prefix)) {
    throw std::runtime_error("exporter: unexpected first line '" + line + "'");
  }
  baseUrl_ = "http://" + line.substr(prefix.size(), line.size() - prefix.size() - 1);
#endif
}

int ExporterProcess::Terminate() {
  ::kill(program_->Pid(), SIGTERM);
  return program_->WaitForExit(std::chrono::seconds(10)).value_or(-1);
}

HttpAnswer Fetch(const std::string& url, const std::vector<std::string>& headers, const std::string& method) {
  const std::unique_ptr<CURL, void (*)(CURL*)> curl(curl_easy_init(), &curl_easy_cleanup);
  curl_slist* list = nullptr;
  for (const std::string& header : headers) {
    list = curl_slist_append(list, header.c_str());
  }
  HttpAnswer answer;
  curl_easy_setopt(curl.get(), CURLOPT_URL, url.c_str());
  curl_easy_setopt(curl.get(), CURLOPT_HTTPHEADER, list);
  curl_easy_setopt(curl.get(), CURLOPT_CUSTOMREQUEST, method.c_str());
  curl_easy_setopt(curl.get(), CURLOPT_WRITEFUNCTION, &Collect);
  curl_easy_setopt(curl.get(), CURLOPT_WRITEDATA, &answer.body);
  curl_easy_setopt(curl.get(), CURLOPT_TIMEOUT, 20L);
  curl_easy_setopt(curl.get(), CURLOPT_NOSIGNAL, 1L);
  const CURLcode result = curl_easy_perform(curl.get());
  char* type = nullptr;
  curl_easy_getinfo(curl.get(), CURLINFO_RESPONSE_CODE, &answer.status);
  curl_easy_getinfo(curl.get(), CURLINFO_CONTENT_TYPE, &type);
  answer.contentType = type != nullptr ? type : "";
  curl_slist_free_all(list);
  if (result != CURLE_OK) {
    throw std::runtime_error("no answer from " + url + ": " + curl_easy_strerror(result));
  }
  return answer;
}

}  // namespace kestrova::test
