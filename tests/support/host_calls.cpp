// The system-independent part of the tests' host calls.
#include "tests/support/host_calls.h"

#include <fstream>
#include <iterator>
#include <random>
#include <system_error>

namespace testsupport {

std::filesystem::path MakeTemporaryFolder(const std::string& prefix) {
  std::random_device seed;
  std::mt19937 random(seed());
  std::error_code error;
  const std::filesystem::path base = std::filesystem::temp_directory_path(error);
  if (error) return {};
  constexpr int kAttempts = 100;
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    const std::filesystem::path folder = base / (prefix + std::to_string(random()));
    // create_directory is false (without an error) when the name is taken.
    if (std::filesystem::create_directory(folder, error)) return folder;
    if (error) return {};
  }
  return {};
}

}  // namespace testsupport
