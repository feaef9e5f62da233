#pragma once
// The window of "Times From Content": where each entry's new time comes from (the date a photo or
// video was taken, a date in its name, a sidecar file beside it, or a folder's newest entry), and the zone a date without an
// offset is read in (this computer's, or a fixed UTC offset), above the time tools' own rows.
#include <windows.h>

#include <optional>

#include "timetools/core/ContentTimes.h"
#include "timetools/kwTimeTool.h"

class TfrmTimesFromContent : public TfrmTimeTool {
public:
  TfrmTimesFromContent(HWND owner, bool offersScope);
  ~TfrmTimesFromContent() override;
  pw::ContentSource Source() const;
  // Newest entry inside: whether the folders it holds count too.
  bool CountFolders() const;
  // The fixed offset chosen, in minutes east of UTC; nothing for this computer's zone.
  std::optional<std::int32_t> FixedOffset() const;

protected:
  void CreateTop() override;
  void PlaceTop() override;
  bool Ready() const override;
  void OnToolCommand(HWND from, WORD code) override;

private:
  friend class TimeToolProbe;
  HWND lblSource = nullptr, rbTaken = nullptr, rbName = nullptr, rbSidecar = nullptr, rbNewest = nullptr;
  HWND cbCountFolders = nullptr;
  HWND lblZone = nullptr, rbComputerZone = nullptr, rbFixedOffset = nullptr, edOffset = nullptr;
};

// "+02:00", "-05:30", "+2", "0": minutes east of UTC; nothing for text that is no offset a zone has
// (beyond 14 hours).
std::optional<std::int32_t> ParseUtcOffset(std::wstring_view text);
