#include "comms/functions/TemplateCommand.h"

#include <algorithm>

#include "comms/functions/IntelHexFile.h"
#include "comms/functions/ScriptPackage.h"
#include "comms/functions/TemplateItemCodec.h"
#include "comms/server/DriveFlashCommand.h"
#include "comms/server/DrivePdu.h"
#include "comms/server/GIOContext.h"
#include "comms/server/GIOError.h"
#include "foundation/files/RegularFile.h"
#include "foundation/progress/ProgressServer.h"
#include "foundation/text/NumberText.h"
#include "foundation/text/TextChecks.h"
#include "platform/UiServices.h"

namespace quendrel {

namespace {

// The sub-commands of the drive's Ethernet interface function, the first byte of its data.
enum EibCommand : char { kIsEthernet = 0, kReadEib = 1, kSetEib = 2, kSaveEib = 3, kResetEib = 4 };

char LowByte(long long value) { return static_cast<char>(value & 0xFF); }

bool IsParameterService(int code) { return code >= dfcReadPAD && code <= dfcWriteValue; }

// Menu and parameter go out as a byte each: a number beyond M255P99, or below M00P00, would reach
// another parameter than the one written.
bool NamesAParameter(const std::string& text) {
  constexpr long long kLastParameterNumber = 255 * 100 + 99;
  const long long number = TemplateItemCodec::WholeNumber(text);
  return number >= 0 && number <= kLastParameterNumber;
}

// The Ethernet interface's reset takes its one field as a yes/no ("True", "False", a number), read as
// settings are, so it needs no number.
bool ReadsItsFieldAsAFlag(const DriveFunctionTemplate& function) {
  return function.Special() && function.Name() == "ResetEIB";
}

}  // namespace

TemplateCommand::TemplateCommand(const DriveFunctionTemplate& function, udtTemplateCallInfo& call, GIOContext& gc,
                                 ProgressServer* progress)
    : function_(function), call_(call), gc_(gc), progress_(progress) {}

void TemplateCommand::Run() {
  call_.rcResponse = dfResponseGeneralError;
  call_.strReturn.clear();
  hadFeedback_ = !call_.tbFeedback.expired();
  Publish();
  if (!TakeArguments()) return;
  if (function_.LetsEventsRun()) return WriteFileToBuffer();
  if (function_.Special() && function_.Name() == "ProcessorReset") return ProcessorReset();
  const std::optional<std::string> special = function_.Special() ? SpecialRequest() : std::nullopt;
  Conclude(Send(special ? *special : EncodeRequest()));
}

bool TemplateCommand::TakeArguments() {
  for (const udtTemplateItem& item : function_.ParameterItems()) {
    qovArrayList& list = call_.talParameters;
    const Variant argument = list.Count() > 0 ? list.Dequeue() : Variant();
    if (argument.IsEmpty() || argument.IsObject()) {
      Fail(dfResponseGeneralError, "Missing argument: " + item.Description);
      return false;
    }
    const std::optional<std::string> text = ArgumentText(item, argument);
    if (!text) {
      Fail(dfResponseGeneralError, "Not a number: " + item.Description);
      return false;
    }
    if (item.Type == dftMxxPxx && !NamesAParameter(*text)) {
      Fail(dfResponseGeneralError, "Not a parameter number: " + item.Description);
      return false;
    }
    arguments_.push_back(*text);
  }
  return true;
}

// A number field given a text takes the number the whole text spells ("12", "&H0C"); any other text
// would go out as 0, a value nobody wrote, so the call fails before its request is built.
std::optional<std::string> TemplateCommand::ArgumentText(const udtTemplateItem& item, const Variant& argument) const {
  if (item.Type == dftString || item.Type == dftCharacter || argument.Type() != Variant::Kind::Text ||
      ReadsItsFieldAsAFlag(function_)) {
    return argument.AsText();
  }
  std::string text = StripQuotes(argument.AsText());
  if (!IsNumericText(text)) return std::nullopt;
  return text;
}

std::string TemplateCommand::EncodeRequest() const {
  std::string payload;
  const auto& items = function_.ParameterItems();
  for (std::size_t i = 0; i < items.size(); ++i) TemplateItemCodec::Encode(items[i], arguments_[i], payload);
  return payload;
}

std::optional<std::string> TemplateCommand::SpecialRequest() const {
  const std::string& name = function_.Name();
  const auto number = [this](std::size_t i) { return TemplateItemCodec::WholeNumber(arguments_.at(i)); };
  if (name == "IsEthernet") return std::string(1, kIsEthernet);
  if (name == "ReadEIBValue") return std::string{kReadEib, LowByte(number(0))};
  if (name == "SetEIBValue") {
    const long long value = number(1);
    return std::string{kSetEib, LowByte(number(0)), LowByte(value >> 8), LowByte(value), number(2) != 0 ? '\1' : '\0'};
  }
  if (name == "SaveEIBSettings") return std::string(1, kSaveEib);
  if (name == "ResetEIB") return std::string{kResetEib, ParseBoolean(arguments_.at(0)) ? '\1' : '\0'};
  return std::nullopt;
}

udtDriveResponse TemplateCommand::Send(const std::string& payload) {
  const auto code = static_cast<std::uint8_t>(function_.Code());
  if (IsParameterService(code)) return gc_.ServiceQuery(code, payload);
  return gc_.FunctionQuery(code, payload);
}

void TemplateCommand::ReportRequest(const udtDriveResponse& response) {
  report_.RequestHeading();
  if (!call_.showRequest) return;
  if (call_.showRaw) return report_.RawRequest(gc_.Address(), response.rawreq);
  const auto& items = function_.ParameterItems();
  for (std::size_t i = 0; i < items.size(); ++i) report_.Item(items[i].Description, arguments_[i]);
  report_.Line("");
}

void TemplateCommand::Conclude(udtDriveResponse response) {
  ReportRequest(response);
  report_.ReplyHeading();
  if (!response.Error && !DecodeReply(response)) {
    // Never read past the end of a reply: a short one is as bad as a broken frame.
    response.Error = true;
    response.intData = gioInvalidPacket;
  }
  if (response.Error) report_.Outcome(response);
  // Nothing arrives for a request sent without waiting.
  if (!response.Error && (function_.Returns() == 0 || response.rawreply.empty())) report_.Line("Success");
  call_.rcResponse = ResultOf(response);
  if (response.Error && progress_ != nullptr) {
    progress_->SetDetail(function_.Description() + ": Error " + std::to_string(response.intData) + " (" +
                         GIOErrorText(response.intData) + ")");
  }
  Publish();
}

bool TemplateCommand::DecodeReply(const udtDriveResponse& response) {
  if (response.rawreply.empty()) return true;
  const auto& items = function_.ReturnItems();
  // Only the values a string takes its length from are kept.
  const auto namesALength = [&items](const std::string& name) {
    return std::any_of(items.begin(), items.end(),
                       [&name](const udtTemplateItem& item) { return item.Type == dftString && item.Length == name; });
  };
  TemplateItemCodec::Earlier earlier;
  // The report shows the reply's items only once all of them have been read.
  DriveReport lines;
  std::size_t at = 0;
  for (const udtTemplateItem& item : items) {
    const auto value = TemplateItemCodec::Decode(item, response.strData, at, earlier);
    if (!value) return false;
    if (namesALength(item.Name)) earlier[item.Name] = value->number;
    lines.Item(item.Description, value->text);
    if (!call_.strReturn.empty()) call_.strReturn += ", ";
    call_.strReturn += value->text;
  }
  report_.Append(lines);
  return true;
}

dfResponseCodes TemplateCommand::ResultOf(const udtDriveResponse& response) const {
  if (!response.Error) return dfResponseOK;
  if (response.intData == gioTimeout) return dfResponseTimeout;
  const bool driveRefused = (response.function & DrivePdu::kExceptionFlag) != 0;
  if (!driveRefused) return dfResponseGeneralError;
  switch (function_.OnError()) {
    case DriveFunctionTemplate::ErrorMeaning::EraseFailed:
      return dfResponseEraseFailed;
    case DriveFunctionTemplate::ErrorMeaning::ProgramFailed:
      return dfResponseProgramFailed;
    case DriveFunctionTemplate::ErrorMeaning::General:
      break;
  }
  return dfResponseGeneralError;
}

void TemplateCommand::Fail(dfResponseCodes code, const std::string& line) {
  call_.rcResponse = code;
  if (report_.Text().empty()) report_.RequestHeading();
  report_.Line(line);
  if (progress_ != nullptr) progress_->SetDetail(line);
  Publish();
}

void TemplateCommand::Publish(const std::string& trailer) {
  const auto feedback = call_.tbFeedback.lock();
  if (!feedback) return;
  if (trailer.empty()) return feedback->SetText(report_.Text());
  feedback->SetText(report_.Text() + trailer);
}

void TemplateCommand::ProcessorReset() {
  // The processor restarts instead of answering: send, do not wait, and leave the context as it was.
  const float timeout = gc_.Timeout();
  gc_.SetTimeout(0);
  const udtDriveResponse response = Send({});
  gc_.SetTimeout(timeout);
  Conclude(response);
}

bool TemplateCommand::Interrupted() const {
  if (hadFeedback_ && call_.tbFeedback.expired()) return true;
  return progress_ != nullptr && progress_->state() != 0;
}

std::optional<std::string> TemplateCommand::NamedFileText(const std::string& path) const {
  // A running script resolves names itself, against its own folder and then its package.
  if (call_.ffile) return call_.ffile->FileText(path);
  std::string unread;
  return ReadRegularFile(path, kLargestScriptFile, unread);
}

void TemplateCommand::WriteFileToBuffer() {
  // Scripts pass the path as a string literal, quotes and all.
  const std::string path = StripQuotes(arguments_.at(0));
  const std::optional<std::string> text = NamedFileText(path);
  if (!text) return Fail(dfResponseFileNotFound, "Couldn't Find File \"" + path + "\"");
  IntelHexFile hex;
  if (!hex.Parse(*text)) return Fail(dfResponseGeneralError, "Invalid hex file \"" + path + "\", " + hex.Error());
  const auto& records = hex.DataRecords();
  const int total = static_cast<int>(records.size());
  if (progress_ != nullptr) {
    progress_->SetMin(0);
    progress_->SetMax(total);
  }
  udtDriveResponse response;
  for (int i = 1; i <= total; ++i) {
    if (Interrupted()) {
      const dfResponseCodes code = progress_ != nullptr && progress_->state() != 0 ? dfResponseAbort
                                                                                     : dfResponseGeneralError;
      return Fail(code, "Transfer stopped before packet " + std::to_string(i) + " of " + std::to_string(total));
    }
    const std::string status = "Sending packet " + std::to_string(i) + " of " + std::to_string(total);
    if (progress_ != nullptr) {
      progress_->SetDetail(status);
      progress_->SetProgress(i);
    }
    Publish(status + "\r\n");
    const IntelHexFile::Record& record = records[static_cast<std::size_t>(i - 1)];
    std::string packet{LowByte(record.address >> 8), LowByte(record.address), LowByte(static_cast<long long>(record.data.size()))};
    response = Send(packet + record.data);
    if (response.Error) break;
    Ui().PumpMessages();
  }
  Conclude(response);
}

}  // namespace quendrel
