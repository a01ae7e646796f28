// A stand-in tool for the launcher's window test: writes the name it was
// started under (its argv[0]) into "started-as.txt" beside itself.
#include <filesystem>
#include <fstream>

int main(int argc, char** argv) {
  std::error_code error;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error || argc < 1) return 1;
  std::ofstream(self.parent_path() / "started-as.txt") << argv[0];
  return 0;
}
