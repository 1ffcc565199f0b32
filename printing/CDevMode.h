#pragma once

#include "printing/SpoolerRecords.h"

namespace gui {

// A printer's or job's device settings, read-only.
class CDevMode {
 public:
  CDevMode() = default;
  explicit CDevMode(DevModeRecord record) : record_(std::move(record)) {}

  std::int32_t BitsPerPel() const { return record_.bitsPerPel; }
  std::int16_t Collate() const { return record_.collate; }
  std::int16_t Color() const { return record_.color; }
  std::int16_t Copies() const { return record_.copies; }
  std::int16_t DefaultSource() const { return record_.defaultSource; }
  const std::string& DeviceName() const { return record_.deviceName; }
  std::int32_t DisplayFrequency() const { return record_.displayFrequency; }
  std::int16_t DriverVersion() const { return record_.driverVersion; }
  std::int16_t Duplex() const { return record_.duplex; }
  std::int32_t Fields() const { return record_.fields; }
  const std::string& FormName() const { return record_.formName; }
  std::int16_t LogPixels() const { return record_.logPixels; }
  std::int32_t NUP() const { return record_.nup; }
  std::int16_t Orientation() const { return record_.orientation; }
  std::int16_t PaperLength() const { return record_.paperLength; }
  std::int16_t PaperSize() const { return record_.paperSize; }
  std::int16_t PaperWidth() const { return record_.paperWidth; }
  std::int32_t PelsHeight() const { return record_.pelsHeight; }
  std::int32_t PelsWidth() const { return record_.pelsWidth; }
  std::int16_t PrintQuality() const { return record_.printQuality; }
  std::int16_t ScaleFactor() const { return record_.scale; }
  std::int16_t SpecVersion() const { return record_.specVersion; }
  std::int16_t TTOption() const { return record_.ttOption; }
  std::int16_t YResolution() const { return record_.yResolution; }

 private:
  DevModeRecord record_;
};

}  // namespace gui
