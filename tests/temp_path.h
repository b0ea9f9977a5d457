// Test support: file names in the temporary directory that no other running
// test uses. CTest runs every test case in a process of its own, several at
// once, so a fixed name would let two cases overwrite each other's files.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>  // getpid

#include <string>

// The name prefixed with the process id and the running test's name.
inline std::string TempPath(const std::string& name) {
  const testing::TestInfo* test =
      testing::UnitTest::GetInstance()->current_test_info();
  std::string owner = test == nullptr ? std::string("none")
                                      : std::string(test->test_suite_name()) +
                                            "." + test->name();
  for (char& c : owner) {
    if (c == '/') c = '_';
  }
  return testing::TempDir() + "asciidemo-" + std::to_string(getpid()) + "-" +
         owner + "-" + name;
}
