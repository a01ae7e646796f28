// toolgate: the suite's launcher.
#include "launcher/app/launcher_app.h"
#include "startup/program_help.h"

namespace {

constexpr startup::ProgramHelp kHelp = {
    "toolgate",
    "usage: toolgate\n"
    "Shows the processor and the operating system and starts the DVD-ROM\n"
    "utilities that fit the system.\n",
    ""};

}  // namespace

int main(int argc, char** argv) {
  if (const auto answered = startup::AnswerHelpOrVersion(argc, argv, kHelp)) return *answered;
  return launcher::RunQtLauncherProgram(argc, argv);
}
