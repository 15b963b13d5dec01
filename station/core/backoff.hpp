#pragma once

// Reconnection delays that double after each failed attempt, from a first delay up to a ceiling,
// and start again from the first delay once a connection has succeeded.

namespace orbelle::station {

class Backoff {
 public:
  Backoff(int firstMs, int maxMs) : firstMs_(firstMs), maxMs_(maxMs < firstMs ? firstMs : maxMs) {}

  // The delay before the next attempt; each call doubles the following one, up to the ceiling.
  int next() {
    const int delay = currentMs_;
    currentMs_ = currentMs_ > maxMs_ / 2 ? maxMs_ : currentMs_ * 2;
    return delay;
  }
  void reset() { currentMs_ = firstMs_; }

 private:
  int firstMs_;
  int maxMs_;
  int currentMs_ = firstMs_;
};

}  // namespace orbelle::station
