#include "comms/server/GIOServer.h"

#include <algorithm>
#include <cctype>

#include "comms/modules/NullModule.h"
#include "comms/modules/SerialFrameCodec.h"
#include "comms/server/CommSettings.h"
#include "comms/server/GIOContext.h"
#include "comms/server/GIOError.h"
#include "foundation/settings/Config.h"
#include "foundation/text/DriveAddress.h"
#include "platform/Clock.h"

namespace quendrel {

namespace {

// The module reports a lost port or connection as 11 with its own detail code beside it.
bool IsTransportFailure(const udtDriveResponse& response) {
  return response.Error && response.intData == gioSlaveNotResponding &&
         response.extraData >= gioPortOpenFailed && response.extraData <= gioReceiveFailed;
}

constexpr const char* kNoModule = "None";

// Negative asks for the module's own; so does NaN, whose deadline would never come nor pass.
double ResolvedTimeout(const GIOModule& module, double timeout) {
  return timeout >= 0 ? timeout : module.ConfiguredTimeout();
}

bool SameName(const std::string& a, const std::string& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
  });
}

}  // namespace

GIOServer::GIOServer(Clock& clock) : clock_(clock) {
  selected_ = &RegisterModule(std::make_unique<NullModule>());
}

GIOServer::~GIOServer() = default;

GIOModule& GIOServer::RegisterModule(std::unique_ptr<GIOModule> module) {
  const std::string name = module->Name();
  const auto existing = std::find_if(modules_.begin(), modules_.end(),
                                     [&name](const auto& held) { return SameName(held->Name(), name); });
  if (existing == modules_.end()) {
    modules_.push_back(std::move(module));
    return *modules_.back();
  }
  if (selected_ == existing->get()) selected_ = module.get();
  *existing = std::move(module);
  return **existing;
}

GIOModule* GIOServer::Module(const std::string& name) const {
  const auto found = std::find_if(modules_.begin(), modules_.end(),
                                  [&name](const auto& held) { return SameName(held->Name(), name); });
  return found == modules_.end() ? nullptr : found->get();
}

void GIOServer::Startup() {
  for (const auto& module : modules_) module->Startup();
  SelectModule(CommSettings::Text("GIOTarget", "General", kNoModule));
}

void GIOServer::Shutdown() {
  for (const auto& module : modules_) module->Shutdown();
}

void GIOServer::SelectModule(const std::string& name) {
  selected_->Shutdown();
  GIOModule* chosen = Module(name);
  selected_ = chosen ? chosen : Module(kNoModule);
  lastTransportError_ = 0;
  Config().SetValue("GIOTarget", "General", selected_->Name());
  selected_->Startup();
}

std::string GIOServer::SelectedModule() const { return selected_->Name(); }

std::shared_ptr<GIOContext> GIOServer::OpenContext(std::uint8_t address, float timeout) {
  return std::make_shared<GIOContext>(*this, address, timeout);
}

bool GIOServer::Reserve(const GIOContext* owner) {
  if (owner_ != nullptr && owner_ != owner) return false;
  owner_ = owner;
  return true;
}

void GIOServer::Release(const GIOContext* owner) {
  if (owner_ == owner) owner_ = nullptr;
}

bool GIOServer::IsReservedFor(const GIOContext* other) const { return owner_ != nullptr && owner_ != other; }

bool GIOServer::WriteByte(std::uint8_t bOut, bool waitForEcho) {
  return selected_->WriteByte(bOut, waitForEcho);
}

bool GIOServer::WriteWord(std::int32_t iWord, bool waitForEcho, bool reverseBytes) {
  const auto high = static_cast<std::uint8_t>((iWord >> 8) & 0xFF);
  const auto low = static_cast<std::uint8_t>(iWord & 0xFF);
  const std::uint8_t first = reverseBytes ? low : high;
  const std::uint8_t second = reverseBytes ? high : low;
  // The receiver counts bytes: half a word would put every later word out of step, so the second
  // byte goes even when the first one's echo did not come back.
  const bool firstSent = WriteByte(first, waitForEcho);
  const bool secondSent = WriteByte(second, waitForEcho);
  return firstSent && secondSent;
}

int GIOServer::GetByte(std::uint8_t& outByte) { return selected_->TakeByte(outByte, 0.0) ? 1 : 0; }

int GIOServer::WaitForByte(std::uint8_t& outByte, double sglTO) {
  return selected_->TakeByte(outByte, ResolvedTimeout(*selected_, sglTO)) ? 1 : 0;
}

udtDriveResponse GIOServer::Exchange(const GIOContext* from, const DriveRequest& request, double timeout,
                                     bool singleSend) {
  // Every window, script and timer sends through here, so none can reach every drive by a typo.
  if (!AddressesOneDrive(request.address)) return SerialFrameCodec::Unsent(request, gioBroadcastRefused);
  if (IsReservedFor(from)) return SerialFrameCodec::Unsent(request, gioSlaveDeviceBusy);
  GIOModule& module = *selected_;
  const double resolved = ResolvedTimeout(module, timeout);
  const double started = clock_.MonotonicSeconds();
  udtDriveResponse response = module.Exchange(request, resolved, singleSend);
  const bool answered = !response.rawreply.empty() && !(response.Error && IsConnectionLost(response.intData));
  if (answered) {
    roundTrips_.Add(clock_.MonotonicSeconds() - started);
    lastTransportError_ = 0;
  } else if (IsTransportFailure(response)) {
    lastTransportError_ = static_cast<int>(response.extraData);
  }
  return response;
}

}  // namespace quendrel
