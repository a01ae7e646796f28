// fwhex: loads a firmware HEX file exactly as the updaters do and prints what
// they would show, plus what identification finds in the image; optionally
// writes the image in effect to a binary file.
#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <span>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "flash/firmware_image.h"
#include "flash/flash_variant.h"
#include "flash/hex_loader.h"
#include "platform/console_io.h"
#include "tools/common/command_line.h"
#include "tools/fwhex/console_updater_ui.h"

namespace tools {
namespace {

constexpr char kTool[] = "fwhex";
constexpr std::uint32_t kSecondImageBase = 0x20000;

constexpr char kUsage[] =
    "usage: fwhex [--image OUT.bin] FILE.HEX\n"
    "Loads FILE.HEX as the firmware updaters do and prints the file summary,\n"
    "the controller count, the image identity, the controller types and the\n"
    "new firmware's identity. --image writes the 0x42010-byte image to OUT.bin.\n"
    "A file the updaters would refuse (it does not load, or it has no image\n"
    "identity or no new-firmware identity) exits with status 1.\n"
    "Options:\n"
    "  --image OUT.bin   write the image in effect to OUT.bin (not over FILE.HEX)\n";

constexpr tools::OptionSpec kOptions[] = {{"image", true}};

struct Options {
  std::string hexFile;
  std::string imageFile;
};

std::string ReadOptions(const tools::CommandLine& line, Options& options) {
  if (line.operands.empty()) return "no HEX file given";
  if (line.operands.size() > 1) return "more than one HEX file given";
  options.hexFile = line.operands.front();
  options.imageFile = line.Value("image");
  if (line.Has("image") && options.imageFile.empty()) return "--image needs a file name";
  std::error_code error;
  if (line.Has("image") &&
      (options.imageFile == options.hexFile ||
       std::filesystem::equivalent(options.imageFile, options.hexFile, error))) {
    return "the image would overwrite its own HEX file \"" + options.hexFile + "\"";
  }
  return {};
}

// The status text with CR LF line ends as terminal lines.
std::string AsLines(const std::string& statusText) {
  std::string lines;
  for (std::size_t i = 0; i < statusText.size(); ++i) {
    if (statusText[i] == '\r' && i + 1 < statusText.size() && statusText[i + 1] == '\n') continue;
    lines += statusText[i];
  }
  if (!lines.empty() && lines.back() != '\n') lines += '\n';
  return lines;
}

// Printable ASCII as it is, anything else as \xHH, so the bytes stay visible.
template <std::size_t N>
std::string Printable(const std::array<std::uint8_t, N>& field, std::size_t count = N) {
  std::string text;
  for (std::size_t i = 0; i < count && i < N; ++i) {
    const std::uint8_t c = field[i];
    if (c >= 0x20 && c < 0x7F) {
      text += static_cast<char>(c);
    } else {
      char escaped[5];
      std::snprintf(escaped, sizeof escaped, "\\x%02X", c);
      text += escaped;
    }
  }
  return text;
}

// The confirmation's two fields, vendor and product then revision, with every
// byte shown (unprintable ones escaped) where the dialog would stop at a zero.
std::string IdentityText(const flash::FirmwareIdentity& identity) {
  constexpr std::size_t kVendorProductSize = 24;
  constexpr std::size_t kRevisionSize = 4;
  flash::FirmwareIdentity revision{};
  std::copy_n(identity.begin() + kVendorProductSize, kRevisionSize, revision.begin());
  return Printable(identity, kVendorProductSize) + " " + Printable(revision, kRevisionSize);
}

// False when the image has no new-firmware identity there.
bool PrintNewFirmware(flash::FirmwareImage& image, std::uint32_t base, const char* label) {
  image.newFirmwareIdentity.fill(0);
  if (flash::FindInquiryTemplate(image, base) == 0) {
    std::printf("%s : %s\n", label, IdentityText(image.newFirmwareIdentity).c_str());
    return true;
  }
  std::printf("%s : not found\n", label);
  return false;
}

// Prints what the updater's identification finds; the reason it would refuse
// the file, or empty.
std::string PrintIdentification(flash::FirmwareImage& image) {
  const int count = flash::IdentifyImage(image);
  std::printf("Controller count : %d\n", count);
  if (count >= 1) {
    std::printf("Image identity : %s\n", Printable(image.imageIdentity).c_str());
    std::printf("Controller type 1 : %s\n", Printable(image.controllerType1).c_str());
  }
  if (count == 2) {
    std::printf("Controller type 2 : %s\n", Printable(image.controllerType2).c_str());
  }
  // The updater refuses an image without an identity block ("This file is not available").
  if (count == 0) return "no image identity: the updaters show \"This file is not available\"";
  bool found = PrintNewFirmware(image, 0, "New firmware");
  if (count == 2)
    found = PrintNewFirmware(image, kSecondImageBase, "New firmware (second image)") && found;
  if (!found) return "no new-firmware identity (INQUIRY template) in the image";
  return {};
}

bool ReportWriteFailure(const std::string& path, int errorNumber) {
  std::fprintf(stderr, "fwhex: cannot write %s: %s\n", path.c_str(), std::strerror(errorNumber));
  return false;
}

// An existing file is overwritten in place and then cut to the image's size,
// rather than truncated first: truncating a file whose blocks were just
// written makes the file system wait for them, which takes far longer than
// the load itself.
bool WriteImage(const std::string& path, std::span<const std::uint8_t> bytes) {
  errno = 0;
  std::FILE* file = std::fopen(path.c_str(), "r+b");
  if (file == nullptr) file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return ReportWriteFailure(path, errno);
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  const bool closed = std::fclose(file) == 0;
  if (!written || !closed) return ReportWriteFailure(path, errno);

  std::error_code error;
  if (std::filesystem::is_regular_file(path, error) &&
      std::filesystem::file_size(path, error) > bytes.size()) {
    std::filesystem::resize_file(path, bytes.size(), error);
    if (error) return ReportWriteFailure(path, error.value());
  }
  return true;
}

int Run(int argc, char** argv) {
  tools::CommandLine line;
  Options options;
  std::string problem = tools::ParseCommandLine(argc, argv, kOptions, line);
  if (problem.empty() && !line.help && !line.version) problem = ReadOptions(line, options);
  if (!problem.empty()) {
    std::ostringstream usage;
    tools::UsageError(usage, kTool, problem, kUsage);
    std::fputs(usage.str().c_str(), stderr);
    return tools::kExitUsage;
  }
  // Its output goes through the C streams, as the rest of fwhex's does.
  if (std::ostringstream answer; tools::AnswerHelpOrVersion(line, answer, kTool, kUsage)) {
    std::fputs(answer.str().c_str(), stdout);
    return tools::kExitDone;
  }

  std::vector<std::uint8_t> imageBuffer(flash::kImageSize, 0);
  std::vector<std::uint8_t> workingBuffer(flash::kLoadedImageSize, 0);
  flash::FirmwareImage image;
  image.bytes = imageBuffer;
  image.working = workingBuffer;

  ConsoleUpdaterUi ui(options.hexFile);
  const flash::LoadOutcome outcome =
      flash::LoadFirmwareFile(image, flash::FlashVariant::Spti(), ui);
  if (outcome.cancelled || outcome.result.end != flash::HexLoadEnd::kNormalEnd) {
    std::fputs(AsLines(ui.StatusText()).c_str(), stderr);
    return tools::kExitRefused;
  }
  std::fputs(AsLines(ui.StatusText()).c_str(), stdout);
  const std::string refusal = PrintIdentification(image);
  std::fflush(stdout);
  // The image that loaded is written even when the updaters would refuse it.
  if (!options.imageFile.empty() && !WriteImage(options.imageFile, image.bytes)) {
    return tools::kExitRefused;
  }
  if (!refusal.empty()) {
    std::fprintf(stderr, "fwhex: the updaters refuse this file: %s\n", refusal.c_str());
    return tools::kExitRefused;
  }
  return tools::kExitDone;
}

}  // namespace
}  // namespace tools

int main(int argc, char** argv) {
  platform::UseBinaryStandardOutput();
  return tools::Run(argc, argv);
}
