// Argument handling and file output of the fwgen command.
#include "tools/fwgen/fwgen_command.h"

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>

#include "emulator/drive_catalogue.h"
#include "emulator/firmware_builder.h"
#include "emulator/intel_hex_writer.h"
#include "tools/common/command_line.h"

namespace tools {
namespace {

constexpr char kTool[] = "fwgen";
constexpr int kExitOk = kExitDone;
constexpr int kExitWriteFailed = kExitRefused;

constexpr char kUsage[] =
    "usage: fwgen --model NAME [--firmware-version X.YZ] [--broken VARIANT] [--lf] OUT.HEX\n"
    "       fwgen --list\n"
    "Writes a firmware image in Intel HEX for an emulated drive model.\n"
    "Options:\n"
    "  --model NAME      catalogue model (see --list)\n"
    "  --firmware-version TEXT\n"
    "                    four-character firmware version (default: the model's)\n"
    "  --broken VARIANT  wrong-controller, wrong-family, no-template, no-identity, truncated\n"
    "  --lf              LF line ends instead of CR LF\n"
    "  --list            list the catalogue's models\n";

constexpr std::array<OptionSpec, 5> kOptions = {
    {{"list"}, {"lf"}, {"model", true}, {"firmware-version", true}, {"broken", true}}};

struct Options {
  bool list = false;
  bool lf = false;
  std::string model;
  std::optional<std::string> version;
  emu::BrokenVariant broken = emu::BrokenVariant::kNone;
  std::string output;
};

int Usage(std::ostream& err, const std::string& problem) {
  return UsageError(err, kTool, problem, kUsage);
}

// Fills `options`; returns an error text, empty when the arguments are good.
std::string ReadOptions(const CommandLine& line, Options& options) {
  options.list = line.Has("list");
  options.lf = line.Has("lf");
  options.model = line.Value("model");
  if (line.Has("firmware-version")) options.version = line.Value("firmware-version");
  if (line.Has("broken")) {
    const std::string given = line.Value("broken");
    const auto variant = emu::ParseBrokenVariant(given);
    if (!variant || *variant == emu::BrokenVariant::kNone) {
      return "unknown broken variant \"" + given + "\"";
    }
    options.broken = *variant;
  }
  if (line.operands.size() > 1) return "more than one output file given";
  if (!line.operands.empty()) options.output = line.operands.front();
  return {};
}

void ListModels(std::ostream& out) {
  for (const emu::ModelSpec& m : emu::DriveModels()) {
    out << m.name << "\t\"" << m.vendor << m.product << "\" " << m.version << "\t"
        << (m.IsDual() ? "dual" : "single") << "\t" << m.description << "\n";
  }
}

}  // namespace

int RunFwgen(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  std::vector<const char*> argv{kTool};
  for (const std::string& arg : args) argv.push_back(arg.c_str());
  CommandLine line;
  Options options;
  std::string problem =
      ParseCommandLine(static_cast<int>(argv.size()), argv.data(), kOptions, line);
  // --version used to be the firmware's version: with other arguments it is
  // a mistake, not a request for fwgen's own version.
  if (problem.empty() && line.version && args.size() > 1) {
    problem = "--version prints fwgen's version; the firmware's is --firmware-version";
  }
  if (problem.empty() && !line.help && !line.version) problem = ReadOptions(line, options);
  if (!problem.empty()) return Usage(err, problem);
  if (AnswerHelpOrVersion(line, out, kTool, kUsage)) return kExitOk;
  if (options.list) {
    ListModels(out);
    return kExitOk;
  }
  if (options.model.empty()) return Usage(err, "--model is required");
  const emu::ModelSpec* model = emu::FindDriveModel(options.model);
  if (model == nullptr) {
    return Usage(err, "unknown model \"" + options.model + "\" (fwgen --list shows the models)");
  }
  const std::string version = options.version.value_or(std::string(model->version));
  if (!emu::IsValidVersion(version)) {
    return Usage(err, "version \"" + version + "\" must be four printable characters");
  }
  if (options.output.empty()) return Usage(err, "no output file given");

  const emu::FirmwareBuild build = emu::BuildFirmware(*model, version, options.broken);
  emu::HexWriteOptions hexOptions;
  hexOptions.endRecord = build.endRecord;
  hexOptions.crlf = !options.lf;
  const std::string text = emu::WriteIntelHex(
      std::span<const std::uint8_t>(build.image).first(build.fileLength), hexOptions);

  // Write beside the target and rename, so a failed run leaves no half file.
  const std::string temporary = options.output + ".tmp";
  {
    std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
    file.write(text.data(), static_cast<std::streamsize>(text.size()));
    file.close();
    if (!file) {
      std::remove(temporary.c_str());
      err << "fwgen: cannot write \"" << options.output << "\"\n";
      return kExitWriteFailed;
    }
  }
  // std::filesystem::rename replaces an existing file on every system (the C
  // library's rename does not on Windows).
  std::error_code renamed;
  std::filesystem::rename(temporary, options.output, renamed);
  if (renamed) {
    std::remove(temporary.c_str());
    err << "fwgen: cannot write \"" << options.output << "\"\n";
    return kExitWriteFailed;
  }
  out << "fwgen: wrote " << options.output << " (" << model->name << ", version " << version
      << (options.broken == emu::BrokenVariant::kNone
              ? std::string()
              : ", broken: " + std::string(emu::BrokenVariantName(options.broken)))
      << ")\n";
  return kExitOk;
}

}  // namespace tools
