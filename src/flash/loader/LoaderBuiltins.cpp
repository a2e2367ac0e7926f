#include "flash/loader/LoaderBuiltins.h"

#include <cstdio>

#include "comms/modules/SerialModule.h"
#include "comms/server/DriveFlashCommand.h"
#include "comms/server/GIOContext.h"
#include "comms/server/GIOError.h"
#include "comms/server/GIOServer.h"
#include "flash/loader/InitializeDataFile.h"
#include "flash/loader/InitializeHexFile.h"
#include "flash/scripts/IFlashCommandFile.h"
#include "flash/scripts/ScriptArchive.h"
#include "foundation/files/RegularFile.h"
#include "foundation/progress/ProgressServer.h"
#include "foundation/text/NumberText.h"
#include "foundation/text/TextChecks.h"
#include "foundation/values/RuntimeError.h"
#include "params/compatibility/FirmwareCompatibilityFile.h"
#include "params/transfer/UnlockDrive.h"
#include "platform/Clock.h"
#include "platform/UiServices.h"

namespace quendrel {

namespace {

constexpr float kFlashProbeTimeout = 0.5F;
constexpr std::uint8_t kCarriageReturn = 13;
constexpr std::uint8_t kSynchronized = 0xAA;
constexpr int kTimeoutError = 46;
constexpr const char* kNoByteChannel =
    "The connection cannot carry the flash loader's bytes: use a serial port or serial frames over TCP";

// The context's reply settings as they were, put back however the call ends.
class ContextSettingsGuard {
 public:
  explicit ContextSettingsGuard(GIOContext& context)
      : context_(context), timeout_(context.Timeout()), failsoft_(context.Failsoft()) {}
  ~ContextSettingsGuard() {
    context_.SetTimeout(timeout_);
    context_.SetFailsoft(failsoft_);
  }
  ContextSettingsGuard(const ContextSettingsGuard&) = delete;
  ContextSettingsGuard& operator=(const ContextSettingsGuard&) = delete;
  bool Failsoft() const { return failsoft_; }

 private:
  GIOContext& context_;
  float timeout_;
  bool failsoft_;
};

const Variant& Argument(const std::vector<Variant>& values, std::size_t i) {
  if (values.size() < i) throw RuntimeError(errSubscriptOutOfRange, "ScriptBuiltins", "Subscript out of range");
  return values[i - 1];
}

void SetStatus(ProgressServer* prog, const std::string& text) {
  if (prog != nullptr) prog->SetStatus(text);
}

void SetDetail(ProgressServer* prog, const std::string& text) {
  if (prog != nullptr) prog->SetDetail(text);
}

std::string WritingStatus(const std::string& name) { return "Writing \"" + name + "\"..."; }

// The loader is fed byte by byte. Over a transport that carries only framed requests (Modbus/TCP) a
// drive sent into its loader could not be reached again, so nothing starts there: not the restart,
// not the synchronisation, not a transfer.
bool ByteChannelReady(const ScriptEnvironment& environment, ProgressServer* prog) {
  if (environment.commServer != nullptr && environment.commServer->HasByteChannel()) return true;
  SetDetail(prog, kNoByteChannel);
  return false;
}

std::string Percent(std::int32_t done, std::int32_t total) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f%%", static_cast<double>(done) * 100.0 / total);
  return text;
}

void EndAlternate(ProgressServer* prog) {
  if (prog == nullptr) return;
  prog->HideAlternate();
  prog->SetSwapped(false);
}

enum class ImageSend { Sent, EchoFailed, RanShort };

// Sends the image's words, one echoed byte at a time, up to the first byte not echoed.
ImageSend SendImage(GIOServer& server, InitializeHexFile& image, ProgressServer* prog, UiServices& ui) {
  if (!server.WriteWord(image.LittleAddress(), true, false)) return ImageSend::EchoFailed;
  if (!server.WriteWord(image.LittleLength(), true, false)) return ImageSend::EchoFailed;
  if (prog != nullptr) {
    prog->SetSwapped(true);
    prog->SetMin(0);
    prog->SetMax(image.Length());
    prog->SetProgress(0);
    prog->ShowAlternate();
  }
  for (std::int32_t i = 1; i <= image.Length(); ++i) {
    const std::string word = image.NextWord();
    if (word.size() != 2) {
      ui.MsgBox("You shouldn't even be able to get this error if you tried. Well done!", vbOKOnly | vbCritical,
                "Sanity Check Failure");
      return ImageSend::RanShort;
    }
    for (const char byte : word) {
      if (!server.WriteByte(static_cast<std::uint8_t>(byte), true)) return ImageSend::EchoFailed;
    }
    if (prog != nullptr) {
      prog->SetDetail("Writing: " + Percent(i - 1, image.Length()));
      prog->SetProgress(i);
    }
  }
  return ImageSend::Sent;
}

}  // namespace

Variant LoaderBuiltins::ForceDriveFlash(IFlashCommandFile& ffile, ProgressServer* prog, dfResponseCodes& ErrCode) {
  SetStatus(prog, "Beginning Firmware Upload");
  const dfResponseCodes atEntry = ErrCode;
  ErrCode = dfResponseGeneralError;
  if (!ByteChannelReady(ffile.Environment(), prog)) return Variant(false);
  std::shared_ptr<GIOContext> context = ffile.Context();
  GIOServer* server = ffile.Environment().commServer;
  if (!context && server != nullptr) context = server->OpenContext(ffile.Address(), ffile.Timeout());
  if (!context) return Variant(false);

  const ContextSettingsGuard restore(*context);
  context->SetTimeout(kFlashProbeTimeout);
  if (!context->RawQuery(dfcFlashProgrammingMessage, "").Error) {
    ErrCode = dfResponseSkipLine;
    return Variant(true);
  }
  UnlockDrive(*context);
  const FirmwareCompatibilityFile& compatibility = FirmwareCompatibility();
  const std::int32_t versionParameter = compatibility.SoftwareVersion();
  const udtDriveResponse version = context->ReadValue(static_cast<std::uint8_t>(versionParameter / 100),
                                                      static_cast<std::uint8_t>(versionParameter % 100));
  if (version.Error) return Variant(false);
  const std::int32_t upload = compatibility.FirmwareUpload(version.sglData);
  context->SetFailsoft(true);
  const udtDriveResponse written =
      context->WriteValue(static_cast<std::uint8_t>(upload / 100), static_cast<std::uint8_t>(upload % 100), 1);
  context->SetFailsoft(restore.Failsoft());
  // The drive restarts into its loader without answering: a timeout is what success looks like.
  if (written.Error && written.intData != kTimeoutError) {
    SetDetail(prog, "Error " + std::to_string(written.intData));
    return Variant(false);
  }
  SetDetail(prog, "Success");
  ErrCode = atEntry;
  return Variant(true);
}

Variant LoaderBuiltins::InitializeBaudRate(IFlashCommandFile& ffile, ProgressServer* prog,
                                           dfResponseCodes& ErrCode) {
  SetStatus(prog, "Attempting Baud Rate Synchronization...");
  const std::int32_t result = SynchronizeBaudRate(ffile, ErrCode);
  if (result == 1) SetStatus(prog, "Synchronized.");
  return Variant(result);
}

std::int32_t LoaderBuiltins::SynchronizeBaudRate(IFlashCommandFile& ffile, dfResponseCodes& ErrCode) {
  const ScriptEnvironment& environment = ffile.Environment();
  if (!ByteChannelReady(environment, ffile.Progress())) {
    ErrCode = dfResponseGeneralError;
    return 0;
  }
  GIOServer& server = *environment.commServer;
  Clock& clock = *environment.clock;
  const double started = clock.MonotonicSeconds();
  std::uint8_t byte = 0;
  int taken = 0;
  do {
    server.WriteByte(kCarriageReturn, false);
    clock.Sleep(kCarriageReturnSpacing);
    byte = 0;
    taken = server.GetByte(byte);
  } while (taken == 0 && clock.MonotonicSeconds() - started <= environment.loaderWaitSeconds);
  if (taken != 0 && byte == kSynchronized) return 1;
  ErrCode = taken != 0 ? dfResponseGeneralError : dfResponseTimeout;
  return 0;
}

Variant LoaderBuiltins::InitializeWriteProgram(const std::vector<Variant>& values, IFlashCommandFile& ffile,
                                               ProgressServer* prog, dfResponseCodes& ErrCode) {
  const std::string name = StripQuotes(Argument(values, 1).AsText());
  SetStatus(prog, WritingStatus(name));
  const std::int16_t noWait = values.size() >= 2 ? ToInt16Checked(LeadingNumber(values[1].AsText())) : 0;
  WriteProgramImage(ffile, name, noWait, ErrCode);
  SetStatus(prog, "Done Writing.");
  return Variant(static_cast<std::int32_t>(0));
}

void LoaderBuiltins::WriteProgramImage(IFlashCommandFile& ffile, const std::string& name, std::int16_t noWait,
                                       dfResponseCodes& ErrCode) {
  const ScriptEnvironment& environment = ffile.Environment();
  ProgressServer* prog = ffile.Progress();
  if (environment.serial != nullptr) environment.serial->ClearBuffers();
  const auto text = SourceText(ffile, name);
  if (!text) {
    ErrCode = dfResponseFileNotFound;
    return;
  }
  InitializeHexFile image;
  if (!image.LoadFromText(*text) || !ByteChannelReady(environment, prog)) {
    ErrCode = dfResponseGeneralError;
    return;
  }
  GIOServer& server = *environment.commServer;
  const ImageSend sent = SendImage(server, image, prog, *environment.ui);
  if (sent != ImageSend::Sent) {
    ErrCode = dfResponseGeneralError;
    // An image that ran short leaves the transfer's controls shown.
    if (sent == ImageSend::EchoFailed) EndAlternate(prog);
    return;
  }
  EndAlternate(prog);
  std::uint8_t acknowledgement = 0;
  if (noWait == 0 && server.WaitForByte(acknowledgement, environment.loaderWaitSeconds) == 0) {
    ErrCode = dfResponseTimeout;
  }
}

Variant LoaderBuiltins::InitializeWriteData(const std::vector<Variant>& values, IFlashCommandFile& ffile,
                                            ProgressServer* prog, dfResponseCodes& ErrCode) {
  const std::string name = StripQuotes(Argument(values, 1).AsText());
  SetStatus(prog, WritingStatus(name));
  const std::int32_t result = WriteDataImage(ffile, name, ErrCode);
  SetStatus(prog, "Done Writing.");
  return Variant(result);
}

std::int32_t LoaderBuiltins::WriteDataImage(IFlashCommandFile& ffile, const std::string& name,
                                            dfResponseCodes& ErrCode) {
  const ScriptEnvironment& environment = ffile.Environment();
  const auto text = SourceText(ffile, name);
  if (!text) {
    ErrCode = dfResponseFileNotFound;
    return 0;
  }
  InitializeDataFile data;
  // A corrupt file sends nothing; the empty file that is left fails the send below.
  data.LoadFromText(*text);
  if (!ByteChannelReady(environment, ffile.Progress()) ||
      !data.Send(LoaderLine{*environment.commServer, environment.loaderWaitSeconds}, ffile.Progress())) {
    ErrCode = dfResponseGeneralError;
    return 0;
  }
  return 1;
}

std::optional<std::string> LoaderBuiltins::SourceText(IFlashCommandFile& ffile, const std::string& name) {
  if (const auto archive = ffile.Archive(); archive && archive->FileExists(name)) {
    if (auto stream = archive->GetStream(name)) {
      std::string text = stream->ReadAll();
      stream->Close();
      return text;
    }
  }
  std::string reason;
  return ReadRegularFile(ffile.ResolvePath(name), kLargestScriptFile, reason);
}

}  // namespace quendrel
