// Test support: what an action prints on standard output.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

// Runs the action and returns everything it printed on standard output.
template <typename Action>
std::string CapturedStdout(Action action) {
  std::fflush(stdout);
  testing::internal::CaptureStdout();
  action();
  std::fflush(stdout);
  return testing::internal::GetCapturedStdout();
}

// The given line repeated count times: the output expected of count error
// reports.
inline std::string Repeated(const std::string& line, int count) {
  std::string text;
  for (int i = 0; i < count; ++i) text += line;
  return text;
}
