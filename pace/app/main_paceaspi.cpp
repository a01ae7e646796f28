// paceaspi: the speed utility on the ASPI back-end.
#include "pace/app/speed_app.h"
#include "startup/program_help.h"

namespace {

constexpr startup::ProgramHelp kHelp = {
    "paceaspi",
    "usage: paceaspi\n"
    "Switches a TAVREON DVD-ROM drive between quiet and performance mode, shows\n"
    "its read speeds and sets its CD-DA extraction speed, through the ASPI\n"
    "manager. dvdspeed --aspi does the same on the command line.\n",
    ""};

}  // namespace

int main(int argc, char** argv) {
  if (const auto answered = startup::AnswerHelpOrVersion(argc, argv, kHelp)) return *answered;
  return pace::RunQtSpeedProgram(argc, argv, pace::SpeedWindowVariant::Aspi());
}
