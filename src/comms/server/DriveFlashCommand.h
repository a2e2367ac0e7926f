// The drive's function codes for the flash loader, parameter services and processor programming.
#pragma once

namespace quendrel {

enum DriveFlashCommand : int {
  // Answered only while the drive's flash loader runs; a running drive answers "Invalid Function".
  dfcFlashProgrammingMessage = 1,
  // Parameter services in the legacy code set; current drives use 0x40 plus these.
  dfcReadPAD = 2,
  dfcReadValue = 3,
  dfcReadName = 4,
  dfcWriteDVD = 5,
  dfcWriteValue = 6,
  dfcReadManufacturerID = 32,
  dfcReadDeviceID = 33,
  dfcReadDataWordFromAddress = 34,
  dfcWriteDataWordToAddress = 35,
  dfcChangePage = 36,
  dfcEraseFlash = 37,
  dfcVerifyFlashErase = 38,
  dfcWriteFileToBuffer = 39,
  dfcVerifyPageVersusBuffer = 40,
  dfcResetFlashMemory = 41,
  dfcFlashSectorErase = 42,
  dfcReadFlashSectorProtect = 43,
  dfcVerifyPageErase = 44,
  dfcProgramBufferToPage = 45,
  dfcClearBuffer = 46,
  dfcGoToNewMainLoop = 47,
  dfcClearProcessorFlash = 48,
  dfcProgramProcessorFlash = 49,
  dfcVerifyProcessorFlashErase = 50,
  dfcVerifyProcessorVsBuffer = 51,
  dfcProcessorReset = 52,
};

// Added to a legacy parameter service code to give the code current drives understand.
constexpr int kModernFunctionOffset = 0x40;

// The Ethernet interface board's function; its first data byte is the sub-command.
constexpr int kDriveEibFunction = 0x48;

}  // namespace quendrel
