// morse.so in foxhost on the virtual clock with the simulated ports, and what they wrote.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "fakes.hpp"
#include "foxhost/host.hpp"
#include "host_call_checks.hpp"

namespace morse::test {

class LibraryFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    static int serial = 0;
    dir_ = std::filesystem::temp_directory_path() /
           ("morse-lib-" + std::to_string(getpid()) + "-" + std::to_string(++serial));
    std::filesystem::create_directories(dir_);
    setenv("MORSE_PORTS", "sim", 1);
    setenv("MORSE_SIM_LOG", (dir_ / "ports.log").c_str(), 1);
    setenv("MORSE_SIM_WAV", (dir_ / "sound.wav").c_str(), 1);
    load();
  }
  void TearDown() override {
    host_.reset();
    std::filesystem::remove_all(dir_);
  }

  void load() {
    foxhost::Host::Options options;
    options.virtualClock = true;
    host_ = std::make_unique<foxhost::Host>(options);
    host_->virtualClock()->nowMicros = 1'000'000;
    host_->loadLibrary(MORSE_LIBRARY_PATH);
  }
  // Unloads the library, which writes the WAV and closes the log.
  void unload() { host_->releaseLibraries(); }
  // Unloads the library and decodes the WAV it wrote; "<no WAV>" without a whole one.
  std::string soundedText() {
    unload();
    const auto wav = readWavFile(dir_ / "sound.wav");
    return wav ? decodeWav(*wav) : "<no WAV>";
  }
  foxhost::Value textbox() { return foxhost::Value::Object(host_->createObject("textbox")); }
  std::string valueOf(const foxhost::Value &object) {
    return host_->property(object.object, "VALUE").text;
  }
  foxhost::Host &host() { return *host_; }
  foxhost::Value call(const std::string &name, const std::vector<foxhost::Value> &args = {}) {
    return host_->call(name, args);
  }
  uint64_t msNow() { return host_->nowMillis(); }

  // The event log so far (written as it goes): "ms.us 0xport 0xvalue" after a header line.
  std::vector<PortEvent> events() const {
    std::vector<PortEvent> out;
    std::ifstream in(dir_ / "ports.log");
    std::string time, port, value;
    in.ignore(INT32_MAX, '\n');
    while (in >> time >> port >> value) {
      const size_t dot = time.find('.');
      out.push_back({std::stoull(time.substr(0, dot)) * 1000 + std::stoull(time.substr(dot + 1)),
                     static_cast<uint16_t>(std::stoul(port, nullptr, 16)),
                     static_cast<uint8_t>(std::stoul(value, nullptr, 16))});
    }
    return out;
  }
  std::vector<Stretch> keying(uint16_t controlPort = 0x37A) const {
    return keyingRuns(events(), controlPort);
  }

  std::filesystem::path dir_;
  std::unique_ptr<foxhost::Host> host_;
};

}  // namespace morse::test
