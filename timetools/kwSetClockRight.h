#pragma once
// The window of "Set the Clock Right": one of the selected photos or videos as the reference, its
// date taken as its camera wrote it, and when it was really taken; every entry from the same camera
// is moved by the difference.
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "media/core/FoundDate.h"
#include "timetools/kwTimeTool.h"

class TfrmSetClockRight : public TfrmTimeTool {
public:
  TfrmSetClockRight(HWND owner, std::vector<std::wstring> paths);
  ~TfrmSetClockRight() override;
  // The reference's index among the paths.
  std::size_t Reference() const;
  // When the reference was really taken, as typed: at the reference's own offset when its date has
  // one, else in this computer's zone; nothing for text that is no date.
  std::optional<std::uint64_t> RealInstant() const;

protected:
  void CreateTop() override;
  void PlaceTop() override;
  bool Ready() const override;
  void OnToolCommand(HWND from, WORD code) override;

private:
  friend class TimeToolProbe;
  void ReadReference();

  HWND lblReference = nullptr, cbReference = nullptr, lblTaken = nullptr, lblReal = nullptr, edReal = nullptr;
  std::vector<std::wstring> paths_;
  std::optional<pw::FoundDate> taken_;  // the reference's date taken
};
