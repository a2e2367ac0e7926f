// The built-ins that send a running drive into its flash loader and feed the loader byte by byte:
// synchronisation, a program image and initialisation data. The byte traffic goes through the
// registry's pass-through on the selected module, never through a drive context.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "comms/functions/dfResponseCodes.h"
#include "foundation/values/Variant.h"

namespace quendrel {

class GIOContext;
class IFlashCommandFile;
class ProgressServer;

class LoaderBuiltins {
 public:
  // The loader answers a carriage return only after this long; a byte read sooner is missed.
  static constexpr double kCarriageReturnSpacing = 0.042;

  // True when the drive runs its loader already (dfResponseSkipLine) or was told to restart into
  // it (the code at entry); the context's Timeout and Failsoft are what they were on every path.
  static Variant ForceDriveFlash(IFlashCommandFile& ffile, ProgressServer* prog, dfResponseCodes& ErrCode);
  static Variant InitializeBaudRate(IFlashCommandFile& ffile, ProgressServer* prog, dfResponseCodes& ErrCode);
  static Variant InitializeWriteProgram(const std::vector<Variant>& values, IFlashCommandFile& ffile,
                                        ProgressServer* prog, dfResponseCodes& ErrCode);
  static Variant InitializeWriteData(const std::vector<Variant>& values, IFlashCommandFile& ffile,
                                     ProgressServer* prog, dfResponseCodes& ErrCode);

  // The text of a file the loader is fed from: the script's package first, then the disk.
  static std::optional<std::string> SourceText(IFlashCommandFile& ffile, const std::string& name);

  // The synchronisation result: 1 once the loader answered 0xAA.
  static std::int32_t SynchronizeBaudRate(IFlashCommandFile& ffile, dfResponseCodes& ErrCode);
  static void WriteProgramImage(IFlashCommandFile& ffile, const std::string& name, std::int16_t noWait,
                                dfResponseCodes& ErrCode);
  static std::int32_t WriteDataImage(IFlashCommandFile& ffile, const std::string& name, dfResponseCodes& ErrCode);
};

}  // namespace quendrel
