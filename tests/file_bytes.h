// Test support: whole files as bytes, embedded zeros included, and the
// fixture files under tests/fixtures.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

// Writes the bytes, embedded zeros included, to the named file.
inline void WriteBytes(const std::string& path, const std::string& bytes) {
  FILE* file = std::fopen(path.c_str(), "wb");
  ASSERT_NE(file, nullptr) << path;
  std::fwrite(bytes.data(), 1, bytes.size(), file);
  std::fclose(file);
}

// The whole file as bytes; empty when it cannot be opened.
inline std::string ReadBytes(const std::string& path) {
  std::string bytes;
  FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return bytes;
  for (int c = std::fgetc(file); c != EOF; c = std::fgetc(file)) {
    bytes += static_cast<char>(c);
  }
  std::fclose(file);
  return bytes;
}

// The whole contents of a file under tests/fixtures (the name may hold a
// subdirectory); empty when it cannot be opened.
inline std::string Fixture(const std::string& name) {
  return ReadBytes(std::string(ASCIIDEMO_SOURCE_DIR) + "/tests/fixtures/" +
                   name);
}
