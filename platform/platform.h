// The bundle of operating-system services a program runs on: either the real
// system or an emulated machine, chosen once at start-up.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/aspi.h"
#include "platform/clock.h"
#include "platform/kernel.h"
#include "platform/native_system.h"
#include "platform/pass_through.h"
#include "platform/process.h"
#include "platform/system_info_component.h"

namespace platform {

class Platform {
 public:
  virtual ~Platform() = default;
  virtual Kernel& Kernel32() = 0;
  virtual PassThroughService& PassThrough() = 0;
  virtual AspiManager& Aspi() = 0;
  virtual Clock& Timer() = 0;
  virtual SystemInfoComponentFactory& SystemInfoComponents() = 0;

  // Whether a drive whose command node cannot be opened may be reached through
  // a node that carries only the commands the system allows every user (on
  // Linux the block node: inquiry, test unit ready, region and speed commands,
  // but not the firmware commands). Set once by the program's transport;
  // systems without such a node ignore it.
  virtual void SetBlockNodeFallback(bool /*allowed*/) {}

  // Where the system tells the user of a failure whose reason no drive command
  // can carry (an emulated machine that cannot keep a drive's change in its
  // file): the program's notice, set by its transport; empty for none. Systems
  // without such failures ignore it.
  virtual void SetFailureNotice(std::function<void(const std::string& text)> /*notice*/) {}

  // The device nodes behind a drive letter or an ASPI target (on Linux the
  // block node then the SCSI generic node: "/dev/sr0", "/dev/sg1"), so that a
  // user can name a drive by its node; empty where the system has none.
  virtual std::vector<std::string> NodesOfLetter(char /*letter*/) { return {}; }
  virtual std::vector<std::string> NodesOfTarget(Byte /*adapter*/, Byte /*target*/) { return {}; }

  // Starting other programs (the launcher); their handles are Kernel32()'s.
  virtual ProcessService& Processes() = 0;
  // The real system behind the version record, when it is not Windows.
  virtual NativeSystem Native() = 0;
};

}  // namespace platform
