#pragma once
// What a run of the time tools will write, before it writes anything: each entry that changes with
// its three times as they are and as they will be, and each entry the run leaves alone with the
// reason, and what the volume will keep where it keeps another value than asked, in a list that
// costs nothing for rows not painted, so a hundred thousand entries show at once. Apply or Cancel; a run that would change nothing offers only Cancel.
#include <windows.h>

#include <string>
#include <vector>

#include "common/core/DateFormat.h"
#include "timetools/core/BatchPlan.h"
#include "ui/Form.h"
#include "ui/ListView.h"
#include "ui/Scoped.h"

class PreviewProbe;

class TfrmPreview : public ui::Form {
public:
  using Row = pw::PreviewRow;
  // Shows the rows modally over `owner`; true for Apply.
  static bool Confirm(HWND owner, const std::wstring& title, std::vector<Row> rows);

protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  void ApplyDpi(UINT oldDpi) override;
  void ArrangeControls() override;

private:
  friend class PreviewProbe;
  TfrmPreview(HWND owner, const std::wstring& title, std::vector<Row> rows);
  ~TfrmPreview() override;
  void CreateControls();
  void lvEntriesGetDispInfo(NMLVDISPINFOW& info) const;

  // Controls.
  HWND lblSummary = nullptr;
  ui::ListView lvEntries;
  HWND btnApply = nullptr, btnCancel = nullptr;

  std::vector<Row> rows_;
  pw::DateFormatter date_;
};
