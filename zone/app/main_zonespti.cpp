// zonespti: the region utility on the pass-through back-end.
#include "startup/program_help.h"
#include "zone/app/region_app.h"

namespace {

constexpr startup::ProgramHelp kHelp = {
    "zonespti",
    "usage: zonespti\n"
    "Shows the DVD region state of a drive and of the disc in it, and sets the\n"
    "drive's region. dvdregion does the same on the command line.\n",
    ""};

}  // namespace

int main(int argc, char** argv) {
  if (const auto answered = startup::AnswerHelpOrVersion(argc, argv, kHelp)) return *answered;
  return zone::RunQtRegionProgram(argc, argv);
}
