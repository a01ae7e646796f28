// Argument handling and file output of the fwgen command.
#include "tools/fwgen/fwgen_command.h"

#include <cstdio>
#include <fstream>
#include <optional>

#include "emulator/drive_catalogue.h"
#include "emulator/firmware_builder.h"
#include "emulator/intel_hex_writer.h"

namespace tools {
namespace {

constexpr int kExitOk = 0;
constexpr int kExitWriteFailed = 1;
constexpr int kExitUsage = 2;

constexpr char kUsage[] =
    "usage: fwgen --model NAME [--version X.YZ] [--broken VARIANT] [--lf] OUT.HEX\n"
    "       fwgen --list\n"
    "Writes a firmware image in Intel HEX for an emulated drive model.\n"
    "  --model NAME      catalogue model (see --list)\n"
    "  --version TEXT    four-character firmware version (default: the model's)\n"
    "  --broken VARIANT  wrong-controller, wrong-family, no-template, no-identity, truncated\n"
    "  --lf              LF line ends instead of CR LF\n";

struct Options {
  bool list = false;
  bool help = false;
  bool lf = false;
  std::string model;
  std::optional<std::string> version;
  emu::BrokenVariant broken = emu::BrokenVariant::kNone;
  std::string output;
};

int Usage(std::ostream& err, const std::string& problem) {
  err << "fwgen: " << problem << "\n" << kUsage;
  return kExitUsage;
}

// Fills `options`; returns an error text, empty when the arguments are good.
std::string ParseArguments(const std::vector<std::string>& args, Options& options) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    const auto value = [&]() -> std::optional<std::string> {
      if (i + 1 >= args.size()) return std::nullopt;
      return args[++i];
    };
    if (arg == "--list") {
      options.list = true;
    } else if (arg == "--help" || arg == "-h") {
      options.help = true;
    } else if (arg == "--lf") {
      options.lf = true;
    } else if (arg == "--model" || arg == "--version" || arg == "--broken") {
      const auto given = value();
      if (!given) return arg + " needs a value";
      if (arg == "--model") {
        options.model = *given;
      } else if (arg == "--version") {
        options.version = *given;
      } else {
        const auto variant = emu::ParseBrokenVariant(*given);
        if (!variant || *variant == emu::BrokenVariant::kNone) {
          return "unknown broken variant \"" + *given + "\"";
        }
        options.broken = *variant;
      }
    } else if (arg.starts_with("-") && arg != "-") {
      return "unknown option \"" + arg + "\"";
    } else if (options.output.empty()) {
      options.output = arg;
    } else {
      return "more than one output file given";
    }
  }
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
  Options options;
  if (const std::string problem = ParseArguments(args, options); !problem.empty()) {
    return Usage(err, problem);
  }
  if (options.help) {
    out << kUsage;
    return kExitOk;
  }
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
  if (std::rename(temporary.c_str(), options.output.c_str()) != 0) {
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
