// flashaspi: the firmware updater on the ASPI back-end.
#include "flash/app/updater_app.h"
#include "startup/program_help.h"

namespace {

constexpr startup::ProgramHelp kHelp = {
    "flashaspi",
    "usage: flashaspi [FILE.HEX]\n"
    "Updates the firmware of a TAVREON DVD-ROM drive from an Intel HEX file, with\n"
    "read-back verify, through the ASPI manager (host adapter and target).\n",
    "Arguments:\n"
    "  FILE.HEX          a document to open in the window (it loads no firmware)\n"};

}  // namespace

int main(int argc, char** argv) {
  if (const auto answered = startup::AnswerHelpOrVersion(argc, argv, kHelp)) return *answered;
  return flash::RunUpdaterProgram(argc, argv, flash::AppVariant::Aspi());
}
